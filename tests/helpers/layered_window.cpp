// A window of another program, made layered by that program.
// Usage: layered_window.exe TITLE ALPHA
// Shows a top-level window with the given title, layered with the given
// constant alpha, and runs until the window is closed.
#include "helper_window.h"

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const wchar_t* className =
        RegisterHelperWindowClass(L"ZephtabLayeredHelper", QuitOnDestroyWindowProc);
    HWND window = CreateWindowExW(WS_EX_LAYERED, className, argv[1], WS_OVERLAPPEDWINDOW, 120, 120,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return 1;
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(_wtoi(argv[2])), LWA_ALPHA);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return RunHelperMessageLoop();
}
