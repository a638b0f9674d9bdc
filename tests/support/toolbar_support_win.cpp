#include "toolbar_support_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/app_win.h"
#include "app/count_of.h"
#include "app/identifiers.h"
#include "settings/settings_store_win.h"
#include "test_support_win.h"
#include "windowlist/window_list_win.h"

int CountMenus() {
    int count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        if (IsMenu(reinterpret_cast<HMENU>(index)))
            ++count;
    return count;
}

void SetTestWindowList(std::initializer_list<HWND> windows, int selected) {
    HANDLE heap = GetProcessHeap();
    SIZE_T size = sizeof(WindowEntry) * (windows.size() ? windows.size() : 1);
    WindowList =
        static_cast<WindowEntry*>(WindowList ? HeapReAlloc(heap, HEAP_ZERO_MEMORY, WindowList, size)
                                             : HeapAlloc(heap, HEAP_ZERO_MEMORY, size));
    int count = 0;
    for (HWND window : windows)
        WindowList[count++] = {window, nullptr};
    windowCount = count;
    listedCount = count;
    selectedIndex = selected;
}

namespace {

BOOL CALLBACK FindMenuProc(HWND window, LPARAM found) {
    wchar_t className[16];
    if (IsWindowVisible(window) && GetClassNameW(window, className, CountOf(className)) &&
        wcscmp(className, L"#32768") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

MenuWatch* activeMenuWatch;
MenuReaction menuReaction;
void (*menuOpeningAction)();
UINT_PTR menuWatchTimer;
bool menuHandled; // the menu on screen has been recorded and reacted to

void PostKey(HWND menuWindow, WPARAM key) {
    PostMessageW(menuWindow, WM_KEYDOWN, key, 1);
    PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000001);
}

void CALLBACK MenuWatchTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND menuWindow = FindOpenMenuWindow();
    if (!menuWindow) {
        menuHandled = false;
        return;
    }
    if (menuHandled || !activeMenuWatch)
        return;
    menuHandled = true;
    ++activeMenuWatch->openings;
    GetWindowRect(menuWindow, &activeMenuWatch->menuRect);
    GetCursorPos(&activeMenuWatch->cursorAtOpening);
    if (menuOpeningAction)
        menuOpeningAction();
    switch (menuReaction) {
    case MenuReaction::Dismiss:
        EndMenu();
        break;
    case MenuReaction::ChooseFirstItem:
        PostKey(menuWindow, VK_DOWN);
        PostKey(menuWindow, VK_RETURN);
        break;
    case MenuReaction::ChooseLastItem:
        PostKey(menuWindow, VK_UP);
        PostKey(menuWindow, VK_RETURN);
        break;
    }
}

QueueWatch* activeQueueWatch;
HHOOK queueHook;

LRESULT CALLBACK QueueWatchProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && activeQueueWatch) {
        if (message->message == WM_SWITCHER_COMMAND) {
            ++activeQueueWatch->switcherCommands;
            activeQueueWatch->lastSwitcherCommand = message->wParam;
        } else if (message->message == WM_RBUTTONUP) {
            ++activeQueueWatch->rightButtonUps;
            activeQueueWatch->lastRightButtonUpWindow = message->hwnd;
        }
    }
    return CallNextHookEx(queueHook, code, wParam, lParam);
}

// Wine 8 looks up document handlers in HKEY_CLASSES_ROOT alone (the machine's
// classes); per-user classes are not merged in.
const wchar_t kHttpCommandKey[] = L"http\\shell\\open\\command";
bool httpHandlerInstalled;
bool hadHttpHandler;
std::wstring previousHttpHandler;

bool ReadHttpHandler(std::wstring* command) {
    wchar_t text[1024] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, kHttpCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
        return false;
    *command = text;
    return true;
}

bool WriteHttpHandler(const std::wstring& command) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kHttpCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

HWND FindOpenMenuWindow() {
    HWND found = nullptr;
    EnumWindows(FindMenuProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

void StartMenuWatch(MenuWatch* watch, MenuReaction reaction, void (*onOpening)()) {
    activeMenuWatch = watch;
    menuReaction = reaction;
    menuOpeningAction = onOpening;
    menuHandled = false;
    if (!menuWatchTimer)
        menuWatchTimer = SetTimer(nullptr, 0, 20, MenuWatchTimerProc);
}

void StopMenuWatch() {
    if (menuWatchTimer)
        KillTimer(nullptr, menuWatchTimer);
    menuWatchTimer = 0;
    activeMenuWatch = nullptr;
}

void StartQueueWatch(QueueWatch* watch) {
    activeQueueWatch = watch;
    if (!queueHook)
        queueHook = SetWindowsHookExW(WH_GETMESSAGE, QueueWatchProc, nullptr, GetCurrentThreadId());
}

void StopQueueWatch() {
    if (queueHook)
        UnhookWindowsHookEx(queueHook);
    queueHook = nullptr;
    activeQueueWatch = nullptr;
}

bool InstallHttpHandler(const std::wstring& exeName, const std::wstring& recordFile) {
    if (!httpHandlerInstalled)
        hadHttpHandler = ReadHttpHandler(&previousHttpHandler);
    std::wstring command =
        L"\"" + ExecutableFolder() + exeName + L"\" \"" + recordFile + L"\" \"%1\"";
    httpHandlerInstalled = WriteHttpHandler(command);
    return httpHandlerInstalled;
}

void RestoreHttpHandler() {
    if (!httpHandlerInstalled)
        return;
    if (hadHttpHandler)
        WriteHttpHandler(previousHttpHandler);
    else
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kHttpCommandKey);
    httpHandlerInstalled = false;
}

std::wstring ReadRecordValue(const std::wstring& recordFile, const std::wstring& name) {
    HANDLE file = CreateFileW(recordFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"";
    std::wstring text(8192, L'\0');
    DWORD read = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    std::wstring prefix = name + L"=";
    size_t start = text.compare(0, prefix.size(), prefix) == 0 ? 0 : text.find(L"\n" + prefix);
    if (start == std::wstring::npos)
        return L"";
    if (start != 0)
        ++start;
    start += prefix.size();
    size_t end = text.find(L"\r\n", start);
    return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

void StoreShowToolbar(BYTE show) {
    SwitcherOptions record;
    SetDefaultOptions(&record);
    record.showToolbar = show;
    WriteStoredOptions(&record);
}

POINT ClientPointOnScreen(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

bool MouseAt(POINT screen, const char* action) {
    char arguments[96];
    std::snprintf(arguments, sizeof(arguments), "mousemove %ld %ld %s", screen.x, screen.y, action);
    return Xdotool(arguments);
}

bool StartToolbarSwitcher(const wchar_t* firstTitle, const wchar_t* secondTitle, HWND* first,
                          HWND* second) {
    CloseRunningSwitcher();
    DeleteSettingsKey();
    StoreShowToolbar(1);
    Xdotool("mousemove 512 384");
    RegisterSwitcherClass(GetModuleHandleW(nullptr));
    if (!InitSwitcher(GetModuleHandleW(nullptr)))
        return false;
    HWND firstWindow = CreateTestWindow(firstTitle);
    HWND secondWindow = CreateTestWindow(secondTitle);
    if (first)
        *first = firstWindow;
    if (second)
        *second = secondWindow;
    return true;
}

void OpenSwitcherAndWait() {
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
    ASSERT_TRUE(WaitUntil([] { return IsWindowVisible(SwitcherWindow) != 0; }));
}
