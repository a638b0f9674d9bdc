#include "test_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "../helpers/helper_window.h"
#include "app/app_win.h"
#include "app/identifiers.h"
#include "settings/settings_store_win.h"

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

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

StartedProgram StartProgram(const std::wstring& exeName, const std::wstring& arguments) {
    StartedProgram program;
    std::wstring path = ExecutableFolder() + exeName;
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    program.started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &program.info) != 0;
    return program;
}

DWORD WaitForExit(StartedProgram& program, DWORD deadlineMs) {
    if (!program.started)
        return STILL_ACTIVE;
    WaitForSingleObject(program.info.hProcess, deadlineMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.info.hProcess, &code);
    return code;
}

void EndProgram(StartedProgram& program) {
    if (!program.started)
        return;
    DWORD code = STILL_ACTIVE;
    if (GetExitCodeProcess(program.info.hProcess, &code) && code == STILL_ACTIVE) {
        TerminateProcess(program.info.hProcess, 1);
        WaitForSingleObject(program.info.hProcess, 5000);
    }
    CloseHandle(program.info.hThread);
    CloseHandle(program.info.hProcess);
    program.started = false;
}

bool WaitForProgramIdle(const StartedProgram& program, DWORD deadlineMs) {
    return program.started && WaitForInputIdle(program.info.hProcess, deadlineMs) == 0;
}

bool StartSwitcherProgram(StartedProgram* program, DWORD deadlineMs) {
    *program = StartProgram(L"zephtab.exe");
    if (!WaitForProgramIdle(*program, deadlineMs))
        return false;
    // The window is made before the loop runs; a sent message is answered only by the loop.
    HWND window = nullptr;
    DWORD_PTR answer = 0;
    return WaitUntil([&] { return (window = FindSwitcherWindow()) != nullptr; }, deadlineMs) &&
           SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, deadlineMs, &answer) != 0;
}

HWND FindSwitcherWindow() {
    return FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr);
}

void CloseRunningSwitcher(DWORD deadlineMs) {
    HWND window = FindSwitcherWindow();
    if (!window)
        return;
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitUntil([] { return FindSwitcherWindow() == nullptr; }, deadlineMs);
}

bool RunSwitcherStartUp() {
    CloseRunningSwitcher();
    RegisterSwitcherClass(GetModuleHandleW(nullptr));
    return InitSwitcher(GetModuleHandleW(nullptr)) != FALSE;
}

namespace {

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16];
    if (owner == search->processId && GetClassNameW(window, className, 16) &&
        wcscmp(className, L"#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindVisibleDialogOf(DWORD processId) {
    DialogSearch search = {processId, nullptr};
    EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DeleteSettingsKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY);
}

bool WriteRegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                        DWORD size) {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool ReadRegistryValue(const wchar_t* key, const wchar_t* name, DWORD* type,
                       std::vector<BYTE>* data) {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = RegQueryValueExW(handle, name, nullptr, type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data->assign(size, 0);
        result = RegQueryValueExW(handle, name, nullptr, type, data->data(), &size);
        data->resize(size);
    }
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool DeleteRegistryValue(const wchar_t* key, const wchar_t* name) {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return false;
    LONG result = RegDeleteValueW(handle, name);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

const std::vector<BYTE>& DefaultOptionsRecord() {
    static const std::vector<BYTE> record = {0x00, 0x01, 0x00, 0x01, 0x01, 0xFF,
                                             0x00, 0x00, 0x00, 0x00, 0x00};
    return record;
}

void ExpectStoredRecord(const std::vector<BYTE>& options) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, options);
    ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    DWORD version;
    std::memcpy(&version, data.data(), 4);
    EXPECT_EQ(version, 258u);
}

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

int CountGdiObjects() {
    int count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

int CountUserObjects() {
    // Windows, menus, icons and cursors share one handle table in Wine; the
    // 16-bit index alone finds them, as for GDI objects.
    int count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        void* handle = reinterpret_cast<void*>(index);
        if (IsWindow(static_cast<HWND>(handle)) || IsMenu(static_cast<HMENU>(handle)))
            ++count;
    }
    return count;
}

namespace {

// A lone Alt tap on a window without a menu would enter the system's menu mode,
// a modal loop that stalls the test: the Alt keys of a switch can reach these windows.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* TestWindowClass() {
    static const wchar_t* className =
        RegisterHelperWindowClass(L"ZephtabTestWindow", TestWindowProc);
    return className;
}

} // namespace

HWND CreateTestWindow(const wchar_t* title, DWORD style, DWORD exStyle, HWND owner, int width,
                      int height) {
    return CreateWindowExW(exStyle, TestWindowClass(), title, style, 50, 50, width, height, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT RectInParent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
