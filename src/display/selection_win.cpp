#include "display/selection_win.h"

#include <commctrl.h>

#include "base/program_handles_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "display/preview_fit.h"
#include "display/process_panel_win.h"
#include "display/process_text.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_probe_win.h"

#ifndef PW_RENDERFULLCONTENT
#define PW_RENDERFULLCONTENT 0x00000002
#endif

bool previewPending;

namespace {

constexpr wchar_t kNoMatchText[] = L"No window matches the typed text";

PreviewFit FitWindow(const WINDOWINFO& info) {
    return FitPreview(static_cast<LONGLONG>(info.rcWindow.right) - info.rcWindow.left,
                      static_cast<LONGLONG>(info.rcWindow.bottom) - info.rcWindow.top,
                      switcherLayout.previewSide);
}

// The live image is wanted, and possible: a window that is gone, minimised or
// without area shows its icon.
bool WantsLivePreview(bool infoRead, const WINDOWINFO& info) {
    return switcherOptions.livePreview && infoRead && !(info.dwStyle & WS_MINIMIZE) &&
           !FitWindow(info).showIcon;
}

void DrawPreviewIcon(HWND window) {
    const int size = switcherLayout.largeIconSize;
    const int position = PreviewIconPosition(switcherLayout.previewSide, size);
    DrawIconEx(PreviewCanvas, position, position, LookupLargeWindowIcon(window), size, size, 0,
               nullptr, DI_NORMAL);
}

// A selection changes only these parts of the frame. The icon strip repaints its
// own changed items; invalidating the whole window would repaint every icon in it.
void RepaintSelectionParts() {
    InvalidateRect(SwitcherWindow, &PreviewBoxRect, FALSE);
    InvalidateRect(SwitcherWindow, &PanelRect, FALSE);
    InvalidateRect(SwitcherWindow, &TitleRect, FALSE);
    UpdateWindow(SwitcherWindow);
}

void ArmLivePreview() {
    // A capture pending for an earlier selection is dropped.
    KillTimer(SwitcherWindow, TIMER_PREVIEW);
    UINT keyboardDelay = 0;
    SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &keyboardDelay, 0);
    SetTimer(SwitcherWindow, TIMER_PREVIEW, PreviewDelayMs(keyboardDelay), nullptr);
    previewPending = true;
    RepaintSelectionParts();
}

void RenderScaledWindow(HWND window, const PreviewFit& fit) {
    // The icon drawn at the selection stays under the image; around a thin image
    // it would show in parts, so the square is emptied for it.
    const int iconPosition =
        PreviewIconPosition(switcherLayout.previewSide, switcherLayout.largeIconSize);
    if (!LiveImageCoversIcon(fit, iconPosition))
        FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    SetGraphicsMode(PreviewCanvas, GM_ADVANCED);
    const XFORM scaled = {fit.scale, 0.0f, 0.0f, fit.scale, fit.offsetX, fit.offsetY};
    SetWorldTransform(PreviewCanvas, &scaled);
    // Full content renders hardware-accelerated windows, which flags 0 shows black;
    // systems that do not know the flag fail the call and get the plain rendering.
    // PrintWindow waits for the window's thread, and the first call may have failed
    // because the window stopped answering: the fallback is made only after a new probe.
    if (!PrintWindow(window, PreviewCanvas, PW_RENDERFULLCONTENT) && WindowAnswers(window))
        PrintWindow(window, PreviewCanvas, 0);
    const XFORM identity = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    SetWorldTransform(PreviewCanvas, &identity);
}

} // namespace

void ShowSelection(int index) {
    if (index < 0 || index >= listedCount)
        return;
    EmptySelectionTexts();
    HighlightStripItem(IconStrip, index);
    FormatPositionText(SelectionTexts.positionText, CountOf(SelectionTexts.positionText), index + 1,
                       listedCount);
    HWND window = WindowList[index].window;
    GetWindowTextW(window, SelectionTexts.titleText, CountOf(SelectionTexts.titleText));
    if (switcherOptions.showProcessInfo)
        UpdateProcessInfo(window);
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    const bool infoRead = GetWindowInfo(window, &info) != 0;
    FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    // The icon first, also under a live image to come: a capture that draws
    // nothing (as PrintWindow does under Wine for another program's window)
    // leaves the icon, and one that draws covers it.
    DrawPreviewIcon(window);
    previewPending = false;
    if (WantsLivePreview(infoRead, info))
        ArmLivePreview();
    else
        RepaintSelectionParts();
}

void ShowSelectedPlace(int index) {
    if (index < 0 || index >= listedCount)
        return;
    HighlightStripItem(IconStrip, index);
    FormatPositionText(SelectionTexts.positionText, CountOf(SelectionTexts.positionText), index + 1,
                       listedCount);
    InvalidateRect(SwitcherWindow, &PanelRect, FALSE);
    UpdateWindow(SwitcherWindow);
}

void ShowNoMatch() {
    EmptySelectionTexts();
    wcscpy_s(SelectionTexts.titleText, CountOf(SelectionTexts.titleText), kNoMatchText);
    FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    previewPending = false;
    RepaintSelectionParts();
}

void OnPreviewTimer(HWND window) {
    KillTimer(window, TIMER_PREVIEW);
    if (!previewPending)
        return;
    CaptureLivePreview();
    InvalidateRect(window, &PreviewBoxRect, TRUE);
    UpdateWindow(window);
}

void CaptureLivePreview() {
    if (!WindowList || selectedIndex < 0 || selectedIndex >= listedCount)
        return;
    HWND window = WindowList[selectedIndex].window;
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetWindowInfo(window, &info))
        return;
    const PreviewFit fit = FitWindow(info);
    // A window that lost its area or stopped answering since its selection keeps its icon.
    if (fit.showIcon || !WindowAnswers(window)) {
        DrawPreviewIcon(window);
        return;
    }
    RenderScaledWindow(window, fit);
}
