// The mouse during a switch: the wheel steps and is swallowed, a click outside
// the switcher cancels and still reaches what lies under the pointer, a click
// inside reaches the switcher. Input is sent through the X server.
#include <gtest/gtest.h>

#include "hooks_support_win.h"
#include "keyboard_support_win.h"
#include "test_support_win.h"

namespace {

class KeyboardMouse : public SwitcherKeyboardTest {
  protected:
    static void SetUpTestSuite() { StartSession(DefaultSwitcherOptions()); }
    static void TearDownTestSuite() { EndSession(); }
    void TearDown() override {
        Send("mousemove 512 384");
        SwitcherKeyboardTest::TearDown();
    }
};

// X buttons 4 and 5 are the wheel turned away from and toward the user.
TEST_F(KeyboardMouse, WheelStepsAndIsSwallowed) {
    OpenWithAltTab();
    ASSERT_TRUE(Send("click 5"));
    ASSERT_TRUE(Send("click 5"));
    ASSERT_TRUE(Send("click 4"));
    ReleaseAltAndExpectForeground(windowB);
    EXPECT_EQ(PassedWheelEvents(), 0);
    // Without a switch in progress the wheel passes again (the recorder sees it).
    ASSERT_TRUE(Send("click 5"));
    EXPECT_TRUE(WaitUntil([] { return PassedWheelEvents() == 1; }, 3000));
}

TEST_F(KeyboardMouse, WheelAwayFromTheUserStepsBackFromTheFirstEntry) {
    OpenWithAltTab();
    ASSERT_TRUE(Send("click 4"));
    ReleaseAltAndExpectForeground(windowA);
    EXPECT_EQ(PassedWheelEvents(), 0);
}

TEST_F(KeyboardMouse, ClickOutsideCancelsAndIsPassedOn) {
    OpenWithAltTab();
    ASSERT_TRUE(Send("key Tab"));
    ASSERT_TRUE(Send("mousemove 5 5"));
    ASSERT_TRUE(Send("click 1"));
    EXPECT_TRUE(WaitForSwitcherShown(false)) << "hidden while Alt is still held";
    EXPECT_TRUE(WaitUntil([] { return PassedButtonDowns() >= 1; }, 3000));
    ASSERT_TRUE(Send("keyup Alt_L"));
    EXPECT_NE(GetForegroundWindow(), windowB) << "a cancel activates nothing";
}

// The click reaches the switcher and leaves it open: the Tab after it still
// steps and the release activates the entry it reached.
TEST_F(KeyboardMouse, ClickInsideKeepsTheSwitcherOpen) {
    OpenWithAltTab();
    const POINT inside = SwitcherScreenPoint(590, 300);
    ASSERT_TRUE(Send("mousemove " + std::to_string(inside.x) + " " + std::to_string(inside.y)));
    ASSERT_TRUE(Send("click 1"));
    EXPECT_TRUE(WaitUntil([] { return PassedButtonDowns() >= 1; }, 3000));
    EXPECT_TRUE(IsSwitcherShown());
    ASSERT_TRUE(Send("key Tab"));
    ReleaseAltAndExpectForeground(windowB);
}

} // namespace
