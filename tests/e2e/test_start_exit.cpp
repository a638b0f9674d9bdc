// Starting and ending the program, watched from another process.
#include <gtest/gtest.h>

#include "app/identifiers.h"
#include "test_support_win.h"

TEST(StartExit, StartsHiddenAndEndsWithExitCodeZeroOnClose) {
    CloseRunningSwitcher();
    StartedProgram program = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(program.started);
    ASSERT_TRUE(WaitUntil([] { return FindSwitcherWindow() != nullptr; }));
    HWND window = FindSwitcherWindow();
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
    EndProgram(program);
}
