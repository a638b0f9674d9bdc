#include "actions/toolbar_win.h"

HIMAGELIST ToolbarImageList;
HWND pinnedWindow;
HMENU contextMenu;

HWND CreateActionToolbar(HWND) {
    return nullptr;
}
void PrepareContextMenu() {}
void RunActionCommand(int) {}
void FillToolbarTooltip(NMTTDISPINFOW*) {}
void ShowContextMenu(HWND) {}
void ReleaseActions() {}
