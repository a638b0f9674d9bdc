// With stayOpenAfterAlt set, the switcher stays open after Alt is released and
// is then driven with plain keys, sent through the X server.
#include <gtest/gtest.h>

#include "input_support_win.h"
#include "registry_support_win.h"
#include "window_support_win.h"

namespace {

SwitcherOptions StayOpenOptions() {
    SwitcherOptions options = DefaultSwitcherOptions();
    options.stayOpenAfterAlt = 1;
    return options;
}

class KeyboardStayOpen : public SwitcherKeyboardTest {
  protected:
    static void SetUpTestSuite() { StartSession(StayOpenOptions()); }
    static void TearDownTestSuite() { EndSession(); }

    void OpenAndReleaseAlt() {
        OpenWithAltTab();
        ASSERT_TRUE(Xdotool("keyup Alt_L"));
    }
    void PressEnterAndExpectForeground(HWND expected) {
        ASSERT_TRUE(Xdotool("key Return"));
        EXPECT_TRUE(WaitForSwitcherShown(false));
        EXPECT_TRUE(WaitForForeground(expected));
        EXPECT_FALSE(WasPassedDown(VK_RETURN));
    }
};

// Were the Alt release to activate, the switcher would be gone and the arrows
// and Enter would reach window C: only an open switcher brings A forward.
TEST_F(KeyboardStayOpen, ReleasingAltLeavesItOpenAndEnterActivates) {
    OpenAndReleaseAlt();
    EXPECT_TRUE(IsSwitcherShown());
    ASSERT_TRUE(Xdotool("key Right"));
    ASSERT_TRUE(Xdotool("key Right"));
    EXPECT_TRUE(IsSwitcherShown());
    PressEnterAndExpectForeground(windowA);
    EXPECT_FALSE(WasPassedDown(VK_RIGHT));
    EXPECT_TRUE(WasPassedOn(WM_KEYUP, VK_LMENU) || WasPassedOn(WM_SYSKEYUP, VK_LMENU));
}

TEST_F(KeyboardStayOpen, ArrowKeysStepBothWays) {
    OpenAndReleaseAlt();
    ASSERT_TRUE(Xdotool("key Down"));
    ASSERT_TRUE(Xdotool("key Down"));
    ASSERT_TRUE(Xdotool("key Up"));
    ASSERT_TRUE(Xdotool("key Left"));
    ASSERT_TRUE(Xdotool("key Left"));
    ASSERT_TRUE(Xdotool("key Right"));
    PressEnterAndExpectForeground(windowC);
}

TEST_F(KeyboardStayOpen, TabWithAltStillStepsBeforeTheRelease) {
    OpenWithAltTab();
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    PressEnterAndExpectForeground(windowB);
}

TEST_F(KeyboardStayOpen, AnyOtherPlainKeyCancelsAndIsSwallowed) {
    const struct {
        const char* xdotoolKey;
        DWORD key;
    } keys[] = {{"Tab", VK_TAB}, {"Escape", VK_ESCAPE},  {"Home", VK_HOME},  {"End", VK_END},
                {"a", 'A'},      {"Shift_L", VK_LSHIFT}, {"space", VK_SPACE}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.xdotoolKey);
        ASSERT_TRUE(StackWindows({windowC, windowB, windowA}));
        ClearRecordedInput();
        OpenAndReleaseAlt();
        ASSERT_TRUE(Xdotool("key Right"));
        ASSERT_TRUE(Xdotool(std::string("key ") + key.xdotoolKey));
        EXPECT_TRUE(WaitForSwitcherShown(false));
        EXPECT_NE(GetForegroundWindow(), windowB) << "a cancel activates nothing";
        EXPECT_FALSE(WasPassedDown(key.key));
    }
}

} // namespace
