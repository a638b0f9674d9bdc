// The switcher made for the DPI of the monitor it opens on: the display, the
// icon strip and the toolbar, made again only when the DPI changes.
#pragma once
#include <windows.h>

// Makes the display (surfaces, fonts, pen, brush and places), the icon strip and
// the toolbar for dpi; what is made for it already is left as it is.
void FitSwitcherToDpi(int dpi);
// WM_DPICHANGED: a shown switcher is made for the new DPI at once, in the
// suggested place, or, with suggested null, about its centre; a hidden one is
// made again at its next open.
void OnSwitcherDpiChanged(HWND window, int dpi, const RECT* suggested);
// WM_DISPLAYCHANGE, or the system's icon sizes changed: the next open makes
// everything again.
void OnDisplaySettingsChanged();
// WM_SYSCOLORCHANGE, or high contrast switched on or off: a shown switcher is drawn
// again in the colours now wanted at once, a hidden one at its next open.
void OnSystemColoursChanged(HWND window);
