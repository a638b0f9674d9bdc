#include "test_support_win.h"

#include <cstdio>
#include <cstring>

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

bool Xdotool(const std::string& arguments) {
    std::printf("@@xdotool %s\n", arguments.c_str());
    std::fflush(stdout);
    char answer[64];
    if (!std::fgets(answer, sizeof(answer), stdin))
        return false;
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

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* TestWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"ZephtabTestWindow";
        RegisterClassExW(&windowClass);
        registered = true;
    }
    return L"ZephtabTestWindow";
}

} // namespace

HWND CreateTestWindow(const wchar_t* title, DWORD style, DWORD exStyle, HWND owner, int width,
                      int height) {
    return CreateWindowExW(exStyle, TestWindowClass(), title, style, 50, 50, width, height, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}
