// The order of the switcher's list by recent use: the windows in the order in
// which they were last in front, then the ones never seen in front in stacking
// order. Portable: windows are opaque numbers here.
#pragma once
#include <cstdint>

// Enough for the windows of a busy desktop; older ones fall off the end.
constexpr int RECENT_WINDOWS_CAPACITY = 64;

// Most recent first. Written by the window view alone.
struct RecentWindows {
    uintptr_t windows[RECENT_WINDOWS_CAPACITY];
    int count;
};

// The window came to the front: it moves (or enters) at the head; when the
// history is full the oldest one leaves. Null (0) is ignored.
void NoteWindowInFront(RecentWindows* recent, uintptr_t window);
// A window that is gone leaves the history.
void ForgetRecentWindow(RecentWindows* recent, uintptr_t window);

// A listed entry: its window and the owner it stands in for (0 when none); a
// use of either counts as the entry's.
struct OrderedEntry {
    uintptr_t window;
    uintptr_t owner;
};

// Fills order[0..count) with the entries' indices, the most recently used first,
// then the unseen ones in their given (stacking) order.
void OrderByRecentUse(const RecentWindows& recent, const OrderedEntry* entries, int count,
                      int* order);
