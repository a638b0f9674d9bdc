// Bringing the chosen window forward: restore, last active popup, refusals, and
// the Alt releases injected before the switch.
#include <gtest/gtest.h>

#include "actions/activation_win.h"
#include "input_support_win.h"
#include "window_support_win.h"

namespace {

class Activation : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartRecordingInput(); }
    static void TearDownTestSuite() { StopRecordingInput(); }

    void SetUp() override {
        other = Make(L"other");
        ASSERT_TRUE(BringToForeground(other));
        TakeRecordedKeys(); // forget what came before
    }
    void TearDown() override { DestroyWindows(&windows); }

    HWND Make(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
              HWND owner = nullptr) {
        HWND window = CreateTestWindow(title, style, 0, owner);
        windows.push_back(window);
        return window;
    }

    // The four injected events: releases of the extended (right) Alt key, and nothing
    // else. With `before`, each was seen while that was still the foreground window.
    void ExpectFourAltReleasesBeforeTheSwitch(HWND before = nullptr) {
        std::vector<RecordedKey> keys = TakeRecordedKeys();
        ASSERT_EQ(keys.size(), 4u);
        for (const RecordedKey& key : keys) {
            EXPECT_TRUE(key.key == VK_MENU || key.key == VK_RMENU) << key.key;
            EXPECT_TRUE(key.flags & LLKHF_UP);
            EXPECT_TRUE(key.flags & LLKHF_EXTENDED);
            EXPECT_TRUE(key.flags & LLKHF_INJECTED);
            if (before) {
                EXPECT_EQ(key.foreground, before);
            }
        }
    }

    HWND other = nullptr;
    std::vector<HWND> windows;
};

TEST_F(Activation, MinimisedWindowIsRestoredAndSwitchedTo) {
    HWND chosen = Make(L"chosen");
    ShowWindow(chosen, SW_MINIMIZE);
    ASSERT_TRUE(BringToForeground(other));
    ASSERT_TRUE(IsIconic(chosen));
    TakeRecordedKeys();

    EXPECT_TRUE(ActivateChosenWindow(chosen));
    EXPECT_FALSE(IsIconic(chosen));
    EXPECT_TRUE(WaitUntil([chosen] { return GetForegroundWindow() == chosen; }));
    // Restoring already activates the window, so the releases may come after that.
    ExpectFourAltReleasesBeforeTheSwitch();
}

TEST_F(Activation, PlainWindowIsSwitchedToAfterFourAltReleases) {
    HWND chosen = Make(L"chosen");
    ASSERT_TRUE(BringToForeground(other));
    TakeRecordedKeys();

    EXPECT_TRUE(ActivateChosenWindow(chosen));
    EXPECT_TRUE(WaitUntil([chosen] { return GetForegroundWindow() == chosen; }));
    ExpectFourAltReleasesBeforeTheSwitch(other);
}

TEST_F(Activation, LastActivePopupGetsTheForeground) {
    HWND chosen = Make(L"chosen");
    HWND dialog = Make(L"dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, chosen);
    ASSERT_TRUE(BringToForeground(dialog));
    ASSERT_TRUE(BringToForeground(other));
    ASSERT_EQ(GetLastActivePopup(chosen), dialog);
    TakeRecordedKeys();

    EXPECT_TRUE(ActivateChosenWindow(chosen));
    EXPECT_TRUE(WaitUntil([dialog] { return GetForegroundWindow() == dialog; }));
    ExpectFourAltReleasesBeforeTheSwitch(other);
}

TEST_F(Activation, WindowThatIsGoneIsRefusedWithoutInput) {
    HWND gone = CreateTestWindow(L"gone");
    DestroyWindow(gone);
    ASSERT_TRUE(BringToForeground(other));
    TakeRecordedKeys();

    EXPECT_FALSE(ActivateChosenWindow(gone));
    EXPECT_TRUE(TakeRecordedKeys().empty());
    EXPECT_EQ(GetForegroundWindow(), other);
}

TEST_F(Activation, DisabledTargetIsAnsweredButNotSwitchedTo) {
    HWND disabled = Make(L"disabled", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED);
    ASSERT_TRUE(BringToForeground(other));
    TakeRecordedKeys();

    EXPECT_TRUE(ActivateChosenWindow(disabled));
    EXPECT_TRUE(TakeRecordedKeys().empty());
    EXPECT_EQ(GetForegroundWindow(), other);
}

TEST_F(Activation, DisabledMinimisedWindowIsRestoredWithoutInjectedInput) {
    HWND disabled = Make(L"disabled");
    ShowWindow(disabled, SW_MINIMIZE);
    EnableWindow(disabled, FALSE);
    ASSERT_TRUE(BringToForeground(other));
    TakeRecordedKeys();

    EXPECT_TRUE(ActivateChosenWindow(disabled));
    EXPECT_FALSE(IsIconic(disabled));
    EXPECT_TRUE(TakeRecordedKeys().empty());
}

} // namespace
