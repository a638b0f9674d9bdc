// The low-level keyboard and mouse hooks. They decide, post and return.
#pragma once
#include <windows.h>

extern volatile BYTE switcherActive;
extern HHOOK keyboardHook;
extern HHOOK mouseHook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
