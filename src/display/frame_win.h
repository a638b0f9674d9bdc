// Composition of every frame off screen, the erase, and the clock tick.
#pragma once
#include <windows.h>

LRESULT ComposeFrame(HWND window);
// Paints one frame into dc (the window's paint DC, or any DC a test gives).
void ComposeFrameInto(HDC dc);
LRESULT EraseSwitcherBackground(HDC dc);
void OnClockTimer(HWND window);
