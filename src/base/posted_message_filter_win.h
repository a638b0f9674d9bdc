// The one gate for messages other programs post to this thread's windows
// (ours, the controls', the menus' and the message boxes'): a thread hook that
// turns every message AcceptsPostedMessage refuses into WM_NULL before a
// window procedure sees it, in our message loop and in every modal loop.
// Each program installs it once at start-up and removes it at its end.
#pragma once
#include <windows.h>

void InstallPostedMessageFilter();
void RemovePostedMessageFilter();
// A registered message that carries no pointer and that another program may post
// ("TaskbarCreated"); its number is known only at run time. Up to four.
void AcceptPostedRegisteredMessage(UINT message);
// A timer of this thread's own with a callback (SetTimer with a function, as tests use):
// a WM_TIMER that carries a function is refused unless its timer id is one of these,
// up to four; the program itself starts no such timer.
void AcceptTimerCallback(UINT_PTR timerId);
