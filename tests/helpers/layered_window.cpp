// A window of another program, made layered by that program.
// Usage: layered_window.exe TITLE ALPHA
// Shows a top-level window with the given title, layered with the given
// constant alpha, and runs until the window is closed.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HelperWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"ZephtabLayeredHelper";
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_LAYERED, windowClass.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW, 120,
                        120, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(_wtoi(argv[2])), LWA_ALPHA);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
