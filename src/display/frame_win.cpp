#include "display/frame_win.h"

LRESULT ComposeFrame(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}
void ComposeFrameInto(HDC) {}
LRESULT EraseSwitcherBackground(HDC) { return 1; }
void OnClockTimer(HWND) {}
