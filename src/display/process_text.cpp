#include "display/process_text.h"

#include <cstdio>

#include "base/ieee_arithmetic.h"

namespace {

// Wide enough for ": " and any 64-bit number, or a formatted memory figure.
constexpr size_t kScratchCount = 64;

struct PriorityName {
    uint32_t priorityClass;
    const wchar_t* text;
};

constexpr PriorityName kPriorityNames[] = {
    {PRIORITY_NORMAL, L": Normal"},
    {PRIORITY_IDLE, L": Idle"},
    {PRIORITY_HIGH, L": High"},
    {PRIORITY_REALTIME, L": Realtime"},
    {PRIORITY_BELOW_NORMAL, L": Below Normal"},
    {PRIORITY_ABOVE_NORMAL, L": Above Normal"},
};

// Writes the digits of value in the given base at the end of scratch; returns the first digit.
wchar_t* WriteDigits(wchar_t* end, uint64_t value, unsigned base) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    *end = 0;
    do {
        *--end = kDigits[value % base];
        value /= base;
    } while (value != 0);
    return end;
}

size_t FormatColonNumber(wchar_t* buffer, size_t count, bool negative, uint64_t magnitude,
                         unsigned base) {
    wchar_t scratch[kScratchCount];
    wchar_t* first = WriteDigits(scratch + kScratchCount - 1, magnitude, base);
    if (negative)
        *--first = L'-';
    *--first = L' ';
    *--first = L':';
    return CopyText(buffer, count, first);
}

// Memory texts hold only ASCII: they are formatted narrow and widened.
size_t CopyNarrowText(wchar_t* buffer, size_t count, const char* text) {
    wchar_t scratch[kScratchCount];
    size_t length = 0;
    while (text[length] && length < kScratchCount - 1) {
        scratch[length] = static_cast<wchar_t>(static_cast<unsigned char>(text[length]));
        ++length;
    }
    scratch[length] = 0;
    return CopyText(buffer, count, scratch);
}

} // namespace

size_t CopyText(wchar_t* buffer, size_t count, const wchar_t* text) {
    if (count == 0)
        return 0;
    size_t length = 0;
    while (text[length] && length < count - 1) {
        buffer[length] = text[length];
        ++length;
    }
    buffer[length] = 0;
    return length;
}

size_t FormatColonDecimal(wchar_t* buffer, size_t count, int32_t value) {
    const bool negative = value < 0;
    // Negated in 64 bits so that the smallest int32 has a magnitude too.
    const uint64_t magnitude =
        negative ? static_cast<uint64_t>(-static_cast<int64_t>(value)) : value;
    return FormatColonNumber(buffer, count, negative, magnitude, 10);
}

size_t FormatColonHex(wchar_t* buffer, size_t count, uint64_t value) {
    return FormatColonNumber(buffer, count, false, value, 16);
}

size_t FormatColonUnsigned64(wchar_t* buffer, size_t count, uint64_t value) {
    return FormatColonNumber(buffer, count, false, value, 10);
}

size_t FormatPositionText(wchar_t* buffer, size_t count, int32_t position, int32_t total) {
    char text[kScratchCount];
    std::snprintf(text, sizeof(text), ": %d/%d", static_cast<int>(position),
                  static_cast<int>(total));
    return CopyNarrowText(buffer, count, text);
}

IEEE_ARITHMETIC size_t FormatMemoryText(wchar_t* buffer, size_t count, uint64_t bytes) {
    if (bytes < 1000)
        return FormatColonDecimal(buffer, count, static_cast<int32_t>(bytes));
    // Scaled by multiplying with the constant, as the figures have always been shown.
    const double value = static_cast<double>(bytes);
    char text[kScratchCount];
    if (bytes < 1000000)
        std::snprintf(text, sizeof(text), ": %.3f k", value * 0.001);
    else if (bytes < 1000000000)
        std::snprintf(text, sizeof(text), ": %.3f M", value * 0.000001);
    else
        std::snprintf(text, sizeof(text), ": %.3f G", value * 0.000000001);
    return CopyNarrowText(buffer, count, text);
}

const wchar_t* PriorityClassText(uint32_t priorityClass) {
    for (const PriorityName& name : kPriorityNames)
        if (name.priorityClass == priorityClass)
            return name.text;
    return L": Unknown";
}

void FormatGuiObjectTexts(const GuiObjectTexts& texts, uint32_t gdiObjects, uint32_t userObjects) {
    FormatColonDecimal(texts.gdiObjects, texts.gdiObjectsCount, static_cast<int32_t>(gdiObjects));
    FormatColonDecimal(texts.userObjects, texts.userObjectsCount,
                       static_cast<int32_t>(userObjects));
    FormatColonDecimal(texts.handles, texts.handlesCount,
                       static_cast<int32_t>(gdiObjects + userObjects));
}

void FormatIoTexts(wchar_t* reads, size_t readsCount, wchar_t* writes, size_t writesCount,
                   const IoOperationCounts* counts) {
    if (!counts)
        return;
    FormatColonUnsigned64(reads, readsCount, counts->reads);
    FormatColonUnsigned64(writes, writesCount, counts->writes);
}
