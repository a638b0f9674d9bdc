// The table of icons taken from program files, kept between openings: which
// slot holds a program's icon, and which slot a new program takes. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

// Enough for the programs of a busy desktop; the memory stays fixed.
constexpr int PROGRAM_ICON_SLOTS = 32;
// Full paths as the system gives a process's image path (MAX_PATH units).
constexpr size_t PROGRAM_PATH_LENGTH = 260;

struct ProgramIconSlot {
    bool filled;
    int iconSize;                      // pixels; one program has a slot per size asked for
    uint64_t lastUse;                  // the use counter when the slot was last looked up
    const void* icon;                  // owned by the slot; null: the file has no icon
    wchar_t path[PROGRAM_PATH_LENGTH]; // zero-terminated; longer paths are not looked up
};

// The filled slot of this path and size (exact, case-sensitive comparison), or -1.
int FindProgramIconSlot(const ProgramIconSlot* slots, int count, const wchar_t* path, int iconSize);

// The slot a newly looked-up program takes: an empty one if any; otherwise the one
// used longest ago among those not used since protectedSince (their icons may be
// shown right now); -1 when every slot was used since then.
int ChooseProgramIconSlot(const ProgramIconSlot* slots, int count, uint64_t protectedSince);
