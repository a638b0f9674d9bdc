// Whether listed windows still exist, asked of many windows at once: one
// enumeration of the top-level windows instead of IsWindow for each, which
// costs a question to the system for every window of another program.
#pragma once
#include <windows.h>

// Takes the top-level windows as they are now, until ForgetPresentWindows.
void TakePresentWindows();
// Whether the window was among those taken; IsWindow when none could be taken
// (the heap refused). Listed windows are top-level: one that is not (any more)
// counts as gone.
bool IsPresentWindow(HWND window);
void ForgetPresentWindows();
