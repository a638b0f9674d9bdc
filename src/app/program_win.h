// The process's life around the window: single-instance guard and message loop.
#pragma once
#include <windows.h>

// The body of the entry function; returns the process exit code.
int RunSwitcherProgram(HINSTANCE instance);
