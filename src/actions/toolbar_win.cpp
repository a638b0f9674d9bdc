#include "actions/toolbar_win.h"

#include <shellapi.h>

#include "actions/action_texts.h"
#include "actions/opacity_steps.h"
#include "base/program_handles_win.h"
#include "base/count_of.h"
#include "resources/resource_ids.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_probe_win.h"

HWND ActionToolbar;
HIMAGELIST ToolbarImageList;
HWND pinnedWindow;
HMENU contextMenu;

namespace {

// The top-level menu that owns contextMenu: the handle that must be destroyed.
HMENU loadedMenu;
// The top-level menu of the context menu while TrackPopupMenuEx shows it, or
// null. A reload can arrive inside that modal loop; the menu on screen is then
// destroyed only after the loop returns.
HMENU menuOnScreen;

constexpr DWORD kToolbarStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT |
    TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS | CCS_VERT | CCS_NODIVIDER | CCS_NORESIZE | CCS_TOP;
static_assert(kToolbarStyle == 0x54018BC5, "the toolbar's documented style");

// Image indexes follow the load order of the icons, 130 to 133.
constexpr int kRestoreImage = 0;
constexpr int kTransparentImage = 1;
constexpr int kOpaqueImage = 2;
constexpr int kTopmostImage = 3;
constexpr int kToolIcons[] = {IDI_TOOL_RESTORE, IDI_TOOL_TRANSPARENT, IDI_TOOL_OPAQUE,
                              IDI_TOOL_TOPMOST};

TBBUTTON ToolButton(int image, int command) {
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE;
    button.iString = -1;
    return button;
}

// Each icon is loaded at the images' size, from the picture drawn for it when there is one.
HIMAGELIST CreateToolImages(int size) {
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR16, CountOf(kToolIcons), 1);
    for (int id : kToolIcons) {
        HICON icon = static_cast<HICON>(
            LoadImageW(programInstance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
        ImageList_ReplaceIcon(images, -1, icon);
        if (icon)
            DestroyIcon(icon);
    }
    return images;
}

int ToolImageSize() {
    int width = 0, height = 0;
    if (ToolbarImageList)
        ImageList_GetIconSize(ToolbarImageList, &width, &height);
    return width;
}

RECT RectInParentOf(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveToolbar(HWND toolbar, const RECT& place) {
    SetWindowPos(toolbar, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddToolButtons(HWND toolbar) {
    // Top to bottom: pin, unpin, more opaque, more transparent.
    TBBUTTON buttons[] = {
        ToolButton(kTopmostImage, IDC_TOPMOST),
        ToolButton(kRestoreImage, IDC_RESTORE_TOPMOST),
        ToolButton(kOpaqueImage, IDC_OPAQUE),
        ToolButton(kTransparentImage, IDC_TRANSPARENT),
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, CountOf(buttons), reinterpret_cast<LPARAM>(buttons));
}

// The window of the selected entry, or null when nothing valid is selected.
HWND SelectedWindow() {
    if (!WindowList || selectedIndex < 0 || selectedIndex >= listedCount)
        return nullptr;
    HWND window = WindowList[selectedIndex].window;
    return IsWindow(window) ? window : nullptr;
}

// Style changes wait for the window's thread; a window that does not answer is
// left as it is, so that a press on a hung window does nothing rather than wait.
bool CanAdjust(HWND window) {
    return window && WindowAnswers(window);
}

// Changes the window's z-order group in place: its current rectangle is
// passed so it keeps its place and size, and it is not activated, so that the
// switcher stays in front with its focus. The move is posted to the window's
// thread in case it stopped answering since the probe.
void SetTopmostGroup(HWND window, LONG exStyle, HWND group) {
    SetWindowLongW(window, GWL_EXSTYLE, exStyle);
    RECT rect;
    GetWindowRect(window, &rect);
    SetWindowPos(window, group, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// The window's own state, not what this program remembers: another run of it,
// or another program, may have pinned or unpinned it.
bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool StandsAbove(HWND window, HWND other) {
    for (HWND above = GetWindow(other, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (above == window)
            return true;
    return false;
}

void PutSwitcherOnTop() {
    SetWindowPos(SwitcherWindow, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The move reaches the window's thread as a posted request: it lands above the
// switcher when that thread gets to it, which the switcher's watch then undoes.
void PinWindow(HWND window, LONG exStyle) {
    SetTopmostGroup(window, exStyle | WS_EX_TOPMOST, HWND_TOPMOST);
    PutSwitcherOnTop();
}

// A closed window reads as style 0: nothing is undone for it.
void UnpinWindow(HWND window) {
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle != 0)
        SetTopmostGroup(window, exStyle & ~WS_EX_TOPMOST, HWND_NOTOPMOST);
}

LayeredState ReadLayeredState(HWND window) {
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    GetWindowInfo(window, &info);
    LayeredState state = {};
    state.layered = (info.dwExStyle & WS_EX_LAYERED) != 0;
    if (!state.layered)
        return state;
    BYTE alpha = 0;
    DWORD flags = 0;
    // Fails for a window layered through per-pixel alpha (UpdateLayeredWindow):
    // it has no constant alpha, and the step leaves it alone.
    state.alphaKnown = GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) != 0;
    // Attributes set with a colour key alone leave the window fully opaque.
    state.alpha = (flags & LWA_ALPHA) ? alpha : FULL_OPACITY;
    return state;
}

void ApplyOpacityStep(HWND window, OpacityStep step) {
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    switch (step.change) {
    case OpacityChange::None:
        break;
    case OpacityChange::SetAlpha:
        SetLayeredWindowAttributes(window, 0, step.alpha, LWA_ALPHA);
        break;
    case OpacityChange::BecomeLayered:
        SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SetLayeredWindowAttributes(window, 0, step.alpha, LWA_ALPHA);
        break;
    case OpacityChange::StopLayering:
        SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        break;
    }
}

// Menus are destroyed here, except the one on screen, which ShowContextMenu
// destroys when its modal loop ends.
void RetireMenu(HMENU menu) {
    if (menu && menu != menuOnScreen)
        DestroyMenu(menu);
}

void MakeFirstItemDefault(HMENU menu) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    GetMenuItemInfoW(menu, 0, TRUE, &item);
    item.fState |= MFS_DEFAULT;
    SetMenuItemInfoW(menu, 0, TRUE, &item);
}

void ToggleTopmost() {
    HWND target = SelectedWindow();
    if (!CanAdjust(target))
        return;
    // A press undoes a pin whoever made it, this run of the program or another.
    if (IsTopmost(target)) {
        UnpinWindow(target);
        if (target == pinnedWindow)
            pinnedWindow = nullptr;
        return;
    }
    // The window pinned before goes back to the normal group first. One that
    // cannot be unpinned now stays pinned, and so does the press; the target
    // itself was probed just above.
    if (pinnedWindow && pinnedWindow != target && IsWindow(pinnedWindow) &&
        IsTopmost(pinnedWindow)) {
        if (!WindowAnswers(pinnedWindow))
            return;
        UnpinWindow(pinnedWindow);
    }
    LONG exStyle = GetWindowLongW(target, GWL_EXSTYLE);
    if (exStyle == 0)
        return;
    PinWindow(target, exStyle);
    pinnedWindow = target;
}

// Acts on the window this run pinned; when it pinned none that is still pinned
// (the program was restarted, say), on the selected window if it is pinned.
void RestoreTopmost() {
    HWND target =
        IsWindow(pinnedWindow) && IsTopmost(pinnedWindow) ? pinnedWindow : SelectedWindow();
    if (!IsWindow(target) || !IsTopmost(target) || !WindowAnswers(target))
        return;
    UnpinWindow(target);
    if (target == pinnedWindow)
        pinnedWindow = nullptr;
}

void MakeMoreOpaque() {
    HWND target = SelectedWindow();
    if (CanAdjust(target))
        ApplyOpacityStep(target, MoreOpaqueStep(ReadLayeredState(target)));
}

void MakeMoreTransparent() {
    HWND target = SelectedWindow();
    if (CanAdjust(target))
        ApplyOpacityStep(target, MoreTransparentStep(ReadLayeredState(target)));
}

void OpenVendorPage(int menuId) {
    const wchar_t* address = VendorPageAddress(menuId);
    if (address)
        ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

} // namespace

HWND CreateActionToolbar(HWND parent, RECT place, int iconSize) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ActionToolbar =
        CreateWindowExW(WS_EX_TOPMOST, TOOLBARCLASSNAMEW, nullptr, kToolbarStyle, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, parent,
                        nullptr, programInstance, nullptr);
    if (!ActionToolbar)
        return nullptr;
    SendMessageW(ActionToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!ToolbarImageList || ToolImageSize() != iconSize) {
        if (ToolbarImageList)
            ImageList_Destroy(ToolbarImageList);
        ToolbarImageList = CreateToolImages(iconSize);
    }
    SendMessageW(ActionToolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ToolbarImageList));
    AddToolButtons(ActionToolbar);
    FocusActionToolbar(ActionToolbar);
    return ActionToolbar;
}

void ScaleActionToolbar(HWND toolbar, RECT place, int iconSize) {
    if (!toolbar)
        return;
    if (ToolImageSize() != iconSize) {
        HIMAGELIST previous = ToolbarImageList;
        ToolbarImageList = CreateToolImages(iconSize);
        // The toolbar does not own its image list: the new one is attached before
        // the old one goes, and the buttons take the new images' size.
        SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ToolbarImageList));
        SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
        if (previous)
            ImageList_Destroy(previous);
    }
    RECT current = RectInParentOf(toolbar);
    if (!EqualRect(&current, &place))
        MoveToolbar(toolbar, place);
}

void FocusActionToolbar(HWND toolbar) {
    SetFocus(toolbar);
    SendMessageW(toolbar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

void PrepareContextMenu() {
    RetireMenu(loadedMenu);
    loadedMenu = LoadMenuW(programInstance, MAKEINTRESOURCEW(IDR_CONTEXT_MENU));
    contextMenu = GetSubMenu(loadedMenu, 0);
    if (contextMenu)
        MakeFirstItemDefault(contextMenu);
}

void ShowContextMenu(HWND window) {
    // One menu at a time: the system refuses a second popup while one is tracked.
    if (!contextMenu || menuOnScreen)
        return;
    menuOnScreen = loadedMenu;
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenuEx(contextMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y,
                     window, nullptr);
    HMENU shown = menuOnScreen;
    menuOnScreen = nullptr;
    if (shown != loadedMenu)
        RetireMenu(shown); // replaced or released while it was on screen
}

void KeepSwitcherAbovePinnedWindow() {
    if (pinnedWindow && IsWindow(pinnedWindow) && StandsAbove(pinnedWindow, SwitcherWindow))
        PutSwitcherOnTop();
}

bool IsContextMenuShown() {
    return menuOnScreen != nullptr;
}

void CloseContextMenu() {
    if (menuOnScreen)
        EndMenu();
}

const wchar_t* ToolbarButtonText(int commandId) {
    HWND selected = SelectedWindow();
    return ToolbarTooltipText(commandId, selected && IsTopmost(selected));
}

void FillToolbarTooltip(NMTTDISPINFOW* info) {
    info->lpszText = const_cast<wchar_t*>(ToolbarButtonText(static_cast<int>(info->hdr.idFrom)));
}

bool IsToolbarTooltip(HWND window) {
    return window && ActionToolbar &&
           window == reinterpret_cast<HWND>(SendMessageW(ActionToolbar, TB_GETTOOLTIPS, 0, 0));
}

ActionOutcome RunActionCommand(int id) {
    switch (id) {
    case IDC_TOPMOST:
        ToggleTopmost();
        return ACTION_DONE;
    case IDC_RESTORE_TOPMOST:
        RestoreTopmost();
        return ACTION_DONE;
    case IDC_OPAQUE:
        MakeMoreOpaque();
        return ACTION_DONE;
    case IDC_TRANSPARENT:
        MakeMoreTransparent();
        return ACTION_DONE;
    case IDM_VENDOR_SITE:
    case IDM_PRODUCT_SITE:
        OpenVendorPage(id);
        return ACTION_ENDS_SWITCH;
    default:
        return ACTION_NOT_MINE;
    }
}

void ReleaseActions() {
    // The toolbar does not own its image list; it must not draw from a destroyed one.
    if (IsWindow(ActionToolbar))
        SendMessageW(ActionToolbar, TB_SETIMAGELIST, 0, 0);
    if (ToolbarImageList)
        ImageList_Destroy(ToolbarImageList);
    ToolbarImageList = nullptr;
    RetireMenu(loadedMenu);
    loadedMenu = nullptr;
    contextMenu = nullptr;
}
