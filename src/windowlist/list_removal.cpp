#include "windowlist/list_removal.h"

int SelectionAfterRemoval(int selectedIndex, int removedBefore, int remaining) {
    if (remaining <= 0)
        return -1;
    const int moved = selectedIndex - removedBefore;
    if (moved < 0)
        return 0;
    return moved < remaining ? moved : remaining - 1;
}
