#include "control/switcher_scale_win.h"

#include "actions/toolbar_win.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

static_assert(WM_DPICHANGED == 0x02E0, "the DPI change message");

namespace {

StripScale ScaledStrip(const SwitcherLayout& layout) {
    return StripScale{ToRect(layout.iconStrip), layout.largeIconSize,    layout.smallIconSize,
                      layout.largeIconSpacing,  layout.smallIconSpacing, layout.selectionMargin,
                      layout.selectionFrame};
}

} // namespace

void FitSwitcherToDpi(int dpi) {
    UseDisplayDpi(dpi);
    ScaleIconStrip(IconStrip, ScaledStrip(switcherLayout));
    ScaleActionToolbar(ActionToolbar, ToRect(switcherLayout.toolbar), switcherLayout.toolIconSize);
}

void OnSwitcherDpiChanged(HWND window, int dpi, const RECT* suggested) {
    // An open fits the switcher to its monitor before moving it there.
    if (UsableDpi(dpi) == displayDpi)
        return;
    if (!IsWindowVisible(window)) {
        ForgetDisplayDpi();
        return;
    }
    FitSwitcherToDpi(dpi);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, WidthOf(switcherLayout.window),
                 HeightOf(switcherLayout.window), SWP_NOZORDER | SWP_NOACTIVATE);
    // The preview square was made again: the selection is shown anew.
    ShowSelection(selectedIndex);
    InvalidateRect(window, nullptr, TRUE);
}

void OnDisplaySettingsChanged() {
    ForgetDisplayDpi();
}

void OnSystemColoursChanged(HWND window) {
    ForgetDisplayDpi();
    // Common controls take the system's colours when their parent passes the change on.
    SendMessageW(IconStrip, WM_SYSCOLORCHANGE, 0, 0);
    SendMessageW(ActionToolbar, WM_SYSCOLORCHANGE, 0, 0);
    if (!IsWindowVisible(window))
        return;
    FitSwitcherToDpi(displayDpi);
    // The preview square was made again: the selection is shown anew.
    ShowSelection(selectedIndex);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
