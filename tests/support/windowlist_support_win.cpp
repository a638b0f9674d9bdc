#include "windowlist_support_win.h"

#include "test_support_win.h"
#include "windowlist/window_list_win.h"

int ListedIndexOf(HWND window) {
    for (int i = 0; i < listedCount; ++i)
        if (WindowList[i].window == window)
            return i;
    return -1;
}

std::vector<HWND> ListedWindows() {
    std::vector<HWND> windows;
    for (int i = 0; i < listedCount; ++i)
        windows.push_back(WindowList[i].window);
    return windows;
}

void StackInOrder(const std::vector<HWND>& topFirst) {
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it)
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::vector<HWND> StackingOrderOf(const std::vector<HWND>& set) {
    std::vector<HWND> order;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        for (HWND member : set)
            if (member == window)
                order.push_back(window);
    return order;
}

bool BringToForeground(HWND window) {
    // Asked again while it does not hold: Wine sometimes drops a request that comes
    // right after another process switched to a window of this one.
    return WaitUntil(
        [window] {
            if (GetForegroundWindow() == window)
                return true;
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        5000);
}

void DestroyWindows(std::vector<HWND>* windows) {
    // Owned windows first: destroying an owner takes its owned windows with it.
    for (auto it = windows->rbegin(); it != windows->rend(); ++it)
        if (IsWindow(*it))
            DestroyWindow(*it);
    windows->clear();
    PumpMessages();
}

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

DWORD WINAPI WatchMessageBoxes(void* parameter) {
    MessageBoxWatcher* watcher = static_cast<MessageBoxWatcher*>(parameter);
    while (!watcher->stop) {
        HWND box = FindVisibleDialogOf(GetCurrentProcessId());
        if (!box) {
            Sleep(5);
            continue;
        }
        // The box's text is the static control with id 0xFFFF.
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        watcher->seen.push_back({text, WindowText(box), GetWindow(box, GW_OWNER)});
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box) && !watcher->stop)
            Sleep(5);
    }
    return 0;
}

// The keyboard recorder: one hook thread, its events in a fixed buffer.
constexpr DWORD kMarkerKey = VK_F24;
constexpr int kMaxKeys = 256;
SeenKey recordedKeys[kMaxKeys];
volatile LONG recordedCount;
volatile LONG markerSeen;
int takenCount;
HANDLE recorderThread;
DWORD recorderThreadId;
HANDLE recorderReady;

LRESULT CALLBACK RecordKey(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (event->vkCode == kMarkerKey) {
            InterlockedExchange(&markerSeen, 1);
        } else if (recordedCount < kMaxKeys) {
            recordedKeys[recordedCount] = {event->vkCode, event->flags, GetForegroundWindow()};
            InterlockedIncrement(&recordedCount);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI RunKeyRecorder(void*) {
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RecordKey, GetModuleHandleW(nullptr), 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists from here
    SetEvent(recorderReady);
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
    return 0;
}

void InjectMarker() {
    INPUT marker = {};
    marker.type = INPUT_KEYBOARD;
    marker.ki.wVk = static_cast<WORD>(kMarkerKey);
    marker.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &marker, sizeof(marker));
}

} // namespace

void StartWatchingMessageBoxes(MessageBoxWatcher* watcher) {
    watcher->stop = 0;
    watcher->seen.clear();
    watcher->thread = CreateThread(nullptr, 0, WatchMessageBoxes, watcher, 0, nullptr);
}

void StopWatchingMessageBoxes(MessageBoxWatcher* watcher) {
    InterlockedExchange(&watcher->stop, 1);
    WaitForSingleObject(watcher->thread, INFINITE);
    CloseHandle(watcher->thread);
    watcher->thread = nullptr;
}

void StartRecordingKeys() {
    recordedCount = 0;
    takenCount = 0;
    recorderReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    recorderThread = CreateThread(nullptr, 0, RunKeyRecorder, nullptr, 0, &recorderThreadId);
    WaitForSingleObject(recorderReady, INFINITE);
    CloseHandle(recorderReady);
}

void StopRecordingKeys() {
    PostThreadMessageW(recorderThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(recorderThread, INFINITE);
    CloseHandle(recorderThread);
}

std::vector<SeenKey> TakeRecordedKeys() {
    // Input events reach the hook in order: once the marker is seen, so is everything before it.
    InterlockedExchange(&markerSeen, 0);
    InjectMarker();
    WaitUntil([] { return markerSeen != 0; }, 5000);
    std::vector<SeenKey> keys(recordedKeys + takenCount, recordedKeys + recordedCount);
    takenCount = recordedCount;
    return keys;
}
