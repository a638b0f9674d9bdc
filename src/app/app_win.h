// The application shell: the switcher window, its class, start-up, the
// window procedure's dispatch, reload and shutdown.
#pragma once
#include <windows.h>

void RegisterSwitcherClass(HINSTANCE instance);
BOOL InitSwitcher(HINSTANCE instance);
LRESULT CALLBACK SwitcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ShutDownSwitcher(HWND window);

// Reload handling, also called by in-process tests.
LRESULT ReloadOptions(HWND window);
