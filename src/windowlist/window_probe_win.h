// Whether a listed window's thread is answering right now. The switcher runs
// on one thread that also carries the desktop's input hooks, so it must never
// wait long on another program: calls that wait for a window's thread are made
// only after this probe.
#pragma once
#include <windows.h>

// The longest the switcher waits for another program's window to answer, here
// and for the icon it asks each listed window for.
constexpr UINT WINDOW_ANSWER_TIMEOUT_MS = 100;

// False for a window the system counts as hung, and for one that does not
// answer a trivial message within WINDOW_ANSWER_TIMEOUT_MS (or is gone).
bool WindowAnswers(HWND window);
