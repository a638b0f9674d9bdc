#include "windowlist/icon_group.h"

namespace {

// GRPICONDIR: reserved, type (1 for icons), count; then the entries.
constexpr size_t kHeaderBytes = 6;
// GRPICONDIRENTRY: width, height, colours, reserved, planes, bits, bytes, id.
constexpr size_t kEntryBytes = 14;
constexpr size_t kEntryBytesOffset = 8;
constexpr size_t kEntryIdOffset = 12;

uint16_t Word(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t DoubleWord(const uint8_t* at) {
    return static_cast<uint32_t>(Word(at)) | static_cast<uint32_t>(Word(at + 2)) << 16;
}

} // namespace

int CheckedIconGroupCount(const uint8_t* data, size_t size) {
    if (!data || size < kHeaderBytes || Word(data) != 0 || Word(data + 2) != 1)
        return 0;
    const int count = Word(data + 4);
    if (count == 0 || count > ICON_GROUP_MAX_ENTRIES ||
        kHeaderBytes + static_cast<size_t>(count) * kEntryBytes > size)
        return 0;
    for (int index = 0; index < count; ++index) {
        const uint32_t bytes = IconGroupEntryAt(data, index).bytes;
        if (bytes == 0 || bytes > ICON_MAX_BYTES)
            return 0;
    }
    return count;
}

IconGroupEntry IconGroupEntryAt(const uint8_t* data, int index) {
    const uint8_t* entry = data + kHeaderBytes + static_cast<size_t>(index) * kEntryBytes;
    return IconGroupEntry{Word(entry + kEntryIdOffset), DoubleWord(entry + kEntryBytesOffset)};
}
