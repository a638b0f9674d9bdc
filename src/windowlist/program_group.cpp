#include "windowlist/program_group.h"

#include <cwchar>

#include "windowlist/text_match.h"

bool IsStoreAppHost(const wchar_t* foldedPath) {
    return foldedPath && std::wcscmp(FileNameOf(foldedPath), L"applicationframehost.exe") == 0;
}

const wchar_t* ProgramPathOfWindow(const wchar_t* ownPath, const wchar_t* hostedPath) {
    if (IsStoreAppHost(ownPath) && hostedPath && *hostedPath)
        return hostedPath;
    return ownPath;
}

bool IsSameProgram(const ProgramOfWindow& a, const ProgramOfWindow& b) {
    if (*a.path && *b.path)
        return std::wcscmp(a.path, b.path) == 0;
    return !*a.path && !*b.path && a.processId == b.processId;
}

int ChooseProgramWindows(const ProgramOfWindow* programs, int count, int front, int* chosen) {
    if (front < 0 || front >= count)
        return 0;
    int found = 0;
    chosen[found++] = front;
    for (int i = 0; i < count; ++i)
        if (i != front && IsSameProgram(programs[front], programs[i]))
            chosen[found++] = i;
    return found;
}
