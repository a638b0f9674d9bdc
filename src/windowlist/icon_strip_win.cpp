#include "windowlist/icon_strip_win.h"

HWND IconStrip;
HIMAGELIST StripImageList;

HWND CreateIconStrip(HWND) {
    return nullptr;
}
BOOL FillIconStrip(HWND) {
    return TRUE;
}
HICON LookupWindowIcon(HWND) {
    return nullptr;
}
void DestroyStripImageList() {}
