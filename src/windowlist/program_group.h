// Which listed windows belong to one program, for Alt with the key above Tab.
// Portable: paths are folded by the Windows side, processes are numbers.
#pragma once
#include <cstdint>

// A listed window's program: its program file's folded full path (empty when it
// cannot be read) and its process. A store app's windows all belong to the one
// host program: for them the path is that of the program of the window they host.
struct ProgramOfWindow {
    const wchar_t* path;
    uint32_t processId;
};

// The folded path is the store apps' host program, whose windows are told
// apart by the program of the window they host.
bool IsStoreAppHost(const wchar_t* foldedPath);

// The path that stands for the window's program: the hosted program's when the
// window's own program is the store host and the hosted one is known.
const wchar_t* ProgramPathOfWindow(const wchar_t* ownPath, const wchar_t* hostedPath);

// Same program file; a program whose path cannot be read is its own process.
bool IsSameProgram(const ProgramOfWindow& a, const ProgramOfWindow& b);

// Fills chosen with the indices of the windows of programs[front]'s program, in
// their order but with front first. Returns how many.
int ChooseProgramWindows(const ProgramOfWindow* programs, int count, int front, int* chosen);
