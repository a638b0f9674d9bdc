#include "windowlist/list_removal.h"

int SelectionAfterRemoval(int selectedIndex, int removedBefore, int remaining) {
    if (remaining <= 0)
        return -1;
    const int moved = selectedIndex - removedBefore;
    if (moved < 0)
        return 0;
    return moved < remaining ? moved : remaining - 1;
}

bool AskedInWatchTurn(int index, int first, int count) {
    if (index < 0 || index >= count)
        return false;
    if (count <= WATCH_TURN_ENTRIES)
        return true;
    const int start = first >= 0 && first < count ? first : 0;
    const int offset = index >= start ? index - start : index + count - start;
    return offset < WATCH_TURN_ENTRIES;
}

int NextWatchTurn(int first, int count) {
    if (count <= 0)
        return 0;
    const int start = first >= 0 && first < count ? first : 0;
    return (start + WATCH_TURN_ENTRIES) % count;
}
