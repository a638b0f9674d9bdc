#include "window_support_win.h"

#include <atomic>
#include <map>
#include <thread>

#include "../helpers/helper_window.h"
#include "base/identifiers.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start > deadlineMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT SendFromAnotherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::atomic<bool> answered(false);
    LRESULT result = 0;
    std::thread sender([&] {
        result = SendMessageW(window, message, wParam, lParam);
        answered = true;
    });
    WaitUntil([&] { return answered.load(); });
    sender.join();
    return result;
}

namespace {

std::map<HWND, int> renderRequests;
std::map<HWND, HBRUSH> clientBrushes; // each display window owns its brush
HBRUSH brushOfNewWindow;              // until the window being made takes it

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        clientBrushes[window] = brushOfNewWindow;
        brushOfNewWindow = nullptr;
    }
    if (message == WM_PRINT)
        ++renderRequests[window];
    auto brush = clientBrushes.find(window);
    if (message == WM_ERASEBKGND && brush != clientBrushes.end()) {
        // Only the client rectangle, as applications paint: the default erase fills
        // the whole clip box of the given DC, all of a capture canvas under Wine.
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush->second);
        return 1;
    }
    if (message == WM_NCDESTROY && brush != clientBrushes.end()) {
        DeleteObject(brush->second);
        clientBrushes.erase(brush);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A lone Alt tap on a window without a menu would enter the system's menu mode,
// a modal loop that stalls the test: the Alt keys of a switch can reach these windows.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HWND CreateTestWindow(const wchar_t* title, DWORD style, DWORD exStyle, HWND owner, int width,
                      int height) {
    static const wchar_t* className =
        RegisterHelperWindowClass(L"ZephtabTestWindow", TestWindowProc);
    return CreateWindowExW(exStyle, className, title, style, 50, 50, width, height, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

HWND CreateDisplayWindow(const DisplayWindowSpec& spec) {
    static int classNumber = 0;
    wchar_t className[64];
    wsprintfW(className, L"ZephtabDisplayTest%d", ++classNumber);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = spec.classBig;
    windowClass.hIconSm = spec.classSmall;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = brushOfNewWindow = CreateSolidBrush(spec.clientColour);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(spec.exStyle, className, spec.title.c_str(), spec.style, 60, 60, spec.width,
                        spec.height, spec.owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (brushOfNewWindow) // no window took it
        DeleteObject(brushOfNewWindow);
    brushOfNewWindow = nullptr;
    if (!window)
        return nullptr;
    if (spec.windowBig)
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.windowBig));
    if (spec.windowSmall)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.windowSmall));
    PumpMessages();
    return window;
}

int RenderRequests(HWND window) {
    auto found = renderRequests.find(window);
    return found == renderRequests.end() ? 0 : found->second;
}

void DestroyWindows(std::vector<HWND>* windows) {
    for (auto it = windows->rbegin(); it != windows->rend(); ++it)
        if (IsWindow(*it))
            DestroyWindow(*it);
    windows->clear();
    PumpMessages();
}

bool StackWindows(const std::vector<HWND>& topFirst) {
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it)
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return topFirst.empty() || BringToForeground(topFirst.front());
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
            if (GetForegroundWindow() != window)
                SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        5000);
}

bool WaitForForeground(HWND window) {
    return WaitUntil([window] { return GetForegroundWindow() == window; }, 5000);
}

POINT ClientPointOnScreen(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

RECT RectInParent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FindVisibleWindow(const wchar_t* className, DWORD processId, HWND except) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (window != except && IsWindowVisible(window) && (!processId || owner == processId))
            return window;
    }
    return nullptr;
}

HWND FindVisibleDialogOf(DWORD processId) {
    return FindVisibleWindow(L"#32770", processId);
}

HWND FindOpenMenuWindow() {
    return FindVisibleWindow(L"#32768");
}

MessageBoxWatcher::MessageBoxWatcher() {
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

void MessageBoxWatcher::Stop() {
    if (!thread_)
        return;
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI MessageBoxWatcher::Watch(void* parameter) {
    auto* watcher = static_cast<MessageBoxWatcher*>(parameter);
    while (!watcher->stop_) {
        HWND box = FindVisibleDialogOf(GetCurrentProcessId());
        if (!box) {
            Sleep(5);
            continue;
        }
        // The box's text is the static control with id 0xFFFF.
        wchar_t text[512] = {}, caption[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        GetWindowTextW(box, caption, 512);
        watcher->seen.push_back({text, caption, GetWindow(box, GW_OWNER)});
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box) && !watcher->stop_)
            Sleep(5);
    }
    return 0;
}

namespace {

QueueWatch* activeQueueWatch;
HHOOK queueHook;

LRESULT CALLBACK QueueWatchProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && activeQueueWatch) {
        if (message->message == WM_SWITCHER_COMMAND) {
            activeQueueWatch->switcherCommands.push_back(message->wParam);
        } else if (message->message == WM_RBUTTONUP) {
            ++activeQueueWatch->rightButtonUps;
            activeQueueWatch->lastRightButtonUpWindow = message->hwnd;
        }
    }
    return CallNextHookEx(queueHook, code, wParam, lParam);
}

} // namespace

QueueWatch::QueueWatch() {
    activeQueueWatch = this;
    queueHook = SetWindowsHookExW(WH_GETMESSAGE, QueueWatchProc, nullptr, GetCurrentThreadId());
}

QueueWatch::~QueueWatch() {
    UnhookWindowsHookEx(queueHook);
    activeQueueWatch = nullptr;
}
