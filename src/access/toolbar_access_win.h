// What assistive programs read of the window adjustment toolbar: a toolbar
// whose children are its buttons, each named by what a press does (the text of
// its tooltip). Its buttons show only icons, and the system's own object for a
// toolbar reads button texts, which these buttons have none of.
#pragma once
#include <windows.h>
#include <oleacc.h>

// Answers WM_GETOBJECT for the toolbar with the toolbar's object until the toolbar
// is destroyed.
void ServeToolbarAccess(HWND toolbar);
// The toolbar's object, for the release at shutdown.
IAccessible* ToolbarAccessible();
