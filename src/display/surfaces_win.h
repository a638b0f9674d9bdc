// Off-screen surfaces, drawing objects and the static background.
#pragma once
#include <windows.h>

extern HDC BackgroundBuffer;
extern HDC FrameBuffer;
extern HDC PreviewCanvas;
extern HFONT BannerFont;
extern HFONT TextFont;
extern HFONT ClockFont;
extern HPEN SeparatorPen;
extern HBRUSH BackgroundBrush;

// The switcher's fixed places, in its client coordinates (PreviewSquare in PreviewCanvas).
constexpr RECT TitleRect = {5, 30, 580, 50};
constexpr RECT PanelRect = {0, 275, 600, 375};
constexpr RECT PreviewBoxRect = {386, 68, 586, 268};
constexpr RECT PreviewSquare = {0, 0, 198, 198};
constexpr RECT ClockRect = {500, 10, 580, 30};
// Text is white over a black shadow everywhere on the switcher.
constexpr COLORREF TEXT_COLOUR = 0x00FFFFFF;
constexpr COLORREF SHADOW_COLOUR = 0x00000000;

// Creates the surfaces, fonts, pen and brush, compatible with the window's DC.
void InitSwitcherDisplay(HWND window);
// Draws the background for the current options and clears the preview square.
void DrawStaticBackground();
void FillGradientBand(HDC dc, int left, int top, int width, int height, int split,
                      COLORREF leftColour, COLORREF splitColour, COLORREF rightColour);
// Deletes the surfaces, their bitmaps and the fonts, pen and brush; at shutdown.
void ReleaseSwitcherDisplay();
// DrawShadowText of comctl32 6, resolved at run time (MinGW's import library lacks it).
int DrawTextWithShadow(HDC dc, const wchar_t* text, UINT length, RECT* rect, DWORD flags,
                       COLORREF textColour, COLORREF shadowColour, int offsetX, int offsetY);
