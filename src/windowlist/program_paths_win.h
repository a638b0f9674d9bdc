// The program file of a window's process, read once per process and kept until
// the next ForgetProgramPaths: the exclusion list and anything else that asks
// about a window's program share the reads.
#pragma once
#include <windows.h>

// The full path of the program file of the process that owns window, or "" when
// it cannot be read (the window is gone, or the process refuses the query). The
// text stays valid until the next call of ForgetProgramPaths; callers never free it.
// The path comes from the process, not its window, so a hung window costs no wait.
const wchar_t* ProgramPathOfWindow(HWND window);
// The full path of the program file of a process, read from the process itself
// (never from its windows, so a hung program costs no wait); false and "" when the
// process is gone or refuses the query. The one place that opens a process for it.
bool ReadProcessProgramPath(DWORD processId, wchar_t* path, DWORD count);
// Process ids are reused once a process ends: every opening of the switcher starts
// afresh, so the paths a list is judged by are read during that very opening.
void ForgetProgramPaths();
// Test seam: how many paths were read from processes since start-up.
extern unsigned programPathReads;
