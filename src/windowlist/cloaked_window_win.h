// Whether the desktop window manager keeps a window out of sight (cloaked).
// The window manager's library is loaded at run time: the program also runs
// where it is missing, and then no window counts as cloaked.
#pragma once
#include <windows.h>

bool IsWindowCloaked(HWND window);
// The window manager's attribute query, as DwmGetWindowAttribute. By default the
// system's, loaded at the first use; a test puts a stand-in here, because a system
// without the window manager (Wine) cloaks no window.
using WindowAttributeQuery = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
extern WindowAttributeQuery windowAttributeQuery;
// Drops the library once the program no longer lists windows; at shutdown.
void ReleaseCloakQuery();
