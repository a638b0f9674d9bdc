// Resource and command ids, shared by the code and zephtab.rc.
#pragma once

#define IDI_APP 107
#define IDI_DEFAULT_WINDOW 129
#define IDI_TOOL_RESTORE 130
#define IDI_TOOL_TRANSPARENT 131
#define IDI_TOOL_OPAQUE 132
#define IDI_TOOL_TOPMOST 133
#define IDR_CONTEXT_MENU 134

#define IDC_TOPMOST 126
#define IDC_RESTORE_TOPMOST 127
#define IDC_OPAQUE 128
#define IDC_TRANSPARENT 129

#define IDM_VENDOR_SITE 32772
#define IDM_PRODUCT_SITE 32774

// The notification-area icon's menu, in its order.
#define IDM_TRAY_SETTINGS 32780
#define IDM_TRAY_PAUSE 32781
#define IDM_TRAY_START_AT_LOGON 32782
#define IDM_TRAY_EXIT 32783
