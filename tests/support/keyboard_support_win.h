// Helpers of the end-to-end keyboard and mouse tests: test windows of the
// driver, input watched by low-level hooks of the driver, and the switcher's state
// as seen from outside.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/options.h"
#include "test_support_win.h"

// A key event that reached the end of the hook chain (was not swallowed before).
struct PassedKey {
    WPARAM message;
    DWORD key;
    DWORD flags;
};

// Starts a thread with low-level keyboard and mouse hooks. Installed before
// zephtab starts, they are called after zephtab's hooks, so they see only
// the events zephtab passed on.
void StartPassedInputRecorder();
void StopPassedInputRecorder();
// Forgets what was recorded so far.
void ClearPassedInput();
std::vector<PassedKey> PassedKeys();
int PassedWheelEvents();
int PassedButtonDowns();

// Brings each window to the foreground in turn, so that the last one ends up
// topmost and the foreground window. Returns whether the last one got there.
bool StackWindows(const std::vector<HWND>& bottomFirst);
bool WaitForForeground(HWND window, DWORD deadlineMs = 5000);
bool WaitForSwitcherShown(bool shown, DWORD deadlineMs = 5000);
bool IsSwitcherShown();

// Stores the options, starts zephtab.exe and waits for its window.
bool StartZephtab(const SwitcherOptions& options, StartedProgram* program);
// Closes it (WM_CLOSE), waits for its end and removes what it wrote to the registry.
void EndZephtab(StartedProgram* program);

// Leaves the keyboard and the switcher idle after a test, whatever it left behind:
// every modifier up, and an open switcher cancelled with Alt+Escape.
void ReleaseKeysAndCloseSwitcher();

// Client point of the switcher window in screen coordinates.
POINT SwitcherScreenPoint(int x, int y);

// Sends one xdotool command through the X server; false when it failed.
bool Send(const std::string& xdotoolArguments);

// Whether a key event of this message and key, typed (not injected), got past zephtab's hook.
bool WasPassedOn(WPARAM message, DWORD key);
// The same for a press, with or without Alt.
bool WasPassedDown(DWORD key);

// Three windows of the driver to switch between, zephtab.exe started with
// the suite's options, and the passed-input recorder. Each test starts with
// the windows stacked C, B, A from the top, so that the switcher lists them
// in that order, and ends with the keys up and the switcher closed.
class SwitcherKeyboardTest : public ::testing::Test {
  protected:
    static void StartSession(const SwitcherOptions& options);
    static void EndSession();
    void SetUp() override;
    void TearDown() override;

    // Alt down, Tab pressed, and the switcher on screen.
    void OpenWithAltTab();
    void ReleaseAltAndExpectForeground(HWND expected);

    static HWND windowA;
    static HWND windowB;
    static HWND windowC;
    static StartedProgram zephtab;
};
