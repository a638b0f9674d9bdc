// The characters a key typed into the shown switcher stands for, with the
// keyboard layout of the window that was in front: its dead keys and AltGr
// combinations type here what they type there.
#pragma once
#include <windows.h>

#include "control/hook_decisions.h"

// Fills characters with what the key types (control characters dropped) and
// returns how many; 0 for a key that types nothing, or a dead key that waits
// for the next one.
int CharactersOfKey(const TypedKey& key, HKL layout, wchar_t* characters, int capacity);
// A dead key still waiting is dropped, so the next opening starts afresh.
void ForgetDeadKey(HKL layout);
