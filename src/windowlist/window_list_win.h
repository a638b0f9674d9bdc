// The list of windows worth switching to, rebuilt at every opening.
#pragma once
#include <windows.h>

struct WindowEntry {
    HWND window;
    HWND owner; // GW_OWNER when listed, or null
};

// Written by this module alone.
extern WindowEntry* WindowList; // process heap array, windowCount entries
extern int windowCount;         // grows during a refresh
// The count at the end of the last refresh, and 0 during one: the bound of every reader.
extern int listedCount;
extern int selectedIndex; // -1 until the first refresh, 0 after each

// Navigation and clicks move the selection; the caller shows it.
void SetSelectedIndex(int index);

// Test seam: when not negative, growing the list beyond this many entries fails
// as if the heap were exhausted. -1, the default, leaves the heap alone.
extern int windowListGrowthLimit;

// Limits the following refreshes to the windows whose larger part lies on this
// monitor (a minimised window counts where it would be restored); null lists the
// windows of every monitor, as at start-up.
void ListWindowsOfMonitor(HMONITOR monitor);

// Empties and re-enumerates the list; sets listedCount and selectedIndex 0, and
// refills the icon strip when two or more windows are listed. Returns the count.
int RefreshWindowList();
// The same, a moment after a refresh that filled the strip (an open takes the list
// again once the switcher is on screen, to catch windows that appeared or went
// meanwhile): the windows the strip's fill asked for their icons keep those icons.
int RetakeWindowList();
// The list a refresh would leave if it found these windows (without owners), in this
// order: the one way tests and benches give the switcher a list of their choosing.
// Returns the count listed, less than count when the heap refuses.
int ReplaceWindowList(const HWND* windows, int count);
// While the switcher is shown, the list becomes these entries (however few: the
// typed text may keep one or none), with selectedIndex 0, or -1 when none. The
// strip is left to the caller. False when the heap refuses; the list is then empty.
bool ShowOnlyEntries(const WindowEntry* entries, int count);
// Entries whose window was destroyed since the list was built leave it, and their
// items leave the icon strip; the selection keeps its entry, or moves to the one
// that took its place. Returns how many left. Between refreshes only.
int RemoveClosedWindows();
// The same for the selected entry and the next turn of entries (every entry of a
// short list): the shown switcher's watch, which looks often.
int RemoveClosedWindowsInTurn();
// A window the user asked to close: the watch asks about it at every look until
// the next opening, wherever its entry stands.
void WatchClosingWindow(HWND window);
bool IsClosingWindow(HWND window);
