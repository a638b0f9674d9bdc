#include <gtest/gtest.h>

#include <cwchar>

#include "windowlist/program_icon_table.h"

namespace {

ProgramIconSlot Slot(const wchar_t* path, int size, uint64_t lastUse) {
    ProgramIconSlot slot = {};
    slot.filled = true;
    slot.iconSize = size;
    slot.lastUse = lastUse;
    std::wcscpy(slot.path, path);
    return slot;
}

TEST(ProgramIconTable, AProgramIsFoundByItsExactPathAndSize) {
    const ProgramIconSlot slots[] = {Slot(L"C:\\a.exe", 32, 1), Slot(L"C:\\b.exe", 32, 2),
                                     Slot(L"C:\\a.exe", 16, 3), ProgramIconSlot{}};
    const struct {
        const wchar_t* path;
        int size;
        int slot;
    } cases[] = {{L"C:\\a.exe", 32, 0},  {L"C:\\a.exe", 16, 2},  {L"C:\\b.exe", 32, 1},
                 {L"C:\\b.exe", 16, -1}, {L"c:\\A.exe", 32, -1}, {L"C:\\a.ex", 32, -1},
                 {L"", 32, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(FindProgramIconSlot(slots, 4, c.path, c.size), c.slot)
            << static_cast<int>(std::wcslen(c.path)) << " " << c.size;
}

// Slots used since protectedSince may hold icons on screen; among the others the
// one used longest ago gives way.
TEST(ProgramIconTable, ANewProgramTakesAnEmptySlotElseTheOldestUnprotectedOne) {
    const ProgramIconSlot full[] = {Slot(L"a", 32, 5), Slot(L"b", 32, 8), Slot(L"c", 32, 9),
                                    Slot(L"d", 32, 3)};
    const ProgramIconSlot withHole[] = {Slot(L"a", 32, 5), Slot(L"b", 32, 2), ProgramIconSlot{},
                                        Slot(L"d", 32, 3)};
    const struct {
        const char* name;
        const ProgramIconSlot* slots;
        uint64_t protectedSince;
        int slot;
    } cases[] = {
        {"an empty slot before any other", withHole, 1, 2},
        {"the one used longest ago", full, 100, 3},
        {"some used since", full, 6, 3},
        {"every one used since", full, 3, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseProgramIconSlot(c.slots, 4, c.protectedSince), c.slot) << c.name;
}

} // namespace
