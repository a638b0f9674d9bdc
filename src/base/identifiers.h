// Message, command, hot-key and timer numbers shared by every module.
// Portable: no windows.h here; the Windows side checks the few system
// numbers it relies on with static_assert.
#pragma once

// Private window messages. Other programs send them to a running switcher (the settings
// tools the reload, the end-to-end tests the commands), so their numbers are fixed; 114 lies
// below WM_USER, in the system's range, where the system defines no message of that number.
constexpr unsigned WM_SWITCHER_COMMAND = 114;  // posted by the hooks and by CancelSwitch
constexpr unsigned WM_RELOAD_OPTIONS = 0x807C; // sent by the settings tools
constexpr unsigned WM_ANOTHER_START = 0x807D;  // sent by a second start of the program
// The notification-area icon's callback: the shell posts it (WM_APP + 1) with the
// mouse or keyboard event in lParam's low word. Explorer's "TaskbarCreated" is a
// registered message and has no fixed number.
constexpr unsigned WM_TRAY_CALLBACK = 0x8001;

// Switcher command codes carried in WM_SWITCHER_COMMAND's wParam.
constexpr unsigned CMD_NEXT = 115;
constexpr unsigned CMD_PREV = 116;
constexpr unsigned CMD_OPEN = 117;
constexpr unsigned CMD_ACTIVATE = 118;
constexpr unsigned CMD_CANCEL = 119;
constexpr unsigned CMD_LAST = 121;
constexpr unsigned CMD_FIRST = 122;
// Posted by the hooks while the switcher is shown, and by the key above Tab.
constexpr unsigned CMD_CLOSE_SELECTED = 130; // asks the selected window to close
constexpr unsigned CMD_CLOSE_POINTED = 131;  // lParam: the screen point of a middle click
constexpr unsigned CMD_TYPE_KEY = 132;       // lParam: the key, packed by PackTypedKey
constexpr unsigned CMD_CLEAR_FILTER = 133;   // Escape while a typed text is shown
constexpr unsigned CMD_OPEN_PROGRAM = 134;   // opens on the front window's program alone

// Hot-key ids.
constexpr int HOTKEY_ALT_TAB = 112;
constexpr int HOTKEY_ALT_SHIFT_TAB = 113;
constexpr int HOTKEY_EXIT = 120;

// Timer ids.
constexpr unsigned TIMER_CLOCK = 110;
constexpr unsigned TIMER_PREVIEW = 111;
constexpr unsigned TIMER_SWITCHER_WATCH = 123;   // while the switcher is shown
constexpr unsigned TIMER_FOREGROUND_WATCH = 124; // while a pass-through list is set

// The class name is the only name by which other programs find the switcher.
#define ZEPHTAB_WINDOW_CLASS L"gZephtab"
// The named mutex that a running copy holds from its first instruction to its end.
#define ZEPHTAB_SINGLE_INSTANCE_NAME L"{{7759C0CB-AA7C-402f-8384-E11D0272D084}}"
