// What assistive programs are told about the switcher, its entries and the
// process panel's figures, and what a child id of theirs names. Portable: no
// windows.h here.
#pragma once
#include <cstddef>
#include <cstdint>

// The name the switcher's list answers with.
constexpr wchar_t kSwitcherAccessName[] = L"Window switcher";

// The file name part of a program's path ("C:\\Tools\\a.exe" gives "a.exe").
const wchar_t* ProgramNameOfPath(const wchar_t* path);
// "3 of 12, a.exe", or "3 of 12" without a program name; cut to fit count.
size_t FormatEntryDescription(wchar_t* buffer, size_t count, int32_t position, int32_t total,
                              const wchar_t* programName);

// What a child id that an assistive program asks about stands for.
enum AccessTarget {
    ACCESS_SWITCHER,    // the list itself
    ACCESS_ENTRY,       // an entry of the shown list
    ACCESS_FIGURE,      // a figure of the process panel, after the entries
    ACCESS_NO_SUCH,     // an id that names no entry of the shown list
    ACCESS_DISCONNECTED // the switcher is hidden: nothing it showed is there any more
};
struct AccessChild {
    AccessTarget target;
    int index; // of the entry or of the panel's row; -1 otherwise
};
// Child ids are entry indexes plus one (0 is the list itself), then the panel's
// figures (figureCount of them, none while the panel is hidden); an id is checked
// against the list as it is at every call, since a caller may hold it for long.
AccessChild ResolveAccessChild(int32_t childId, int listedCount, int figureCount, bool shown);
// The child id of an entry.
inline int32_t AccessChildIdOf(int index) {
    return index + 1;
}

// A panel label as a name: without the spaces that set its value apart ("Window ").
size_t FigureNameOf(wchar_t* buffer, size_t count, const wchar_t* label);
// A panel value as read aloud: without the ": " that is drawn before it.
const wchar_t* FigureValueOf(const wchar_t* shown);
