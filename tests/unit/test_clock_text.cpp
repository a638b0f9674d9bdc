// The clock text at any hour, and its fixed buffer.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "display/clock_text.h"

namespace {

std::tm At(int hour, int minute, int second) {
    std::tm time = {};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 14;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

std::wstring Clock(int hour, int minute, int second) {
    wchar_t text[CLOCK_TEXT_COUNT];
    FormatClockText(text, CLOCK_TEXT_COUNT, At(hour, minute, second));
    return text;
}

TEST(ClockText, TwelveHourTimeWithSecondsAndDesignator) {
    struct Case {
        int hour, minute, second;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, 0, 0, L"12:00:00 AM"},  {0, 30, 5, L"12:30:05 AM"},   {0, 59, 59, L"12:59:59 AM"},
        {1, 0, 0, L"01:00:00 AM"},  {9, 5, 7, L"09:05:07 AM"},    {11, 59, 59, L"11:59:59 AM"},
        {12, 0, 0, L"12:00:00 PM"}, {12, 45, 30, L"12:45:30 PM"}, {13, 0, 0, L"01:00:00 PM"},
        {21, 5, 7, L"09:05:07 PM"}, {23, 59, 59, L"11:59:59 PM"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Clock(c.hour, c.minute, c.second), c.text) << c.hour << ":" << c.minute;
}

TEST(ClockText, FullNearlyFullAndOverflow) {
    const std::wstring expected = L"09:05:07 PM";
    const size_t full = expected.size() + 1;
    for (size_t count : {full + 1, full, full - 1}) {
        wchar_t buffer[32];
        std::wmemset(buffer, L'#', 32);
        const size_t length = FormatClockText(buffer, count, At(21, 5, 7));
        if (count >= full) {
            EXPECT_EQ(length, expected.size());
            EXPECT_EQ(std::wstring(buffer), expected);
        } else {
            EXPECT_EQ(length, 0u);
            EXPECT_EQ(buffer[0], 0);
        }
        for (size_t i = count; i < 32; ++i)
            ASSERT_EQ(buffer[i], L'#') << "written past the end at " << i;
    }
}

TEST(ClockText, CurrentTimeHasTheSameShape) {
    wchar_t text[CLOCK_TEXT_COUNT];
    ASSERT_EQ(FormatCurrentClockText(text, CLOCK_TEXT_COUNT), 11u);
    EXPECT_EQ(text[2], L':');
    EXPECT_EQ(text[5], L':');
    EXPECT_EQ(text[8], L' ');
    EXPECT_TRUE(std::wstring(text + 9) == L"AM" || std::wstring(text + 9) == L"PM");
}

} // namespace
