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

TEST(Options, OnlyBinaryValuesOfTheFirstLayoutAndItsSizeAreRead) {
    const struct {
        std::vector<uint8_t> bytes;
        bool binary, usable;
    } cases[] = {
        {{1, 0, 0}, true, true},   {{1, 2, 1}, true, true},     {{1, 255, 255}, true, true},
        {{1, 0, 0}, false, false}, {{}, true, false},           {{1}, true, false},
        {{1, 2}, true, false},     {{1, 2, 1, 0}, true, false}, {{0, 1, 1}, true, false},
        {{2, 1, 1}, true, false},  {{255, 1, 1}, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUsableMoreOptions(c.bytes.data(), c.bytes.size(), c.binary), c.usable)
            << c.bytes.size() << " bytes, binary " << c.binary;
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
    const uint8_t defaults[3] = {1, 0, 0};
    EXPECT_EQ(std::memcmp(&DEFAULT_MORE_OPTIONS, defaults, sizeof(defaults)), 0);
}
