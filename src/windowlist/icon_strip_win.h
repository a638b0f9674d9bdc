// The grid of icons, one per listed window, in a list-view control.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND IconStrip;
extern HIMAGELIST StripImageList;

HWND CreateIconStrip(HWND parent);
BOOL FillIconStrip(HWND strip);
HICON LookupWindowIcon(HWND window);
// Detaches the image list from the strip and destroys it; harmless when none is held.
void DestroyStripImageList();
