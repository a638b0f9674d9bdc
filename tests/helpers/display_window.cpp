// A window of another program for the display tests.
// Usage: display_window.exe TITLE [front]
// Shows a top-level window with the given title and a class without icons (the
// program file has one, from display_window.rc), and runs until the window is
// closed. With "front", the window is always on top and takes the foreground
// as it starts, as some programs' first window does. A posted WM_APP makes its thread stop handling
// messages for 30 seconds, as a hung application does, and then end.
#include "helper_window.h"

#include <windows.h>

namespace {

constexpr DWORD kHangMs = 30000;

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        Sleep(kHangMs);
        DestroyWindow(window);
        return 0;
    }
    return QuitOnDestroyWindowProc(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    const wchar_t* className = RegisterHelperWindowClass(L"ZephtabDisplayHelper", HelperWindowProc);
    const bool front = argc > 2 && lstrcmpW(argv[2], L"front") == 0;
    HWND window =
        CreateWindowExW(front ? WS_EX_TOPMOST : 0, className, argv[1], WS_OVERLAPPEDWINDOW, 140,
                        140, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return 1;
    ShowWindow(window, front ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (front)
        SetForegroundWindow(window);
    return RunHelperMessageLoop();
}
