// Frames composed off screen and read back: title, panel values, position,
// module path, clock and the preview square over the static background.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "base/program_handles_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "display/clock_text.h"
#include "display/frame_win.h"
#include "display/process_text.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "windowlist/icon_strip_win.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
// Where text may land: each rectangle and its shadow, 4 pixels right and down.
constexpr RECT kTitleArea = {5, 30, 584, 54};
constexpr RECT kClockArea = {500, 10, 584, 34};
constexpr RECT kPreviewArea = {387, 69, 585, 267};
constexpr RECT kPathArea = {10, 357, 590, 375};
constexpr RECT kPanelValuesArea = {110, 288, 600, 357};

// A 600 x 375 surface that a test composes frames into.
struct FrameSurface : MemoryCanvas {
    FrameSurface() : MemoryCanvas(SWITCHER_WIDTH, SWITCHER_HEIGHT) {}
};

bool Inside(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// Pixels of rect where the frame differs from the static background.
int ChangedPixels(HDC frame, const RECT& rect) {
    int changed = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (GetPixel(frame, x, y) != GetPixel(BackgroundBuffer, x, y))
                ++changed;
    return changed;
}

// Changed pixels outside the given areas, the clock and the preview square.
int ChangedPixelsOutside(HDC frame, std::initializer_list<RECT> allowed) {
    int changed = 0;
    for (int y = 0; y < SWITCHER_HEIGHT; ++y)
        for (int x = 0; x < SWITCHER_WIDTH; ++x) {
            bool skip = Inside(kClockArea, x, y) || Inside(kPreviewArea, x, y);
            for (const RECT& rect : allowed)
                skip = skip || Inside(rect, x, y);
            if (!skip && GetPixel(frame, x, y) != GetPixel(BackgroundBuffer, x, y))
                ++changed;
        }
    return changed;
}

// Nearly white pixels that the background does not have: text, whatever the
// antialiasing does at the edges of the glyphs.
int WhitePixels(HDC frame, const RECT& rect) {
    int white = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF pixel = GetPixel(frame, x, y);
            if (ColourNear(pixel, kWhite, 40) && pixel != GetPixel(BackgroundBuffer, x, y))
                ++white;
        }
    return white;
}

// The text as DrawTextW cuts it with an ellipsis to fit rect in TextFont.
std::wstring CutToFit(const std::wstring& text, RECT rect) {
    wchar_t cut[1100];
    CopyText(cut, CountOf(cut), text.c_str());
    HGDIOBJ old = SelectObject(FrameBuffer, TextFont);
    DrawTextW(FrameBuffer, cut, -1, &rect, DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    SelectObject(FrameBuffer, old);
    return cut;
}

bool SameRows(HDC first, HDC second, const RECT& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (GetPixel(first, x, y) != GetPixel(second, x, y))
                return false;
    return true;
}

class FrameCompose : public InProcessSwitcherTest {
  protected:
    void SetUp() override {
        EmptySelectionTexts();
        SetPanel(false);
        FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    }
    void TearDown() override { SetPanel(false); }

    static void SetPanel(bool shown) {
        switcherOptions.showProcessInfo = shown ? 1 : 0;
        DrawStaticBackground();
    }
};

void SetText(wchar_t* buffer, size_t count, const std::wstring& text) {
    CopyText(buffer, count, text.c_str());
}
#define SET_TEXT(field, text) SetText(SelectionTexts.field, CountOf(SelectionTexts.field), text)

void FillPanelTexts() {
    SET_TEXT(windowHandleText, L": 1A2B3C");
    SET_TEXT(processIdText, L": 4711");
    SET_TEXT(memoryText, L": 12.345 M");
    SET_TEXT(priorityText, L": Normal");
    SET_TEXT(handlesText, L": 42");
    SET_TEXT(gdiObjectsText, L": 30");
    SET_TEXT(userObjectsText, L": 12");
    SET_TEXT(ioReadsText, L": 5000000000");
    SET_TEXT(ioWritesText, L": 7");
    SET_TEXT(positionText, L": 2/5");
}

TEST_F(FrameCompose, EmptyTextsShowTheBackgroundTheClockAndThePreviewSquare) {
    FrameSurface frame;
    ComposeFrameInto(frame.dc);
    EXPECT_EQ(ChangedPixelsOutside(frame.dc, {}), 0);
    EXPECT_GT(WhitePixels(frame.dc, ClockRect), 20);
    EXPECT_TRUE(SameRows(frame.dc, FrameBuffer, RECT{0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT}));
}

TEST_F(FrameCompose, TheTitleIsDrawnInItsLineWithAShadow) {
    SET_TEXT(titleText, L"Untitled - Notepad");
    FrameSurface frame;
    ComposeFrameInto(frame.dc);
    EXPECT_GT(WhitePixels(frame.dc, TitleRect), 40);
    EXPECT_EQ(ChangedPixelsOutside(frame.dc, {kTitleArea}), 0);
    // The shadow: black pixels below and right of the white glyphs.
    int black = 0;
    for (int y = 34; y < 54; ++y)
        for (int x = 9; x < 150; ++x)
            if (ColourNear(GetPixel(frame.dc, x, y), RGB(0, 0, 0), 40))
                ++black;
    EXPECT_GT(black, 20);
}

TEST_F(FrameCompose, ATitleTooLongForTheLineEndsInAnEllipsis) {
    std::wstring title(300, L'W');
    const std::wstring shown = CutToFit(title, TitleRect);
    ASSERT_LT(shown.size(), title.size());
    ASSERT_EQ(shown.substr(shown.size() - 3), L"...");

    SET_TEXT(titleText, title);
    FrameSurface longTitle;
    ComposeFrameInto(longTitle.dc);
    SET_TEXT(titleText, shown);
    FrameSurface cutTitle;
    ComposeFrameInto(cutTitle.dc);
    EXPECT_TRUE(SameRows(longTitle.dc, cutTitle.dc, kTitleArea));
    EXPECT_GT(WhitePixels(longTitle.dc, RECT{540, 30, 580, 50}), 0);
    EXPECT_EQ(WhitePixels(longTitle.dc, RECT{580, 30, 600, 54}), 0);
    EXPECT_EQ(ChangedPixelsOutside(longTitle.dc, {kTitleArea}), 0);
}

TEST_F(FrameCompose, PanelValuesAndPositionOnlyWithTheProcessPanel) {
    FillPanelTexts();
    FrameSurface hidden;
    ComposeFrameInto(hidden.dc);
    EXPECT_EQ(ChangedPixelsOutside(hidden.dc, {}), 0);

    SetPanel(true);
    FrameSurface shown;
    ComposeFrameInto(shown.dc);
    const POINT origins[] = {{110, 288}, {110, 301}, {110, 314}, {110, 327}, {290, 288},
                             {290, 301}, {290, 314}, {290, 327}, {290, 340}, {430, 288}};
    for (const POINT& origin : origins)
        EXPECT_GT(WhitePixels(shown.dc, RECT{origin.x, origin.y, origin.x + 40, origin.y + 13}), 5)
            << origin.x << "," << origin.y;
    EXPECT_EQ(ChangedPixelsOutside(shown.dc, {kPanelValuesArea}), 0);
    // Each value starts right at its point: nothing of it left of the point.
    EXPECT_EQ(ChangedPixels(shown.dc, RECT{100, 288, 110, 340}), 0);
}

TEST_F(FrameCompose, TheModulePathLineIsDrawnWhateverThePanelSays) {
    const std::wstring path = L"C:\\Program Files\\Example\\example.exe";
    SET_TEXT(modulePathText, path);
    for (bool panel : {false, true}) {
        SetPanel(panel);
        FrameSurface frame;
        ComposeFrameInto(frame.dc);
        EXPECT_GT(WhitePixels(frame.dc, kPathArea), 40) << panel;
        EXPECT_EQ(ChangedPixelsOutside(frame.dc, {kPathArea}), 0) << panel;
    }
}

TEST_F(FrameCompose, ALongModulePathEndsInAnEllipsisWithinItsLine) {
    std::wstring path = L"C:\\";
    while (path.size() < 250)
        path += L"VeryLongFolderName\\";
    const std::wstring shown = CutToFit(path, kPathArea);
    ASSERT_LT(shown.size(), path.size());
    ASSERT_EQ(shown.substr(shown.size() - 3), L"...");
    SET_TEXT(modulePathText, path);
    FrameSurface longPath;
    ComposeFrameInto(longPath.dc);
    SET_TEXT(modulePathText, shown);
    FrameSurface cutPath;
    ComposeFrameInto(cutPath.dc);
    EXPECT_TRUE(SameRows(longPath.dc, cutPath.dc, kPathArea));
    EXPECT_GT(WhitePixels(longPath.dc, RECT{560, 357, 590, 375}), 0);
    EXPECT_EQ(ChangedPixels(longPath.dc, RECT{590, 357, 600, 375}), 0);
    // Three dots at the end: only the lowest rows of the last few pixels are lit.
    int lastColumn = 0;
    for (int x = 589; x >= 500 && !lastColumn; --x)
        if (WhitePixels(longPath.dc, RECT{x, 357, x + 1, 375}))
            lastColumn = x;
    ASSERT_GT(lastColumn, 560);
    int top = 375, bottom = 0;
    for (int y = 357; y < 375; ++y)
        if (WhitePixels(longPath.dc, RECT{lastColumn - 6, y, lastColumn + 1, y + 1})) {
            top = y < top ? y : top;
            bottom = y > bottom ? y : bottom;
        }
    EXPECT_LE(bottom - top, 3) << "dots are short; letters are tall";
}

// Width of the clock's text in the clock's font; the time may not be the one drawn,
// but every hh:mm:ss AM text has about the same width.
int ClockTextWidth() {
    wchar_t text[CLOCK_TEXT_COUNT];
    FormatCurrentClockText(text, CountOf(text));
    HGDIOBJ old = SelectObject(FrameBuffer, ClockFont);
    SIZE size = {};
    GetTextExtentPoint32W(FrameBuffer, text, static_cast<int>(std::wcslen(text)), &size);
    SelectObject(FrameBuffer, old);
    return size.cx;
}

// First and last column of rect with white (text) pixels, or {-1, -1}.
POINT WhiteColumns(HDC frame, const RECT& rect) {
    POINT columns = {-1, -1};
    for (int x = rect.left; x < rect.right; ++x)
        if (WhitePixels(frame, RECT{x, rect.top, x + 1, rect.bottom}) > 0) {
            columns.x = columns.x < 0 ? x : columns.x;
            columns.y = x;
        }
    return columns;
}

TEST_F(FrameCompose, TheClockIsRightAlignedInItsRectangle) {
    FrameSurface frame;
    ComposeFrameInto(frame.dc);
    const int width = ClockTextWidth();
    const POINT columns = WhiteColumns(frame.dc, RECT{500, 10, 600, 30});
    // The text ends at the rectangle's right edge and leaves its left part empty.
    EXPECT_GE(columns.y, 580 - 3);
    EXPECT_LT(columns.y, 580);
    EXPECT_GE(columns.x, 580 - width - 2);
}

TEST_F(FrameCompose, TheClockShowsTwelveInTheHourAfterMidnightAndNoon) {
    // The C library of the Windows build, not only the native one, formats the hour.
    wchar_t text[CLOCK_TEXT_COUNT];
    std::tm time = {};
    time.tm_year = 124;
    time.tm_mday = 1;
    time.tm_hour = 0;
    time.tm_min = 30;
    time.tm_sec = 5;
    FormatClockText(text, CountOf(text), time);
    EXPECT_STREQ(text, L"12:30:05 AM");
    time.tm_hour = 12;
    FormatClockText(text, CountOf(text), time);
    EXPECT_STREQ(text, L"12:30:05 PM");
    time.tm_hour = 21;
    time.tm_min = 5;
    time.tm_sec = 7;
    FormatClockText(text, CountOf(text), time);
    EXPECT_STREQ(text, L"09:05:07 PM");
}

TEST_F(FrameCompose, ThePreviewSquareLandsOnePixelInsideThePreviewBox) {
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(PreviewCanvas, &PreviewSquare, green);
    DeleteObject(green);
    FrameSurface frame;
    ComposeFrameInto(frame.dc);
    for (const POINT& inside : {POINT{387, 69}, POINT{584, 69}, POINT{387, 266}, POINT{584, 266}})
        EXPECT_TRUE(ColourNear(GetPixel(frame.dc, inside.x, inside.y), kGreen, 0))
            << inside.x << "," << inside.y;
    for (const POINT& ring : {POINT{386, 68}, POINT{585, 68}, POINT{386, 267}, POINT{585, 267},
                              POINT{386, 150}, POINT{585, 150}, POINT{480, 68}, POINT{480, 267}})
        EXPECT_EQ(GetPixel(frame.dc, ring.x, ring.y), GetPixel(BackgroundBuffer, ring.x, ring.y))
            << ring.x << "," << ring.y;
}

TEST_F(FrameCompose, TheEraseCopiesTheStaticBackground) {
    FrameSurface frame;
    FillRect(frame.dc, &PanelRect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(EraseSwitcherBackground(frame.dc), 1);
    EXPECT_TRUE(SameRows(frame.dc, BackgroundBuffer, RECT{0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT}));
}

TEST_F(FrameCompose, TheIconStripShowsTheBackgroundThatLiesBeneathIt) {
    // The strip has no background colour: the list view passes its erase to the switcher.
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    InvalidateRect(IconStrip, nullptr, TRUE);
    UpdateWindow(IconStrip);
    HDC strip = GetDC(IconStrip);
    for (const POINT& point : {POINT{5, 5}, POINT{170, 100}, POINT{335, 195}})
        EXPECT_EQ(GetPixel(strip, point.x, point.y),
                  GetPixel(BackgroundBuffer, point.x + 1, point.y + 68))
            << point.x << "," << point.y;
    ReleaseDC(IconStrip, strip);
    ShowWindow(SwitcherWindow, SW_HIDE);
}

TEST_F(FrameCompose, AClockTickInvalidatesOnlyTheClock) {
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    UpdateWindow(SwitcherWindow);
    ValidateRect(SwitcherWindow, nullptr);
    OnClockTimer(SwitcherWindow);
    RECT update = {};
    EXPECT_TRUE(GetUpdateRect(SwitcherWindow, &update, FALSE));
    EXPECT_EQ(update.left, 500);
    EXPECT_EQ(update.top, 10);
    EXPECT_EQ(update.right, 580);
    EXPECT_EQ(update.bottom, 30);
    UpdateWindow(SwitcherWindow);
    ShowWindow(SwitcherWindow, SW_HIDE);
}

TEST_F(FrameCompose, APaintCopiesTheComposedFrameToTheWindow) {
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(PreviewCanvas, &PreviewSquare, green);
    DeleteObject(green);
    SET_TEXT(titleText, L"painted");
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    InvalidateRect(SwitcherWindow, nullptr, FALSE);
    UpdateWindow(SwitcherWindow);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(SwitcherWindow, &update, FALSE));
    FrameSurface expected;
    ComposeFrameInto(expected.dc);
    EXPECT_TRUE(SameRows(FrameBuffer, expected.dc, kTitleArea));
    EXPECT_TRUE(ColourNear(GetPixel(FrameBuffer, 480, 150), kGreen, 0));
    ShowWindow(SwitcherWindow, SW_HIDE);
}

// AnimateWindow captures the window through WM_PRINTCLIENT: it gets the composed frame.
TEST_F(FrameCompose, PrintClientDrawsTheComposedFrame) {
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(PreviewCanvas, &PreviewSquare, green);
    DeleteObject(green);
    SET_TEXT(titleText, L"printed");
    FrameSurface printed;
    SendMessageW(SwitcherWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc), PRF_CLIENT);
    EXPECT_GT(WhitePixels(printed.dc, TitleRect), 20);
    EXPECT_TRUE(ColourNear(GetPixel(printed.dc, 480, 150), kGreen, 0));
    EXPECT_TRUE(SameRows(printed.dc, FrameBuffer, RECT{0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT}));
}

} // namespace
