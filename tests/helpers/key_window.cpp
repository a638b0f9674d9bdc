// A window of another program that counts the Alt+Tab presses it receives.
// Usage: key_window.exe TITLE
// Its title becomes "TITLE tabs=N" after the N-th Tab pressed with Alt, so that a
// test sees from outside whether Alt+Tab reached the program; its property
// KEY_AFTER_ALT_PROPERTY holds the virtual key of the first key after Alt went down. Tests copy it
// under other file names to be programs of their lists.
#include "helper_window.h"

#include <windows.h>

#include <cwchar>

namespace {

const wchar_t* baseTitle;
int altTabs;
bool altJustDown;

// The first key after the last press of Alt, as a window property read from outside:
// Alt going down and up with no key between would put a window into menu mode.
void NoteKeyAfterAlt(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SYSKEYDOWN && message != WM_KEYDOWN)
        return;
    const bool repeat = (lParam & (1 << 30)) != 0;
    if (wParam == VK_MENU) {
        if (!repeat) {
            altJustDown = true;
            RemovePropW(window, KEY_AFTER_ALT_PROPERTY);
        }
    } else if (altJustDown) {
        altJustDown = false;
        SetPropW(window, KEY_AFTER_ALT_PROPERTY, reinterpret_cast<HANDLE>(wParam));
    }
}

LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NoteKeyAfterAlt(window, message, wParam, lParam);
    if (message == WM_DESTROY)
        RemovePropW(window, KEY_AFTER_ALT_PROPERTY);
    // A Tab typed again by a program (SendInput) while Alt is held may come as a plain key-down.
    const bool altHeld = message == WM_SYSKEYDOWN || (GetKeyState(VK_MENU) & 0x8000);
    if ((message == WM_SYSKEYDOWN || message == WM_KEYDOWN) && wParam == VK_TAB && altHeld) {
        wchar_t title[256];
        std::swprintf(title, 256, L"%ls tabs=%d", baseTitle, ++altTabs);
        SetWindowTextW(window, title);
        return 0;
    }
    return QuitOnDestroyWindowProc(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    baseTitle = argv[1];
    const wchar_t* className = RegisterHelperWindowClass(L"ZephtabKeyHelper", KeyWindowProc);
    HWND window = CreateWindowExW(0, className, argv[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 160,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return 1;
    return RunHelperMessageLoop();
}
