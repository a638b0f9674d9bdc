#include "windowlist/text_match.h"

#include <cwchar>

namespace {

// Whether text contains the word word[0..length).
bool Contains(const wchar_t* text, const wchar_t* word, size_t length) {
    for (; *text; ++text)
        if (std::wcsncmp(text, word, length) == 0)
            return true;
    return false;
}

bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
    const size_t length = std::wcslen(prefix);
    return std::wcsncmp(text, prefix, length) == 0;
}

} // namespace

bool MatchesTypedText(const wchar_t* typed, const MatchCandidate& candidate) {
    const wchar_t* word = typed;
    while (*word) {
        if (*word == L' ') {
            ++word;
            continue;
        }
        size_t length = 0;
        while (word[length] && word[length] != L' ')
            ++length;
        if (!Contains(candidate.title, word, length) && !Contains(candidate.program, word, length))
            return false;
        word += length;
    }
    return true;
}

bool StartsWithTypedText(const wchar_t* typed, const MatchCandidate& candidate) {
    return StartsWith(candidate.title, typed) ||
           (*candidate.program && StartsWith(candidate.program, typed));
}

int ChooseMatches(const wchar_t* typed, const MatchCandidate* candidates, int count, int* chosen) {
    int found = 0;
    for (int i = 0; i < count; ++i)
        if (StartsWithTypedText(typed, candidates[i]) && MatchesTypedText(typed, candidates[i]))
            chosen[found++] = i;
    for (int i = 0; i < count; ++i)
        if (!StartsWithTypedText(typed, candidates[i]) && MatchesTypedText(typed, candidates[i]))
            chosen[found++] = i;
    return found;
}

const wchar_t* FileNameOf(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* at = path; *at; ++at)
        if (*at == L'\\' || *at == L'/')
            name = at + 1;
    return name;
}

bool AppendTypedCharacter(wchar_t* typed, size_t capacity, wchar_t character) {
    const size_t length = std::wcslen(typed);
    if (character == 0 || length + 1 >= capacity)
        return false;
    typed[length] = character;
    typed[length + 1] = 0;
    return true;
}

bool RemoveLastTypedCharacter(wchar_t* typed) {
    const size_t length = std::wcslen(typed);
    if (length == 0)
        return false;
    // A character beyond the basic plane is two units: both go.
    const bool pair = length >= 2 && typed[length - 1] >= 0xDC00 && typed[length - 1] <= 0xDFFF &&
                      typed[length - 2] >= 0xD800 && typed[length - 2] <= 0xDBFF;
    typed[length - (pair ? 2 : 1)] = 0;
    return true;
}
