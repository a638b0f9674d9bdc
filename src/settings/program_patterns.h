// The two lists of program patterns, "Exclude" and "PassThrough": a program
// file name with * and ? (mstsc.exe, *game*.exe) or a full path. Stored as
// REG_MULTI_SZ values under the settings key; this reads their raw bytes for
// what is sound in them. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int MAX_PROGRAM_PATTERNS = 64;
// Characters of one pattern, without its terminator.
constexpr size_t MAX_PATTERN_LENGTH = 260;
// The largest value a full list needs: every pattern at its longest with its
// terminator, and the list's closing terminator, in UTF-16 bytes.
constexpr size_t MAX_PATTERN_VALUE_BYTES =
    (MAX_PROGRAM_PATTERNS * (MAX_PATTERN_LENGTH + 1) + 1) * 2;

struct ProgramPatternList {
    int count;
    wchar_t patterns[MAX_PROGRAM_PATTERNS][MAX_PATTERN_LENGTH + 1]; // zero-terminated
};

// What a read left out or found amiss, as bits; 0 when the value was sound.
enum PatternProblem : unsigned {
    PATTERNS_WRONG_TYPE = 1,   // not a string type: nothing is read from it
    PATTERNS_UNTERMINATED = 2, // the last entry or the list lacks its terminator (or an odd byte)
    PATTERNS_TOO_MANY = 4,     // patterns past the 64th are left out
    PATTERNS_EMPTY_ENTRY = 8,  // an empty entry before the end, skipped
    PATTERNS_LONG_ENTRY = 16,  // an entry over 260 characters, skipped
};

// How the stored value's type is read: a list, one string, or something else.
enum PatternValueType { PATTERN_VALUE_MULTI_SZ, PATTERN_VALUE_SZ, PATTERN_VALUE_OTHER };

// Fills list from the value's bytes (UTF-16 little-endian) and returns the problems.
// A single string (REG_SZ) is taken as a list of one, and reported as the wrong type.
unsigned ReadPatternList(const uint8_t* bytes, size_t size, PatternValueType type,
                         ProgramPatternList* list);

// The bytes of the list as REG_MULTI_SZ, into out of capacity bytes; returns the
// size, or 0 when it does not fit.
size_t WritePatternList(const ProgramPatternList& list, uint8_t* out, size_t capacity);

// Whether a pattern can be stored: 1 to 260 characters, no control characters.
bool IsStorablePattern(const wchar_t* pattern);
// Index of the pattern in the list, letter case ignored, or -1.
int FindPattern(const ProgramPatternList& list, const wchar_t* pattern);
// Adds a pattern not yet in the list; false when it is full or the pattern cannot be stored.
bool AddPattern(ProgramPatternList* list, const wchar_t* pattern);
// Removes the pattern (letter case ignored); false when it is not there.
bool RemovePattern(ProgramPatternList* list, const wchar_t* pattern);

// The program's two lists, read at start-up and at every reload. Owned by the store.
extern ProgramPatternList excludePatterns;
extern ProgramPatternList passThroughPatterns;

// One character as patterns compare it: letters of the Latin, Greek and Cyrillic
// alphabets in lower case, and / as \, so that C:/Games and c:\games are one path.
wchar_t FoldPatternChar(wchar_t c);
