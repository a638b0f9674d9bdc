// Input: keys and mouse actions sent through the X server (as a user types them)
// or injected into this process, the keys and mouse events that reach a
// low-level hook of the test, and the end-to-end fixture that drives a running
// zephtab.exe with real keys.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_support_win.h"
#include "settings/options.h"

// Asks the test runner (winerun.py) to run xdotool with these arguments and waits
// for it to finish, e.g. Xdotool("keydown Alt_L"). False when it failed or no runner answers.
bool Xdotool(const std::string& arguments);
// Moves the X pointer to a screen point and does a mouse action there, e.g. "click 3".
bool MouseAt(POINT screen, const char* action);
// Presses or releases one key through SendInput (this process's own input). The right
// Shift and Alt keys are sent as extended keys: that is how Wine tells them from the left.
void InjectKey(WORD key, bool down);

// The recorder: low-level keyboard and mouse hooks on a thread of their own. Hooks
// installed before a program's are called after them, so a recorder started before
// zephtab sees only the events zephtab passed on.
struct RecordedKey {
    WPARAM message;
    DWORD key;
    DWORD flags;
    HWND foreground; // when the hook saw the event
};
void StartRecordingInput();
void StopRecordingInput();
void ClearRecordedInput();
// Injects a marker key, waits until the hook saw it, and returns the keys seen before it
// since the last take or clear (the marker left out), forgetting them.
std::vector<RecordedKey> TakeRecordedKeys();
// How many events of this message (WM_MOUSEWHEEL, WM_LBUTTONDOWN ...) the recorder saw.
int RecordedEvents(WPARAM message);
// Whether a key event of this message and key, typed (not injected), reached the recorder.
bool WasPassedOn(WPARAM message, DWORD key);
// The same for a press, with or without Alt.
bool WasPassedDown(DWORD key);

// Leaves the keyboard and the switcher idle after a test, whatever it left behind:
// every modifier up, and an open switcher cancelled with Alt+Escape.
void ReleaseKeysAndCloseSwitcher();

// Three windows of the driver to switch between, zephtab.exe started with the
// suite's options, and the recorder. Each test starts with the windows stacked
// C, B, A from the top, so that the switcher lists them in that order, and ends
// with every modifier up and the switcher closed.
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
