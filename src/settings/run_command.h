// The command that the Run key holds to start the program at log-on. Portable.
#pragma once
#include <cstddef>

// Characters of the longest program path that is registered, its terminator included:
// the size of the buffer the path is read into.
constexpr size_t MAX_PROGRAM_PATH = 2048;
// The command adds the two quotes to the path.
constexpr size_t MAX_RUN_COMMAND = MAX_PROGRAM_PATH + 2;

// Writes the path in double quotes, zero-terminated, into a buffer of count
// units: unquoted, a path with spaces is read as a shorter program followed by
// arguments, and whoever can create that shorter program gets it run at log-on.
// Returns the length written, or 0 (and an empty buffer) for an empty path or
// one whose command does not fit whole: a cut command names another program.
size_t QuoteProgramPath(wchar_t* buffer, size_t count, const wchar_t* path);

// Whether a Run value's command starts this very program file: the path in
// quotes, as this program writes it, or bare, as older versions did; letter
// case is ignored, as file names are. A command that names another copy (or
// adds arguments) is someone else's.
bool IsRunCommandOfProgram(const wchar_t* command, const wchar_t* path);
