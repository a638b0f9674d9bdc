#include "windowlist/program_paths_win.h"

#include "base/count_of.h"

unsigned programPathReads;

namespace {

// Enough for the programs of a busy desktop; a process past the last slot is read
// each time it is asked about.
struct ProgramPathSlot {
    DWORD processId;
    wchar_t path[MAX_PATH];
};
ProgramPathSlot programPaths[64];
int programPathCount;
ProgramPathSlot uncachedSlot;

void ReadProgramPath(DWORD processId, wchar_t* path, DWORD count) {
    ++programPathReads;
    ReadProcessProgramPath(processId, path, count);
}

} // namespace

// PROCESS_QUERY_LIMITED_INFORMATION is granted for most processes, also ones
// running with higher rights, and the query does not read the process's memory
// as the module list would.
bool ReadProcessProgramPath(DWORD processId, wchar_t* path, DWORD count) {
    path[0] = L'\0';
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    DWORD length = count;
    const bool read = QueryFullProcessImageNameW(process, 0, path, &length) && length < count;
    CloseHandle(process);
    if (!read)
        path[0] = L'\0';
    return read;
}

const wchar_t* ProgramPathOfWindow(HWND window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId) || processId == 0)
        return L"";
    for (int i = 0; i < programPathCount; ++i)
        if (programPaths[i].processId == processId)
            return programPaths[i].path;
    ProgramPathSlot* slot = programPathCount < static_cast<int>(CountOf(programPaths))
                                ? &programPaths[programPathCount++]
                                : &uncachedSlot;
    slot->processId = processId;
    ReadProgramPath(processId, slot->path, static_cast<DWORD>(CountOf(slot->path)));
    return slot->path;
}

void ForgetProgramPaths() {
    programPathCount = 0;
}
