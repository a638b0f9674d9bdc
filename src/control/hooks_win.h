// The low-level keyboard and mouse hooks. They decide, post and return.
#pragma once
#include <windows.h>

extern volatile BYTE switcherActive;
extern HHOOK keyboardHook;
extern HHOOK mouseHook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);

// The keyboard hook lives from start-up to shutdown.
void InstallKeyboardHook();
void RemoveKeyboardHook();

// WM_HOTKEY of Alt+Tab or Alt+Shift+Tab, posted at messageTime. It arrives only
// when the keyboard hook did not swallow that Tab: the system may have removed
// the hook, or the foreground window's keys are out of its sight. The press is
// then decided as the hook would have, and the hook is installed afresh so that
// the Alt release and the following Tabs reach it again.
void OnAltTabHotKey(DWORD messageTime);
