#include "display/process_text.h"

#include <cstring>

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

// Writes the digits of value in the given base before end (after them a terminating
// zero, unless the text goes on there); returns the first digit.
wchar_t* WriteDigits(wchar_t* end, uint64_t value, unsigned base, bool terminate = true) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    if (terminate)
        *end = 0;
    do {
        *--end = kDigits[value % base];
        value /= base;
    } while (value != 0);
    return end;
}

// As %d writes it, ending at end (which is left as it is); returns the first character.
wchar_t* WriteSigned(wchar_t* end, int32_t value) {
    // Negated in 64 bits so that the smallest int32 has a magnitude too.
    const uint64_t magnitude =
        value < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(value)) : value;
    wchar_t* first = WriteDigits(end, magnitude, 10, false);
    if (value < 0)
        *--first = L'-';
    return first;
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

// A positive double (below 2^53) in thousandths, rounded as printf's "%.3f" rounds its
// exact binary value: to the nearest, a tie to the even one. Whole numbers only, so
// that no library formatting code comes into the program for it.
uint64_t RoundedThousandths(double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int exponent =
        static_cast<int>((bits >> 52) & 0x7FF) - 1075; // value = mantissa * 2^exponent
    const uint64_t scaled = mantissa * 1000;           // below 2^63
    if (exponent >= 0)
        return scaled << exponent;
    if (exponent <= -64)
        return 0;
    const int shift = -exponent;
    const uint64_t whole = scaled >> shift;
    const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    return whole + ((rest > half || (rest == half && (whole & 1))) ? 1 : 0);
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
    wchar_t scratch[kScratchCount];
    scratch[kScratchCount - 1] = 0;
    wchar_t* first = WriteSigned(scratch + kScratchCount - 1, total);
    *--first = L'/';
    first = WriteSigned(first, position);
    *--first = L' ';
    *--first = L':';
    return CopyText(buffer, count, first);
}

IEEE_ARITHMETIC size_t FormatMemoryText(wchar_t* buffer, size_t count, uint64_t bytes) {
    if (bytes < 1000)
        return FormatColonDecimal(buffer, count, static_cast<int32_t>(bytes));
    // Scaled by multiplying with the constant, as the figures have always been shown.
    const double value = static_cast<double>(bytes);
    double scaled = value * 0.000000001;
    wchar_t unit = L'G';
    if (bytes < 1000000) {
        scaled = value * 0.001;
        unit = L'k';
    } else if (bytes < 1000000000) {
        scaled = value * 0.000001;
        unit = L'M';
    }
    const uint64_t thousandths = RoundedThousandths(scaled);
    wchar_t scratch[kScratchCount];
    wchar_t* end = scratch + kScratchCount - 1;
    *end = 0;
    *--end = unit;
    *--end = L' ';
    uint64_t decimals = thousandths % 1000;
    for (int digit = 0; digit < 3; ++digit, decimals /= 10)
        *--end = static_cast<wchar_t>(L'0' + decimals % 10);
    *--end = L'.';
    wchar_t* first = WriteDigits(end, thousandths / 1000, 10, false);
    *--first = L' ';
    *--first = L':';
    return CopyText(buffer, count, first);
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
