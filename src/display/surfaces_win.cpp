#include "display/surfaces_win.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

#include "base/count_of.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "base/runtime_function_win.h"
#include "display/dpi_win.h"
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
int displayDpi;
SwitcherLayout switcherLayout;
RECT TitleRect;
RECT PanelRect;
RECT PreviewBoxRect;
RECT PreviewSquare;
RECT ClockRect;
SwitcherPalette switcherPalette;

namespace {
bool SystemHighContrast() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}
} // namespace

bool (*queryHighContrast)() = SystemHighContrast;

namespace {

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

// At least this size, and at least the preview square at high scales.
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
// A change of the system's settings asks for everything to be made again.
bool displayOutdated;

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

int AtLeast(int value, int least) {
    return value > least ? value : least;
}

void CreateSurfaces(HWND window) {
    const int width = WidthOf(switcherLayout.window);
    const int height = HeightOf(switcherLayout.window);
    HDC windowDc = GetWindowDC(window);
    BackgroundBuffer = CreateSurface(windowDc, width, height, &backgroundBitmap);
    FrameBuffer = CreateSurface(windowDc, width, height, &frameBitmap);
    PreviewCanvas =
        CreateSurface(windowDc, AtLeast(switcherLayout.previewSide, PREVIEW_CANVAS_WIDTH),
                      AtLeast(switcherLayout.previewSide, PREVIEW_CANVAS_HEIGHT), &previewBitmap);
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

SwitcherPalette ChoosePalette() {
    if (!queryHighContrast())
        return {false, BACKDROP_COLOUR, WHITE, BACKDROP_COLOUR, WHITE, WHITE};
    return {true,
            GetSysColor(COLOR_WINDOW),
            GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_HIGHLIGHT),
            GetSysColor(COLOR_HIGHLIGHTTEXT),
            GetSysColor(COLOR_WINDOWTEXT)};
}

void CreateDrawingObjects() {
    switcherPalette = ChoosePalette();
    BannerFont = CreateSwitcherFont(switcherLayout.bannerFontHeight, L"Arial");
    TextFont = CreateSwitcherFont(switcherLayout.textFontHeight, L"Verdana");
    ClockFont = CreateSwitcherFont(switcherLayout.clockFontHeight, L"Verdana");
    SeparatorPen = CreatePen(PS_SOLID, 1, switcherPalette.text);
    BackgroundBrush = CreateSolidBrush(switcherPalette.backdrop);
}

// High contrast keeps the layout: flat fills where the bands were, the title on
// the highlight, and a frame around the preview.
void DrawHighContrastParts(HDC dc) {
    HBRUSH titleBrush = CreateSolidBrush(switcherPalette.titleBack);
    FillRect(dc, &TitleRect, titleBrush);
    DeleteObject(titleBrush);
    HBRUSH frameBrush = CreateSolidBrush(switcherPalette.frame);
    FrameRect(dc, &PreviewBoxRect, frameBrush);
    DeleteObject(frameBrush);
}

// The table at dpi, with the icon sizes the system uses there.
void UseLayoutFor(int dpi) {
    displayDpi = dpi;
    switcherLayout = ScaleLayout(dpi);
    switcherLayout.largeIconSize = SystemIconSize(dpi, false);
    switcherLayout.smallIconSize = SystemIconSize(dpi, true);
    TitleRect = ToRect(switcherLayout.title);
    PanelRect = ToRect(switcherLayout.panel);
    PreviewBoxRect = ToRect(switcherLayout.previewBox);
    PreviewSquare = RECT{0, 0, switcherLayout.previewSide, switcherLayout.previewSide};
    ClockRect = ToRect(switcherLayout.clock);
}

void FillBand(HDC dc, const LayoutRect& band, int splitX, COLORREF edgeColour,
              COLORREF splitColour) {
    FillGradientBand(dc, band.left, band.top, band.right - band.left, band.bottom - band.top,
                     splitX - band.left, edgeColour, splitColour, edgeColour);
}

// Each line is as wide as its rectangle at this scale, drawn column by column
// with the one-pixel pen, so that its edges follow the table exactly.
void DrawPanelSeparators(HDC dc) {
    for (const LayoutRect& line : switcherLayout.separators) {
        for (int x = line.left; x < line.right; ++x) {
            MoveToEx(dc, x, line.top, nullptr);
            LineTo(dc, x, line.bottom);
        }
    }
}

void DrawPanelLabels(HDC dc) {
    SelectObject(dc, TextFont);
    for (const PanelRow& row : kPanelRows)
        ExtTextOutW(dc, ScaledForDisplay(row.labelX), ScaledForDisplay(row.y), 0, nullptr,
                    row.label, static_cast<UINT>(std::wcslen(row.label)), nullptr);
}

void DrawVendorBanner(HDC dc) {
    SelectObject(dc, BannerFont);
    RECT bannerRect = ToRect(switcherLayout.banner);
    DrawSwitcherText(dc, kBannerText, bannerRect, 0, switcherPalette.text,
                     switcherLayout.bannerShadowOffset);
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

// Surfaces first, so that no bitmap, font or pen is still selected when deleted.
void DeleteDisplayObjects() {
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
}

void MakeDisplayFor(int dpi) {
    DeleteDisplayObjects();
    UseLayoutFor(dpi);
    CreateSurfaces(SwitcherWindow);
    CreateDrawingObjects();
    displayOutdated = false;
}

} // namespace

int ScaledForDisplay(int value) {
    return ScaleForDpi(value, displayDpi);
}

void InitSwitcherDisplay(HWND window) {
    EmptySelectionTexts();
    MakeDisplayFor(MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)));
}

void UseDisplayDpi(int dpi) {
    dpi = UsableDpi(dpi);
    if (dpi == displayDpi && !displayOutdated && BackgroundBuffer)
        return;
    MakeDisplayFor(dpi);
    DrawStaticBackground();
}

void ForgetDisplayDpi() {
    displayOutdated = true;
}

void DrawStaticBackground() {
    SelectObject(BackgroundBuffer, SeparatorPen);
    FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    const RECT whole = ToRect(switcherLayout.window);
    FillRect(BackgroundBuffer, &whole, BackgroundBrush);
    if (switcherPalette.highContrast) {
        DrawHighContrastParts(BackgroundBuffer);
    } else {
        FillBand(BackgroundBuffer, switcherLayout.mainBand, switcherLayout.mainBandSplitX,
                 BAND_EDGE_COLOUR, BAND_LIGHT_COLOUR);
        // The accent strip lies over the top rows of the main band.
        FillBand(BackgroundBuffer, switcherLayout.accentStrip, switcherLayout.accentSplitX, WHITE,
                 ACCENT_MIDDLE_COLOUR);
    }
    SetBkMode(BackgroundBuffer, TRANSPARENT);
    SetTextColor(BackgroundBuffer, switcherPalette.text);
    if (switcherOptions.showProcessInfo) {
        DrawPanelSeparators(BackgroundBuffer);
        DrawPanelLabels(BackgroundBuffer);
    }
    DrawVendorBanner(BackgroundBuffer);
}

void ReleaseSwitcherDisplay() {
    DeleteDisplayObjects();
    displayDpi = 0;
    ReleaseRuntimeFunction(&drawShadowText);
    ReleaseDpiQueries();
}

int DrawTextWithShadow(HDC dc, const wchar_t* text, UINT length, RECT* rect, DWORD flags,
                       COLORREF textColour, COLORREF shadowColour, int offsetX, int offsetY) {
    DrawShadowTextProc draw = RuntimeFunctionAs<DrawShadowTextProc>(&drawShadowText);
    if (!draw)
        return 0;
    return draw(dc, text, length, rect, flags, textColour, shadowColour, offsetX, offsetY);
}

void DrawSwitcherText(HDC dc, const wchar_t* text, RECT rect, DWORD flags, COLORREF colour,
                      int shadowOffset) {
    const UINT length = static_cast<UINT>(std::wcslen(text));
    if (!switcherPalette.highContrast) {
        DrawTextWithShadow(dc, text, length, &rect, flags, colour, SHADOW_COLOUR, shadowOffset,
                           shadowOffset);
        return;
    }
    SetTextColor(dc, colour);
    DrawTextW(dc, text, static_cast<int>(length), &rect, flags);
}
