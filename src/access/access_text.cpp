#include "access/access_text.h"

#include "display/process_text.h"

const wchar_t* ProgramNameOfPath(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* at = path; *at; ++at)
        if (*at == L'\\' || *at == L'/')
            name = at + 1;
    return name;
}

namespace {

// As %d writes value, at text[length]; returns the new length.
size_t AppendDecimal(wchar_t* text, size_t length, int32_t value) {
    // Negated in 64 bits so that the smallest int32 has a magnitude too.
    uint64_t magnitude = value < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(value)) : value;
    if (value < 0)
        text[length++] = L'-';
    wchar_t digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0)
        text[length++] = digits[--count];
    return length;
}

size_t AppendText(wchar_t* text, size_t length, const wchar_t* part) {
    while (*part)
        text[length++] = *part++;
    return length;
}

} // namespace

size_t FormatEntryDescription(wchar_t* buffer, size_t count, int32_t position, int32_t total,
                              const wchar_t* programName) {
    // Wide enough for two 32-bit numbers, " of " and ", ", and the program's name.
    constexpr size_t kPlaceCount = 48;
    wchar_t text[kPlaceCount + 260];
    size_t length = AppendDecimal(text, 0, position);
    length = AppendText(text, length, L" of ");
    length = AppendDecimal(text, length, total);
    if (*programName)
        length = AppendText(text, length, L", ");
    for (const wchar_t* at = programName; *at && length < sizeof(text) / sizeof(text[0]) - 1; ++at)
        text[length++] = *at;
    text[length] = 0;
    return CopyText(buffer, count, text);
}

AccessChild ResolveAccessChild(int32_t childId, int listedCount, int figureCount, bool shown) {
    if (!shown)
        return {ACCESS_DISCONNECTED, -1};
    if (childId == 0)
        return {ACCESS_SWITCHER, -1};
    // In 64 bits: the sum of two counts may pass the largest id.
    const int64_t id = childId;
    if (id >= 1 && id <= listedCount)
        return {ACCESS_ENTRY, childId - 1};
    if (id > listedCount && id <= static_cast<int64_t>(listedCount) + figureCount)
        return {ACCESS_FIGURE, static_cast<int>(id - listedCount - 1)};
    return {ACCESS_NO_SUCH, -1};
}

size_t FigureNameOf(wchar_t* buffer, size_t count, const wchar_t* label) {
    size_t length = 0;
    while (label[length])
        ++length;
    while (length > 0 && label[length - 1] == L' ')
        --length;
    if (count == 0)
        return 0;
    if (length > count - 1)
        length = count - 1;
    for (size_t i = 0; i < length; ++i)
        buffer[i] = label[i];
    buffer[length] = 0;
    return length;
}

const wchar_t* FigureValueOf(const wchar_t* shown) {
    while (*shown == L':' || *shown == L' ')
        ++shown;
    return shown;
}
