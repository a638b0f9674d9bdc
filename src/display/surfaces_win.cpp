#include "display/surfaces_win.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

#include "app/app_win.h"
#include "app/count_of.h"
#include "app/identifiers.h"
#include "app/runtime_function_win.h"
#include "display/gradient_band.h"
#include "display/selection_texts.h"
#include "resources/vendor.h"
#include "settings/options.h"

static_assert(sizeof(BandVertex) == sizeof(TRIVERTEX) &&
                  offsetof(BandVertex, x) == offsetof(TRIVERTEX, x) &&
                  offsetof(BandVertex, y) == offsetof(TRIVERTEX, y) &&
                  offsetof(BandVertex, red) == offsetof(TRIVERTEX, Red) &&
                  offsetof(BandVertex, green) == offsetof(TRIVERTEX, Green) &&
                  offsetof(BandVertex, blue) == offsetof(TRIVERTEX, Blue) &&
                  offsetof(BandVertex, alpha) == offsetof(TRIVERTEX, Alpha),
              "a band vertex is laid out as a TRIVERTEX");
static_assert(sizeof(BandTriangle) == sizeof(GRADIENT_TRIANGLE) &&
                  offsetof(BandTriangle, vertex1) == offsetof(GRADIENT_TRIANGLE, Vertex1) &&
                  offsetof(BandTriangle, vertex2) == offsetof(GRADIENT_TRIANGLE, Vertex2) &&
                  offsetof(BandTriangle, vertex3) == offsetof(GRADIENT_TRIANGLE, Vertex3),
              "a band triangle is laid out as a GRADIENT_TRIANGLE");

HDC BackgroundBuffer;
HDC FrameBuffer;
HDC PreviewCanvas;
HFONT BannerFont;
HFONT TextFont;
HFONT ClockFont;
HPEN SeparatorPen;
HBRUSH BackgroundBrush;

namespace {

constexpr int PREVIEW_CANVAS_WIDTH = 1024;
constexpr int PREVIEW_CANVAS_HEIGHT = 768;
constexpr COLORREF BACKDROP_COLOUR = 0x00993300; // RGB(0, 51, 153)
constexpr COLORREF WHITE = TEXT_COLOUR;
constexpr COLORREF BAND_EDGE_COLOUR = 0x00DE7D5B;     // RGB(91, 125, 222)
constexpr COLORREF BAND_LIGHT_COLOUR = 0x00F7B799;    // RGB(153, 183, 247)
constexpr COLORREF ACCENT_MIDDLE_COLOUR = 0x000099FF; // RGB(255, 153, 0)

// The bitmaps stay selected into their surfaces for the program's lifetime.
HBITMAP backgroundBitmap;
HBITMAP frameBitmap;
HBITMAP previewBitmap;

struct PanelLabel {
    const wchar_t* text;
    int x;
    int y;
};

constexpr PanelLabel kPanelLabels[] = {
    {L"Window Handle", 10, 288}, {L"Process ID (PID)", 10, 301}, {L"MEM Usage", 10, 314},
    {L"Priority", 10, 327},      {L"Handles", 200, 288},         {L"GDI Objects", 200, 301},
    {L"USER Objects", 200, 314}, {L"I/O Reads", 200, 327},       {L"I/O Writes", 200, 340},
    {L"Window ", 370, 288},
};

constexpr wchar_t kBannerText[] = ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_BANNER);

// DrawShadowText lives in comctl32 6, whose MinGW import library lacks it. The
// manifest makes a plain load of comctl32 the version 6 library.
using DrawShadowTextProc = int(WINAPI*)(HDC, LPCWSTR, UINT, RECT*, DWORD, COLORREF, COLORREF, int,
                                        int);
RuntimeFunction drawShadowText = {L"comctl32.dll", "DrawShadowText", 0, nullptr, nullptr, false};

HDC CreateSurface(HDC windowDc, int width, int height, HBITMAP* bitmap) {
    HDC surface = CreateCompatibleDC(windowDc);
    *bitmap = CreateCompatibleBitmap(windowDc, width, height);
    SelectObject(surface, *bitmap);
    return surface;
}

void CreateSurfaces(HWND window) {
    HDC windowDc = GetWindowDC(window);
    BackgroundBuffer = CreateSurface(windowDc, SWITCHER_WIDTH, SWITCHER_HEIGHT, &backgroundBitmap);
    FrameBuffer = CreateSurface(windowDc, SWITCHER_WIDTH, SWITCHER_HEIGHT, &frameBitmap);
    PreviewCanvas =
        CreateSurface(windowDc, PREVIEW_CANVAS_WIDTH, PREVIEW_CANVAS_HEIGHT, &previewBitmap);
    SetStretchBltMode(PreviewCanvas, HALFTONE);
    // HALFTONE needs the brush origin set again after the mode.
    SetBrushOrgEx(PreviewCanvas, 0, 0, nullptr);
    ReleaseDC(window, windowDc);
}

HFONT CreateSwitcherFont(int height, const wchar_t* face) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_OUTLINE_PRECIS, CLIP_CHARACTER_PRECIS, ANTIALIASED_QUALITY,
                       VARIABLE_PITCH | FF_DONTCARE, face);
}

void CreateDrawingObjects() {
    BannerFont = CreateSwitcherFont(25, L"Arial");
    TextFont = CreateSwitcherFont(13, L"Verdana");
    ClockFont = CreateSwitcherFont(15, L"Verdana");
    SeparatorPen = CreatePen(PS_SOLID, 1, WHITE);
    BackgroundBrush = CreateSolidBrush(BACKDROP_COLOUR);
}

void DrawPanelSeparators(HDC dc) {
    MoveToEx(dc, 190, 290, nullptr);
    LineTo(dc, 190, 350);
    MoveToEx(dc, 360, 290, nullptr);
    LineTo(dc, 360, 350);
}

void DrawPanelLabels(HDC dc) {
    SelectObject(dc, TextFont);
    for (const PanelLabel& label : kPanelLabels)
        ExtTextOutW(dc, label.x, label.y, 0, nullptr, label.text,
                    static_cast<UINT>(std::wcslen(label.text)), nullptr);
}

void DrawVendorBanner(HDC dc) {
    SelectObject(dc, BannerFont);
    RECT bannerRect = {5, 2, 200, 30};
    DrawTextWithShadow(dc, kBannerText, static_cast<UINT>(CountOf(kBannerText) - 1), &bannerRect, 0,
                       WHITE, SHADOW_COLOUR, 3, 3);
}

template <typename Handle> void DeleteHandle(Handle* handle) {
    if (*handle)
        DeleteObject(*handle);
    *handle = nullptr;
}

void DeleteSurface(HDC* surface) {
    if (*surface)
        DeleteDC(*surface);
    *surface = nullptr;
}

} // namespace

void InitSwitcherDisplay(HWND window) {
    EmptySelectionTexts();
    CreateSurfaces(window);
    CreateDrawingObjects();
}

void DrawStaticBackground() {
    SelectObject(BackgroundBuffer, SeparatorPen);
    FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    const RECT whole = {0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT};
    FillRect(BackgroundBuffer, &whole, BackgroundBrush);
    FillGradientBand(BackgroundBuffer, 0, 50, 600, 230, 400, BAND_EDGE_COLOUR, BAND_LIGHT_COLOUR,
                     BAND_EDGE_COLOUR);
    // The accent strip lies over the top rows of the main band.
    FillGradientBand(BackgroundBuffer, 0, 50, 600, 6, 300, WHITE, ACCENT_MIDDLE_COLOUR, WHITE);
    SetBkMode(BackgroundBuffer, TRANSPARENT);
    SetTextColor(BackgroundBuffer, WHITE);
    if (switcherOptions.showProcessInfo) {
        DrawPanelSeparators(BackgroundBuffer);
        DrawPanelLabels(BackgroundBuffer);
    }
    DrawVendorBanner(BackgroundBuffer);
}

void FillGradientBand(HDC dc, int left, int top, int width, int height, int split,
                      COLORREF leftColour, COLORREF splitColour, COLORREF rightColour) {
    const GradientBand band =
        BuildGradientBand(left, top, width, height, split, leftColour, splitColour, rightColour);
    TRIVERTEX vertices[BAND_VERTEX_COUNT];
    GRADIENT_TRIANGLE triangles[BAND_TRIANGLE_COUNT];
    std::memcpy(vertices, band.vertices, sizeof(vertices));
    std::memcpy(triangles, band.triangles, sizeof(triangles));
    GradientFill(dc, vertices, BAND_VERTEX_COUNT, triangles, BAND_TRIANGLE_COUNT,
                 GRADIENT_FILL_TRIANGLE);
}

void ReleaseSwitcherDisplay() {
    // The surfaces go first, so that no bitmap, font or pen is still selected when deleted.
    DeleteSurface(&BackgroundBuffer);
    DeleteSurface(&FrameBuffer);
    DeleteSurface(&PreviewCanvas);
    DeleteHandle(&backgroundBitmap);
    DeleteHandle(&frameBitmap);
    DeleteHandle(&previewBitmap);
    DeleteHandle(&BannerFont);
    DeleteHandle(&TextFont);
    DeleteHandle(&ClockFont);
    DeleteHandle(&SeparatorPen);
    DeleteHandle(&BackgroundBrush);
    ReleaseRuntimeFunction(&drawShadowText);
}

int DrawTextWithShadow(HDC dc, const wchar_t* text, UINT length, RECT* rect, DWORD flags,
                       COLORREF textColour, COLORREF shadowColour, int offsetX, int offsetY) {
    DrawShadowTextProc draw = RuntimeFunctionAs<DrawShadowTextProc>(&drawShadowText);
    if (!draw)
        return 0;
    return draw(dc, text, length, rect, flags, textColour, shadowColour, offsetX, offsetY);
}
