#include "app/app_win.h"

#include <commctrl.h>

#include "access/switcher_access_win.h"
#include "access/toolbar_access_win.h"
#include "actions/toolbar_win.h"
#include "base/identifiers.h"
#include "base/posted_message_filter_win.h"
#include "base/program_handles_win.h"
#include "control/hooks_win.h"
#include "control/stand_aside_win.h"
#include "control/switcher_commands_win.h"
#include "control/switcher_scale_win.h"
#include "display/frame_win.h"
#include "display/process_panel_win.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "settings/settings_program_win.h"
#include "settings/settings_store_win.h"
#include "tray/tray_win.h"
#include "windowlist/window_view_win.h"
#include "windowlist/cloaked_window_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/program_icons_win.h"

HINSTANCE programInstance;
HWND SwitcherWindow;

namespace {

// Never shown: owning the switcher keeps it off the taskbar, where Wine's
// puts every shown window without an owner, tool windows among them.
HWND switcherOwner;

constexpr wchar_t kHotKeyFailureText[] =
    L"Cannot Register all Alt+Tab Keys. Please Unload any other application\n"
    L"(if any) that is also providing Alt+Tab functionality. Zephtab will\n"
    L"run but other applications might interfear in its proper functionality.";

void RegisterSwitcherHotKeys() {
    if (ClaimHotKeys())
        return;
    MessageBoxW(nullptr, kHotKeyFailureText, L"", MB_OK);
}

void MakeLayered(HWND window, BYTE alpha) {
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

void MakeOpaque(HWND window) {
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_LAYERED)
        SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
}

// At start-up and at every reload, in this order: the start at log-on is
// renewed (or our own value removed), the context menu prepared, and the
// background drawn for the options.
void RenewForCurrentOptions(HWND window) {
    if (moreOptions.startAtLogOn)
        RenewStartAtLogon(window);
    else
        RemoveStartAtLogon(window);
    PrepareContextMenu();
    DrawStaticBackground();
}

void ApplyToolbarVisibility() {
    if (switcherOptions.showToolbar) {
        ShowWindow(ActionToolbar, SW_SHOW);
        FocusActionToolbar(ActionToolbar);
    } else {
        ShowWindow(ActionToolbar, SW_HIDE);
    }
}

LRESULT OnHotKey(WPARAM id, DWORD messageTime) {
    if (id == HOTKEY_EXIT)
        DestroyWindow(SwitcherWindow);
    // The keyboard hook does the switching; these arrive only for a Tab it missed.
    else if (id == HOTKEY_ALT_TAB || id == HOTKEY_ALT_SHIFT_TAB)
        OnAltTabHotKey(messageTime);
    return 0;
}

// Notifications come from our own controls, sent on this thread. The system
// copies no WM_NOTIFY from another thread or process: its lParam would point
// into the sender's memory, so it is not read at all (posted ones never get
// here, see InstallPostedMessageFilter).
LRESULT OnNotify(LPARAM lParam) {
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return 0;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (IconStrip && header->hwndFrom == IconStrip) {
        if (header->code == NM_CUSTOMDRAW)
            return DrawIconStripItem(reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
        if (header->code != NM_CLICK)
            return 0;
        OnIconStripClick(reinterpret_cast<const NMITEMACTIVATE*>(header));
        return 1;
    }
    if (header->code == TTN_GETDISPINFOW && IsToolbarTooltip(header->hwndFrom))
        FillToolbarTooltip(reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header)));
    return 0;
}

// The system sends WM_DPICHANGED on this thread with a rectangle of its own;
// another thread or program could send any lParam (posted ones never get here).
LRESULT OnDpiChanged(HWND window, WPARAM dpis, LPARAM lParam) {
    const bool fromSystem = InSendMessageEx(nullptr) == ISMEX_NOSEND && lParam != 0;
    OnSwitcherDpiChanged(window, LOWORD(dpis),
                         fromSystem ? reinterpret_cast<const RECT*>(lParam) : nullptr);
    FitTrayIconToDpi();
    return 0;
}

LRESULT OnSettingChange(HWND window, WPARAM setting) {
    // The strip's and the preview's icons take the system's sizes.
    if (setting == SPI_SETICONMETRICS) {
        OnDisplaySettingsChanged();
        FitTrayIconToDpi();
    } else if (setting == SPI_SETHIGHCONTRAST)
        OnSystemColoursChanged(window);
    return 0;
}

// Toolbar and menu commands; a vendor page ends the switch as Escape does.
bool OnActionCommand(int id) {
    switch (RunActionCommand(id)) {
    case ACTION_NOT_MINE:
        return false;
    case ACTION_ENDS_SWITCH:
        CancelSwitch();
        return true;
    case ACTION_DONE:
        break;
    }
    return true;
}

void ReleaseSwitcherOwner() {
    if (switcherOwner)
        DestroyWindow(switcherOwner);
    switcherOwner = nullptr;
}

LRESULT OnTimer(HWND window, WPARAM id) {
    if (id == TIMER_CLOCK)
        OnClockTimer(window);
    else if (id == TIMER_PREVIEW)
        OnPreviewTimer(window);
    else if (id == TIMER_SWITCHER_WATCH)
        OnSwitcherWatchTimer();
    else if (id == TIMER_FOREGROUND_WATCH)
        OnForegroundWatchTimer();
    return 0;
}

} // namespace

void RegisterSwitcherClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DROPSHADOW;
    windowClass.lpfnWndProc = SwitcherWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ZEPHTAB_WINDOW_CLASS;
    RegisterClassExW(&windowClass);
}

BOOL InitSwitcher(HINSTANCE instance) {
    LoadOptions(&switcherOptions);
    LoadMoreOptions(&moreOptions);
    LoadProgramPatterns();
    switcherOptions.switcherAlpha = StartupAlpha(switcherOptions.switcherAlpha);
    programInstance = instance;
    switcherOwner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", nullptr, WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, instance, nullptr);
    SwitcherWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ZEPHTAB_WINDOW_CLASS,
                                     nullptr, WS_POPUP | WS_BORDER, 200, 200, SWITCHER_WIDTH,
                                     SWITCHER_HEIGHT, switcherOwner, nullptr, instance, nullptr);
    if (!SwitcherWindow) {
        ReleaseSwitcherOwner();
        return FALSE;
    }
    InstallPostedMessageFilter();
    if (switcherOptions.switcherAlpha != OPAQUE_ALPHA)
        MakeLayered(SwitcherWindow, switcherOptions.switcherAlpha);
    InstallKeyboardHook();
    StartWindowUseWatch();
    InitSwitcherDisplay(SwitcherWindow);
    RenewForCurrentOptions(SwitcherWindow);
    StartClockTimer(SwitcherWindow);
    RegisterSwitcherHotKeys();
    WatchForegroundForPassThrough();
    CreateIconStrip(SwitcherWindow);
    CreateActionToolbar(SwitcherWindow, ToRect(switcherLayout.toolbar),
                        switcherLayout.toolIconSize);
    ServeToolbarAccess(ActionToolbar);
    FitSwitcherToDpi(displayDpi);
    ApplyToolbarVisibility();
    UpdateWindow(SwitcherWindow);
    // Last: the shell is asked by a sent message, and while this thread waits for
    // its answer it answers messages sent to it, as if its start were over; every
    // window of the switcher must exist by then.
    InitTray(SwitcherWindow);
    return TRUE;
}

LRESULT ReloadOptions(HWND window) {
    LoadOptions(&switcherOptions);
    LoadMoreOptions(&moreOptions);
    LoadProgramPatterns();
    WatchForegroundForPassThrough();
    ApplyTrayOption(window);
    // Unlike start-up, a reload applies even a nearly invisible opacity as asked.
    if (switcherOptions.switcherAlpha != OPAQUE_ALPHA)
        MakeLayered(window, switcherOptions.switcherAlpha);
    else
        MakeOpaque(window);
    ApplyToolbarVisibility();
    // The next fill makes the images of the new size; the grid follows them now.
    ApplyStripIconSpacing(IconStrip);
    RenewForCurrentOptions(window);
    return 1;
}

void ShutDownSwitcher(HWND window) {
    ReleaseSwitcherDisplay();
    RemoveTrayIcon();
    StopForegroundWatch();
    ReleaseHotKeys();
    RemoveKeyboardHook();
    StopWindowUseWatch();
    StopClockTimer(window);
    // The program can be closed while the switcher is shown: release what an open holds.
    ReleaseOpenSwitcher();
    ReleaseIconStrip();
    ReleaseActions();
    ReleaseCloakQuery();
    ReleaseProgramIcons();
    RemovePostedMessageFilter();
    ReleaseProcessPanel();
    ReleaseSwitcherAccess();
    // Let go first: destroying an owner destroys what it owns, this window too.
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
    ReleaseSwitcherOwner();
}

LRESULT CALLBACK SwitcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        ShutDownSwitcher(window);
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        return ComposeFrame(window);
    case WM_PRINTCLIENT: // how AnimateWindow captures the window
        ComposeFrameInto(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return EraseSwitcherBackground(reinterpret_cast<HDC>(wParam));
    case WM_NOTIFY:
        return OnNotify(lParam);
    case WM_SWITCHER_COMMAND:
        if (wParam == CMD_OPEN || wParam == CMD_OPEN_PROGRAM)
            CloseTrayMenu(); // the switcher takes the keyboard from the icon's menu
        RunSwitcherCommand(wParam, lParam);
        return 0;
    case WM_COMMAND:
        if (!OnActionCommand(LOWORD(wParam)))
            break;
        return 0;
    case WM_TIMER:
        return OnTimer(window, wParam);
    case WM_RBUTTONUP:
        ShowContextMenu(window);
        return 0;
    case WM_CONTEXTMENU: // a right click on the strip or the toolbar, passed up to us
        if (IsWindowVisible(window))
            ShowContextMenu(window);
        return 0;
    case WM_HOTKEY:
        return OnHotKey(wParam, static_cast<DWORD>(GetMessageTime()));
    case WM_RELOAD_OPTIONS:
        return ReloadOptions(window);
    case WM_ANOTHER_START: // the user started the program again: show that it runs
        OpenSettingsProgram();
        return 1;
    case WM_DPICHANGED:
        return OnDpiChanged(window, wParam, lParam);
    case WM_DISPLAYCHANGE:
        OnDisplaySettingsChanged();
        FitTrayIconToDpi();
        break;
    case WM_SETTINGCHANGE:
        return OnSettingChange(window, wParam);
    case WM_SYSCOLORCHANGE:
        OnSystemColoursChanged(window);
        return 0;
    case WM_GETOBJECT:
        return OnGetObject(window, wParam, lParam);
    case WM_TRAY_CALLBACK:
        OnTrayCallback(window, lParam);
        return 0;
    }
    if (IsTaskbarCreatedMessage(message))
        OnTaskbarCreated();
    return DefWindowProcW(window, message, wParam, lParam);
}
