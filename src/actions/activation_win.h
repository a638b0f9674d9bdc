// Bringing the chosen window to the foreground.
#pragma once
#include <windows.h>

bool ActivateChosenWindow(HWND window);
