// The window adjustment toolbar and the context menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST ToolbarImageList;
extern HWND pinnedWindow;
extern HMENU contextMenu;

HWND CreateActionToolbar(HWND parent);
void PrepareContextMenu();
// WM_COMMAND with one of the toolbar or menu ids.
void RunActionCommand(int id);
void FillToolbarTooltip(NMTTDISPINFOW* info);
void ShowContextMenu(HWND window);
// Releases the toolbar's image list and the menu; at shutdown.
void ReleaseActions();
