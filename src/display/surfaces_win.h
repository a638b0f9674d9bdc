// Off-screen surfaces, drawing objects and the static background, made for the
// DPI in use, and the switcher's places at that DPI.
#pragma once
#include <windows.h>

#include "display/switcher_layout.h"

extern HDC BackgroundBuffer;
extern HDC FrameBuffer;
extern HDC PreviewCanvas;
extern HFONT BannerFont;
extern HFONT TextFont;
extern HFONT ClockFont;
extern HPEN SeparatorPen;
extern HBRUSH BackgroundBrush;

// The DPI that the surfaces, fonts and places are made for; 0 when none are made.
extern int displayDpi;
// The layout table at displayDpi, with the icon sizes the system uses there.
extern SwitcherLayout switcherLayout;
// The switcher's named places at displayDpi, in its client coordinates
// (PreviewSquare in PreviewCanvas).
extern RECT TitleRect;
extern RECT PanelRect;
extern RECT PreviewBoxRect;
extern RECT PreviewSquare;
extern RECT ClockRect;
// Text is white over a black shadow everywhere on the switcher, unless high contrast is on.
constexpr COLORREF TEXT_COLOUR = 0x00FFFFFF;
constexpr COLORREF SHADOW_COLOUR = 0x00000000;

// The colours the switcher draws with, chosen when the drawing objects are made:
// its own, or in high contrast the system's, flat and without shadows.
struct SwitcherPalette {
    bool highContrast;
    COLORREF backdrop;  // the whole window; BackgroundBrush has it
    COLORREF text;      // banner, clock, panel labels and values; SeparatorPen has it
    COLORREF titleBack; // behind the selected window's title (high contrast only)
    COLORREF titleText;
    COLORREF frame; // around the preview (high contrast only)
};
extern SwitcherPalette switcherPalette;
// Whether the system's high-contrast mode is on; a test can stand in for the system.
extern bool (*queryHighContrast)();

inline RECT ToRect(const LayoutRect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
// A number of the layout table (at 96 DPI) at displayDpi.
int ScaledForDisplay(int value);

// Empties the selection texts and makes everything for the DPI of the window's monitor.
void InitSwitcherDisplay(HWND window);
// Makes the surfaces, fonts, pen and brush and the places for dpi, compatible with
// the switcher's DC, and draws the background; nothing when they are made for dpi
// already.
void UseDisplayDpi(int dpi);
// The next UseDisplayDpi makes everything again, whatever the DPI (the system's
// scale, icon settings, colours or high-contrast mode changed).
void ForgetDisplayDpi();
// Draws the background for the current options and clears the preview square.
void DrawStaticBackground();
// Deletes the surfaces, their bitmaps and the fonts, pen and brush; at shutdown.
void ReleaseSwitcherDisplay();
// A line of text in the palette: shadowed in the switcher's own colours, plain in high contrast.
void DrawSwitcherText(HDC dc, const wchar_t* text, RECT rect, DWORD flags, COLORREF colour,
                      int shadowOffset);
// DrawShadowText of comctl32 6, resolved at run time (MinGW's import library lacks it).
int DrawTextWithShadow(HDC dc, const wchar_t* text, UINT length, RECT* rect, DWORD flags,
                       COLORREF textColour, COLORREF shadowColour, int offsetX, int offsetY);
