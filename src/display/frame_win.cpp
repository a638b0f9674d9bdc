#include "display/frame_win.h"

#include "app/identifiers.h"
#include "display/surfaces_win.h"

// Interim: until frame composition is built, every paint shows the static background.
LRESULT ComposeFrame(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ComposeFrameInto(dc);
    EndPaint(window, &paint);
    return 0;
}

void ComposeFrameInto(HDC dc) {
    BitBlt(dc, 0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT, BackgroundBuffer, 0, 0, SRCCOPY);
}

LRESULT EraseSwitcherBackground(HDC dc) {
    BitBlt(dc, 0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT, BackgroundBuffer, 0, 0, SRCCOPY);
    return 1;
}

void OnClockTimer(HWND) {}
