// Bringing the chosen window to the foreground.
#pragma once
#include <windows.h>

// Restores the window if minimised and switches to its last active popup.
// false when that target is no window; true otherwise, also when a disabled
// target was only answered with a beep.
bool ActivateChosenWindow(HWND window);
