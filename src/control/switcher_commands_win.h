// The switcher commands: open, step, activate, cancel, and show/hide.
#pragma once
#include <windows.h>
#include <commctrl.h>

// The window that had the foreground when the switcher opened, recorded by the open
// before anything is shown. Written by this module alone.
extern HWND windowBeforeSwitch;

// WM_SWITCHER_COMMAND: wParam is the command code; codes outside 115..122 do nothing.
void RunSwitcherCommand(WPARAM code);
// Removes the mouse hook, hides the window and frees the strip's image list.
// Harmless when the switcher is already hidden.
void HideSwitcher();
// At shutdown: removes the mouse hook and frees the strip's image list if an open holds them.
void ReleaseOpenSwitcher();
// NM_CLICK from the icon strip.
void OnIconStripClick(const NMITEMACTIVATE* click);
