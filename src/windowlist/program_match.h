// Whether a program's file matches a pattern of the "Exclude" or "PassThrough"
// list. Portable.
#pragma once
#include "settings/program_patterns.h"

// A pattern with a path separator (\ or /) is matched against the whole path,
// any other against the file name alone; * stands for any run of characters,
// ? for one, and letter case is ignored. An empty path (one that could not be
// read) matches nothing, not even *.
bool ProgramMatchesPattern(const wchar_t* path, const wchar_t* pattern);
bool ProgramMatchesAny(const wchar_t* path, const ProgramPatternList& list);
