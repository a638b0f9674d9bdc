// Figures of the selected window's process.
#pragma once
#include <windows.h>

// Fills the process texts of SelectionTexts for the window's process; the caller
// has emptied them. A process that cannot be opened gives only the handle and "- -".
void UpdateProcessInfo(HWND window);
// Drops the library of the object counts; at shutdown.
void ReleaseProcessPanel();
