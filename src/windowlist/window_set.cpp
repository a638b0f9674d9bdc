#include "windowlist/window_set.h"

void SortWindowSet(uintptr_t* handles, int count) {
    // Shell sort with halving gaps: a few lines, no allocation, and fast enough
    // for the windows of a desktop.
    for (int gap = count / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < count; ++i) {
            const uintptr_t moving = handles[i];
            int j = i;
            for (; j >= gap && handles[j - gap] > moving; j -= gap)
                handles[j] = handles[j - gap];
            handles[j] = moving;
        }
    }
}

bool WindowSetHolds(const uintptr_t* sorted, int count, uintptr_t handle) {
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (sorted[middle] < handle)
            low = middle + 1;
        else
            high = middle;
    }
    return low < count && sorted[low] == handle;
}
