// Which listed windows the text typed into the shown switcher keeps, and in
// what order. Every text here is already case-folded by the system's case
// mapping (the Windows side folds), so the comparisons are plain. Portable.
#pragma once
#include <cstddef>

// At most this many characters are typed; the buffer holds them and the end.
constexpr int TYPED_TEXT_LENGTH = 64;
constexpr size_t TYPED_TEXT_CAPACITY = TYPED_TEXT_LENGTH + 1;

struct MatchCandidate {
    const wchar_t* title;   // folded; never null
    const wchar_t* program; // the program file's folded name, or empty when unknown
};

// True when every space-separated word of typed appears in the title or in the
// program name. An empty typed text (or one of spaces) keeps every window.
bool MatchesTypedText(const wchar_t* typed, const MatchCandidate& candidate);
// True when the title or the program name starts with the whole typed text.
bool StartsWithTypedText(const wchar_t* typed, const MatchCandidate& candidate);
// Fills chosen with the indices of the candidates that match: those that start
// with the typed text first, then the others, each group in the given order.
// Returns how many.
int ChooseMatches(const wchar_t* typed, const MatchCandidate* candidates, int count, int* chosen);

// The file name part of a full path (after the last backslash or slash).
const wchar_t* FileNameOf(const wchar_t* path);

// Appends one character unless the text is full; removes the last one. Both
// return whether the text changed.
bool AppendTypedCharacter(wchar_t* typed, size_t capacity, wchar_t character);
bool RemoveLastTypedCharacter(wchar_t* typed);
