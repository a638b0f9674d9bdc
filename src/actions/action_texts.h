// The fixed texts of the window actions: toolbar tooltips and the addresses
// of the vendor's web pages. Portable.
#pragma once

// Tooltip of the toolbar button with this command id: what a press does, so the
// pin button's depends on whether the selected window is already always on top.
// Ids without a text of their own get the restore button's text.
const wchar_t* ToolbarTooltipText(int commandId, bool selectedIsTopmost);

// http address opened by a context-menu command, or null for any other id.
const wchar_t* VendorPageAddress(int menuId);
