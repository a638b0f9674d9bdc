// Composition of every frame off screen, the erase, and the clock with its timer.
#pragma once
#include <windows.h>

LRESULT ComposeFrame(HWND window);
// Paints one frame into dc (the window's paint DC, or any DC a test gives).
void ComposeFrameInto(HDC dc);
LRESULT EraseSwitcherBackground(HDC dc);
// The clock ticks once a second for the program's life.
void StartClockTimer(HWND window);
void StopClockTimer(HWND window);
void OnClockTimer(HWND window);
