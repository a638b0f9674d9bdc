// The icon directory (RT_GROUP_ICON) of a program file, checked before the
// system is asked for the pictures it lists: the file belongs to whichever
// program has a window on the desktop, and the system's icon reader trusts the
// directory's count and sizes. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

// Entries of a directory sound enough to hand to the system; more are refused.
constexpr int ICON_GROUP_MAX_ENTRIES = 256;
// The largest picture in reason: 256 x 256 at 32 bits with its mask, twice over.
constexpr uint32_t ICON_MAX_BYTES = 2 * (40 + 256 * 256 * 4 + 256 * 256 / 8);

struct IconGroupEntry {
    uint16_t id;    // the RT_ICON resource that holds the picture
    uint32_t bytes; // the picture's size as the directory states it
};

// The number of entries of the directory in data (size bytes), or 0 when it is
// malformed: not an icon directory, no entry, more entries than the data
// holds or than ICON_GROUP_MAX_ENTRIES, or an entry of no or unreasonable size.
int CheckedIconGroupCount(const uint8_t* data, size_t size);
// Entry index of a directory that CheckedIconGroupCount accepted.
IconGroupEntry IconGroupEntryAt(const uint8_t* data, int index);
