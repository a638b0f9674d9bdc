#include "windowlist/window_order.h"

namespace {

int RecentRank(const RecentWindows& recent, uintptr_t window) {
    if (window == 0)
        return -1;
    for (int i = 0; i < recent.count; ++i)
        if (recent.windows[i] == window)
            return i;
    return -1;
}

int EntryRank(const RecentWindows& recent, const OrderedEntry& entry) {
    const int own = RecentRank(recent, entry.window);
    const int owner = RecentRank(recent, entry.owner);
    if (own < 0)
        return owner;
    return owner < 0 || own < owner ? own : owner;
}

} // namespace

void ForgetRecentWindow(RecentWindows* recent, uintptr_t window) {
    const int at = RecentRank(*recent, window);
    if (at < 0)
        return;
    for (int i = at; i + 1 < recent->count; ++i)
        recent->windows[i] = recent->windows[i + 1];
    --recent->count;
}

void NoteWindowInFront(RecentWindows* recent, uintptr_t window) {
    if (window == 0)
        return;
    ForgetRecentWindow(recent, window);
    if (recent->count == RECENT_WINDOWS_CAPACITY)
        --recent->count;
    for (int i = recent->count; i > 0; --i)
        recent->windows[i] = recent->windows[i - 1];
    recent->windows[0] = window;
    ++recent->count;
}

void OrderByRecentUse(const RecentWindows& recent, const OrderedEntry* entries, int count,
                      int* order) {
    int placed = 0;
    // Rank by rank; an entry whose window and owner were both used takes the better rank.
    for (int rank = 0; rank < recent.count; ++rank) {
        const uintptr_t used = recent.windows[rank];
        for (int i = 0; i < count; ++i) {
            const OrderedEntry& entry = entries[i];
            if (entry.window != used && entry.owner != used)
                continue;
            const uintptr_t other = entry.window == used ? entry.owner : entry.window;
            const int otherRank = RecentRank(recent, other);
            if (otherRank < 0 || otherRank > rank)
                order[placed++] = i;
        }
    }
    for (int i = 0; i < count; ++i)
        if (EntryRank(recent, entries[i]) < 0)
            order[placed++] = i;
}
