// The switcher commands: open, step, activate, cancel, and show/hide.
#pragma once
#include <windows.h>
#include <commctrl.h>

// How the switcher animates its showing and hiding: AnimateWindow, unless a test
// watches the calls (Wine shows no animation on screen).
using AnimateWindowProc = BOOL(WINAPI*)(HWND, DWORD, DWORD);
extern AnimateWindowProc animateSwitcherWindow;

// WM_SWITCHER_COMMAND: wParam is the command code, lParam its detail (a typed
// key, a click's point); unknown codes do nothing.
void RunSwitcherCommand(WPARAM code, LPARAM detail = 0);
// Closes the context menu, removes the mouse hook and the closed-window check,
// hides the window and frees the strip's image list. Harmless when the switcher
// is already hidden.
void HideSwitcher();
// WM_TIMER with TIMER_SWITCHER_WATCH, while the switcher is shown: entries of
// windows destroyed since the last look leave the list, and the switcher stays
// above a window its toolbar pinned.
void OnSwitcherWatchTimer();
// At shutdown: removes the mouse hook and frees the strip's image list if an open holds them.
void ReleaseOpenSwitcher();
// NM_CLICK from the icon strip.
void OnIconStripClick(const NMITEMACTIVATE* click);
