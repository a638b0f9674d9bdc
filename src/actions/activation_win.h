// Bringing the chosen window to the foreground.
#pragma once
#include <windows.h>

// Restores the window if minimised and switches to its last active popup.
// false when that target is no window; true otherwise, also when a disabled
// target was only answered with a beep.
bool ActivateChosenWindow(HWND window);

// Presses and releases the menu mask key, marked as the switcher's own so that its
// keyboard hook lets it pass: the window with the keyboard focus then has seen a key
// since Alt went down, and the Alt release that follows does not open its menu.
void PressMenuMaskKey();
// The mark in the extra information of every key the switcher sends itself (the menu
// mask key, a key passed on), and whether a key event carries it.
ULONG_PTR OwnKeyMark();
bool IsOwnKeyMark(ULONG_PTR extraInfo);
