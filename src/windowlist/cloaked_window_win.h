// Whether the desktop window manager keeps a window out of sight (cloaked).
// The window manager's library is loaded at run time: the program also runs
// where it is missing, and then no window counts as cloaked.
#pragma once
#include <windows.h>

bool IsWindowCloaked(HWND window);
// Drops the library once the program no longer lists windows; at shutdown.
void ReleaseCloakQuery();
