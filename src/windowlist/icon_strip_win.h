// The grid of icons, one per listed window, in a list-view control.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND IconStrip;
extern HIMAGELIST StripImageList; // owned here; at most one at a time

HWND CreateIconStrip(HWND parent);
BOOL FillIconStrip(HWND strip);
HICON LookupWindowIcon(HWND window);
// Detaches the image list from the strip and destroys it; harmless when none is held.
void DestroyStripImageList();

// How long a window may take to answer an icon query before it counts as having none.
constexpr UINT ICON_QUERY_TIMEOUT_MS = 100;
