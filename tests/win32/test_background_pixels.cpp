// The static background and the surfaces, read back from the live switcher in this process.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/hooks_win.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

constexpr COLORREF BAND_EDGE = RGB(91, 125, 222);
constexpr COLORREF BAND_LIGHT = RGB(153, 183, 247);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF ORANGE = RGB(255, 153, 0);

struct Label {
    const wchar_t* text;
    int x;
    int y;
};
const Label kLabels[] = {
    {L"Window Handle", 10, 288}, {L"Process ID (PID)", 10, 301}, {L"MEM Usage", 10, 314},
    {L"Priority", 10, 327},      {L"Handles", 200, 288},         {L"GDI Objects", 200, 301},
    {L"USER Objects", 200, 314}, {L"I/O Reads", 200, 327},       {L"I/O Writes", 200, 340},
    {L"Window ", 370, 288},
};

COLORREF Pixel(int x, int y) {
    return GetPixel(BackgroundBuffer, x, y);
}

SwitcherOptions OptionsWithProcessInfo(bool shown) {
    SwitcherOptions record = DefaultSwitcherOptions();
    record.showProcessInfo = shown ? 1 : 0;
    return record;
}

bool AnyPixelNear(HDC dc, RECT area, COLORREF colour, int tolerance = 2) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (ColourNear(GetPixel(dc, x, y), colour, tolerance))
                return true;
    return false;
}

// Where a label's glyphs stand: its text extent in TextFont from its point.
RECT LabelArea(const Label& label) {
    HDC scratch = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(scratch, TextFont);
    SIZE size = {};
    GetTextExtentPoint32W(scratch, label.text, static_cast<int>(std::wcslen(label.text)), &size);
    SelectObject(scratch, old);
    DeleteDC(scratch);
    return {label.x, label.y, label.x + size.cx, label.y + size.cy};
}

class Background : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSwitcherInProcess(OptionsWithProcessInfo(true)));
    }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
    void ShowProcessInfo(bool shown) { ReloadSwitcherWith(OptionsWithProcessInfo(shown)); }
};

TEST_F(Background, SurfacesFontsPenAndBrushAreCreatedAsDescribed) {
    struct Surface {
        HDC dc;
        LONG width, height;
    } surfaces[] = {
        {BackgroundBuffer, 600, 375}, {FrameBuffer, 600, 375}, {PreviewCanvas, 1024, 768}};
    HDC screen = GetDC(nullptr);
    const int screenBits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    for (const Surface& surface : surfaces) {
        ASSERT_EQ(GetObjectType(surface.dc), static_cast<DWORD>(OBJ_MEMDC));
        BITMAP bitmap = {};
        GetObjectW(GetCurrentObject(surface.dc, OBJ_BITMAP), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, surface.width);
        EXPECT_EQ(bitmap.bmHeight, surface.height);
        EXPECT_EQ(bitmap.bmBitsPixel, screenBits) << "the screen's colour format";
    }
    EXPECT_EQ(GetStretchBltMode(PreviewCanvas), HALFTONE);
    POINT origin = {-1, -1};
    GetBrushOrgEx(PreviewCanvas, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(GetBkMode(BackgroundBuffer), TRANSPARENT);
    EXPECT_EQ(GetTextColor(BackgroundBuffer), WHITE);
    EXPECT_EQ(GetCurrentObject(BackgroundBuffer, OBJ_FONT), BannerFont);
    EXPECT_EQ(GetCurrentObject(BackgroundBuffer, OBJ_PEN), SeparatorPen);

    struct Font {
        HFONT font;
        LONG height;
        const wchar_t* face;
    } fonts[] = {
        {BannerFont, 25, L"Arial"}, {TextFont, 13, L"Verdana"}, {ClockFont, 15, L"Verdana"}};
    for (const Font& font : fonts) {
        LOGFONTW logFont = {};
        ASSERT_EQ(GetObjectW(font.font, sizeof(logFont), &logFont), int(sizeof(logFont)));
        EXPECT_EQ(logFont.lfHeight, font.height);
        EXPECT_STREQ(logFont.lfFaceName, font.face);
        EXPECT_EQ(logFont.lfWidth, 0);
        EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
        EXPECT_EQ(logFont.lfItalic | logFont.lfUnderline | logFont.lfStrikeOut, 0);
        EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
        EXPECT_EQ(logFont.lfOutPrecision, OUT_OUTLINE_PRECIS);
        EXPECT_EQ(logFont.lfClipPrecision, CLIP_CHARACTER_PRECIS);
        EXPECT_EQ(logFont.lfQuality, ANTIALIASED_QUALITY);
        EXPECT_EQ(logFont.lfPitchAndFamily, VARIABLE_PITCH | FF_DONTCARE);
    }
    LOGPEN pen = {};
    ASSERT_EQ(GetObjectW(SeparatorPen, sizeof(pen), &pen), int(sizeof(pen)));
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(pen.lopnWidth.x, 1);
    EXPECT_EQ(pen.lopnColor, WHITE);
    LOGBRUSH brush = {};
    ASSERT_EQ(GetObjectW(BackgroundBrush, sizeof(brush), &brush), int(sizeof(brush)));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, BACKDROP);
    EXPECT_NE(keyboardHook, nullptr);
}

TEST_F(Background, FixedRectanglesHoldTheLayout) {
    const struct {
        const RECT& rect;
        RECT expected;
    } rects[] = {{TitleRect, {5, 30, 580, 50}},
                 {PanelRect, {0, 275, 600, 375}},
                 {PreviewBoxRect, {386, 68, 586, 268}},
                 {PreviewSquare, {0, 0, 198, 198}},
                 {ClockRect, {500, 10, 580, 30}}};
    for (const auto& r : rects)
        EXPECT_TRUE(EqualRect(&r.rect, &r.expected))
            << r.rect.left << "," << r.rect.top << "," << r.rect.right << "," << r.rect.bottom;
}

TEST_F(Background, TopBackdropIsFlatBesideTheBanner) {
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 600; ++x) {
            if (x >= 5 && x < 210 && y >= 2 && y < 36)
                continue; // the banner and its shadow
            ASSERT_TRUE(ColourNear(Pixel(x, y), BACKDROP)) << x << "," << y;
        }
    }
}

TEST_F(Background, BannerIsWhiteTextOverABlackShadow) {
    const RECT banner = {5, 2, 203, 33};
    EXPECT_TRUE(AnyPixelNear(BackgroundBuffer, banner, WHITE));
    EXPECT_TRUE(AnyPixelNear(BackgroundBuffer, banner, BLACK));
}

TEST_F(Background, AccentStripRunsWhiteOrangeWhiteOnRowsFiftyToFiftyFive) {
    for (int y = 50; y <= 55; ++y) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(ColourNear(Pixel(0, y), WHITE));
        EXPECT_TRUE(ColourNear(Pixel(300, y), ORANGE));
        EXPECT_TRUE(ColourNear(Pixel(599, y), WHITE));
        EXPECT_TRUE(ColourNear(Pixel(150, y), RGB(255, 204, 128)));
    }
    EXPECT_FALSE(ColourNear(Pixel(300, 56), ORANGE)) << "the strip ends at row 55";
}

TEST_F(Background, MainBandIsLightestInColumnFourHundredAndDarkensToTheRight) {
    for (int y : {56, 100, 200, 279}) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(ColourNear(Pixel(0, y), BAND_EDGE));
        EXPECT_TRUE(ColourNear(Pixel(400, y), BAND_LIGHT));
        EXPECT_TRUE(ColourNear(Pixel(599, y), BAND_EDGE));
        EXPECT_TRUE(ColourNear(Pixel(200, y), RGB(122, 154, 234)));
        EXPECT_TRUE(ColourNear(Pixel(500, y), RGB(122, 154, 234)));
        for (int x = 1; x < 600; ++x) {
            const COLORREF left = Pixel(x - 1, y), here = Pixel(x, y);
            if (x <= 400)
                ASSERT_TRUE(NoLighter(left, here, 0)) << "lightens up to column 400, x=" << x;
            else
                ASSERT_TRUE(NoLighter(here, left, 0)) << "darkens after column 400, x=" << x;
        }
    }
    // Not symmetric about the middle of the window.
    EXPECT_FALSE(ColourNear(Pixel(300, 150), BAND_LIGHT));
    // The colour depends on x only.
    for (int x = 0; x < 600; x += 7)
        ASSERT_TRUE(ColourNear(Pixel(x, 56), Pixel(x, 279), 0)) << x;
    EXPECT_TRUE(ColourNear(Pixel(400, 280), BACKDROP)) << "the band ends at row 279";
}

TEST_F(Background, ProcessInfoDrawsTwoSeparatorsAndTheLabels) {
    ShowProcessInfo(true);
    for (int x : {190, 360}) {
        for (int y = 290; y <= 349; ++y)
            ASSERT_TRUE(ColourNear(Pixel(x, y), WHITE)) << x << "," << y;
        EXPECT_TRUE(ColourNear(Pixel(x, 289), BACKDROP)) << x;
        EXPECT_TRUE(ColourNear(Pixel(x, 350), BACKDROP)) << x;
        EXPECT_TRUE(ColourNear(Pixel(x - 1, 320), BACKDROP)) << "one pixel wide";
        EXPECT_TRUE(ColourNear(Pixel(x + 1, 320), BACKDROP)) << "one pixel wide";
    }
    for (const Label& label : kLabels) {
        SCOPED_TRACE(std::wstring(label.text).size());
        const RECT area = LabelArea(label);
        EXPECT_GT(area.right, area.left + 10);
        EXPECT_TRUE(AnyPixelNear(BackgroundBuffer, area, WHITE)) << label.x << "," << label.y;
    }
    // Between the columns and under the last rows there is no text.
    EXPECT_FALSE(AnyPixelNear(BackgroundBuffer, {150, 282, 188, 374}, WHITE, 40));
    EXPECT_FALSE(AnyPixelNear(BackgroundBuffer, {0, 355, 600, 375}, WHITE, 40));
    EXPECT_FALSE(AnyPixelNear(BackgroundBuffer, {440, 282, 600, 375}, WHITE, 40));
}

TEST_F(Background, WithoutProcessInfoThePanelIsOneFlatColour) {
    ShowProcessInfo(false);
    for (int y = 280; y < 375; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_TRUE(ColourNear(Pixel(x, y), BACKDROP, 0)) << x << "," << y;
}

TEST_F(Background, ReloadTurnsTheProcessPanelOnAndOff) {
    ShowProcessInfo(false);
    EXPECT_TRUE(ColourNear(Pixel(190, 300), BACKDROP));
    ShowProcessInfo(true);
    EXPECT_TRUE(ColourNear(Pixel(190, 300), WHITE));
    EXPECT_TRUE(AnyPixelNear(BackgroundBuffer, LabelArea(kLabels[0]), WHITE));
    ShowProcessInfo(false);
    EXPECT_TRUE(ColourNear(Pixel(190, 300), BACKDROP));
    EXPECT_FALSE(AnyPixelNear(BackgroundBuffer, LabelArea(kLabels[0]), WHITE, 40));
}

TEST_F(Background, ReloadClearsThePreviewSquareOnly) {
    RECT beyond = {0, 0, 300, 300};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(PreviewCanvas, &beyond, red);
    DeleteObject(red);
    ShowProcessInfo(false);
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 0, 0), BACKDROP, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 197, 197), BACKDROP, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 198, 100), RGB(255, 0, 0), 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 100, 198), RGB(255, 0, 0), 0));
}

TEST_F(Background, EveryReloadRenewsTheRunValueWithTheProgramPath) {
    wchar_t expected[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, expected, MAX_PATH);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE));
        ShowProcessInfo(round == 0);
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(data.data())),
                  L"\"" + std::wstring(expected) + L"\"");
    }
}

TEST_F(Background, RedrawingCreatesNoGdiObjects) {
    ShowProcessInfo(true);
    const int before = CountGdiObjects();
    for (int round = 0; round < 20; ++round)
        DrawStaticBackground();
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(Background, ShownSwitcherPaintsTheBackground) {
    ShowProcessInfo(false);
    SetWindowPos(SwitcherWindow, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(SwitcherWindow);
    PumpMessages();
    HDC window = GetDC(SwitcherWindow);
    // Places that no child control or frame text covers.
    EXPECT_TRUE(ColourNear(GetPixel(window, 590, 40), BACKDROP));
    EXPECT_TRUE(ColourNear(GetPixel(window, 300, 52), ORANGE));
    EXPECT_TRUE(ColourNear(GetPixel(window, 400, 60), BAND_LIGHT));
    EXPECT_TRUE(ColourNear(GetPixel(window, 0, 150), BAND_EDGE));
    EXPECT_TRUE(ColourNear(GetPixel(window, 590, 290), BACKDROP));
    ReleaseDC(SwitcherWindow, window);
    ShowWindow(SwitcherWindow, SW_HIDE);
}

// The clock timer is counted as its messages arrive, the same way the loop takes them.
TEST_F(Background, ClockTimerTicksOnceASecond) {
    std::vector<DWORD> ticks;
    const DWORD start = GetTickCount();
    while (ticks.size() < 4 && GetTickCount() - start < 10000) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == SwitcherWindow &&
                message.wParam == TIMER_CLOCK)
                ticks.push_back(GetTickCount());
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_EQ(ticks.size(), 4u);
    const DWORD threeIntervals = ticks[3] - ticks[0];
    // Wide enough for a loaded machine, narrow enough to tell a 1 s period from 0.5 s or 2 s.
    EXPECT_GE(threeIntervals, 2400u);
    EXPECT_LE(threeIntervals, 4200u);
}

} // namespace
