// Alt+Tab driven by real keys sent through the X server, with three windows of
// this driver to switch between. The selection is seen through the window that
// comes to the foreground when it is activated.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "input_support_win.h"
#include "pixel_support_win.h"
#include "registry_support_win.h"
#include "window_support_win.h"

namespace {

class KeyboardSwitching : public SwitcherKeyboardTest {
  protected:
    static void SetUpTestSuite() { StartSession(DefaultSwitcherOptions()); }
    static void TearDownTestSuite() { EndSession(); }
};

TEST_F(KeyboardSwitching, AltTabOpensAndReleasingAltActivatesTheFirstEntry) {
    OpenWithAltTab();
    EXPECT_TRUE(WaitForForeground(FindSwitcherWindow())) << "the switcher takes the foreground";
    ReleaseAltAndExpectForeground(windowC);
    // The Tab was swallowed; the Alt press and the activating release were passed on.
    EXPECT_FALSE(WasPassedOn(WM_SYSKEYDOWN, VK_TAB));
    EXPECT_TRUE(WasPassedDown(VK_LMENU));
    EXPECT_TRUE(WasPassedOn(WM_KEYUP, VK_LMENU) || WasPassedOn(WM_SYSKEYUP, VK_LMENU));
}

TEST_F(KeyboardSwitching, TabStepsForward) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ReleaseAltAndExpectForeground(windowA);
    EXPECT_FALSE(WasPassedDown(VK_TAB));
}

TEST_F(KeyboardSwitching, TabWrapsAroundAfterTheLastEntry) {
    OpenWithAltTab();
    for (int step = 0; step < 4; ++step)
        ASSERT_TRUE(Xdotool("key Tab"));
    ReleaseAltAndExpectForeground(windowB);
}

TEST_F(KeyboardSwitching, LeftShiftTabStepsBack) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("keydown Shift_L"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("keyup Shift_L"));
    ReleaseAltAndExpectForeground(windowB);
}

TEST_F(KeyboardSwitching, LeftShiftTabFromTheFirstEntryWrapsToTheLast) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("keydown Shift_L"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("keyup Shift_L"));
    ReleaseAltAndExpectForeground(windowA);
}

TEST_F(KeyboardSwitching, AltShiftTabFromIdleOpensAtTheFirstEntry) {
    ASSERT_TRUE(Xdotool("keydown Alt_L Shift_L"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(WaitForSwitcherShown(true));
    ASSERT_TRUE(Xdotool("keyup Shift_L"));
    ReleaseAltAndExpectForeground(windowC);
}

// xdotool presses the left Shift key along with the Shift_R key name, so the
// right Shift key is sent by its key code in the X server's layout (62).
TEST_F(KeyboardSwitching, RightShiftTabStepsForward) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("keydown 62"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("keyup 62"));
    ReleaseAltAndExpectForeground(windowB);
}

TEST_F(KeyboardSwitching, AltEscapeCancelsWithoutActivating) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(WaitForSwitcherShown(false)) << "hidden while Alt is still held";
    EXPECT_NE(GetForegroundWindow(), windowB);
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    // A fresh Alt+Tab opens again: the cancel left the switch idle.
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_FALSE(WasPassedDown(VK_ESCAPE));
}

TEST_F(KeyboardSwitching, AltEnterActivatesAtOnce) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Return"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(windowB)) << "activated while Alt is still held";
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_FALSE(WasPassedDown(VK_RETURN));
}

TEST_F(KeyboardSwitching, AltEndSelectsTheLastEntry) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key End"));
    ReleaseAltAndExpectForeground(windowA);
}

TEST_F(KeyboardSwitching, AltHomeSelectsTheFirstEntry) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Home"));
    ReleaseAltAndExpectForeground(windowC);
}

TEST_F(KeyboardSwitching, AltArrowsStepBothWays) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Right"));
    ASSERT_TRUE(Xdotool("key Down"));
    ASSERT_TRUE(Xdotool("key Up"));
    ASSERT_TRUE(Xdotool("key Left"));
    ASSERT_TRUE(Xdotool("key Left"));
    ReleaseAltAndExpectForeground(windowA);
}

TEST_F(KeyboardSwitching, AnyOtherKeyWithAltCancelsAndIsSwallowed) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key a"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_NE(GetForegroundWindow(), windowB);
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_FALSE(WasPassedDown('A'));
}

TEST_F(KeyboardSwitching, ShownSwitcherShowsItsBackgroundOnScreen) {
    OpenWithAltTab();
    const struct {
        int x, y;
        COLORREF colour;
    } spots[] = {
        {590, 40, RGB(0, 51, 153)},    // top backdrop, right of title and clock
        {300, 52, RGB(255, 153, 0)},   // accent strip
        {2, 52, RGB(255, 255, 255)},   // accent strip near its white end
        {400, 60, RGB(153, 183, 247)}, // main band, lightest column
        {0, 150, RGB(91, 125, 222)},   // main band, left edge beside the icon strip
        {590, 60, RGB(94, 128, 223)},  // main band, darker toward the right
        {595, 300, RGB(0, 51, 153)},   // process panel backdrop
    };
    HDC screen = GetDC(nullptr);
    for (const auto& spot : spots) {
        const POINT point = ClientPointOnScreen(FindSwitcherWindow(), spot.x, spot.y);
        EXPECT_TRUE(WaitUntil(
            [&] { return ColourNear(GetPixel(screen, point.x, point.y), spot.colour); }, 3000))
            << spot.x << "," << spot.y << ": "
            << ColourNear(GetPixel(screen, point.x, point.y), spot.colour).message();
    }
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
}

// Whatever order the open and the Alt release reach the switcher in, a quick Alt+Tab
// ends the switch. A stuck switcher stays shown until the next Alt press, so each
// press is checked before the next one is sent.
TEST_F(KeyboardSwitching, QuickAltTabsOnABusyMachineNeverLeaveTheSwitcherShown) {
    std::atomic<bool> busy{true};
    std::thread spinner([&] {
        while (busy.load(std::memory_order_relaxed)) {
        }
    });
    const auto staysHidden = [] {
        return !IsSwitcherShown() && !WaitUntil([] { return IsSwitcherShown(); }, 300);
    };
    int stuck = 0;
    for (int press = 0; press < 50; ++press) {
        ASSERT_TRUE(Xdotool("keydown Alt_L key Tab sleep 0.02 keyup Alt_L"));
        if (!WaitUntil(staysHidden, 5000)) {
            ++stuck;
            ReleaseKeysAndCloseSwitcher();
        }
    }
    busy = false;
    spinner.join();
    EXPECT_EQ(stuck, 0);
}

} // namespace
