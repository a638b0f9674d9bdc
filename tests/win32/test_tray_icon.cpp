// The notification-area icon in this process: added at start, its menu and its
// double click, back after Explorer's "TaskbarCreated", gone with the setting
// and at exit; pause and the start-at-log-on choice from its menu.
#include <gtest/gtest.h>

#include "base/posted_message_filter_win.h"
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/hooks_win.h"
#include "control/stand_aside_win.h"
#include "display/dpi_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "tray/tray_win.h"
#include "window_support_win.h"

namespace {

// Whether the shell holds our icon: a modification that changes nothing fails for an icon it lacks.
bool ShellHoldsIcon() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = SwitcherWindow;
    data.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != 0;
}

// What the menu showed, read from inside its modal loop, and the item then chosen.
std::vector<std::wstring> seenItems;
bool startItemChecked;
int itemToChoose;
UINT_PTR chooserTimer;

void CALLBACK ChooseTrayItem(HWND, UINT, UINT_PTR, DWORD) {
    HWND menuWindow = FindOpenMenuWindow();
    if (!menuWindow || !shownTrayMenu)
        return;
    KillTimer(nullptr, chooserTimer);
    seenItems.clear();
    for (int i = 0; i < GetMenuItemCount(shownTrayMenu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(shownTrayMenu, i, text, 64, MF_BYPOSITION);
        seenItems.push_back(text);
    }
    startItemChecked = (GetMenuState(shownTrayMenu, 2, MF_BYPOSITION) & MF_CHECKED) != 0;
    for (int i = 0; i <= itemToChoose; ++i)
        PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 1);
}

// Alt+Tab pressed while the menu is open: the hook's open arrives inside the menu's loop.
void CALLBACK OpenSwitcherOverMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (!FindOpenMenuWindow() || !shownTrayMenu)
        return;
    KillTimer(nullptr, chooserTimer);
    PostMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
}

// Opens the menu as the shell does on a right click (or the menu key) and chooses item index.
void ChooseFromMenu(int index, LPARAM event = WM_RBUTTONUP) {
    itemToChoose = index;
    seenItems.clear();
    chooserTimer = SetTimer(nullptr, 0, 20, ChooseTrayItem);
    AcceptTimerCallback(chooserTimer); // the gate for posted messages lets our own through
    SendMessageW(SwitcherWindow, WM_TRAY_CALLBACK, 1, event);
    KillTimer(nullptr, chooserTimer);
}

// Whether Zephtab holds this hot key: a second registration in the desktop fails.
bool HeldByZephtab(UINT modifiers, UINT key) {
    HWND probe = CreateTestWindow(L"Hot key probe", WS_OVERLAPPEDWINDOW);
    const bool free = RegisterHotKey(probe, 1, modifiers, key) != 0;
    if (free)
        UnregisterHotKey(probe, 1);
    DestroyWindow(probe);
    return !free;
}

bool AltTabHeldByZephtab() {
    return HeldByZephtab(MOD_ALT, VK_TAB);
}

std::wstring RunValue() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, &type, &data))
        return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data())).c_str();
}

void ReloadWithMore(const MoreOptions& more) {
    WriteStoredMoreOptions(&more);
    ASSERT_EQ(SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0), 1);
}

class TrayIcon : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartSwitcherInProcess());
        // The menu is driven with posts of this very process, which the gate for
        // other programs' posts is not about (it has tests of its own).
        RemovePostedMessageFilter();
    }
    void TearDown() override {
        PauseSwitching(false);
        StopSwitcherInProcess();
    }
};

TEST_F(TrayIcon, ComesAtStartAndGoesWithTheSettingAndWithExplorersRestart) {
    EXPECT_TRUE(IsTrayIconShown());
    EXPECT_TRUE(ShellHoldsIcon());
    MoreOptions more = DEFAULT_MORE_OPTIONS;
    more.trayIcon = 0;
    ASSERT_NO_FATAL_FAILURE(ReloadWithMore(more));
    EXPECT_FALSE(ShellHoldsIcon());
    more.trayIcon = 1;
    ASSERT_NO_FATAL_FAILURE(ReloadWithMore(more));
    EXPECT_TRUE(ShellHoldsIcon());
    // A restarted Explorer knows no icon until the program adds it again.
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = SwitcherWindow;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    SendMessageW(SwitcherWindow, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellHoldsIcon());
    // The icon takes a pause with it: without it nothing could resume.
    PauseSwitching(true);
    more.trayIcon = 0;
    ASSERT_NO_FATAL_FAILURE(ReloadWithMore(more));
    EXPECT_EQ(switchingPaused, 0);
    EXPECT_TRUE(AltTabHeldByZephtab());
}

TEST_F(TrayIcon, IsMadeAgainAtTheSizeOfANewDpi) {
    EXPECT_EQ(IconWidth(ShownTrayIconForTest()), SystemIconSize(MonitorDpi(nullptr), true));
    dpiOverride = 192;
    SendMessageW(SwitcherWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    const int grown = IconWidth(ShownTrayIconForTest());
    dpiOverride = 0;
    EXPECT_EQ(grown, SystemIconSize(192, true));
    EXPECT_GT(grown, GetSystemMetrics(SM_CXSMICON));
    EXPECT_TRUE(ShellHoldsIcon());
}

TEST_F(TrayIcon, TheMenuHoldsFourItemsAndPausesAndResumes) {
    ASSERT_TRUE(AltTabHeldByZephtab());
    ChooseFromMenu(1);
    EXPECT_EQ(seenItems,
              (std::vector<std::wstring>{L"Settings", L"Pause", L"Start at log-on", L"Exit"}));
    EXPECT_TRUE(startItemChecked);
    EXPECT_EQ(switchingPaused, 1);
    EXPECT_FALSE(AltTabHeldByZephtab()); // the system's switcher has Alt+Tab
    EXPECT_FALSE(HeldByZephtab(MOD_ALT | MOD_SHIFT, VK_TAB));
    EXPECT_FALSE(HeldByZephtab(MOD_WIN, VK_F12));
    // The icon turns grey: the application's icon at its grey levels.
    const int size = GetSystemMetrics(SM_CXSMICON);
    const COLORREF paused = IconPixel(ShownTrayIconForTest(), size / 2, size / 2);
    EXPECT_TRUE(
        ColourNear(paused, RGB(GetGValue(paused), GetGValue(paused), GetGValue(paused)), 3));
    // A paused program keeps standing aside through a reload.
    ASSERT_NO_FATAL_FAILURE(ReloadWithMore(DEFAULT_MORE_OPTIONS));
    EXPECT_FALSE(AltTabHeldByZephtab());
    ChooseFromMenu(1, WM_CONTEXTMENU); // the keyboard's menu key
    ASSERT_EQ(seenItems.size(), 4u);
    EXPECT_EQ(seenItems[1], L"Resume");
    EXPECT_EQ(switchingPaused, 0);
    EXPECT_TRUE(AltTabHeldByZephtab());
    EXPECT_TRUE(HeldByZephtab(MOD_WIN, VK_F12));
    EXPECT_NE(IconPixel(ShownTrayIconForTest(), size / 2, size / 2), paused);
}

TEST_F(TrayIcon, PausingCancelsAShownSwitcherFirst) {
    std::vector<HWND> windows = {CreateTestWindow(L"Tray test 1"),
                                 CreateTestWindow(L"Tray test 2")};
    ASSERT_EQ(ReplaceWindowList(windows), 2);
    switcherActive = 1;
    ChooseFromMenu(1);
    EXPECT_EQ(switcherActive, 0);
    EXPECT_EQ(TakePostedCommands(SwitcherWindow), std::vector<WPARAM>{CMD_CANCEL});
    DestroyWindows(&windows);
}

TEST_F(TrayIcon, TheSwitcherOpeningClosesTheMenu) {
    std::vector<HWND> windows = {CreateTestWindow(L"Tray test 1"),
                                 CreateTestWindow(L"Tray test 2")};
    chooserTimer = SetTimer(nullptr, 0, 20, OpenSwitcherOverMenu);
    AcceptTimerCallback(chooserTimer); // the gate for posted messages lets our own through
    SendMessageW(SwitcherWindow, WM_TRAY_CALLBACK, 1, WM_RBUTTONUP);
    KillTimer(nullptr, chooserTimer);
    EXPECT_EQ(shownTrayMenu, nullptr);
    EXPECT_EQ(FindOpenMenuWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    DestroyWindows(&windows);
}

TEST_F(TrayIcon, StartAtLogOnOffRemovesOurValueAndLeavesAnotherCopys) {
    const std::wstring ours = RunValue();
    ASSERT_FALSE(ours.empty());
    ChooseFromMenu(2);
    EXPECT_TRUE(startItemChecked);
    EXPECT_EQ(moreOptions.startAtLogOn, 0);
    EXPECT_EQ(RunValue(), L"");
    MoreOptions stored = {};
    ASSERT_EQ(ReadStoredMoreOptions(&stored, true), MORE_OPTIONS_LOADED);
    EXPECT_EQ(stored.startAtLogOn, 0);
    // The bare form older versions wrote is ours too; another copy's is not.
    const std::wstring bare = ours.substr(1, ours.size() - 2);
    const std::wstring other = L"\"C:\\Elsewhere\\zephtab.exe\"";
    for (const std::wstring& value : {bare, other}) {
        WriteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ASSERT_NO_FATAL_FAILURE(ReloadWithMore(stored));
        EXPECT_EQ(RunValue(), value == other ? other : L"");
    }
    ChooseFromMenu(2);
    EXPECT_FALSE(startItemChecked);
    EXPECT_EQ(RunValue(), ours);
}

TEST_F(TrayIcon, DoubleClickOpensSettingsAndExitEndsTheProgram) {
    SendMessageW(SwitcherWindow, WM_TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindWindowW(nullptr, L"Zephtab Settings")); }));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return !FindWindowW(nullptr, L"Zephtab Settings"); }));
    HWND window = SwitcherWindow;
    ChooseFromMenu(3);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsTrayIconShown());
    SwitcherWindow = window; // for NIM_MODIFY's probe: the shell knows no icon of it now
    EXPECT_FALSE(ShellHoldsIcon());
    SwitcherWindow = nullptr;
}

} // namespace
