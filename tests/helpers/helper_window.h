// Shared by the helper programs (and the tests' own windows): a plain window
// class and the message loop a helper runs until its window is closed.
// Header-only, because each helper is a program of its own linked with
// user32 and gdi32 alone.
#pragma once
#include <windows.h>

// key_window.exe's window property: the virtual key of the first key after Alt went down.
#define KEY_AFTER_ALT_PROPERTY L"ZephtabKeyAfterAlt"

// Registers a class with an arrow cursor and a white background. Returns the
// name, so that a caller can pass the result straight to CreateWindowExW.
inline const wchar_t* RegisterHelperWindowClass(const wchar_t* className, WNDPROC windowProc) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    return className;
}

// Handles messages until WM_QUIT. Returns the program's exit code.
inline int RunHelperMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// A window procedure for a helper whose window only has to end the program
// when it is closed. It refuses the menu mode that a lone Alt release would
// start (a modal loop): after a switch that the tests cancel, the Alt release
// reaches the window in front, and the next Alt+Tab must find it idle.
inline LRESULT CALLBACK QuitOnDestroyWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}
