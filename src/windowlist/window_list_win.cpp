#include "windowlist/window_list_win.h"

#include "base/count_of.h"
#include "windowlist/cloaked_window_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/list_removal.h"
#include "windowlist/program_match.h"
#include "windowlist/program_paths_win.h"
#include "windowlist/window_filter.h"
#include "windowlist/window_view_win.h"

static_assert(FILTER_EX_TOOLWINDOW == WS_EX_TOOLWINDOW, "tool window style");
static_assert(FILTER_EX_CONTROLPARENT == WS_EX_CONTROLPARENT, "control parent style");
static_assert(FILTER_EX_APPWINDOW == WS_EX_APPWINDOW, "app window style");
static_assert(FILTER_EX_NOACTIVATE == WS_EX_NOACTIVATE, "no-activate style");

WindowEntry* WindowList;
int windowCount;
int listedCount;
int selectedIndex = -1;
int windowListGrowthLimit = -1;

namespace {

constexpr wchar_t kGrowthFailureText[] = L"Error Getting Memory ";

// The monitor whose windows alone are listed (null: every monitor's), and the
// monitors as the refresh found them, with its index among them.
HMONITOR listedMonitor;
constexpr int kMaxMonitors = 32;
HMONITOR monitorHandles[kMaxMonitors];
ScreenRect monitorRects[kMaxMonitors];
int monitorCount;
int listedMonitorIndex = -1;

// The entries WindowList has room for, and how many of those listed have an owner.
constexpr int kFirstCapacity = 64;
int windowCapacity;
int ownedEntries;

// Where the closed-window watch's next look at WindowList starts.
int watchTurn;
// The last windows the user asked to close: every look asks about them, so that
// their entries leave as soon as they are gone, wherever they stand in the list.
HWND closingWindows[8];
int nextClosingSlot;

ScreenRect ScreenRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM) {
    if (monitorCount >= static_cast<int>(CountOf(monitorHandles)))
        return FALSE;
    monitorHandles[monitorCount] = monitor;
    monitorRects[monitorCount] = ScreenRectOf(*rect);
    ++monitorCount;
    return TRUE;
}

// Takes the monitors as they are now; a listed monitor that has gone (or lies past the
// last one kept) lists every window rather than none.
void FindListedMonitor() {
    monitorCount = 0;
    listedMonitorIndex = -1;
    if (!listedMonitor)
        return;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, 0);
    for (int i = 0; i < monitorCount; ++i)
        if (monitorHandles[i] == listedMonitor)
            listedMonitorIndex = i;
}

// A minimised window counts where it would be restored. Its restored place comes in
// workspace coordinates, which are offset by the taskbar's room on its monitor, except
// for tool windows.
bool ReadRestoredRect(HWND window, DWORD exStyle, ScreenRect* rect) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return false;
    RECT restored = placement.rcNormalPosition;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!(exStyle & WS_EX_TOOLWINDOW) &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        OffsetRect(&restored, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    *rect = ScreenRectOf(restored);
    return true;
}

bool IsOnListedMonitor(HWND window, DWORD exStyle) {
    if (listedMonitorIndex < 0)
        return true;
    ScreenRect rect = {};
    RECT current = {};
    if (IsIconic(window)) {
        if (!ReadRestoredRect(window, exStyle, &rect))
            return false;
    } else if (GetWindowRect(window, &current)) {
        rect = ScreenRectOf(current);
    } else {
        return false;
    }
    return MonitorHoldingWindow(rect, monitorRects, monitorCount) == listedMonitorIndex;
}

// The list is emptied before the enumeration, and listedCount with it: the
// out-of-memory box runs a modal loop that handles commands already queued, and
// they must not read entries of the array that is being rebuilt.
void FreeWindowList() {
    listedCount = 0;
    if (!WindowList)
        return;
    HeapFree(GetProcessHeap(), 0, WindowList);
    WindowList = nullptr;
    windowCount = 0;
    windowCapacity = 0;
    ownedEntries = 0;
}

// Room for one more entry; false when the heap refuses, and the old array then
// stays valid. The room grows by half again each time: an entry appended to a
// full array of n would otherwise copy all n. No HEAP_GENERATE_EXCEPTIONS: the
// failure comes back as a null result to test.
bool MakeRoomForEntry() {
    if (windowListGrowthLimit >= 0 && windowCount >= windowListGrowthLimit)
        return false;
    if (windowCount < windowCapacity)
        return true;
    int capacity = windowCapacity + windowCapacity / 2;
    if (capacity < kFirstCapacity)
        capacity = kFirstCapacity;
    if (windowListGrowthLimit >= 0 && capacity > windowListGrowthLimit)
        capacity = windowListGrowthLimit;
    const SIZE_T size = static_cast<SIZE_T>(capacity) * sizeof(WindowEntry);
    void* grown = WindowList ? HeapReAlloc(GetProcessHeap(), 0, WindowList, size)
                             : HeapAlloc(GetProcessHeap(), 0, size);
    if (!grown)
        return false;
    WindowList = static_cast<WindowEntry*>(grown);
    windowCapacity = capacity;
    return true;
}

bool AppendWindowEntry(HWND window, HWND owner) {
    if (!MakeRoomForEntry())
        return false;
    WindowList[windowCount].window = window;
    WindowList[windowCount].owner = owner;
    ++windowCount;
    if (owner)
        ++ownedEntries;
    return true;
}

// A listed owned window stands in for its owner, which the system stacks below it.
bool OwnsListedWindow(HWND window) {
    if (ownedEntries == 0)
        return false;
    for (int i = 0; i < windowCount; ++i)
        if (WindowList[i].owner == window)
            return true;
    return false;
}

// One read of the style alone: GetWindowInfo would also fetch the window's
// rectangles, each a question to the system about another program's window.
bool ReadExStyle(HWND window, DWORD* exStyle) {
    SetLastError(ERROR_SUCCESS);
    *exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    return *exStyle != 0 || GetLastError() == ERROR_SUCCESS;
}

// The filter steps in their order; the first that rejects decides. A window whose
// styles or class cannot be read any more is being destroyed: it is not listed,
// like one that already fails IsWindow. Fills *owner for the entry.
bool IsSwitchable(HWND window, HWND* owner) {
    // Most windows of a desktop are hidden: nothing else is read of them. A
    // visible window is one that exists (IsWindow would ask again).
    if (!IsWindowVisible(window))
        return false;
    DWORD exStyle = 0;
    if (!ReadExStyle(window, &exStyle))
        return false;
    if (IsHiddenToolWindow(exStyle) || RefusesActivation(exStyle))
        return false;
    if (IsWindowCloaked(window))
        return false;
    *owner = GetWindow(window, GW_OWNER);
    if (*owner) {
        DWORD ownerExStyle = 0;
        if (!ReadExStyle(*owner, &ownerExStyle) || !IsSwitchableOwnedWindow(exStyle, ownerExStyle))
            return false;
    }
    wchar_t className[FILTER_CLASS_NAME_LENGTH] = {};
    if (!GetClassNameW(window, className, FILTER_CLASS_NAME_LENGTH) || IsTooltipClass(className))
        return false;
    if (!IsOnListedMonitor(window, exStyle))
        return false;
    if (excludePatterns.count && ProgramMatchesAny(ProgramPathOfWindow(window), excludePatterns))
        return false;
    return !OwnsListedWindow(window);
}

int EndRefresh(bool keepKnownIcons) {
    listedCount = windowCount;
    selectedIndex = 0;
    // With fewer than two windows the switcher is not shown: the strip keeps its items.
    if (listedCount >= 2)
        RefillIconStrip(IconStrip, keepKnownIcons);
    return listedCount;
}

BOOL CALLBACK WindowListEnumProc(HWND window, LPARAM) {
    HWND owner = nullptr;
    if (!IsSwitchable(window, &owner))
        return TRUE;
    if (AppendWindowEntry(window, owner))
        return TRUE;
    // Out of memory: keep what was listed so far and end the enumeration.
    MessageBoxW(nullptr, kGrowthFailureText, L"", MB_OK);
    return FALSE;
}

int TakeWindowList(bool keepKnownIcons) {
    FreeWindowList();
    watchTurn = 0;
    if (!keepKnownIcons)
        ZeroMemory(closingWindows, sizeof(closingWindows));
    FindListedMonitor();
    ForgetProgramPaths();
    EnumWindows(WindowListEnumProc, 0);
    windowCount = ArrangeListedWindows(WindowList, windowCount);
    return EndRefresh(keepKnownIcons);
}

} // namespace

namespace {

// Entries asked about (every one, or the selected one and the watch's turn) whose
// window was destroyed leave the list and the strip.
int RemoveClosedEntries(bool everyEntry) {
    // During a refresh the list is being rebuilt, and it checks each window itself.
    if (listedCount == 0 || listedCount != windowCount)
        return 0;
    // From the last entry to the first, so that each index named to the strip is
    // still the entry's.
    int removed = 0;
    int removedBeforeSelection = 0;
    const int first = watchTurn;
    const int count = listedCount;
    for (int i = listedCount - 1; i >= 0; --i) {
        const bool asked = everyEntry || i == selectedIndex || AskedInWatchTurn(i, first, count) ||
                           IsClosingWindow(WindowList[i].window);
        if (!asked || IsWindow(WindowList[i].window))
            continue;
        RemoveStripItem(IconStrip, i);
        for (int j = i; j + 1 < windowCount; ++j)
            WindowList[j] = WindowList[j + 1];
        --windowCount;
        ++removed;
        if (i < selectedIndex)
            ++removedBeforeSelection;
    }
    watchTurn = NextWatchTurn(first, windowCount);
    if (removed == 0)
        return 0;
    listedCount = windowCount;
    selectedIndex = SelectionAfterRemoval(selectedIndex, removedBeforeSelection, listedCount);
    return removed;
}

} // namespace

int RemoveClosedWindows() {
    return RemoveClosedEntries(true);
}

void WatchClosingWindow(HWND window) {
    closingWindows[nextClosingSlot] = window;
    nextClosingSlot = (nextClosingSlot + 1) % static_cast<int>(CountOf(closingWindows));
}

bool IsClosingWindow(HWND window) {
    for (HWND closing : closingWindows)
        if (closing == window)
            return true;
    return false;
}

int RemoveClosedWindowsInTurn() {
    return RemoveClosedEntries(false);
}

void ListWindowsOfMonitor(HMONITOR monitor) {
    listedMonitor = monitor;
}

int RefreshWindowList() {
    return TakeWindowList(false);
}

int RetakeWindowList() {
    return TakeWindowList(true);
}

int ReplaceWindowList(const HWND* windows, int count) {
    FreeWindowList();
    for (int i = 0; i < count; ++i)
        if (!AppendWindowEntry(windows[i], nullptr))
            break;
    return EndRefresh(false);
}

bool ShowOnlyEntries(const WindowEntry* entries, int count) {
    FreeWindowList();
    bool complete = true;
    if (count > 0) {
        // One allocation: a key typed among many windows must cost little.
        WindowList = static_cast<WindowEntry*>(
            HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(count) * sizeof(WindowEntry)));
        complete = WindowList != nullptr;
        if (complete) {
            CopyMemory(WindowList, entries, static_cast<SIZE_T>(count) * sizeof(WindowEntry));
            windowCount = count;
            windowCapacity = count;
        }
    }
    listedCount = windowCount;
    selectedIndex = listedCount > 0 ? 0 : -1;
    return complete;
}

void SetSelectedIndex(int index) {
    selectedIndex = index;
}
