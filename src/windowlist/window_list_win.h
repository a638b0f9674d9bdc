// The list of windows worth switching to, rebuilt at every opening.
#pragma once
#include <windows.h>

struct WindowEntry {
    HWND window;
    HWND owner; // GW_OWNER when listed, or null
};

extern WindowEntry* WindowList; // process heap array, windowCount entries
extern int windowCount;         // grows during a refresh
extern int listedCount;         // count at the end of the last refresh: the navigation bound
extern int selectedIndex;       // -1 until the first refresh

int RefreshWindowList();
BOOL CALLBACK WindowListEnumProc(HWND window, LPARAM unused);
