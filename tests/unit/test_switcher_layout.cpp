// The layout table and the one rule that scales it.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "display/switcher_layout.h"

namespace {

constexpr int kNumbers = sizeof(SwitcherLayout) / sizeof(int);

void ToNumbers(const SwitcherLayout& layout, int (&numbers)[kNumbers]) {
    std::memcpy(numbers, &layout, sizeof(numbers));
}

TEST(ScaleForDpi, ScalesByTheDpiAndRoundsHalfAwayFromZero) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {600, 96, 600},
        {375, 96, 375},
        {600, 120, 750},
        {375, 120, 469}, // 468.75
        {375, 144, 563}, // 562.5 goes up
        {375, 168, 656}, // 656.25
        {375, 192, 750},
        {1, 120, 1},
        {1, 144, 2},
        {3, 144, 5}, // 1.25, 1.5, 4.5
        {13, 144, 20},
        {25, 144, 38},
        {387, 120, 484},
        {386, 120, 483}, // 483.75, 482.5
        {0, 144, 0},
        {-3, 144, -5},
        {-1, 120, -1},
        {1, 480, 5},
        {INT_MAX / 5, 480, INT_MAX / 5 * 5}, // no overflow on the way
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

TEST(UsableDpi, AFailedOrStrangeReportGivesTheNearestScaleSetting) {
    const struct {
        int reported, usable;
    } cases[] = {{0, 96},    {-1, 96},   {72, 96},   {95, 96},       {96, 96},     {120, 120},
                 {144, 144}, {480, 480}, {481, 480}, {INT_MAX, 480}, {INT_MIN, 96}};
    for (const auto& c : cases)
        EXPECT_EQ(UsableDpi(c.reported), c.usable) << c.reported;
}

TEST(ScaleLayout, At96DpiTheTableIsUnchangedAndEveryNumberFollowsTheDpi) {
    int base[kNumbers], scaled[kNumbers];
    ToNumbers(kLayoutAt96Dpi, base);
    ToNumbers(ScaleLayout(96), scaled);
    for (int i = 0; i < kNumbers; ++i)
        EXPECT_EQ(scaled[i], base[i]) << "number " << i;
    ToNumbers(ScaleLayout(192), scaled);
    for (int i = 0; i < kNumbers; ++i)
        EXPECT_EQ(scaled[i], 2 * base[i]) << "number " << i;
}

TEST(ScaleLayout, WindowSizeAtEachScale) {
    const struct {
        int dpi, width, height;
    } cases[] = {{96, 600, 375},   {120, 750, 469},  {144, 900, 563},
                 {168, 1050, 656}, {192, 1200, 750}, {240, 1500, 938}};
    for (const auto& c : cases) {
        const SwitcherLayout layout = ScaleLayout(c.dpi);
        EXPECT_EQ(layout.window.right - layout.window.left, c.width) << c.dpi;
        EXPECT_EQ(layout.window.bottom - layout.window.top, c.height) << c.dpi;
    }
}

TEST(ScaleLayout, EdgesMeetAndThePreviewStaysSquareInsideItsBoxAtEveryDpi) {
    for (int dpi = LOWEST_DPI; dpi <= HIGHEST_DPI; ++dpi) {
        SCOPED_TRACE(dpi);
        const SwitcherLayout l = ScaleLayout(dpi);
        // The top rows: clock and banner above the title, the title above the bands.
        ASSERT_EQ(l.clock.bottom, l.title.top);
        ASSERT_EQ(l.banner.bottom, l.title.top);
        ASSERT_EQ(l.title.bottom, l.mainBand.top);
        ASSERT_EQ(l.accentStrip.top, l.mainBand.top);
        ASSERT_LT(l.accentStrip.bottom, l.iconStrip.top);
        // The band reaches under the panel, the panel and the path line reach the bottom.
        ASSERT_LT(l.panel.top, l.mainBand.bottom);
        ASSERT_EQ(l.panel.bottom, l.window.bottom);
        ASSERT_EQ(l.modulePath.bottom, l.window.bottom);
        // The children stand side by side without overlapping.
        ASSERT_LT(l.iconStrip.right, l.toolbar.left);
        ASSERT_LT(l.toolbar.right, l.previewBox.left);
        ASSERT_EQ(l.iconStrip.top, l.previewBox.top);
        // The preview square: inside its box with a ring of the band on every side.
        ASSERT_GE(l.previewLeft, l.previewBox.left + 1);
        ASSERT_GE(l.previewTop, l.previewBox.top + 1);
        ASSERT_LE(l.previewLeft + l.previewSide, l.previewBox.right);
        ASSERT_LE(l.previewTop + l.previewSide, l.previewBox.bottom);
        // Each separator is at least one pixel wide.
        for (const LayoutRect& separator : l.separators)
            ASSERT_GE(separator.right - separator.left, 1);
    }
}

TEST(ScaleLayout, At125And175PercentEdgesAreScaledNotWidths) {
    const SwitcherLayout at120 = ScaleLayout(120);
    // 386 * 1.25 = 482.5 and 586 * 1.25 = 732.5 round up; the width follows the edges.
    EXPECT_EQ(at120.previewBox.left, 483);
    EXPECT_EQ(at120.previewBox.right, 733);
    EXPECT_EQ(at120.previewLeft, 484);
    EXPECT_EQ(at120.previewSide, 248);
    const SwitcherLayout at168 = ScaleLayout(168);
    EXPECT_EQ(at168.accentStrip.bottom, 98);   // 56 * 1.75
    EXPECT_EQ(at168.separators[0].left, 333);  // 190 * 1.75 = 332.5
    EXPECT_EQ(at168.separators[0].right, 334); // 191 * 1.75 = 334.25: one pixel, not two
    EXPECT_EQ(at168.panel.top, 481);           // 275 * 1.75 = 481.25
}

} // namespace
