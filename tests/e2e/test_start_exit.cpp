// Starting and ending the program, watched from another process.
#include <gtest/gtest.h>

#include "base/identifiers.h"
#include "process_support_win.h"
#include "window_support_win.h"

TEST(StartExit, StartsHiddenAndEndsWithExitCodeZeroOnClose) {
    CloseRunningSwitcher();
    StartedProgram program;
    ASSERT_TRUE(StartSwitcherProgram(&program));
    HWND window = FindSwitcherWindow();
    EXPECT_FALSE(IsWindowVisible(window));
    // Answering messages means started: the strip must be there by then.
    EXPECT_NE(FindWindowExW(window, nullptr, L"SysListView32", nullptr), nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
    EndProgram(program);
}

HWND FindSettingsDialog() {
    return FindWindowW(L"#32770", L"Zephtab Settings");
}

TEST(StartExit, ASecondStartShowsTheSettingsAndLeavesTheFirstRunning) {
    CloseRunningSwitcher();
    StartedProgram first;
    ASSERT_TRUE(StartSwitcherProgram(&first));
    StartedProgram second = StartProgram(L"zephtab.exe");
    EXPECT_EQ(WaitForExit(second, 15000), 0u);
    EXPECT_TRUE(WaitUntil([] { return FindSettingsDialog() != nullptr; }, 10000));
    EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    if (HWND dialog = FindSettingsDialog()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([] { return FindSettingsDialog() == nullptr; }, 10000);
    }
    CloseRunningSwitcher();
}

// The copy that ends still holds the mutex for a moment after its window is gone.
TEST(StartExit, AStartWhileTheLastCopyIsEndingRunsOnceItHasEnded) {
    CloseRunningSwitcher();
    HANDLE endingCopy = CreateMutexW(nullptr, FALSE, ZEPHTAB_SINGLE_INSTANCE_NAME);
    ASSERT_NE(endingCopy, nullptr);
    StartedProgram program = StartProgram(L"zephtab.exe");
    WaitForExit(program, 1000); // the ending copy takes its time
    CloseHandle(endingCopy);
    EXPECT_TRUE(WaitUntil([] { return FindSwitcherWindow() != nullptr; }, 10000));
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseRunningSwitcher();
}
