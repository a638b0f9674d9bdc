// Icons of program files, for windows that give no icon of their own (under
// Wine, every other program's window). Each program file is read once per icon
// size and its icon kept between openings, in a table of fixed size.
#pragma once
#include <windows.h>

// The icon of the program file of the process that owns window, size x size
// pixels, or null when the path cannot be read, the file has no icon, or every
// slot of the table holds an icon handed out since EndProgramIconUse. The path
// comes from the process, so a window whose thread hangs costs no wait. The
// table owns the icon: callers never destroy it.
HICON ProgramFileIcon(HWND window, int size);
// The same for a file given by its full path.
HICON ProgramFileIconOfPath(const wchar_t* path, int size);
// The icons handed out so far are shown nowhere any more (the strip let go of
// its images): when the table is full, a new program's icon may replace one.
void EndProgramIconUse();
// Destroys every icon the table holds; at shutdown.
void ReleaseProgramIcons();
