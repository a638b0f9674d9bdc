// The two handles every module reads: the program's instance and the
// switcher's window. The start-up (src/app) sets both before anything else
// runs, and nothing else writes them.
#pragma once
#include <windows.h>

extern HINSTANCE programInstance;
extern HWND SwitcherWindow;
