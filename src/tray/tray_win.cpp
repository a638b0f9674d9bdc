#include "tray/tray_win.h"

#include "base/posted_message_filter_win.h"

#include <shellapi.h>

#include "base/count_of.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/stand_aside_win.h"
#include "display/dpi_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "settings/settings_store_win.h"

static_assert(WM_TRAY_CALLBACK >= WM_APP && WM_TRAY_CALLBACK < 0xC000,
              "the icon's callback is a private message of the application range");

HMENU shownTrayMenu;

namespace {

constexpr UINT kTrayIconId = 1;
constexpr wchar_t kTip[] = L"Zephtab";
constexpr wchar_t kPausedTip[] = L"Zephtab (paused)";
constexpr wchar_t kSettingsProgram[] = L"zephtab-settings.exe";

UINT taskbarCreatedMessage;
bool trayIconShown;
// Loaded at the size the system asks for, and a grey copy for a pause; both
// destroyed with the icon.
HICON trayIcon;
HICON pausedTrayIcon;
int trayIconSize;

// The icon's colours turned to their grey: a paused Zephtab looks switched off.
HICON MakeGreyIcon(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return nullptr;
    HICON grey = nullptr;
    BITMAP bitmap = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = bitmap.bmWidth;
        format.bmiHeader.biHeight = -bitmap.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        const int pixels = bitmap.bmWidth * bitmap.bmHeight;
        RGBQUAD* bits = static_cast<RGBQUAD*>(
            HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(pixels) * sizeof(RGBQUAD)));
        HDC screen = GetDC(nullptr);
        if (bits && GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), bits,
                              &format, DIB_RGB_COLORS)) {
            for (int i = 0; i < pixels; ++i) {
                const BYTE level = static_cast<BYTE>(
                    (bits[i].rgbRed * 30 + bits[i].rgbGreen * 59 + bits[i].rgbBlue * 11) / 100);
                bits[i].rgbRed = bits[i].rgbGreen = bits[i].rgbBlue = level;
            }
            SetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), bits, &format,
                      DIB_RGB_COLORS);
            grey = CreateIconIndirect(&info);
        }
        ReleaseDC(nullptr, screen);
        if (bits)
            HeapFree(GetProcessHeap(), 0, bits);
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return grey;
}

HICON ShownTrayIcon() {
    return switchingPaused && pausedTrayIcon ? pausedTrayIcon : trayIcon;
}

NOTIFYICONDATAW IconData() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = SwitcherWindow;
    data.uID = kTrayIconId;
    return data;
}

void FillTip(NOTIFYICONDATAW* data) {
    data->uFlags |= NIF_TIP;
    lstrcpynW(data->szTip, switchingPaused ? kPausedTip : kTip,
              static_cast<int>(CountOf(data->szTip)));
}

// The small icon's size at the DPI of the primary monitor, where the notification
// area is: what it draws without scaling.
int WantedTrayIconSize() {
    const POINT origin = {0, 0};
    return SystemIconSize(MonitorDpi(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY)), true);
}

void DestroyTrayIcons() {
    if (trayIcon)
        DestroyIcon(trayIcon);
    if (pausedTrayIcon)
        DestroyIcon(pausedTrayIcon);
    trayIcon = pausedTrayIcon = nullptr;
    trayIconSize = 0;
}

void LoadTrayIcon() {
    if (trayIcon)
        return;
    trayIconSize = WantedTrayIconSize();
    trayIcon = static_cast<HICON>(LoadImageW(programInstance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                             trayIconSize, trayIconSize, LR_DEFAULTCOLOR));
    pausedTrayIcon = MakeGreyIcon(trayIcon);
}

void AddTrayIcon() {
    LoadTrayIcon();
    NOTIFYICONDATAW data = IconData();
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    data.hIcon = ShownTrayIcon();
    FillTip(&data);
    // Fails without a notification area; "TaskbarCreated" brings the icon later.
    trayIconShown = Shell_NotifyIconW(NIM_ADD, &data) != 0;
    if (!trayIconShown)
        return;
    // Version 3: Enter on the icon and the menu key reach the callback too.
    data.uVersion = NOTIFYICON_VERSION;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
}

// The icon and its tip say whether Zephtab is paused.
void ShowPauseState() {
    if (!trayIconShown)
        return;
    NOTIFYICONDATAW data = IconData();
    data.uFlags = NIF_ICON;
    data.hIcon = ShownTrayIcon();
    FillTip(&data);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

// Zephtab Settings is the program beside this one; one that is open already comes forward.
void OpenSettings() {
    HWND open = FindWindowW(L"#32770", L"Zephtab Settings");
    if (open) {
        SetForegroundWindow(open);
        return;
    }
    wchar_t path[MAX_PATH + 32];
    const DWORD length = GetModuleFileNameW(programInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t* name = path;
    for (wchar_t* c = path; *c; ++c)
        if (*c == L'\\' || *c == L'/')
            name = c + 1;
    lstrcpynW(name, kSettingsProgram, static_cast<int>(CountOf(path) - (name - path)));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void ToggleStartAtLogOn(HWND window) {
    moreOptions.startAtLogOn = moreOptions.startAtLogOn ? 0 : 1;
    WriteStoredMoreOptions(&moreOptions);
    if (moreOptions.startAtLogOn)
        RenewStartAtLogon(window);
    else
        RemoveStartAtLogon(window);
}

void SetPaused(bool paused) {
    PauseSwitching(paused);
    ShowPauseState();
}

HMENU BuildTrayMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    AppendMenuW(menu, MF_STRING, IDM_TRAY_SETTINGS, L"Settings");
    AppendMenuW(menu, MF_STRING, IDM_TRAY_PAUSE, switchingPaused ? L"Resume" : L"Pause");
    AppendMenuW(menu, MF_STRING | (moreOptions.startAtLogOn ? MF_CHECKED : MF_UNCHECKED),
                IDM_TRAY_START_AT_LOGON, L"Start at log-on");
    AppendMenuW(menu, MF_STRING, IDM_TRAY_EXIT, L"Exit");
    SetMenuDefaultItem(menu, IDM_TRAY_SETTINGS, FALSE);
    return menu;
}

void RunTrayCommand(HWND window, UINT id) {
    switch (id) {
    case IDM_TRAY_SETTINGS:
        OpenSettings();
        break;
    case IDM_TRAY_PAUSE:
        SetPaused(!switchingPaused);
        break;
    case IDM_TRAY_START_AT_LOGON:
        ToggleStartAtLogOn(window);
        break;
    case IDM_TRAY_EXIT:
        DestroyWindow(window); // as Win+F12
        break;
    }
}

void ShowTrayMenu(HWND window) {
    if (shownTrayMenu)
        return; // a click that arrives while the menu is open
    shownTrayMenu = BuildTrayMenu();
    if (!shownTrayMenu)
        return;
    POINT at = {};
    GetCursorPos(&at);
    // The usual rules: the owner in front so that a click elsewhere closes the
    // menu, and a message after it so that a second opening works at once.
    SetForegroundWindow(window);
    const UINT id = static_cast<UINT>(
        TrackPopupMenuEx(shownTrayMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y,
                         window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(shownTrayMenu);
    shownTrayMenu = nullptr;
    RunTrayCommand(window, id);
}

} // namespace

void InitTray(HWND window) {
    taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    AcceptPostedRegisteredMessage(taskbarCreatedMessage);
    ApplyTrayOption(window);
}

void ApplyTrayOption(HWND) {
    if (moreOptions.trayIcon) {
        if (!trayIconShown)
            AddTrayIcon();
        return;
    }
    RemoveTrayIcon();
    // Without the icon nothing could resume: the icon takes its pause with it.
    if (switchingPaused)
        PauseSwitching(false);
}

void RemoveTrayIcon() {
    if (trayIconShown) {
        NOTIFYICONDATAW data = IconData();
        Shell_NotifyIconW(NIM_DELETE, &data);
        trayIconShown = false;
    }
    DestroyTrayIcons();
}

void FitTrayIconToDpi() {
    if (!trayIconShown || WantedTrayIconSize() == trayIconSize)
        return;
    // The shell keeps its own copy: the old icons can go before the new one is given.
    DestroyTrayIcons();
    LoadTrayIcon();
    ShowPauseState();
}

bool IsTaskbarCreatedMessage(UINT message) {
    return taskbarCreatedMessage != 0 && message == taskbarCreatedMessage;
}

void OnTaskbarCreated() {
    // The new taskbar knows no icon of ours, also when we had shown one; it may
    // come with a new DPI (Explorer restarts after some changes of scale).
    trayIconShown = false;
    DestroyTrayIcons();
    if (moreOptions.trayIcon)
        AddTrayIcon();
}

void OnTrayCallback(HWND window, LPARAM event) {
    switch (LOWORD(event)) {
    case WM_LBUTTONDBLCLK:
    case NIN_KEYSELECT:
        OpenSettings();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        ShowTrayMenu(window);
        break;
    }
}

void CloseTrayMenu() {
    if (shownTrayMenu)
        EndMenu();
}

bool IsTrayIconShown() {
    return trayIconShown;
}

HICON ShownTrayIconForTest() {
    return trayIconShown ? ShownTrayIcon() : nullptr;
}
