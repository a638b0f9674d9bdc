#include "settings/program_patterns.h"

#include <cwchar>

ProgramPatternList excludePatterns;
ProgramPatternList passThroughPatterns;

// Compared as wchar_t throughout: the units come from UTF-16 and are never negative.
wchar_t FoldPatternChar(wchar_t c) {
    if (c == L'/')
        return L'\\';
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 0x20);
    if (c < 0xC0)
        return c;
    // Latin-1: from A grave to thorn, except the multiplication sign.
    if (c <= 0xDE && c != 0xD7)
        return static_cast<wchar_t>(c + 0x20);
    // Latin Extended-A pairs each capital with the small letter after it, with the
    // runs from L acute to N caron and from Z acute to Z caron shifted by one; the
    // dotted capital I has no pair.
    if (c >= 0x100 && c <= 0x137 && c != 0x130)
        return static_cast<wchar_t>(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return static_cast<wchar_t>(c + (c & 1));
    if (c >= 0x14A && c <= 0x177)
        return static_cast<wchar_t>(c | 1);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) // Greek capitals
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F) // Cyrillic A to YA
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) // Cyrillic IE grave to DZHE
        return static_cast<wchar_t>(c + 0x50);
    return c;
}

namespace {

bool SamePattern(const wchar_t* a, const wchar_t* b) {
    for (; *a && *b; ++a, ++b)
        if (FoldPatternChar(*a) != FoldPatternChar(*b))
            return false;
    return *a == *b;
}

unsigned StoreEntry(const uint16_t* units, size_t length, ProgramPatternList* list) {
    if (length > MAX_PATTERN_LENGTH)
        return PATTERNS_LONG_ENTRY;
    if (list->count >= MAX_PROGRAM_PATTERNS)
        return PATTERNS_TOO_MANY;
    wchar_t* pattern = list->patterns[list->count];
    for (size_t i = 0; i < length; ++i)
        pattern[i] = static_cast<wchar_t>(units[i]);
    pattern[length] = L'\0';
    ++list->count;
    return 0;
}

} // namespace

unsigned ReadPatternList(const uint8_t* bytes, size_t size, PatternValueType type,
                         ProgramPatternList* list) {
    list->count = 0;
    if (type == PATTERN_VALUE_OTHER)
        return PATTERNS_WRONG_TYPE;
    unsigned problems = type == PATTERN_VALUE_SZ ? unsigned(PATTERNS_WRONG_TYPE) : 0u;
    if (size % 2)
        problems |= PATTERNS_UNTERMINATED;
    const size_t unitCount = size / 2;
    // One entry at a time, read unit by unit: the bytes need not be aligned.
    uint16_t entry[MAX_PATTERN_LENGTH + 1];
    size_t length = 0;
    bool overLong = false;
    bool closed = false; // the list's own terminator was met
    for (size_t i = 0; i < unitCount; ++i) {
        const uint16_t unit = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit != 0) {
            if (length < MAX_PATTERN_LENGTH + 1)
                entry[length] = unit;
            overLong = overLong || length >= MAX_PATTERN_LENGTH;
            ++length;
            continue;
        }
        if (length == 0) {
            // An empty entry: the list's end when nothing but zeros follows.
            bool onlyZeros = true;
            for (size_t j = i + 1; j < unitCount && onlyZeros; ++j)
                onlyZeros = bytes[2 * j] == 0 && bytes[2 * j + 1] == 0;
            if (onlyZeros) {
                closed = true;
                break;
            }
            problems |= PATTERNS_EMPTY_ENTRY;
            continue;
        }
        problems |= overLong ? unsigned(PATTERNS_LONG_ENTRY) : StoreEntry(entry, length, list);
        length = 0;
        overLong = false;
    }
    if (length > 0) {
        problems |= PATTERNS_UNTERMINATED;
        problems |= overLong ? unsigned(PATTERNS_LONG_ENTRY) : StoreEntry(entry, length, list);
    } else if (!closed && type == PATTERN_VALUE_MULTI_SZ && list->count > 0) {
        problems |= PATTERNS_UNTERMINATED; // each entry ended, the list did not
    }
    return problems;
}

size_t WritePatternList(const ProgramPatternList& list, uint8_t* out, size_t capacity) {
    size_t used = 0;
    auto put = [&](wchar_t c) {
        if (used + 2 > capacity)
            return false;
        const unsigned u = static_cast<unsigned>(c) & 0xFFFF;
        out[used++] = static_cast<uint8_t>(u & 0xFF);
        out[used++] = static_cast<uint8_t>(u >> 8);
        return true;
    };
    for (int i = 0; i < list.count; ++i) {
        for (const wchar_t* c = list.patterns[i]; *c; ++c)
            if (!put(*c))
                return 0;
        if (!put(L'\0'))
            return 0;
    }
    if (!put(L'\0'))
        return 0;
    // An empty list still has its entry terminator: two zero units.
    if (list.count == 0 && !put(L'\0'))
        return 0;
    return used;
}

bool IsStorablePattern(const wchar_t* pattern) {
    size_t length = 0;
    for (; pattern[length]; ++length)
        if (pattern[length] < 0x20 || length >= MAX_PATTERN_LENGTH)
            return false;
    return length > 0;
}

int FindPattern(const ProgramPatternList& list, const wchar_t* pattern) {
    for (int i = 0; i < list.count; ++i)
        if (SamePattern(list.patterns[i], pattern))
            return i;
    return -1;
}

bool AddPattern(ProgramPatternList* list, const wchar_t* pattern) {
    if (!IsStorablePattern(pattern) || FindPattern(*list, pattern) >= 0 ||
        list->count >= MAX_PROGRAM_PATTERNS)
        return false;
    std::wcscpy(list->patterns[list->count], pattern);
    ++list->count;
    return true;
}

bool RemovePattern(ProgramPatternList* list, const wchar_t* pattern) {
    const int index = FindPattern(*list, pattern);
    if (index < 0)
        return false;
    for (int i = index; i + 1 < list->count; ++i)
        std::wcscpy(list->patterns[i], list->patterns[i + 1]);
    --list->count;
    return true;
}
