// The low-level keyboard and mouse hooks, which this module installs and
// removes, and the flag of a switch in progress, which only it writes. The
// hooks decide, post and return.
#pragma once
#include <windows.h>

// 1 while a switch is in progress: from the Alt+Tab that opens to the activation
// or cancel. Written here only; the hooks and this module's functions run on the
// program's one thread.
extern BYTE switcherActive;
extern HHOOK keyboardHook;
extern HHOOK mouseHook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);

// Ends a switch as the hooks do on Escape: the flag first, then the cancel is posted.
void CancelSwitch();
// An open that shows nothing ends the switch without a command.
void EndSwitchWithoutShowing();

// Sends a key the hook swallowed on to the window in front, marked so that the
// hook passes it: the key above Tab when its program has one window only.
void SendKeyOn(LPARAM packedKey);

// The mouse hook lives while the switcher is shown. A second install without a
// removal in between keeps the hook there is; a removal without one is harmless.
void InstallMouseHook();
void RemoveMouseHook();

// The keyboard hook lives from start-up to shutdown.
void InstallKeyboardHook();
void RemoveKeyboardHook();

// A key message taken from the queue for one of the switcher's windows during a
// switch. The system skips a keyboard hook that answers too slowly (and may remove
// it), and the key then reaches the focused window: unless the hook decided this
// very event, it is decided here as the hook would have, and the hook is installed
// afresh. Returns true when the message is settled and must not be dispatched.
bool TakeKeyTheHookMissed(const MSG& message);

// WM_HOTKEY of Alt+Tab or Alt+Shift+Tab, posted at messageTime. It arrives only
// when the keyboard hook did not swallow that Tab: the system may have removed
// the hook, or the foreground window's keys are out of its sight. The press is
// then decided as the hook would have, and the hook is installed afresh so that
// the Alt release and the following Tabs reach it again.
void OnAltTabHotKey(DWORD messageTime);
