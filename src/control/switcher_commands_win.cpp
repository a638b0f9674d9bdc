#include "control/switcher_commands_win.h"

#include "access/switcher_access_win.h"
#include "actions/activation_win.h"
#include "actions/toolbar_win.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/hooks_win.h"
#include "control/stand_aside_win.h"
#include "control/switcher_navigation.h"
#include "control/switcher_scale_win.h"
#include "control/typed_keys_win.h"
#include "display/dpi_win.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_view_win.h"

static_assert(WM_SWITCHER_COMMAND < WM_USER, "the command message keeps its number below WM_USER");

AnimateWindowProc animateSwitcherWindow = AnimateWindow;

namespace {

// The window that had the foreground when the switcher last opened, recorded by
// the open before anything is shown; null when none did.
HWND windowBeforeSwitch;

constexpr DWORD kAnimationMs = 100;
// How often a shown switcher looks for listed windows that were destroyed (Wine
// reports no window destruction to event hooks, so the list is checked instead)
// and for a window it pinned that its program moved above it.
constexpr UINT kSwitcherWatchMs = 50;

// Whether a key was typed since the switcher opened: it may have left a dead key waiting.
bool keysTypedInThisOpening;

// The list is read ahead for typing only while the user gives no command, so
// that no step waits for it.
DWORD lastCommandTime;
constexpr DWORD kQuietBeforeReadingAheadMs = 150;

// The monitor this open shows the switcher on; null for the primary screen.
HMONITOR switcherMonitor;

void SelectEntry(int index) {
    SetSelectedIndex(index);
    ShowSelection(index);
    AnnounceSelection(index);
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

// The user's "no animations" in the system wins over the option; a system that
// cannot tell leaves the option alone.
bool AnimatesSwitcher() {
    BOOL systemAnimates = TRUE;
    SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &systemAnimates, 0);
    return !switcherOptions.noAnimation && systemAnimates;
}

void ShowSwitcherWindow() {
    if (AnimatesSwitcher())
        animateSwitcherWindow(SwitcherWindow, kAnimationMs, AW_CENTER);
    else
        ShowWindow(SwitcherWindow, SW_SHOW);
}

void HideSwitcherWindow() {
    if (AnimatesSwitcher())
        animateSwitcherWindow(SwitcherWindow, kAnimationMs, AW_HIDE | AW_CENTER);
    else
        ShowWindow(SwitcherWindow, SW_HIDE);
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

bool IsOtherProgramsWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId != GetCurrentProcessId();
}

bool OtherProgramStandsAbove(HWND window) {
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (IsWindowVisible(above) && IsOtherProgramsWindow(above))
            return true;
    return false;
}

// A program started while the switcher is shown may put its window above it
// (an always-on-top one) or take the foreground; the switcher takes both back,
// as the keys held for it are still the user's. Its own menu and tooltips are
// left above it.
void KeepSwitcherInFront() {
    if (OtherProgramStandsAbove(SwitcherWindow))
        SetWindowPos(SwitcherWindow, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND foreground = GetForegroundWindow();
    if (foreground && IsOtherProgramsWindow(foreground)) {
        SetForegroundWindow(SwitcherWindow);
        SetFocus(IconStrip);
    }
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

void ActivateListedWindow(HWND window) {
    NoteWindowUsed(window);
    ActivateChosenWindow(window);
}

// Fewer than two entries are left while the switcher is shown: it ends as an
// open that found that many would.
void EndWithFewWindows() {
    EndSwitchWithoutShowing();
    if (listedCount == 1) {
        ActivateListedWindow(WindowList[0].window);
        HideSwitcher();
    } else {
        CancelSwitcher();
    }
}

HKL LayoutOfWindowBeforeSwitch() {
    return GetKeyboardLayout(
        windowBeforeSwitch ? GetWindowThreadProcessId(windowBeforeSwitch, nullptr) : 0);
}

// packedKey: the key above Tab that asked for one program's windows, sent on
// when that program has fewer than two; 0 for an open by Alt+Tab.
void OpenSwitcher(LPARAM packedKey = 0) {
    const bool oneProgram = packedKey != 0;
    ForgetWindowView();
    // An open while the switcher is shown keeps the window recorded before it.
    HWND foreground = GetForegroundWindow();
    // A pass-through program came in front before it was judged: its Alt+Tab goes
    // back to it, and no entry of an earlier list is left to activate.
    if (foreground != SwitcherWindow && JudgeForegroundWindow(foreground)) {
        EndSwitchWithoutShowing();
        ReplaceWindowList(nullptr, 0);
        GiveAltTabBack();
        return;
    }
    if (foreground != SwitcherWindow)
        windowBeforeSwitch = foreground;
    NoteWindowUsed(windowBeforeSwitch);
    if (oneProgram)
        ListProgramOf(windowBeforeSwitch);
    switcherMonitor = ChooseSwitcherMonitor();
    LimitListToSwitcherMonitor();
    const int count = RefreshWindowList();
    if (oneProgram && count < 2) {
        ForgetWindowView();
        EndSwitchWithoutShowing();
        SendKeyOn(packedKey);
        return;
    }
    if (count == 0) {
        EndSwitchWithoutShowing();
        return;
    }
    if (count == 1) {
        ActivateListedWindow(WindowList[0].window);
        EndSwitchWithoutShowing();
        return;
    }
    MoveSwitcherIntoPlace();
    ShowSwitcherWindow();
    SetFocus(IconStrip);
    // The system lets this process take the foreground from another program: its keyboard
    // hook (or its hot key) received the user's Alt+Tab, the last input event.
    SetForegroundWindow(SwitcherWindow);
    // The list is taken again now that the switcher is on screen.
    if (RetakeWindowList() < 2) {
        EndWithFewWindows();
        return;
    }
    // The front window's program: its next window, whatever the setting says.
    SelectEntry(oneProgram || switcherOptions.selectSecondOnOpen ? 1 : 0);
    // From the open's end: with many windows the open outlasts a watch period, and a
    // first look due at once would only delay the first step over a list just taken.
    StartShownSwitcherWatch();
}

// The chosen window takes the foreground while the switcher is still shown. Hidden first,
// the switcher would let the system activate the next window in z-order, the one left,
// whose program may take that activation after the chosen one's (Wine does, a moment
// later): the left window would end in front with the keyboard, over the chosen one.
void ActivateSelectedWindow() {
    // A typed text that kept no window: as a cancel, the window in front comes back.
    if (IsWindowVisible(SwitcherWindow) && listedCount == 0) {
        CancelSwitcher();
        return;
    }
    // After a step on an empty list the index can be -1: nothing is activated then.
    if (selectedIndex >= 0 && selectedIndex < listedCount)
        ActivateListedWindow(WindowList[selectedIndex].window);
    HideSwitcher();
}

// Posted, never sent: a hung window, or one of a program with higher rights that
// refuses the message, holds up nothing. The closed-window watch removes its entry.
void AskToClose(int index) {
    if (index < 0 || index >= listedCount)
        return;
    PostMessageW(WindowList[index].window, WM_SYSCOMMAND, SC_CLOSE, 0);
    WatchClosingWindow(WindowList[index].window);
}

void CloseWindowUnderPoint(LPARAM screenPoint) {
    POINT point = {static_cast<short>(LOWORD(screenPoint)),
                   static_cast<short>(HIWORD(screenPoint))};
    ScreenToClient(IconStrip, &point);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int item =
        static_cast<int>(SendMessageW(IconStrip, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (item >= 0 && (hit.flags & LVHT_ONITEM))
        AskToClose(item);
}

void InvalidateTypedText() {
    RECT rect = ToRect(switcherLayout.typedText);
    InvalidateRect(SwitcherWindow, &rect, FALSE);
}

HWND SelectedWindow() {
    return selectedIndex >= 0 && selectedIndex < listedCount ? WindowList[selectedIndex].window
                                                             : nullptr;
}

// The list the typed text keeps: its first entry, or the word that none matches.
// A first entry that was already selected (the window in front, mostly) is not
// read and previewed again: the key then costs the strip and the text lines alone.
void ShowNarrowedList(HWND selectedBefore) {
    InvalidateTypedText();
    if (listedCount == 0) {
        ShowNoMatch();
    } else if (WindowList[0].window != selectedBefore) {
        SelectEntry(0);
    } else {
        SetSelectedIndex(0);
        ShowSelectedPlace(0);
        AnnounceSelection(0);
    }
}

void TakeTypedKey(LPARAM packedKey) {
    NoteTypedKeyTaken();
    if (!IsWindowVisible(SwitcherWindow))
        return;
    keysTypedInThisOpening = true;
    const TypedKey key = UnpackTypedKey(static_cast<uint32_t>(packedKey));
    HWND selectedBefore = SelectedWindow();
    bool changed = false;
    if (key.key == VK_BACK) {
        changed = RemoveLastTypedCharacterFromList();
    } else {
        wchar_t characters[8];
        const int count = CharactersOfKey(key, LayoutOfWindowBeforeSwitch(), characters, 8);
        changed = AppendTypedText(characters, count);
    }
    if (changed)
        ShowNarrowedList(selectedBefore);
}

// Escape with a typed text clears it; with none (a key on its way typed nothing) it cancels.
void ClearTypedTextOrCancel() {
    ForgetDeadKey(LayoutOfWindowBeforeSwitch());
    HWND selectedBefore = SelectedWindow();
    if (ClearTypedText()) {
        ShowNarrowedList(selectedBefore);
        return;
    }
    if (IsTypedTextShown())
        return;
    EndSwitchWithoutShowing();
    CancelSwitcher();
}

} // namespace

namespace {

void RunCommand(WPARAM code, LPARAM detail) {
    if (IsNavigationCommand(code)) {
        SelectEntry(NavigatedIndex(code, selectedIndex, listedCount));
        return;
    }
    switch (code) {
    case CMD_OPEN:
        OpenSwitcher();
        break;
    case CMD_OPEN_PROGRAM:
        // The key itself rides along; a key of all zeros cannot be sent on.
        OpenSwitcher(detail ? detail
                            : static_cast<LPARAM>(
                                  PackTypedKey({0xC0, SCAN_KEY_ABOVE_TAB, false, false, false})));
        break;
    case CMD_CLOSE_SELECTED:
        AskToClose(selectedIndex);
        break;
    case CMD_CLOSE_POINTED:
        CloseWindowUnderPoint(detail);
        break;
    case CMD_TYPE_KEY:
        TakeTypedKey(detail);
        break;
    case CMD_CLEAR_FILTER:
        ClearTypedTextOrCancel();
        break;
    case CMD_ACTIVATE:
        ActivateSelectedWindow();
        break;
    case CMD_CANCEL:
        CancelSwitcher();
        break;
    }
}

} // namespace

void RunSwitcherCommand(WPARAM code, LPARAM detail) {
    RunCommand(code, detail);
    // From the command's end: an open can take longer than the quiet wanted.
    lastCommandTime = GetTickCount();
}

void HideSwitcher() {
    // The menu's owner is going out of sight: left open, the menu would stay on screen.
    CloseContextMenu();
    StopShownSwitcherWatch();
    HideSwitcherWindow();
    DestroyStripImageList();
    // A dead key typed last would otherwise change the first key of the next opening.
    if (keysTypedInThisOpening)
        ForgetDeadKey(LayoutOfWindowBeforeSwitch());
    keysTypedInThisOpening = false;
    ForgetWindowView();
    // The preview timer is left running on purpose: it fires once and stops itself, and a
    // capture it makes now only draws into the hidden canvas, which the next selection clears.
}

void ReleaseOpenSwitcher() {
    StopShownSwitcherWatch();
    DestroyStripImageList();
    ForgetWindowView();
}

void OnSwitcherWatchTimer() {
    KeepSwitcherAbovePinnedWindow();
    KeepSwitcherInFront();
    int removed = 0;
    if (RemoveClosedWindowsFromView(&removed)) {
        if (removed == 0)
            return;
        // The list as it was before the typed text decides whether the switcher ends.
        if (WindowsBeforeTypedText() < 2) {
            ClearTypedText();
            EndWithFewWindows();
        } else if (listedCount > 0) {
            ShowSelection(selectedIndex);
        } else {
            ShowNoMatch();
        }
        return;
    }
    if (RemoveClosedWindowsInTurn() == 0) {
        if (GetTickCount() - lastCommandTime >= kQuietBeforeReadingAheadMs)
            TakeListAhead();
        return;
    }
    if (listedCount >= 2)
        SelectEntry(selectedIndex);
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
