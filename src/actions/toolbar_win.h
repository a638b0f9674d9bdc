// The window adjustment toolbar and the context menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND ActionToolbar; // created and owned here, a child of the switcher window
extern HIMAGELIST ToolbarImageList;
extern HWND pinnedWindow;
extern HMENU contextMenu;

// Creates ActionToolbar at place in the parent, with images of iconSize; returns
// it, or null when it cannot be created.
HWND CreateActionToolbar(HWND parent, RECT place, int iconSize);
// Moves the toolbar and makes its images again when their size changes.
void ScaleActionToolbar(HWND toolbar, RECT place, int iconSize);
// Gives the toolbar the keyboard focus without marking a button: a toolbar that
// gets the focus makes its first button hot, drawn framed as if under the mouse.
void FocusActionToolbar(HWND toolbar);
void PrepareContextMenu();

// What a command did, for the window procedure that handed it over.
enum ActionOutcome {
    ACTION_NOT_MINE,    // not a toolbar or menu id: the default handling applies
    ACTION_DONE,        // the selected window (or the pinned one) was adjusted, or left alone
    ACTION_ENDS_SWITCH, // a page was opened: the caller ends the switch and hides the switcher
};
// WM_COMMAND from the toolbar (pin, unpin, more opaque, more transparent, on the
// selected entry's window; unpin on pinnedWindow, or on the selected window when
// that is pinned) or from the context menu (a vendor page opened in the browser).
ActionOutcome RunActionCommand(int id);
// What the button with this command id does now: its tooltip, and its name for
// assistive programs.
const wchar_t* ToolbarButtonText(int commandId);
void FillToolbarTooltip(NMTTDISPINFOW* info);
// Whether the window is the toolbar's tooltip control, the one sender of tooltip requests.
bool IsToolbarTooltip(HWND window);
void ShowContextMenu(HWND window);
// Whether the context menu is on screen (its modal loop is running).
bool IsContextMenuShown();
// Closes the context menu if it is on screen; its modal loop ends once the
// current message is handled.
void CloseContextMenu();
// While the switcher is shown: puts it back above the window this run pinned,
// whose program makes the move on its own time, once it has.
void KeepSwitcherAbovePinnedWindow();
// Releases the toolbar's image list and the menu; at shutdown.
void ReleaseActions();
