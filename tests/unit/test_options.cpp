#include <gtest/gtest.h>

#include <cstring>

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
