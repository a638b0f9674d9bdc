#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/options.h"

TEST(Options, DefaultRecordIsTheDocumentedBytes) {
    SwitcherOptions record;
    std::memset(&record, 0xAA, sizeof(record));
    SetDefaultOptions(&record);
    const uint8_t expected[11] = {0x00, 0x01, 0x00, 0x01, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&record, expected, sizeof(expected)), 0);
}

TEST(Options, StartupReplacesOnlyAlphasBelowFifty) {
    const struct {
        uint8_t stored, used;
    } cases[] = {{0, 255}, {20, 255}, {49, 255}, {50, 50}, {51, 51}, {254, 254}, {255, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(StartupAlpha(c.stored), c.used) << int(c.stored);
}

// Layout 1 is read and rewritten, layout 2 read as it is, a later layout read for the
// bytes this program knows and never rewritten; anything else gives the defaults.
TEST(Options, TheSecondValueIsReadByItsLayout) {
    using Bytes = std::vector<uint8_t>;
    const Bytes defaults = {2, 0, 0, 1, 1, 0, 1, 1};
    const struct {
        Bytes stored;
        bool binary;
        MoreOptionsLayoutRead found;
        Bytes read;
    } cases[] = {
        {{1, 2, 1}, true, MORE_LAYOUT_OLDER, {2, 2, 1, 1, 1, 0, 1, 1}},
        {{1, 255, 255}, true, MORE_LAYOUT_OLDER, {2, 255, 255, 1, 1, 0, 1, 1}},
        {{2, 1, 1, 0, 0, 1, 0, 0}, true, MORE_LAYOUT_CURRENT, {2, 1, 1, 0, 0, 1, 0, 0}},
        {{3, 1, 1, 0, 0, 1, 0, 0, 9, 9}, true, MORE_LAYOUT_NEWER, {3, 1, 1, 0, 0, 1, 0, 0}},
        {{9, 2, 1}, true, MORE_LAYOUT_NEWER, {9, 2, 1, 1, 1, 0, 1, 1}},
        {{1, 2, 1}, false, MORE_LAYOUT_UNUSABLE, defaults},
        {{}, true, MORE_LAYOUT_UNUSABLE, defaults},
        {{1}, true, MORE_LAYOUT_UNUSABLE, defaults},
        {{1, 2, 1, 0}, true, MORE_LAYOUT_UNUSABLE, defaults},
        {{2, 1, 1}, true, MORE_LAYOUT_UNUSABLE, defaults},
        {{2, 1, 1, 0, 0, 1, 0, 0, 0}, true, MORE_LAYOUT_UNUSABLE, defaults},
        {{0, 1, 1, 0, 0, 1, 0, 0}, true, MORE_LAYOUT_UNUSABLE, defaults},
    };
    for (const auto& c : cases) {
        MoreOptions more;
        std::memset(&more, 0xAA, sizeof(more));
        EXPECT_EQ(ReadMoreOptionsBytes(c.stored.data(), c.stored.size(), c.binary, &more), c.found)
            << c.stored.size() << " bytes, binary " << c.binary;
        const uint8_t* read = reinterpret_cast<const uint8_t*>(&more);
        EXPECT_EQ(Bytes(read, read + sizeof(more)), c.read) << c.stored.size() << " bytes";
    }
    EXPECT_EQ(std::memcmp(&DEFAULT_MORE_OPTIONS, defaults.data(), defaults.size()), 0);
}

TEST(Options, UnknownCodesOpenOnThePrimaryMonitorAndListEveryWindow) {
    const struct {
        uint8_t stored, openOn;
        bool monitorOnly;
    } cases[] = {{0, OPEN_ON_PRIMARY, false},
                 {1, OPEN_ON_POINTER, true},
                 {2, OPEN_ON_FOREGROUND, false},
                 {3, OPEN_ON_PRIMARY, false},
                 {255, OPEN_ON_PRIMARY, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(OpenOnChoice(c.stored), c.openOn) << int(c.stored);
        EXPECT_EQ(ListsMonitorWindowsOnly(c.stored), c.monitorOnly) << int(c.stored);
    }
    EXPECT_FALSE(OrdersByStacking(ORDER_RECENT));
    EXPECT_TRUE(OrdersByStacking(ORDER_ZORDER));
    EXPECT_FALSE(OrdersByStacking(255));
}
