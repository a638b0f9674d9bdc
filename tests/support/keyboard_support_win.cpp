#include "keyboard_support_win.h"

#include <algorithm>

#include "hooks_support_win.h"
#include "settings/settings_store_win.h"

namespace {

CRITICAL_SECTION recorderLock;
HANDLE recorderThread;
DWORD recorderThreadId;
HANDLE recorderReady;
HHOOK recorderKeyboardHook;
HHOOK recorderMouseHook;
std::vector<PassedKey> passedKeys;
int passedWheelEvents;
int passedButtonDowns;

LRESULT CALLBACK RecordKey(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        EnterCriticalSection(&recorderLock);
        passedKeys.push_back({wParam, event->vkCode, event->flags});
        LeaveCriticalSection(&recorderLock);
    }
    return CallNextHookEx(recorderKeyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK RecordMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        EnterCriticalSection(&recorderLock);
        if (wParam == WM_MOUSEWHEEL)
            ++passedWheelEvents;
        else if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN)
            ++passedButtonDowns;
        LeaveCriticalSection(&recorderLock);
    }
    return CallNextHookEx(recorderMouseHook, code, wParam, lParam);
}

DWORD WINAPI RecorderThreadMain(void*) {
    recorderKeyboardHook =
        SetWindowsHookExW(WH_KEYBOARD_LL, RecordKey, GetModuleHandleW(nullptr), 0);
    recorderMouseHook = SetWindowsHookExW(WH_MOUSE_LL, RecordMouse, GetModuleHandleW(nullptr), 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists now
    SetEvent(recorderReady);
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(recorderKeyboardHook);
    UnhookWindowsHookEx(recorderMouseHook);
    return 0;
}

} // namespace

void StartPassedInputRecorder() {
    InitializeCriticalSection(&recorderLock);
    recorderReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    recorderThread = CreateThread(nullptr, 0, RecorderThreadMain, nullptr, 0, &recorderThreadId);
    WaitForSingleObject(recorderReady, 5000);
}

void StopPassedInputRecorder() {
    PostThreadMessageW(recorderThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(recorderThread, 5000);
    CloseHandle(recorderThread);
    CloseHandle(recorderReady);
    DeleteCriticalSection(&recorderLock);
}

void ClearPassedInput() {
    EnterCriticalSection(&recorderLock);
    passedKeys.clear();
    passedWheelEvents = 0;
    passedButtonDowns = 0;
    LeaveCriticalSection(&recorderLock);
}

std::vector<PassedKey> PassedKeys() {
    EnterCriticalSection(&recorderLock);
    std::vector<PassedKey> keys = passedKeys;
    LeaveCriticalSection(&recorderLock);
    return keys;
}

int PassedWheelEvents() {
    EnterCriticalSection(&recorderLock);
    const int count = passedWheelEvents;
    LeaveCriticalSection(&recorderLock);
    return count;
}

int PassedButtonDowns() {
    EnterCriticalSection(&recorderLock);
    const int count = passedButtonDowns;
    LeaveCriticalSection(&recorderLock);
    return count;
}

bool WaitForForeground(HWND window, DWORD deadlineMs) {
    return WaitUntil([window] { return GetForegroundWindow() == window; }, deadlineMs);
}

bool StackWindows(const std::vector<HWND>& bottomFirst) {
    bool reached = false;
    for (HWND window : bottomFirst) {
        SetForegroundWindow(window);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        reached = WaitForForeground(window);
    }
    return reached;
}

bool IsSwitcherShown() {
    HWND switcher = FindSwitcherWindow();
    return switcher && IsWindowVisible(switcher);
}

bool WaitForSwitcherShown(bool shown, DWORD deadlineMs) {
    return WaitUntil([shown] { return IsSwitcherShown() == shown; }, deadlineMs);
}

bool Send(const std::string& xdotoolArguments) {
    return Xdotool(xdotoolArguments);
}

bool StartZephtab(const SwitcherOptions& options, StartedProgram* program) {
    CloseRunningSwitcher();
    WriteStoredOptions(&options);
    return StartSwitcherProgram(program);
}

void EndZephtab(StartedProgram* program) {
    HWND switcher = FindSwitcherWindow();
    if (switcher)
        PostMessageW(switcher, WM_CLOSE, 0, 0);
    WaitForExit(*program);
    EndProgram(*program);
    RemoveSwitcherRegistryTraces();
}

void ReleaseKeysAndCloseSwitcher() {
    Send("keyup Shift_L 62 Alt_L");
    if (!IsSwitcherShown())
        return;
    Send("keydown Alt_L");
    Send("key Escape");
    Send("keyup Alt_L");
    WaitForSwitcherShown(false);
}

POINT SwitcherScreenPoint(int x, int y) {
    POINT point = {x, y};
    ClientToScreen(FindSwitcherWindow(), &point);
    return point;
}

bool WasPassedOn(WPARAM message, DWORD key) {
    const std::vector<PassedKey> keys = PassedKeys();
    return std::any_of(keys.begin(), keys.end(), [&](const PassedKey& passed) {
        return passed.message == message && passed.key == key && !(passed.flags & LLKHF_INJECTED);
    });
}

bool WasPassedDown(DWORD key) {
    return WasPassedOn(WM_KEYDOWN, key) || WasPassedOn(WM_SYSKEYDOWN, key);
}

HWND SwitcherKeyboardTest::windowA;
HWND SwitcherKeyboardTest::windowB;
HWND SwitcherKeyboardTest::windowC;
StartedProgram SwitcherKeyboardTest::zephtab;

void SwitcherKeyboardTest::StartSession(const SwitcherOptions& options) {
    StartPassedInputRecorder();
    windowA = CreateTestWindow(L"Switch target A");
    windowB = CreateTestWindow(L"Switch target B");
    windowC = CreateTestWindow(L"Switch target C");
    ASSERT_TRUE(StartZephtab(options, &zephtab));
    // The X pointer over the Wine desktop gives it the keyboard focus.
    ASSERT_TRUE(Send("mousemove 512 384"));
}

void SwitcherKeyboardTest::EndSession() {
    EndZephtab(&zephtab);
    DestroyWindow(windowA);
    DestroyWindow(windowB);
    DestroyWindow(windowC);
    StopPassedInputRecorder();
}

void SwitcherKeyboardTest::SetUp() {
    ASSERT_TRUE(StackWindows({windowA, windowB, windowC}));
    ClearPassedInput();
}

void SwitcherKeyboardTest::TearDown() {
    ReleaseKeysAndCloseSwitcher();
}

void SwitcherKeyboardTest::OpenWithAltTab() {
    ASSERT_TRUE(Send("keydown Alt_L"));
    ASSERT_TRUE(Send("key Tab"));
    ASSERT_TRUE(WaitForSwitcherShown(true));
}

void SwitcherKeyboardTest::ReleaseAltAndExpectForeground(HWND expected) {
    ASSERT_TRUE(Send("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(expected));
}
