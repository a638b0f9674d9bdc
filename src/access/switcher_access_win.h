// What assistive programs (screen readers, magnifiers) read of the switcher:
// through Active Accessibility it is a list named "Window switcher" whose
// children are its entries and, while the process panel is shown, the panel's
// figures; each selection is announced to them. Reads the list, the selection,
// the strip and the panel's texts; nothing below the program's top writes here.
#pragma once
#include <windows.h>

// WM_GETOBJECT: the switcher's client object while the switcher is shown; anything
// else is left to the system.
LRESULT OnGetObject(HWND window, WPARAM flags, LPARAM objectId);
// Tells listening assistive programs that the entry at index is selected and has
// the focus (and, where the system offers it, announces its title through UI
// Automation). The caller has shown it: the title shown is the name answered.
// Nothing for an index outside the list.
void AnnounceSelection(int index);
// Drops every connection that other programs hold to the switcher's and the
// toolbar's objects and
// what the announcements loaded; at shutdown.
void ReleaseSwitcherAccess();
