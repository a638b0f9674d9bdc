// When the keyboard hook and the hot keys stand aside, so that Alt+Tab
// reaches the system's own switcher or the program in front: while the user has
// paused switching, and while the window in front belongs to a program of the
// "PassThrough" list. The hook only reads the two values below; which program a
// window belongs to is found here, on the program's thread, once per window.
#pragma once
#include <windows.h>

// 1 while paused. Written by PauseSwitching only.
extern BYTE switchingPaused;
// The window in front when it was last judged to belong to a pass-through
// program, or null. Written by this module on the program's thread only.
extern HWND passThroughWindow;

// Whether the hook stands aside for an Alt+Tab now: no allocation, no wait, no
// string compare (GetForegroundWindow only reads the desktop's state).
bool HookStandsAside();

// Pausing cancels a shown switcher first and gives Alt+Tab back to the system;
// resuming takes it again. Lasts until changed or the program ends.
void PauseSwitching(bool paused);

// The program's hot keys (Alt+Tab, Alt+Shift+Tab, Win+F12), held while the hook
// acts and let go while it stands aside, so that they reach the program in front.
// Registered in that order up to the first that another program holds: false then.
bool ClaimHotKeys();
void ReleaseHotKeys();

// Judges the window in front against the pass-through list, once per window, and
// claims or releases the hot keys to match. Returns true when it passes through.
bool JudgeForegroundWindow(HWND foreground);
// An Alt+Tab the hook took for a pass-through program it had not judged yet goes
// to that program after all: the Tab is typed again while Alt is still held.
void GiveAltTabBack();
// Looks at the window in front on a timer while the pass-through list holds
// anything (the system reports no foreground change under Wine); after every load.
void WatchForegroundForPassThrough();
void OnForegroundWatchTimer();
// At shutdown.
void StopForegroundWatch();
