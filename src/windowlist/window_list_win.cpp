#include "windowlist/window_list_win.h"

WindowEntry* WindowList;
int windowCount;
int listedCount;
int selectedIndex = -1;

int RefreshWindowList() {
    return 0;
}
BOOL CALLBACK WindowListEnumProc(HWND, LPARAM) {
    return TRUE;
}
