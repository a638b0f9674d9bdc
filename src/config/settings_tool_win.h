// What the two settings tools share beyond the store itself: the record
// they edit, the look at the running program, and the reload request.
#pragma once
#include <windows.h>

#include "option_report.h"
#include "settings/options.h"

// The stored record when it is valid, otherwise the defaults Zephtab would
// store; a short stored record keeps the defaults in its missing bytes.
// Writes nothing.
StoreState ReadOptionsForEditing(SwitcherOptions* record, DWORD* version, DWORD* storedLength);
// The stored second value when it is usable, otherwise the defaults Zephtab would store.
// Writes nothing.
MoreStoreState ReadMoreOptionsForEditing(MoreOptions* more);

// Everything `show` prints: the record, the store's state and whether Zephtab runs.
void GatherSettingsReport(SettingsReport* report);

HWND FindRunningZephtab();

enum ReloadOutcome {
    RELOAD_ANSWERED,    // the program reloaded and answered 1
    RELOAD_NOT_RUNNING, // no window of Zephtab's class
    RELOAD_NO_ANSWER,   // hung, busy beyond the timeout, or answered something else
};
// Sends the reload message to the running program and waits a few seconds for its answer.
ReloadOutcome SendReloadToZephtab();
