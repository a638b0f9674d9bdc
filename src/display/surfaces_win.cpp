#include "display/surfaces_win.h"

HDC BackgroundBuffer;
HDC FrameBuffer;
HDC PreviewCanvas;
HFONT BannerFont;
HFONT TextFont;
HFONT ClockFont;
HPEN SeparatorPen;
HBRUSH BackgroundBrush;

RECT TitleRect;
RECT PanelRect;
RECT PreviewBoxRect;
RECT PreviewSquare;
RECT ClockRect;

void InitSwitcherDisplay(HWND) {}
void DrawStaticBackground(HWND) {}
void FillGradientBand(HDC, int, int, int, int, int, COLORREF, COLORREF, COLORREF) {}
void ReleaseSwitcherDisplay() {}
int DrawTextWithShadow(HDC, const wchar_t*, UINT, RECT*, DWORD, COLORREF, COLORREF, int, int) {
    return 0;
}
