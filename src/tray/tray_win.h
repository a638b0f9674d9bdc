// The notification-area icon with its menu, and pause: a room of its own that
// start-up, reload and shutdown call; nothing below the program's top includes it.
#pragma once
#include <windows.h>

// At start-up: learns Explorer's "TaskbarCreated" message and shows the icon
// when trayIcon is on. Without a notification area (Explorer not running) the
// icon comes when Explorer announces its taskbar.
void InitTray(HWND window);
// At reload: the icon comes or goes with trayIcon; pause is kept.
void ApplyTrayOption(HWND window);
// At shutdown: the icon goes, leaving no ghost behind.
void RemoveTrayIcon();
// After a change of DPI or of the icon metrics: the icon is made again at the
// size the notification area now draws, when that size changed.
void FitTrayIconToDpi();

// Explorer's "TaskbarCreated", sent to every top-level window when its taskbar
// (re)starts; 0 until InitTray.
bool IsTaskbarCreatedMessage(UINT message);
void OnTaskbarCreated();
// WM_TRAY_CALLBACK: the shell's report of a click or key on the icon.
void OnTrayCallback(HWND window, LPARAM event);
// The menu ends when the switcher opens over it.
void CloseTrayMenu();

// Test seams: whether the icon is in the notification area now, and the menu
// while it is shown (null otherwise).
bool IsTrayIconShown();
// The icon the shell was given last: the program's, or its grey copy while paused.
HICON ShownTrayIconForTest();
extern HMENU shownTrayMenu;
