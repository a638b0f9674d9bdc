// The icon directory of a program file is checked before the system reads it.
#include <gtest/gtest.h>

#include <vector>

#include "windowlist/icon_group.h"

namespace {

// A directory of count entries (count as stated, entries as given).
std::vector<uint8_t> Group(uint16_t type, uint16_t count,
                           const std::vector<IconGroupEntry>& entries) {
    std::vector<uint8_t> data = {
        0, 0, uint8_t(type), uint8_t(type >> 8), uint8_t(count), uint8_t(count >> 8)};
    for (const IconGroupEntry& e : entries) {
        const uint8_t entry[14] = {32,
                                   32,
                                   0,
                                   0,
                                   1,
                                   0,
                                   32,
                                   0,
                                   uint8_t(e.bytes),
                                   uint8_t(e.bytes >> 8),
                                   uint8_t(e.bytes >> 16),
                                   uint8_t(e.bytes >> 24),
                                   uint8_t(e.id),
                                   uint8_t(e.id >> 8)};
        data.insert(data.end(), entry, entry + 14);
    }
    return data;
}

std::vector<uint8_t> WithoutLastByte(std::vector<uint8_t> data) {
    data.pop_back();
    return data;
}

TEST(IconGroup, CountsOnlyADirectoryThatHoldsWhatItStates) {
    const IconGroupEntry good = {7, 2216}, other = {0x1234, 744};
    const struct {
        const char* name;
        std::vector<uint8_t> data;
        int count;
    } cases[] = {
        {"one entry", Group(1, 1, {good}), 1},
        {"two entries", Group(1, 2, {good, other}), 2},
        {"65535 stated, one held", Group(1, 0xFFFF, {good}), 0},
        {"two stated, one held", Group(1, 2, {good}), 0},
        {"cut inside the entry", WithoutLastByte(Group(1, 1, {good})), 0},
        {"no entry", Group(1, 0, {}), 0},
        {"cursors", Group(2, 1, {good}), 0},
        {"header cut", {0, 0, 1, 0, 1}, 0},
        {"picture of no bytes", Group(1, 1, {{7, 0}}), 0},
        {"picture too large", Group(1, 1, {{7, ICON_MAX_BYTES + 1}}), 0},
        {"largest picture", Group(1, 1, {{7, ICON_MAX_BYTES}}), 1},
        {"too many entries",
         Group(1, ICON_GROUP_MAX_ENTRIES + 1,
               std::vector<IconGroupEntry>(ICON_GROUP_MAX_ENTRIES + 1, good)),
         0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckedIconGroupCount(c.data.data(), c.data.size()), c.count) << c.name;
    EXPECT_EQ(CheckedIconGroupCount(nullptr, 20), 0);

    const std::vector<uint8_t> two = Group(1, 2, {good, other});
    EXPECT_EQ(IconGroupEntryAt(two.data(), 1).id, 0x1234);
    EXPECT_EQ(IconGroupEntryAt(two.data(), 1).bytes, 744u);
}

} // namespace
