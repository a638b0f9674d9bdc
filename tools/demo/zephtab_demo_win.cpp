// Shows Zephtab at work for `make run` without a display: opens a few sample
// windows, starts zephtab.exe, holds Alt+Tab through the X server and asks
// the Wine runner for screenshots of the open switcher and of the settings
// dialog. Usage: zephtab-demo SCREENSHOT_FOLDER (a Unix path).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/identifiers.h"
#include "settings/options.h"
#include "settings/settings_store_win.h"

namespace {

constexpr DWORD kDeadlineMs = 15000;

struct SampleWindow {
    const wchar_t* title;
    COLORREF colour;
    LPCWSTR icon;
};

const SampleWindow kSamples[] = {
    {L"Quarterly report - Notes", RGB(250, 245, 200), IDI_INFORMATION},
    {L"Build log - Terminal", RGB(30, 30, 30), IDI_APPLICATION},
    {L"Holiday photos - Viewer", RGB(120, 170, 90), IDI_WARNING},
    {L"Inbox (3) - Mail", RGB(220, 230, 250), IDI_QUESTION},
};

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush =
            CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        RECT line = {20, 20, client.right - 20, 40};
        SetBkMode(dc, TRANSPARENT);
        for (int i = 0; i < 8; ++i, OffsetRect(&line, 0, 28))
            FillRect(dc, &line,
                     static_cast<HBRUSH>(GetStockObject(i % 3 ? GRAY_BRUSH : LTGRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void OpenSampleWindows() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = SampleWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"ZephtabDemoWindow";
    RegisterClassExW(&windowClass);
    int offset = 0;
    for (const SampleWindow& sample : kSamples) {
        HWND window = CreateWindowExW(0, windowClass.lpszClassName, sample.title,
                                      WS_OVERLAPPEDWINDOW, 40 + offset, 30 + offset, 520, 380,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(sample.colour));
        HICON icon = LoadIconW(nullptr, sample.icon);
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ShowWindow(window, SW_SHOW);
        offset += 60;
    }
}

// The sample windows live on a thread of their own that keeps answering
// messages (icon queries among them) while the main thread waits for the runner.
DWORD WINAPI RunSampleWindows(void* ready) {
    OpenSampleWindows();
    SetEvent(static_cast<HANDLE>(ready));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void StartSampleWindows() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, RunSampleWindows, ready, 0, nullptr);
    WaitForSingleObject(ready, kDeadlineMs);
    CloseHandle(ready);
    CloseHandle(thread); // ends with the process
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <typename Condition> bool WaitFor(Condition condition, DWORD deadlineMs = kDeadlineMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > deadlineMs)
            return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Lets the windows paint for a moment (the live preview waits up to 200 ms).
void Settle(DWORD ms) {
    const DWORD start = GetTickCount();
    WaitFor([&] { return GetTickCount() - start >= ms; }, ms + 100);
}

bool AskRunner(const std::string& request) {
    std::printf("%s\n", request.c_str());
    std::fflush(stdout);
    char answer[64];
    return std::fgets(answer, sizeof(answer), stdin) && std::strncmp(answer, "@@done 0", 8) == 0;
}

std::wstring Folder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

bool Start(const wchar_t* exe, PROCESS_INFORMATION* info) {
    std::wstring path = Folder() + exe;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, info))
        return false;
    // Its keyboard hook and hot keys exist only once its start-up has run to the message loop.
    WaitForInputIdle(info->hProcess, kDeadlineMs);
    return true;
}

void End(PROCESS_INFORMATION* info, HWND window) {
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info->hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(info->hProcess, 0);
    CloseHandle(info->hThread);
    CloseHandle(info->hProcess);
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopLevelOf(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) { // a runner at another DPI (winerun.py --dpi) adds the DPI after the folder
        std::fprintf(stderr, "usage: zephtab-demo SCREENSHOT_FOLDER\n");
        return 2;
    }
    char folder[MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, folder, MAX_PATH, nullptr, nullptr);

    // Show everything the switcher can show.
    SwitcherOptions options;
    SetDefaultOptions(&options);
    options.showProcessInfo = 1;
    options.showToolbar = 1;
    WriteStoredOptions(&options);

    StartSampleWindows();
    PROCESS_INFORMATION zephtab = {};
    if (!Start(L"zephtab.exe", &zephtab)) {
        std::fprintf(stderr, "zephtab-demo: cannot start zephtab.exe\n");
        return 1;
    }
    HWND switcher = nullptr;
    WaitFor([&] { return (switcher = FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr)) != nullptr; });
    int status = 0;
    AskRunner("@@xdotool mousemove 1000 740");
    AskRunner("@@xdotool keydown alt");
    AskRunner("@@xdotool key Tab");
    if (switcher && WaitFor([&] { return IsWindowVisible(switcher) != 0; })) {
        Settle(800);
        std::string shot = std::string(folder) + "/zephtab-switcher.png";
        if (AskRunner("@@screenshot " + shot))
            std::printf("switcher screenshot: %s\n", shot.c_str());
    } else {
        std::fprintf(stderr, "zephtab-demo: the switcher did not open\n");
        status = 1;
    }
    AskRunner("@@xdotool keyup alt");

    PROCESS_INFORMATION settings = {};
    if (Start(L"zephtab-settings.exe", &settings)) {
        HWND dialog = nullptr;
        if (WaitFor([&] { return (dialog = FindTopLevelOf(settings.dwProcessId)) != nullptr; })) {
            Settle(500);
            std::string shot = std::string(folder) + "/zephtab-settings.png";
            if (AskRunner("@@screenshot " + shot))
                std::printf("settings screenshot: %s\n", shot.c_str());
        }
        End(&settings, dialog);
    }
    End(&zephtab, switcher);
    std::fflush(stdout);
    return status;
}
