// Starting and ending the program, watched from another process.
#include <gtest/gtest.h>

#include "base/identifiers.h"
#include "process_support_win.h"

TEST(StartExit, StartsHiddenAndEndsWithExitCodeZeroOnClose) {
    CloseRunningSwitcher();
    StartedProgram program;
    ASSERT_TRUE(StartSwitcherProgram(&program));
    HWND window = FindSwitcherWindow();
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
    EndProgram(program);
}
