// Helpers of the window-list, activation and command tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Index of window in WindowList[0 .. listedCount - 1], or -1.
int ListedIndexOf(HWND window);

// The windows of WindowList[0 .. listedCount - 1], in list order.
std::vector<HWND> ListedWindows();

// Puts the windows on top of the stacking order so that the first ends up topmost.
void StackInOrder(const std::vector<HWND>& topFirst);

// Top-level windows in the system's stacking order, topmost first, keeping only those in set.
std::vector<HWND> StackingOrderOf(const std::vector<HWND>& set);

// Shows the window (it becomes the foreground window) and waits until it is.
bool BringToForeground(HWND window);

// Destroys every window and clears the vector.
void DestroyWindows(std::vector<HWND>* windows);

// A message box seen by MessageBoxWatcher, with what it showed.
struct SeenMessageBox {
    std::wstring text;
    std::wstring caption;
    HWND owner;
};

// Watches this process for modal message boxes from another thread and presses
// OK on each, recording what it showed. Needed when code under test calls
// MessageBoxW on the test's own thread.
struct MessageBoxWatcher {
    HANDLE thread = nullptr;
    volatile LONG stop = 0;
    std::vector<SeenMessageBox> seen; // read only after StopWatchingMessageBoxes
};
void StartWatchingMessageBoxes(MessageBoxWatcher* watcher);
void StopWatchingMessageBoxes(MessageBoxWatcher* watcher);

// Keyboard events seen by a low-level keyboard hook in a thread of its own.
struct SeenKey {
    DWORD vkCode;
    DWORD flags;
    HWND foreground; // GetForegroundWindow() when the hook saw the event
};
void StartRecordingKeys();
void StopRecordingKeys();
// Injects a release of the marker key, waits until the hook saw it, and returns every
// event seen before it since the last call (or since the start), without the marker.
std::vector<SeenKey> TakeRecordedKeys();
