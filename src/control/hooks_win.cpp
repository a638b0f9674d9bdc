#include "control/hooks_win.h"

volatile BYTE switcherActive;
HHOOK keyboardHook;
HHOOK mouseHook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(keyboardHook, code, wParam, lParam);
}
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(mouseHook, code, wParam, lParam);
}
