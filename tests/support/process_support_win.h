// Processes: programs beside the test executable started, watched and ended
// (handles released however the test ends), their captured output, zephtab.exe
// seen from outside, and the GDI and USER objects this process holds.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The folder of the running test executable, with a trailing backslash.
std::wstring ExecutableFolder();

// A program started by a test. Ended (terminated if still running) and its handles
// closed when it goes out of scope, after a failed assertion too.
struct StartedProgram {
    PROCESS_INFORMATION info = {};
    bool started = false;
    StartedProgram() = default;
    StartedProgram(StartedProgram&& other) noexcept { *this = std::move(other); }
    // Takes the other's program; this one's former program ends with the other.
    StartedProgram& operator=(StartedProgram&& other) noexcept;
    ~StartedProgram();
};
StartedProgram StartProgram(const std::wstring& exeName, const std::wstring& arguments = L"");
// Starts a program of the system's folder (notepad.exe: a real program with a menu bar).
StartedProgram StartSystemProgram(const std::wstring& exeName);

// An icon picture to put into a program file: its resource id and its bytes.
struct IconPicture {
    WORD id;
    std::vector<BYTE> bytes;
};
// The icon group of display_window.exe (the icon its program file shows), as stored.
std::vector<BYTE> DisplayHelperIconGroup();
// Writes a copy of display_window.exe, beside the test, whose icon group is group
// and which holds the given pictures besides its own: a program with an icon of
// the test's making.
bool WriteDisplayHelperCopy(const std::wstring& copyName, const std::vector<BYTE>& group,
                            const std::vector<IconPicture>& pictures = {});

// How long a test waits for a program that ends by itself: far longer than it
// takes on a loaded machine, so that its exit code is read only once it has ended.
constexpr DWORD kProgramEndDeadlineMs = 60000;
// Waits for the program to end; returns its exit code, or STILL_ACTIVE after the deadline.
DWORD WaitForExit(const StartedProgram& program, DWORD deadlineMs = kProgramEndDeadlineMs);
// Terminates the program if it still runs and closes its handles; harmless when done before.
void EndProgram(StartedProgram& program);

// A console program's run with its output captured.
struct CapturedRun {
    bool finished =
        false; // ended before the deadline (otherwise it was terminated, and err says so)
    DWORD exitCode = STILL_ACTIVE;
    std::string rawOut; // standard output as written
    std::string out;    // the same without carriage returns
    std::string err;    // standard error without carriage returns
};
// Runs a program beside the test executable with its standard output and error on
// pipes, and waits for it to end.
CapturedRun RunCaptured(const std::wstring& exeName, const std::wstring& arguments);
inline CapturedRun RunConfig(const std::wstring& arguments) {
    return RunCaptured(L"zephtab-config.exe", arguments);
}
// Whether part stands anywhere in text (as in a program's output).
bool Contains(const std::string& text, const std::string& part);

// Starts zephtab.exe and waits until it has finished starting (its message loop has
// run dry once, so whatever it sets up before the loop is there) and its window
// answers, each within 15 s. Returns whether both happened; program->started tells whether it
// began.
bool StartSwitcherProgram(StartedProgram* program);
// Waits until the program has finished starting: its message loop has run dry once.
bool WaitForProgramIdle(const StartedProgram& program, DWORD deadlineMs = 15000);
// Zephtab's main window in this desktop, or null.
HWND FindSwitcherWindow();
// Ends any running zephtab (WM_CLOSE, then waits up to 10 s until its process has ended).
void CloseRunningSwitcher();
bool IsSwitcherShown();
bool WaitForSwitcherShown(bool shown); // within 5 s
// The constant alpha of a layered window (of any process), or -1 when it has none.
int LayeredAlpha(HWND window);

// Live objects of this process, probed by handle index (Wine lacks GetGuiResources):
// GDI objects; windows and menus (Wine keeps icons and cursors in the same table); menus.
int CountGdiObjects();
int CountUserObjects();
int CountMenus();
// Kernel handles of this process (Wine's GetProcessHandleCount answers 0), probed
// by value: the lowest free value is handed out first, so they lie packed low.
int CountKernelHandles();
