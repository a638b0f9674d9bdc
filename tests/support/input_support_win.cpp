#include "input_support_win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>

#include "registry_support_win.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

bool Xdotool(const std::string& arguments) {
    std::printf("@@xdotool %s\n", arguments.c_str());
    std::fflush(stdout);
    char answer[64];
    if (!std::fgets(answer, sizeof(answer), stdin))
        return false;
    // Input the X server gave to a window of this thread (the focus may not have
    // left it yet) enters the system only when the thread reads its X events:
    // read them now, before the next key goes to another window and overtakes it.
    PumpMessages();
    return std::strncmp(answer, "@@done 0", 8) == 0;
}

bool MouseAt(POINT screen, const char* action) {
    char arguments[96];
    std::snprintf(arguments, sizeof(arguments), "mousemove %ld %ld %s", screen.x, screen.y, action);
    return Xdotool(arguments);
}

void InjectKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    if (key == VK_RSHIFT || key == VK_RMENU)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    if (!down)
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

namespace {

constexpr WORD kMarkerKey = VK_F24;
HANDLE recorderThread;
DWORD recorderThreadId;
volatile LONG markerSeen;
std::mutex recorderLock;
std::vector<RecordedKey> recorded; // keys, and wheel turns and button presses (key 0)

void Record(WPARAM message, DWORD key, DWORD flags) {
    std::lock_guard<std::mutex> hold(recorderLock);
    recorded.push_back({message, key, flags, GetForegroundWindow()});
}

LRESULT CALLBACK RecordKey(int code, WPARAM wParam, LPARAM lParam) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && event->vkCode == kMarkerKey)
        InterlockedExchange(&markerSeen, 1);
    else if (code == HC_ACTION)
        Record(wParam, event->vkCode, event->flags);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION &&
        (wParam == WM_MOUSEWHEEL || wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN))
        Record(wParam, 0, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->flags);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI RunRecorder(void* ready) {
    HHOOK keys = SetWindowsHookExW(WH_KEYBOARD_LL, RecordKey, GetModuleHandleW(nullptr), 0);
    HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, RecordMouse, GetModuleHandleW(nullptr), 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists now
    SetEvent(ready);
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(keys);
    UnhookWindowsHookEx(mouse);
    return 0;
}

template <typename Match> int CountRecorded(Match match) {
    std::lock_guard<std::mutex> hold(recorderLock);
    return static_cast<int>(std::count_if(recorded.begin(), recorded.end(), match));
}

} // namespace

void StartRecordingInput() {
    ClearRecordedInput();
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    recorderThread = CreateThread(nullptr, 0, RunRecorder, ready, 0, &recorderThreadId);
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
}

void StopRecordingInput() {
    PostThreadMessageW(recorderThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(recorderThread, 5000);
    CloseHandle(recorderThread);
}

void ClearRecordedInput() {
    std::lock_guard<std::mutex> hold(recorderLock);
    recorded.clear();
}

std::vector<RecordedKey> TakeRecordedKeys() {
    // Input events reach the hook in order: once the marker is seen, so is everything before it.
    InterlockedExchange(&markerSeen, 0);
    InjectKey(kMarkerKey, false);
    WaitUntil([] { return markerSeen != 0; }, 5000);
    std::lock_guard<std::mutex> hold(recorderLock);
    std::vector<RecordedKey> keys;
    std::copy_if(recorded.begin(), recorded.end(), std::back_inserter(keys),
                 [](const RecordedKey& event) { return event.key != 0; });
    recorded.clear();
    return keys;
}

int RecordedEvents(WPARAM message) {
    return CountRecorded([&](const RecordedKey& event) { return event.message == message; });
}

bool WasPassedOn(WPARAM message, DWORD key) {
    return CountRecorded([&](const RecordedKey& event) {
               return event.message == message && event.key == key &&
                      !(event.flags & LLKHF_INJECTED);
           }) > 0;
}

bool WasPassedDown(DWORD key) {
    return WasPassedOn(WM_KEYDOWN, key) || WasPassedOn(WM_SYSKEYDOWN, key);
}

HWND SwitcherKeyboardTest::windowA;
HWND SwitcherKeyboardTest::windowB;
HWND SwitcherKeyboardTest::windowC;
StartedProgram SwitcherKeyboardTest::zephtab;

void SwitcherKeyboardTest::StartSession(const SwitcherOptions& options) {
    StartRecordingInput();
    windowA = CreateTestWindow(L"Switch target A");
    windowB = CreateTestWindow(L"Switch target B");
    windowC = CreateTestWindow(L"Switch target C");
    CloseRunningSwitcher();
    WriteStoredOptions(&options);
    StoreMoreOptions(MoreOptionsAsBefore());
    ASSERT_TRUE(StartSwitcherProgram(&zephtab));
    // The X pointer over the Wine desktop gives it the keyboard focus.
    ASSERT_TRUE(Xdotool("mousemove 512 384"));
}

void SwitcherKeyboardTest::EndSession() {
    CloseRunningSwitcher();
    WaitForExit(zephtab);
    EndProgram(zephtab);
    RemoveSwitcherRegistryTraces();
    DestroyWindow(windowA);
    DestroyWindow(windowB);
    DestroyWindow(windowC);
    StopRecordingInput();
}

void SwitcherKeyboardTest::SetUp() {
    ASSERT_TRUE(StackWindows({windowC, windowB, windowA}));
    ClearRecordedInput();
}

void ReleaseKeysAndCloseSwitcher() {
    Xdotool("keyup Shift_L 62 Alt_L");
    if (!IsSwitcherShown())
        return;
    Xdotool("keydown Alt_L");
    Xdotool("key Escape");
    Xdotool("keyup Alt_L");
    WaitForSwitcherShown(false);
}

void SwitcherKeyboardTest::TearDown() {
    ReleaseKeysAndCloseSwitcher();
}

void SwitcherKeyboardTest::OpenWithAltTab() {
    ASSERT_TRUE(Xdotool("keydown Alt_L"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(WaitForSwitcherShown(true));
}

void SwitcherKeyboardTest::ReleaseAltAndExpectForeground(HWND expected) {
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(expected));
}
