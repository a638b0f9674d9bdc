// Helpers of the settings tools' tests: running a console program with its
// output captured, and looking at the stored record.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "test_support_win.h"

struct CapturedRun {
    bool started = false;
    bool finished = false; // ended before the deadline (otherwise it was terminated)
    DWORD exitCode = STILL_ACTIVE;
    std::string rawOut; // standard output as written
    std::string out;    // the same without carriage returns
    std::string err;    // standard error without carriage returns
};

// Runs a program that sits beside the test executable with these arguments,
// its standard output and error on pipes, and waits for it to end. One still
// running at the deadline is terminated, and err says so.
CapturedRun RunCaptured(const std::wstring& exeName, const std::wstring& arguments,
                        DWORD deadlineMs = kProgramEndDeadlineMs);
// zephtab-config.exe with these arguments.
CapturedRun RunConfig(const std::wstring& arguments);
// Whether part stands anywhere in text (as in a program's output).
bool Contains(const std::string& text, const std::string& part);

// The stored "Options" bytes, or an empty vector when there are none.
std::vector<BYTE> StoredOptionsBytes();
// The stored "Version" as a number, or 0 when there is none; type receives its registry type.
DWORD StoredVersion(DWORD* type = nullptr);
bool SettingsKeyExists();
// Stores raw "Options" bytes and a "Version" as a test wants them.
void StoreRawSettings(const std::vector<BYTE>& options, DWORD version = 258);

// The layered-window alpha of a window of another process, or -1 when it is not layered.
int LayeredAlpha(HWND window);
