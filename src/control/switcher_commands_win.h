// The switcher commands: open, step, activate, cancel, and show/hide.
#pragma once
#include <windows.h>
#include <commctrl.h>

void RunSwitcherCommand(WPARAM code);
void HideSwitcher();
// At shutdown: removes the mouse hook and frees the strip's image list if an open holds them.
void ReleaseOpenSwitcher();
// NM_CLICK from the icon strip.
void OnIconStripClick(const NMITEMACTIVATE* click);
