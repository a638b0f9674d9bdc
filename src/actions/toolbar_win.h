// The window adjustment toolbar and the context menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST ToolbarImageList;
extern HWND pinnedWindow;
extern HMENU contextMenu;

// The toolbar at place in the parent, with images of iconSize.
HWND CreateActionToolbar(HWND parent, RECT place, int iconSize);
// Moves the toolbar and makes its images again when their size changes.
void ScaleActionToolbar(HWND toolbar, RECT place, int iconSize);
// Gives the toolbar the keyboard focus without marking a button: a toolbar that
// gets the focus makes its first button hot, drawn framed as if under the mouse.
void FocusActionToolbar(HWND toolbar);
void PrepareContextMenu();
// WM_COMMAND from the toolbar or the menu. False for any other id, which the
// window procedure leaves to the default handling.
bool RunActionCommand(int id);
void FillToolbarTooltip(NMTTDISPINFOW* info);
// Whether the window is the toolbar's tooltip control, the one sender of tooltip requests.
bool IsToolbarTooltip(HWND window);
void ShowContextMenu(HWND window);
// Whether the context menu is on screen (its modal loop is running).
bool IsContextMenuShown();
// Closes the context menu if it is on screen; its modal loop ends once the
// current message is handled.
void CloseContextMenu();

// The actions, on the selected entry's window (the restore on pinnedWindow, or on
// the selected window when that is pinned).
void ToggleTopmost();
void RestoreTopmost();
void MakeMoreOpaque();
void MakeMoreTransparent();
// While the switcher is shown: puts it back above the window pinned during this
// opening, whose program makes the move on its own time, once it has.
void KeepSwitcherAbovePinnedWindow();
// Opens the page of a context-menu command in the browser and closes the switcher.
void OpenVendorPage(int menuId);
// Releases the toolbar's image list and the menu; at shutdown.
void ReleaseActions();
