#include "control/switcher_commands_win.h"

#include "actions/activation_win.h"
#include "actions/toolbar_win.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/hooks_win.h"
#include "control/switcher_navigation.h"
#include "control/switcher_scale_win.h"
#include "display/dpi_win.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

static_assert(WM_SWITCHER_COMMAND < WM_USER, "the command message keeps its number below WM_USER");

namespace {

// The window that had the foreground when the switcher last opened, recorded by
// the open before anything is shown; null when none did.
HWND windowBeforeSwitch;

constexpr DWORD kAnimationMs = 100;
// How often a shown switcher looks for listed windows that were destroyed (Wine
// reports no window destruction to event hooks, so the list is checked instead)
// and for a window it pinned that its program moved above it.
constexpr UINT kSwitcherWatchMs = 50;

// The monitor this open shows the switcher on; null for the primary screen.
HMONITOR switcherMonitor;

void SelectEntry(int index) {
    SetSelectedIndex(index);
    ShowSelection(index);
}

// Null stands for the primary screen, measured as it always was.
HMONITOR ChooseSwitcherMonitor() {
    switch (OpenOnChoice(moreOptions.openOn)) {
    case OPEN_ON_POINTER: {
        POINT pointer = {};
        if (GetCursorPos(&pointer))
            return MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
        break;
    }
    case OPEN_ON_FOREGROUND:
        // A window that closed since Alt+Tab was pressed has no monitor any more.
        if (windowBeforeSwitch && IsWindow(windowBeforeSwitch))
            return MonitorFromWindow(windowBeforeSwitch, MONITOR_DEFAULTTONEAREST);
        break;
    }
    return nullptr;
}

ScreenRect SwitcherMonitorRect() {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (switcherMonitor && GetMonitorInfoW(switcherMonitor, &info))
        return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                info.rcMonitor.bottom};
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

HMONITOR PrimaryMonitor() {
    return MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

// Which windows the list holds in this open: every monitor's, or the switcher monitor's.
void LimitListToSwitcherMonitor() {
    if (!ListsMonitorWindowsOnly(moreOptions.listWindows))
        ListWindowsOfMonitor(nullptr);
    else
        ListWindowsOfMonitor(switcherMonitor ? switcherMonitor : PrimaryMonitor());
}

// The switcher is made for the DPI of the monitor it opens on, then placed inside it.
void MoveSwitcherIntoPlace() {
    FitSwitcherToDpi(MonitorDpi(switcherMonitor ? switcherMonitor : PrimaryMonitor()));
    const int width = WidthOf(switcherLayout.window);
    const int height = HeightOf(switcherLayout.window);
    const SwitcherPlacement place =
        PlaceSwitcher(SwitcherMonitorRect(), width, height, switcherOptions.screenPosition);
    MoveWindow(SwitcherWindow, place.x, place.y, width, height, TRUE);
}

void ShowSwitcherWindow() {
    if (switcherOptions.noAnimation)
        ShowWindow(SwitcherWindow, SW_SHOW);
    else
        AnimateWindow(SwitcherWindow, kAnimationMs, AW_CENTER);
}

void HideSwitcherWindow() {
    if (switcherOptions.noAnimation)
        ShowWindow(SwitcherWindow, SW_HIDE);
    else
        AnimateWindow(SwitcherWindow, kAnimationMs, AW_HIDE | AW_CENTER);
}

// What the switcher does while it is shown, besides its window.
void StartShownSwitcherWatch() {
    InstallMouseHook();
    SetTimer(SwitcherWindow, TIMER_SWITCHER_WATCH, kSwitcherWatchMs, nullptr);
}

void StopShownSwitcherWatch() {
    RemoveMouseHook();
    KillTimer(SwitcherWindow, TIMER_SWITCHER_WATCH);
}

bool CanTakeForegroundBack(HWND window) {
    return window && window != SwitcherWindow && IsWindow(window) && IsWindowVisible(window);
}

// The foreground goes back before the switcher hides: hidden first, it would let
// the system activate the next window in z-order, an always-on-top one if any.
void CancelSwitcher() {
    if (IsWindowVisible(SwitcherWindow) && CanTakeForegroundBack(windowBeforeSwitch))
        SetForegroundWindow(windowBeforeSwitch);
    HideSwitcher();
}

// Fewer than two entries are left while the switcher is shown: it ends as an
// open that found that many would.
void EndWithFewWindows() {
    EndSwitchWithoutShowing();
    if (listedCount == 1) {
        ActivateChosenWindow(WindowList[0].window);
        HideSwitcher();
    } else {
        CancelSwitcher();
    }
}

void OpenSwitcher() {
    // An open while the switcher is shown keeps the window recorded before it.
    HWND foreground = GetForegroundWindow();
    if (foreground != SwitcherWindow)
        windowBeforeSwitch = foreground;
    switcherMonitor = ChooseSwitcherMonitor();
    LimitListToSwitcherMonitor();
    const int count = RefreshWindowList();
    if (count == 0) {
        EndSwitchWithoutShowing();
        return;
    }
    if (count == 1) {
        ActivateChosenWindow(WindowList[0].window);
        EndSwitchWithoutShowing();
        return;
    }
    StartShownSwitcherWatch();
    MoveSwitcherIntoPlace();
    ShowSwitcherWindow();
    SetFocus(IconStrip);
    // The system lets this process take the foreground from another program: its keyboard
    // hook (or its hot key) received the user's Alt+Tab, the last input event.
    SetForegroundWindow(SwitcherWindow);
    // The list is taken again now that the switcher is on screen.
    if (RefreshWindowList() < 2) {
        EndWithFewWindows();
        return;
    }
    SelectEntry(switcherOptions.selectSecondOnOpen ? 1 : 0);
}

// The chosen window takes the foreground while the switcher is still shown. Hidden first,
// the switcher would let the system activate the next window in z-order, the one left,
// whose program may take that activation after the chosen one's (Wine does, a moment
// later): the left window would end in front with the keyboard, over the chosen one.
void ActivateSelectedWindow() {
    // After a step on an empty list the index can be -1: nothing is activated then.
    if (selectedIndex >= 0 && selectedIndex < listedCount)
        ActivateChosenWindow(WindowList[selectedIndex].window);
    HideSwitcher();
}

} // namespace

void RunSwitcherCommand(WPARAM code) {
    if (IsNavigationCommand(code)) {
        SelectEntry(NavigatedIndex(code, selectedIndex, listedCount));
        return;
    }
    switch (code) {
    case CMD_OPEN:
        OpenSwitcher();
        break;
    case CMD_ACTIVATE:
        ActivateSelectedWindow();
        break;
    case CMD_CANCEL:
        CancelSwitcher();
        break;
    }
}

void HideSwitcher() {
    // The menu's owner is going out of sight: left open, the menu would stay on screen.
    CloseContextMenu();
    StopShownSwitcherWatch();
    HideSwitcherWindow();
    DestroyStripImageList();
    // The preview timer is left running on purpose: it fires once and stops itself, and a
    // capture it makes now only draws into the hidden canvas, which the next selection clears.
}

void ReleaseOpenSwitcher() {
    StopShownSwitcherWatch();
    DestroyStripImageList();
}

void OnSwitcherWatchTimer() {
    KeepSwitcherAbovePinnedWindow();
    if (RemoveClosedWindows() == 0)
        return;
    if (listedCount >= 2)
        ShowSelection(selectedIndex);
    else
        EndWithFewWindows();
}

void OnIconStripClick(const NMITEMACTIVATE* click) {
    if (click->iItem != -1) {
        SelectEntry(click->iItem);
        return;
    }
    // A click on empty space keeps the selection: show it again. Item -1 would mean
    // every item to the list view, so nothing is re-selected while nothing is selected.
    if (selectedIndex < 0)
        return;
    HighlightStripItem(IconStrip, selectedIndex);
}
