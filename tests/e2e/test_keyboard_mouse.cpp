// The mouse during a switch: the wheel steps and is swallowed, a click outside
// the switcher cancels and still reaches what lies under the pointer, a click
// inside reaches the switcher. Input is sent through the X server.
#include <gtest/gtest.h>

#include "input_support_win.h"
#include "registry_support_win.h"
#include "window_support_win.h"

namespace {

class KeyboardMouse : public SwitcherKeyboardTest {
  protected:
    static void SetUpTestSuite() { StartSession(DefaultSwitcherOptions()); }
    static void TearDownTestSuite() { EndSession(); }
    void TearDown() override {
        Xdotool("mousemove 512 384");
        SwitcherKeyboardTest::TearDown();
    }
};

// X buttons 4 and 5 are the wheel turned away from and toward the user.
TEST_F(KeyboardMouse, WheelStepsAndIsSwallowed) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("click 5"));
    ASSERT_TRUE(Xdotool("click 5"));
    ASSERT_TRUE(Xdotool("click 4"));
    ReleaseAltAndExpectForeground(windowB);
    EXPECT_EQ(RecordedEvents(WM_MOUSEWHEEL), 0);
    // Without a switch in progress the wheel passes again (the recorder sees it).
    ASSERT_TRUE(Xdotool("click 5"));
    EXPECT_TRUE(WaitUntil([] { return RecordedEvents(WM_MOUSEWHEEL) == 1; }, 3000));
}

TEST_F(KeyboardMouse, WheelAwayFromTheUserStepsBackFromTheFirstEntry) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("click 4"));
    ReleaseAltAndExpectForeground(windowA);
    EXPECT_EQ(RecordedEvents(WM_MOUSEWHEEL), 0);
}

TEST_F(KeyboardMouse, ClickOutsideCancelsAndIsPassedOn) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("mousemove 5 5"));
    ASSERT_TRUE(Xdotool("click 1"));
    EXPECT_TRUE(WaitForSwitcherShown(false)) << "hidden while Alt is still held";
    EXPECT_TRUE(WaitUntil([] { return RecordedEvents(WM_LBUTTONDOWN) >= 1; }, 3000));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_NE(GetForegroundWindow(), windowB) << "a cancel activates nothing";
}

// The click reaches the switcher and leaves it open: the Tab after it still
// steps and the release activates the entry it reached.
TEST_F(KeyboardMouse, ClickInsideKeepsTheSwitcherOpen) {
    OpenWithAltTab();
    ASSERT_TRUE(MouseAt(ClientPointOnScreen(FindSwitcherWindow(), 590, 300), "click 1"));
    EXPECT_TRUE(WaitUntil([] { return RecordedEvents(WM_LBUTTONDOWN) >= 1; }, 3000));
    EXPECT_TRUE(IsSwitcherShown());
    ASSERT_TRUE(Xdotool("key Tab"));
    ReleaseAltAndExpectForeground(windowB);
}

} // namespace
