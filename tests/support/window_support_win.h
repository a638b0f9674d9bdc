// Windows: waiting with this thread's messages handled, the test's own windows
// (plain, or with icons and a client colour), their stacking and the foreground,
// client points on screen, and the dialogs, message boxes and menus of the desktop.
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

// A plain top-level test window of this process.
HWND CreateTestWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      DWORD exStyle = 0, HWND owner = nullptr, int width = 300, int height = 200);
// A top-level test window with a class of its own, that class's icons and
// client colour; the window icons are set with WM_SETICON.
struct DisplayWindowSpec {
    std::wstring title;
    HICON classBig = nullptr;
    HICON classSmall = nullptr;
    HICON windowBig = nullptr;
    HICON windowSmall = nullptr;
    COLORREF clientColour = RGB(255, 255, 255);
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    int width = 300;
    int height = 200;
};
HWND CreateDisplayWindow(const DisplayWindowSpec& spec);
// How many times a display window was asked to render itself (WM_PRINT, as PrintWindow sends).
int RenderRequests(HWND window);
// Destroys every window (owned ones first, as they come after their owners) and clears the vector.
void DestroyWindows(std::vector<HWND>* windows);

// Puts the windows on top of the stacking order, the first topmost, and gives the
// first the foreground. Returns whether it got there.
bool StackWindows(const std::vector<HWND>& topFirst);
// Top-level windows in the system's stacking order, topmost first, keeping only those in set.
std::vector<HWND> StackingOrderOf(const std::vector<HWND>& set);
// Asks for the window to be the foreground window until it is (or 5 s passed).
bool BringToForeground(HWND window);
bool WaitForForeground(HWND window); // within 5 s

// A client point of a window in screen coordinates.
POINT ClientPointOnScreen(HWND window, int x, int y);
// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// The first visible top-level window of this class (of that process, unless 0) other
// than except, or null.
HWND FindVisibleWindow(const wchar_t* className, DWORD processId = 0, HWND except = nullptr);
// A visible top-level dialog (class "#32770", as a message box) of that process, or null.
HWND FindVisibleDialogOf(DWORD processId);

// While it lives, presses OK on each message box of this process from a thread of
// its own and records what the box showed. Needed when code under test calls
// MessageBoxW on the test's own thread.
struct SeenMessageBox {
    std::wstring text;
    std::wstring caption;
    HWND owner;
};
class MessageBoxWatcher {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher() { Stop(); }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    void Stop(); // seen is complete afterwards
    std::vector<SeenMessageBox> seen;

  private:
    static DWORD WINAPI Watch(void* watcher);
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
};

// The visible popup-menu window (class "#32768") of this desktop, or null.
HWND FindOpenMenuWindow();
// While it lives, records the messages this thread takes from its queue (a WH_GETMESSAGE hook).
class QueueWatch {
  public:
    QueueWatch();
    ~QueueWatch();
    QueueWatch(const QueueWatch&) = delete;
    QueueWatch& operator=(const QueueWatch&) = delete;
    std::vector<WPARAM> switcherCommands; // WM_SWITCHER_COMMAND codes, in order
    HWND lastRightButtonUpWindow = nullptr;
    int rightButtonUps = 0;
};
