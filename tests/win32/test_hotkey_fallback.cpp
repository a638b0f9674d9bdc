// Alt+Tab keeps working when the keyboard hook is gone: the registered hot key
// stands in for the Tab the hook missed and puts the hook back. With the hook in
// place the hot key changes nothing. Real keys, sent through the X server.
#include <gtest/gtest.h>

#include <vector>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/hooks_win.h"
#include "input_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

class HotKeyFallback : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SwitcherOptions options = DefaultSwitcherOptions();
        options.noAnimation = 1;
        options.livePreview = 0;
        options.selectSecondOnOpen = 1; // so that releasing Alt changes the foreground
        ASSERT_TRUE(StartSwitcherInProcess(options));
    }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
    void SetUp() override {
        below = CreateTestWindow(L"below");
        above = CreateTestWindow(L"above");
        ASSERT_TRUE(BringToForeground(above));
        PumpMessages();
        queue.switcherCommands.clear(); // those of the tests before
    }
    void TearDown() override {
        Xdotool("keyup Alt_L");
        PostMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        WaitUntil([] { return !IsWindowVisible(SwitcherWindow); }, 2000);
        switcherActive = 0;
        // Whatever the test left, the next one starts with a working hook.
        RemoveKeyboardHook();
        InstallKeyboardHook();
        DestroyWindow(above);
        DestroyWindow(below);
    }

    // Alt+Tab, then Alt released: the second window, below, comes forward.
    void AltTabAndRelease() {
        ASSERT_TRUE(Xdotool("keydown Alt_L"));
        ASSERT_TRUE(Xdotool("key Tab"));
        ASSERT_TRUE(WaitUntil([] { return IsWindowVisible(SwitcherWindow) != 0; }));
        ASSERT_TRUE(Xdotool("keyup Alt_L"));
        ASSERT_TRUE(WaitUntil(
            [this] { return !IsWindowVisible(SwitcherWindow) && GetForegroundWindow() == below; }));
    }

    HWND below = nullptr;
    HWND above = nullptr;
    QueueWatch queue; // the switcher commands this thread takes from its queue
};

TEST_F(HotKeyFallback, AltTabOpensWhenTheSystemRemovedTheHookAndTheHookComesBack) {
    ASSERT_TRUE(UnhookWindowsHookEx(keyboardHook)); // behind the program's back
    AltTabAndRelease();                             // the release is seen only by a keyboard hook
    EXPECT_EQ(queue.switcherCommands, (std::vector<WPARAM>{CMD_OPEN, CMD_ACTIVATE}));
}

TEST_F(HotKeyFallback, WithTheHookInPlaceOneAltTabOpensOnce) {
    AltTabAndRelease();
    EXPECT_EQ(queue.switcherCommands, (std::vector<WPARAM>{CMD_OPEN, CMD_ACTIVATE}));
}

} // namespace
