#include <gtest/gtest.h>

#include "windowlist/window_filter.h"

namespace {

constexpr uint32_t TOOL = FILTER_EX_TOOLWINDOW;
constexpr uint32_t APP = FILTER_EX_APPWINDOW;
constexpr uint32_t CONTROL_PARENT = FILTER_EX_CONTROLPARENT;
constexpr uint32_t TOPMOST = 0x8; // an unrelated style

TEST(WindowFilter, ToolWindowsAreHiddenUnlessTheyAskForATaskbarButton) {
    const struct {
        uint32_t exStyle;
        bool hidden;
    } cases[] = {{0, false},
                 {TOOL, true},
                 {APP, false},
                 {TOOL | APP, false},
                 {TOOL | TOPMOST, true},
                 {CONTROL_PARENT, false},
                 {0xFFFFFFFF, false},
                 {0xFFFFFFFF & ~APP, true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsHiddenToolWindow(c.exStyle), c.hidden) << std::hex << c.exStyle;
}

TEST(WindowFilter, OwnedWindowsNeedControlParentOrAnAppWindowOwner) {
    const struct {
        uint32_t exStyle, ownerExStyle;
        bool switchable;
    } cases[] = {
        {0, 0, false},
        {CONTROL_PARENT, 0, true},
        {0, APP, true},
        {CONTROL_PARENT, APP, true},
        {APP, 0, false}, // the window's own taskbar wish does not count
        {0, CONTROL_PARENT, false},
        {TOOL | APP, TOOL, false},
        {TOPMOST, TOPMOST, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSwitchableOwnedWindow(c.exStyle, c.ownerExStyle), c.switchable)
            << std::hex << c.exStyle << " owner " << c.ownerExStyle;
}

TEST(WindowFilter, OnlyAWindowReportedCloakedIsLeftOut) {
    // The cloak reasons (by the application, the shell, inherited) are bits of one value.
    EXPECT_FALSE(IsCloakedWindow(true, 0));
    EXPECT_TRUE(IsCloakedWindow(true, 1));
    EXPECT_TRUE(IsCloakedWindow(true, 2));
    EXPECT_TRUE(IsCloakedWindow(true, 4));
    EXPECT_FALSE(IsCloakedWindow(false, 0));
    EXPECT_FALSE(IsCloakedWindow(false, 2)); // a failed query leaves no value to trust
}

TEST(WindowFilter, TooltipClassesMatchExactlyAndCaseSensitively) {
    const struct {
        const wchar_t* name;
        bool tooltip;
    } cases[] = {
        {L"tooltips_class32", true},  {L"OfficeTooltip", true},      {L"Tooltips_Class32", false},
        {L"TOOLTIPS_CLASS32", false}, {L"officetooltip", false},     {L"OfficeTooltip ", false},
        {L"tooltips_class", false},   {L"tooltips_class32x", false}, {L"", false},
        {L"#32770", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTooltipClass(c.name), c.tooltip) << c.name;
}

} // namespace
