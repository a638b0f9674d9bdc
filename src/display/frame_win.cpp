#include "display/frame_win.h"

#include <cwchar>

#include "base/program_handles_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "display/clock_text.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "settings/options.h"
#include "windowlist/window_view_win.h"

namespace {

void DrawShadowedLine(const wchar_t* text, RECT rect, DWORD flags, COLORREF colour) {
    DrawSwitcherText(FrameBuffer, text, rect, flags, colour, switcherLayout.textShadowOffset);
}

void DrawPanelValues() {
    for (const PanelRow& row : kPanelRows) {
        const wchar_t* text = PanelValueText(row.value);
        ExtTextOutW(FrameBuffer, ScaledForDisplay(row.valueX), ScaledForDisplay(row.y), 0, nullptr,
                    text, static_cast<UINT>(std::wcslen(text)), nullptr);
    }
}

void DrawModulePath() {
    RECT rect = ToRect(switcherLayout.modulePath);
    DrawTextW(FrameBuffer, SelectionTexts.modulePathText, -1, &rect, DT_END_ELLIPSIS);
}

void DrawClock() {
    wchar_t clockText[CLOCK_TEXT_COUNT];
    FormatCurrentClockText(clockText, CountOf(clockText));
    SelectObject(FrameBuffer, ClockFont);
    DrawShadowedLine(clockText, ClockRect, DT_RIGHT, switcherPalette.text);
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
    BitBlt(FrameBuffer, 0, 0, WidthOf(switcherLayout.window), HeightOf(switcherLayout.window),
           BackgroundBuffer, 0, 0, SRCCOPY);
    SetBkMode(FrameBuffer, TRANSPARENT);
    SelectObject(FrameBuffer, TextFont);
    DrawShadowedLine(SelectionTexts.titleText, TitleRect, DT_END_ELLIPSIS,
                     switcherPalette.titleText);
    SetTextColor(FrameBuffer, switcherPalette.text);
    // The end of a long typed text is what was typed last: it stays in sight.
    DrawShadowedLine(TypedText(), ToRect(switcherLayout.typedText),
                     DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, switcherPalette.text);
    if (switcherOptions.showProcessInfo)
        DrawPanelValues();
    DrawModulePath();
    DrawClock();
    const int side = switcherLayout.previewSide;
    BitBlt(FrameBuffer, switcherLayout.previewLeft, switcherLayout.previewTop, side, side,
           PreviewCanvas, 0, 0, SRCCOPY);
    // The screen gets exactly one copy per paint; the system clips it to the invalid region.
    BitBlt(dc, 0, 0, WidthOf(switcherLayout.window), HeightOf(switcherLayout.window), FrameBuffer,
           0, 0, SRCCOPY);
}

LRESULT EraseSwitcherBackground(HDC dc) {
    // A child without a background of its own (the icon strip) passes its erase on
    // with its own DC: it gets the part of the background that lies beneath it.
    POINT origin = {0, 0};
    HWND painted = WindowFromDC(dc);
    if (painted && painted != SwitcherWindow && IsChild(SwitcherWindow, painted))
        MapWindowPoints(painted, SwitcherWindow, &origin, 1);
    BitBlt(dc, 0, 0, WidthOf(switcherLayout.window), HeightOf(switcherLayout.window),
           BackgroundBuffer, origin.x, origin.y, SRCCOPY);
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
