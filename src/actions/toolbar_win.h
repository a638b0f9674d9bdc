// The window adjustment toolbar and the context menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST ToolbarImageList;
extern HWND pinnedWindow;
extern HMENU contextMenu;

HWND CreateActionToolbar(HWND parent);
void PrepareContextMenu();
// WM_COMMAND from the toolbar or the menu. False for any other id, which the
// window procedure leaves to the default handling.
bool RunActionCommand(int id);
void FillToolbarTooltip(NMTTDISPINFOW* info);
// Whether the window is the toolbar's tooltip control, the one sender of tooltip requests.
bool IsToolbarTooltip(HWND window);
void ShowContextMenu(HWND window);

// The actions, on the selected entry's window (the restore on pinnedWindow).
void ToggleTopmost();
void RestoreTopmost();
void MakeMoreOpaque();
void MakeMoreTransparent();
// Opens the page of a context-menu command in the browser and closes the switcher.
void OpenVendorPage(int menuId);
// Releases the toolbar's image list and the menu; at shutdown.
void ReleaseActions();
