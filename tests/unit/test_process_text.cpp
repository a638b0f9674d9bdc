// Texts of the process panel: memory and priority tables, number formats and
// the behaviour of every fixed buffer when it is full, nearly full or too small.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "base/count_of.h"
#include "display/process_text.h"
#include "display/selection_texts.h"

namespace {

std::wstring Memory(uint64_t bytes) {
    wchar_t text[256];
    FormatMemoryText(text, CountOf(text), bytes);
    return text;
}

TEST(MemoryText, UsesPowersOfThousandWithThreeDecimals) {
    struct Case {
        uint64_t bytes;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L": 0"},
        {999, L": 999"},
        {1000, L": 1.000 k"},
        {999999, L": 999.999 k"},
        {1000000, L": 1.000 M"},
        {999999999, L": 1000.000 M"},
        {1000000000, L": 1.000 G"},
        {4294967295u, L": 4.295 G"},
        {123456789012ull, L": 123.457 G"},
        // Rounded as printf rounds the double's exact value: 1000500 * 0.000001 lies
        // just below 1.0005; 1.0625 and 1.1875 are exact ties, which go to the even digit.
        {1000500, L": 1.000 M"},
        {1062500, L": 1.062 M"},
        {1187500, L": 1.188 M"},
        {18446744073709551615ull, L": 18446744073.710 G"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Memory(c.bytes), c.text) << c.bytes;
}

TEST(PriorityText, MapsEachClassAndAnythingElseToUnknown) {
    struct Case {
        uint32_t priorityClass;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0x20, L": Normal"},        {0x40, L": Idle"},           {0x80, L": High"},
        {0x100, L": Realtime"},     {0x4000, L": Below Normal"}, {0x8000, L": Above Normal"},
        {0, L": Unknown"},          {0x21, L": Unknown"},        {0x10000, L": Unknown"},
        {0xFFFFFFFF, L": Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(PriorityClassText(c.priorityClass), c.text) << std::hex << c.priorityClass;
}

TEST(NumberText, DecimalIsSignedLikePercentD) {
    wchar_t text[32];
    FormatColonDecimal(text, CountOf(text), 0);
    EXPECT_STREQ(text, L": 0");
    FormatColonDecimal(text, CountOf(text), 4711);
    EXPECT_STREQ(text, L": 4711");
    FormatColonDecimal(text, CountOf(text), -1);
    EXPECT_STREQ(text, L": -1");
    FormatColonDecimal(text, CountOf(text), INT32_MIN);
    EXPECT_STREQ(text, L": -2147483648");
    FormatColonDecimal(text, CountOf(text), INT32_MAX);
    EXPECT_STREQ(text, L": 2147483647");
}

TEST(NumberText, HexIsUpperCaseWithoutLeadingZerosOrPrefix) {
    wchar_t text[32];
    FormatColonHex(text, CountOf(text), 0x000A0B2C);
    EXPECT_STREQ(text, L": A0B2C");
    FormatColonHex(text, CountOf(text), 0);
    EXPECT_STREQ(text, L": 0");
    FormatColonHex(text, CountOf(text), 0xFFFFFFFFFFFFFFFFull);
    EXPECT_STREQ(text, L": FFFFFFFFFFFFFFFF");
}

TEST(NumberText, OperationCountsAboveThirtyTwoBitsAreShownInFull) {
    wchar_t text[64];
    FormatColonUnsigned64(text, CountOf(text), 2147483648u);
    EXPECT_STREQ(text, L": 2147483648");
    FormatColonUnsigned64(text, CountOf(text), 4294967296ull);
    EXPECT_STREQ(text, L": 4294967296");
    FormatColonUnsigned64(text, CountOf(text), 18446744073709551615ull);
    EXPECT_STREQ(text, L": 18446744073709551615");
}

TEST(PositionText, ShowsPositionOfCount) {
    wchar_t text[32];
    FormatPositionText(text, CountOf(text), 1, 5);
    EXPECT_STREQ(text, L": 1/5");
    FormatPositionText(text, CountOf(text), 5, 5);
    EXPECT_STREQ(text, L": 5/5");
    // The longest possible position text still fits its 32 units.
    EXPECT_EQ(FormatPositionText(text, CountOf(text), INT32_MIN, INT32_MIN), 25u);
}

TEST(GuiObjectTexts, HandlesIsTheSumOfGdiAndUserObjects) {
    wchar_t handles[256] = {}, gdi[256] = {}, user[256] = {};
    FormatGuiObjectTexts({handles, CountOf(handles), gdi, CountOf(gdi), user, CountOf(user)}, 30,
                         12);
    EXPECT_STREQ(gdi, L": 30");
    EXPECT_STREQ(user, L": 12");
    EXPECT_STREQ(handles, L": 42");
}

TEST(IoTexts, FailedQueryLeavesBothTextsEmpty) {
    wchar_t reads[256] = {}, writes[256] = {};
    FormatIoTexts(reads, CountOf(reads), writes, CountOf(writes), nullptr);
    EXPECT_STREQ(reads, L"");
    EXPECT_STREQ(writes, L"");
    const IoOperationCounts counts = {5000000000ull, 7};
    FormatIoTexts(reads, CountOf(reads), writes, CountOf(writes), &counts);
    EXPECT_STREQ(reads, L": 5000000000");
    EXPECT_STREQ(writes, L": 7");
}

// Each formatter into a buffer of exactly the text's length + 1 (full), one more
// (full minus one) and one less (overflow): never a unit written past the end.
using Formatter = size_t (*)(wchar_t*, size_t);

void ExpectFitsAndCuts(Formatter format, const std::wstring& expected) {
    const size_t full = expected.size() + 1;
    for (size_t count : {full + 1, full, full - 1}) {
        wchar_t buffer[80];
        std::wmemset(buffer, L'#', CountOf(buffer));
        const size_t length = format(buffer, count);
        const std::wstring wanted = expected.substr(0, count - 1);
        EXPECT_EQ(length, wanted.size()) << "count " << count;
        EXPECT_EQ(std::wstring(buffer), wanted) << "count " << count;
        for (size_t i = count; i < CountOf(buffer); ++i)
            ASSERT_EQ(buffer[i], L'#') << "written past the end at " << i << ", count " << count;
    }
}

TEST(FixedTexts, FullNearlyFullAndOverflow) {
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatColonDecimal(b, n, -12345); },
                      L": -12345");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatColonHex(b, n, 0xBEEF); }, L": BEEF");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatColonUnsigned64(b, n, 1ull << 40); },
                      L": 1099511627776");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatPositionText(b, n, 12, 345); },
                      L": 12/345");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatMemoryText(b, n, 1234567); },
                      L": 1.235 M");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return FormatMemoryText(b, n, 17); }, L": 17");
    ExpectFitsAndCuts([](wchar_t* b, size_t n) { return CopyText(b, n, L"- -"); }, L"- -");
}

TEST(FixedTexts, CountOfOneHoldsOnlyTheTerminatorAndZeroWritesNothing) {
    wchar_t buffer[2] = {L'#', L'#'};
    EXPECT_EQ(FormatColonDecimal(buffer, 1, 5), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], L'#');
    buffer[0] = L'#';
    EXPECT_EQ(CopyText(buffer, 0, L"abc"), 0u);
    EXPECT_EQ(buffer[0], L'#');
}

TEST(SelectionTexts, CapacitiesAndEmptying) {
    EXPECT_EQ(CountOf(SelectionTexts.titleText), 1024u);
    EXPECT_EQ(CountOf(SelectionTexts.windowHandleText), 256u);
    EXPECT_EQ(CountOf(SelectionTexts.modulePathText), 260u);
    EXPECT_EQ(CountOf(SelectionTexts.positionText), 32u);
    EXPECT_EQ(CountOf(SelectionTexts.memoryText), 256u);
    CopyText(SelectionTexts.titleText, CountOf(SelectionTexts.titleText), L"title");
    CopyText(SelectionTexts.memoryText, CountOf(SelectionTexts.memoryText), L": 1");
    EmptySelectionTexts();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&SelectionTexts);
    for (size_t i = 0; i < sizeof(SelectionTexts); ++i)
        ASSERT_EQ(bytes[i], 0) << i;
}

} // namespace
