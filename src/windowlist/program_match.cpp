#include "windowlist/program_match.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool HasSeparator(const wchar_t* text) {
    for (; *text; ++text)
        if (IsSeparator(*text))
            return true;
    return false;
}

const wchar_t* FileNameOf(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c; ++c)
        if (IsSeparator(*c))
            name = c + 1;
    return name;
}

// The usual wildcard walk: on a mismatch, the last * takes one more character.
// Linear in practice and never recursive, whatever the pattern.
bool MatchesWildcards(const wchar_t* text, const wchar_t* pattern) {
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*text) {
        if (*pattern == L'*') {
            star = pattern++;
            resume = text;
        } else if (*pattern &&
                   (*pattern == L'?' || FoldPatternChar(*pattern) == FoldPatternChar(*text))) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == L'*')
        ++pattern;
    return *pattern == L'\0';
}

} // namespace

bool ProgramMatchesPattern(const wchar_t* path, const wchar_t* pattern) {
    if (!path || !*path || !pattern || !*pattern)
        return false;
    return MatchesWildcards(HasSeparator(pattern) ? path : FileNameOf(path), pattern);
}

bool ProgramMatchesAny(const wchar_t* path, const ProgramPatternList& list) {
    for (int i = 0; i < list.count; ++i)
        if (ProgramMatchesPattern(path, list.patterns[i]))
            return true;
    return false;
}
