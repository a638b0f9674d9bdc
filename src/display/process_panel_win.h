// Figures of the selected window's process.
#pragma once
#include <windows.h>

void UpdateProcessInfo(HWND window);
