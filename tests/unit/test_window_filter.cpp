#include <gtest/gtest.h>

#include "windowlist/window_filter.h"

#include <climits>

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

TEST(WindowFilter, WindowsThatRefuseActivationAreLeftOutUnlessTheyAskForATaskbarButton) {
    constexpr uint32_t NOACTIVATE = FILTER_EX_NOACTIVATE;
    const struct {
        uint32_t exStyle;
        bool refuses;
    } cases[] = {{0, false},
                 {NOACTIVATE, true},
                 {NOACTIVATE | APP, false},
                 {NOACTIVATE | TOPMOST, true},
                 {TOOL | TOPMOST, false},
                 {0xFFFFFFFF & ~APP, true}};
    for (const auto& c : cases)
        EXPECT_EQ(RefusesActivation(c.exStyle), c.refuses) << std::hex << c.exStyle;
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

// The primary monitor, one left of it (bottoms aligned) and one above it, of three sizes.
constexpr ScreenRect PRIMARY = {0, 0, 1920, 1080};
constexpr ScreenRect LEFT = {-1366, 312, 0, 1080};
constexpr ScreenRect ABOVE = {-64, -1152, 1984, 0};

TEST(WindowFilter, AWindowBelongsToTheMonitorHoldingItsLargerPart) {
    const ScreenRect three[] = {PRIMARY, LEFT, ABOVE};
    const ScreenRect leftFirst[] = {LEFT, PRIMARY};
    const struct {
        const ScreenRect* monitors;
        int count;
        ScreenRect window;
        int monitor;
    } cases[] = {
        {three, 3, {100, 100, 400, 300}, 0},
        {three, 3, {-900, 500, -600, 700}, 1},
        {three, 3, {100, -700, 400, -500}, 2},
        // Across two: 500 columns on the left one against 300 on the primary.
        {three, 3, {-500, 400, 300, 600}, 1},
        {three, 3, {-300, 400, 500, 600}, 0},
        // A tie goes to the monitor earlier in the list.
        {three, 3, {-200, 400, 200, 600}, 0},
        {leftFirst, 2, {-200, 400, 200, 600}, 0},
        // Across all three, mostly above.
        {three, 3, {-100, -600, 400, 100}, 2},
        // Larger than every monitor: the largest one holds most of it.
        {three, 3, {-100000, -100000, 100000, 100000}, 2},
        {three, 3, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 2},
        // No area, or inverted: the monitor it lies on or the nearest one.
        {three, 3, {100, 100, 100, 100}, 0},
        {three, 3, {-700, 500, -700, 500}, 1},
        {three, 3, {400, 300, 100, 100}, 0},
        // On no monitor: the nearest, by the gap between the rectangles.
        {three, 3, {-5000, 500, -4800, 700}, 1},
        {three, 3, {500, 3000, 700, 3200}, 0},
        {three, 3, {-700, -300, -600, -200}, 1},
        {three, 3, {5000, -900, 5200, -700}, 2},
        {three, 3, {-32000, -32000, -31840, -31976}, 2},
        {three, 3, {INT_MAX - 1, 500, INT_MAX, 501}, 2},
        {leftFirst, 2, {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, 0},
        {leftFirst, 2, {100, -700, 400, -500}, 1},
        {three, 0, {100, 100, 400, 300}, -1},
    };
    for (const auto& c : cases) {
        const ScreenRect& w = c.window;
        EXPECT_EQ(MonitorHoldingWindow(w, c.monitors, c.count), c.monitor)
            << "(" << w.left << "," << w.top << ")-(" << w.right << "," << w.bottom << ") among "
            << c.count;
    }
}

} // namespace
