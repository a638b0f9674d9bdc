// The switcher in this process: started on the real code with the options a test
// stores, stopped with what it wrote removed, given a list of the test's windows,
// selected, reloaded and opened, and the commands posted to it read back.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "registry_support_win.h"
#include "settings/options.h"
#include "windowlist/window_list_win.h"

// Ends any running zephtab, stores these options, registers the switcher class and
// runs the start-up in this process. Returns whether the start-up succeeded.
bool StartSwitcherInProcess(const SwitcherOptions& stored = DefaultSwitcherOptions());
// Destroys the in-process switcher and removes what the start-up wrote to the registry.
void StopSwitcherInProcess();
// A test suite sharing one in-process switcher with the default options.
class InProcessSwitcherTest : public ::testing::Test {
  public:
    static void SetUpTestSuite() { ASSERT_TRUE(StartSwitcherInProcess()); }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
};

// Stores these options and has the switcher reload them; whether it answered 1.
bool ReloadSwitcherWith(const SwitcherOptions& stored);
// Opens the switcher by command and waits until it is visible (a fatal failure otherwise).
void OpenSwitcherAndWait();

// The list module's replacement, for a list written in place.
inline int ReplaceWindowList(const std::vector<HWND>& windows) {
    return ReplaceWindowList(windows.data(), static_cast<int>(windows.size()));
}
// Index of window in WindowList[0 .. listedCount - 1], or -1.
int ListedIndexOf(HWND window);
// The windows of WindowList[0 .. listedCount - 1], in list order.
std::vector<HWND> ListedWindows();
// Selects entry index as the switcher does: selectedIndex, then ShowSelection.
void SelectEntry(int index);
// The selected item of the icon strip, or -1.
int SelectedStripItem();

// WM_SWITCHER_COMMAND codes waiting in this thread's queue for the window, removed, in order.
std::vector<WPARAM> TakePostedCommands(HWND window);
// The first WM_SWITCHER_COMMAND code posted to the window, removed; 0 after 3 s.
// Handles sent messages and hook calls while it waits, but runs no posted message.
WPARAM WaitForPostedCommand(HWND window);
