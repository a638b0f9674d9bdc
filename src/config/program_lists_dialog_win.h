// The dialog of the two program lists ("Exclude" and "PassThrough"), opened
// from Zephtab Settings: it edits copies and, on OK, stores the lists that
// changed and asks a running Zephtab to reload.
#pragma once
#include <windows.h>

// Modal over owner. Returns whether a list was stored.
bool EditProgramLists(HWND owner);
