#include "windowlist/program_icon_table.h"

#include <cwchar>

int FindProgramIconSlot(const ProgramIconSlot* slots, int count, const wchar_t* path,
                        int iconSize) {
    for (int i = 0; i < count; ++i)
        if (slots[i].filled && slots[i].iconSize == iconSize &&
            std::wcscmp(slots[i].path, path) == 0)
            return i;
    return -1;
}

int ChooseProgramIconSlot(const ProgramIconSlot* slots, int count, uint64_t protectedSince) {
    int oldest = -1;
    for (int i = 0; i < count; ++i) {
        if (!slots[i].filled)
            return i;
        if (slots[i].lastUse >= protectedSince)
            continue;
        if (oldest < 0 || slots[i].lastUse < slots[oldest].lastUse)
            oldest = i;
    }
    return oldest;
}
