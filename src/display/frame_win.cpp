#include "display/frame_win.h"

#include <cwchar>

#include "app/app_win.h"
#include "app/count_of.h"
#include "app/identifiers.h"
#include "display/clock_text.h"
#include "display/preview_fit.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "settings/options.h"

namespace {

constexpr int kShadowOffset = 4;
constexpr RECT kModulePathRect = {10, 357, 590, 375};
constexpr int kPreviewLeft = 387;
constexpr int kPreviewTop = 69;

struct PanelValue {
    const wchar_t* text;
    int x;
    int y;
};

void DrawShadowedLine(const wchar_t* text, RECT rect, DWORD flags) {
    DrawTextWithShadow(FrameBuffer, text, static_cast<UINT>(std::wcslen(text)), &rect, flags,
                       TEXT_COLOUR, SHADOW_COLOUR, kShadowOffset, kShadowOffset);
}

void DrawPanelValues() {
    const PanelValue values[] = {
        {SelectionTexts.windowHandleText, 110, 288}, {SelectionTexts.processIdText, 110, 301},
        {SelectionTexts.memoryText, 110, 314},       {SelectionTexts.priorityText, 110, 327},
        {SelectionTexts.handlesText, 280, 288},      {SelectionTexts.gdiObjectsText, 280, 301},
        {SelectionTexts.userObjectsText, 280, 314},  {SelectionTexts.ioReadsText, 280, 327},
        {SelectionTexts.ioWritesText, 280, 340},     {SelectionTexts.positionText, 430, 288},
    };
    for (const PanelValue& value : values)
        ExtTextOutW(FrameBuffer, value.x, value.y, 0, nullptr, value.text,
                    static_cast<UINT>(std::wcslen(value.text)), nullptr);
}

void DrawModulePath() {
    RECT rect = kModulePathRect;
    DrawTextW(FrameBuffer, SelectionTexts.modulePathText, -1, &rect, DT_END_ELLIPSIS);
}

void DrawClock() {
    wchar_t clockText[CLOCK_TEXT_COUNT];
    FormatCurrentClockText(clockText, CountOf(clockText));
    SelectObject(FrameBuffer, ClockFont);
    DrawShadowedLine(clockText, ClockRect, DT_RIGHT);
}

} // namespace

LRESULT ComposeFrame(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ComposeFrameInto(dc);
    EndPaint(window, &paint);
    return 0;
}

void ComposeFrameInto(HDC dc) {
    BitBlt(FrameBuffer, 0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT, BackgroundBuffer, 0, 0, SRCCOPY);
    SetBkMode(FrameBuffer, TRANSPARENT);
    SelectObject(FrameBuffer, TextFont);
    SetTextColor(FrameBuffer, TEXT_COLOUR);
    DrawShadowedLine(SelectionTexts.titleText, TitleRect, DT_END_ELLIPSIS);
    if (switcherOptions.showProcessInfo)
        DrawPanelValues();
    DrawModulePath();
    DrawClock();
    BitBlt(FrameBuffer, kPreviewLeft, kPreviewTop, PREVIEW_SIZE, PREVIEW_SIZE, PreviewCanvas, 0, 0,
           SRCCOPY);
    // The screen gets exactly one copy per paint; the system clips it to the invalid region.
    BitBlt(dc, 0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT, FrameBuffer, 0, 0, SRCCOPY);
}

LRESULT EraseSwitcherBackground(HDC dc) {
    // A child without a background of its own (the icon strip) passes its erase on
    // with its own DC: it gets the part of the background that lies beneath it.
    POINT origin = {0, 0};
    HWND painted = WindowFromDC(dc);
    if (painted && painted != SwitcherWindow && IsChild(SwitcherWindow, painted))
        MapWindowPoints(painted, SwitcherWindow, &origin, 1);
    BitBlt(dc, 0, 0, SWITCHER_WIDTH, SWITCHER_HEIGHT, BackgroundBuffer, origin.x, origin.y,
           SRCCOPY);
    return 1;
}

void StartClockTimer(HWND window) {
    SetTimer(window, TIMER_CLOCK, 1000, nullptr);
}

void StopClockTimer(HWND window) {
    KillTimer(window, TIMER_CLOCK);
}

void OnClockTimer(HWND window) {
    InvalidateRect(window, &ClockRect, FALSE);
}
