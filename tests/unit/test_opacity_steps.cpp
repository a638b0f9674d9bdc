#include <gtest/gtest.h>

#include <string>

#include "actions/action_texts.h"
#include "actions/opacity_steps.h"
#include "resources/resource_ids.h"
#include "resources/vendor.h"

namespace {

LayeredState Layered(int alpha) {
    return {true, true, static_cast<uint8_t>(alpha)};
}
constexpr LayeredState kNotLayered = {false, false, 0};
constexpr LayeredState kPerPixelAlpha = {true, false, 0};

struct StepCase {
    LayeredState before;
    OpacityChange change;
    int alpha;
};

void ExpectStep(OpacityStep step, const StepCase& c) {
    EXPECT_EQ(step.change, c.change);
    if (c.change == OpacityChange::SetAlpha || c.change == OpacityChange::BecomeLayered) {
        EXPECT_EQ(step.alpha, c.alpha);
    }
}

} // namespace

TEST(OpacitySteps, MoreOpaque) {
    const StepCase cases[] = {
        {kNotLayered, OpacityChange::None, 0},
        {kPerPixelAlpha, OpacityChange::None, 0},
        {Layered(0), OpacityChange::SetAlpha, 15},
        {Layered(45), OpacityChange::SetAlpha, 60},
        {Layered(239), OpacityChange::SetAlpha, 254},
        {Layered(240), OpacityChange::SetAlpha, 255},
        {Layered(241), OpacityChange::SetAlpha, 255},
        {Layered(250), OpacityChange::SetAlpha, 255},
        {Layered(254), OpacityChange::SetAlpha, 255},
        {Layered(255), OpacityChange::StopLayering, 0},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "layered " << c.before.layered << " known "
                                        << c.before.alphaKnown << " alpha " << +c.before.alpha);
        ExpectStep(MoreOpaqueStep(c.before), c);
    }
}

TEST(OpacitySteps, MoreTransparent) {
    const StepCase cases[] = {
        {kNotLayered, OpacityChange::BecomeLayered, 255},
        {kPerPixelAlpha, OpacityChange::None, 0},
        {Layered(255), OpacityChange::SetAlpha, 240},
        {Layered(66), OpacityChange::SetAlpha, 51},
        {Layered(60), OpacityChange::SetAlpha, 45},
        {Layered(55), OpacityChange::SetAlpha, 40},
        {Layered(51), OpacityChange::SetAlpha, 36},
        {Layered(50), OpacityChange::None, 0},
        {Layered(45), OpacityChange::None, 0},
        {Layered(0), OpacityChange::None, 0},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "layered " << c.before.layered << " known "
                                        << c.before.alphaKnown << " alpha " << +c.before.alpha);
        ExpectStep(MoreTransparentStep(c.before), c);
    }
}

// Applies steps to a simulated window until nothing changes, as a user pressing one button.
TEST(OpacitySteps, RepeatedTransparentPressesStopAtFortyFive) {
    LayeredState window = kNotLayered;
    std::string seen;
    for (int press = 0; press < 30; ++press) {
        OpacityStep step = MoreTransparentStep(window);
        if (step.change == OpacityChange::None)
            continue;
        window = Layered(step.alpha);
        seen += std::to_string(step.alpha) + " ";
    }
    EXPECT_EQ(seen, "255 240 225 210 195 180 165 150 135 120 105 90 75 60 45 ");
}

TEST(OpacitySteps, RepeatedOpaquePressesEndNotLayered) {
    LayeredState window = Layered(45);
    std::string seen;
    for (int press = 0; press < 30; ++press) {
        OpacityStep step = MoreOpaqueStep(window);
        if (step.change == OpacityChange::SetAlpha) {
            window = Layered(step.alpha);
            seen += std::to_string(step.alpha) + " ";
        } else if (step.change == OpacityChange::StopLayering) {
            window = kNotLayered;
            seen += "opaque ";
        }
    }
    EXPECT_EQ(seen, "60 75 90 105 120 135 150 165 180 195 210 225 240 255 opaque ");
}

TEST(ActionTexts, TooltipForEveryButtonAndAnyOtherId) {
    const struct {
        int id;
        const wchar_t* text;
    } cases[] = {
        {IDC_TOPMOST, L"Make Current Window Always on Top"},
        {IDC_RESTORE_TOPMOST, L"Restore Always on Top"},
        {IDC_OPAQUE, L"Make Current Window Opaque"},
        {IDC_TRANSPARENT, L"Make Current Window Transparent"},
        {0, L"Restore Always on Top"},
        {125, L"Restore Always on Top"},
        {130, L"Restore Always on Top"},
        {IDM_VENDOR_SITE, L"Restore Always on Top"},
        {-1, L"Restore Always on Top"},
    };
    for (const auto& c : cases)
        for (bool topmost : {false, true})
            EXPECT_STREQ(ToolbarTooltipText(c.id, topmost),
                         topmost && c.id == IDC_TOPMOST ? L"Make Current Window Not Always on Top"
                                                        : c.text)
                << c.id << " " << topmost;
}

TEST(ActionTexts, VendorPagesUseTheConfiguredHost) {
    const std::wstring root = L"http://" + std::wstring(ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_HOST));
    EXPECT_EQ(std::wstring(VendorPageAddress(IDM_VENDOR_SITE)), root + L"/?id=zephtab&v=1");
    EXPECT_EQ(std::wstring(VendorPageAddress(IDM_PRODUCT_SITE)), root + L"/go/?id=zephtab&v=1");
    EXPECT_EQ(VendorPageAddress(IDC_TOPMOST), nullptr);
    EXPECT_EQ(VendorPageAddress(32773), nullptr);
}
