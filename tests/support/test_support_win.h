// Shared helpers of the Windows tests (in-process and end to end).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls condition every few milliseconds, pumping this thread's messages,
// until it holds or the deadline passes. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs = 10000);

// Handles the messages waiting for this thread.
void PumpMessages();

// Sends a message from a thread of its own, as another program's thread would,
// and handles this thread's messages until the send returns. Its result.
LRESULT SendFromAnotherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The folder of the running test executable, with a trailing backslash.
std::wstring ExecutableFolder();

// A program started by a test: zephtab.exe or a helper beside the test executable.
struct StartedProgram {
    PROCESS_INFORMATION info = {};
    bool started = false;
};
StartedProgram StartProgram(const std::wstring& exeName, const std::wstring& arguments = L"");
// How long a test waits for a program that ends by itself: far longer than it
// takes on a loaded machine, so that its exit code is read only once it has ended.
constexpr DWORD kProgramEndDeadlineMs = 60000;
// Waits for the program to end; returns its exit code, or STILL_ACTIVE after the deadline.
DWORD WaitForExit(StartedProgram& program, DWORD deadlineMs = kProgramEndDeadlineMs);
void EndProgram(StartedProgram& program); // terminates it if still running, closes handles

// Waits until the program has finished starting: its message loop has run
// dry once (WaitForInputIdle). Whatever a program sets up before its loop
// (registry values, hooks, hot keys, child windows) is there afterwards.
bool WaitForProgramIdle(const StartedProgram& program, DWORD deadlineMs = 15000);
// Starts zephtab.exe and waits until it has finished starting and its window
// exists. Returns whether both happened; program->started tells whether it began.
bool StartSwitcherProgram(StartedProgram* program, DWORD deadlineMs = 15000);

// Zephtab's main window in this desktop, or null.
HWND FindSwitcherWindow();
// Ends any running zephtab (WM_CLOSE, then waits until its window is gone).
void CloseRunningSwitcher(DWORD deadlineMs = 10000);
// Ends any running zephtab, then registers the switcher class and runs the
// start-up in this process with the settings as stored. Returns whether it succeeded.
bool RunSwitcherStartUp();
// A visible top-level dialog (class "#32770", as a message box) of that process, or null.
HWND FindVisibleDialogOf(DWORD processId);

// Registry helpers on HKEY_CURRENT_USER.
void DeleteSettingsKey();
bool WriteRegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                        DWORD size);
bool ReadRegistryValue(const wchar_t* key, const wchar_t* name, DWORD* type,
                       std::vector<BYTE>* data);
bool DeleteRegistryValue(const wchar_t* key, const wchar_t* name);
// The "Options" bytes of the default options, as the store writes them.
const std::vector<BYTE>& DefaultOptionsRecord();
// Expects the settings key to hold these "Options" bytes as REG_BINARY and the
// "Version" REG_DWORD 258 (GoogleTest failures; a fatal one when a value is missing).
void ExpectStoredRecord(const std::vector<BYTE>& options);

// Sends input through the X server: asks the test runner (winerun.py) to run
// xdotool with these arguments and waits for it to finish. Example:
// Xdotool("keydown alt"). Returns false when no runner answers.
bool Xdotool(const std::string& arguments);

// Live GDI objects of this process, probed by handle index (Wine lacks GetGuiResources).
int CountGdiObjects();
// Live USER objects of this process: windows, menus, cursors and icons found by probing.
int CountUserObjects();

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// A plain top-level test window of this process.
HWND CreateTestWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      DWORD exStyle = 0, HWND owner = nullptr, int width = 300, int height = 200);
