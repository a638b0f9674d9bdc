// Helpers of the hook, background and keyboard tests.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "settings/options.h"

// The default options record, as a first start stores it.
SwitcherOptions DefaultSwitcherOptions();

// Starts the switcher in this process with these options stored first.
void StartSwitcherWith(const SwitcherOptions& stored);
// Stores these options and sends the reload message to the switcher window.
void ReloadSwitcherWith(HWND switcher, const SwitcherOptions& stored);
// Removes what the switcher wrote to the registry (settings and the Run value).
void RemoveSwitcherRegistryTraces();

// Each channel of actual within tolerance of expected.
::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance = 2);
// Every channel at or below the other colour's (within tolerance): "no lighter than".
bool NoLighter(COLORREF colour, COLORREF than, int tolerance = 0);

// WM_SWITCHER_COMMAND codes waiting in this thread's queue for the window, removed, in order.
std::vector<WPARAM> TakePostedCommands(HWND window);

// The first WM_SWITCHER_COMMAND code posted to the window, removed; 0 after the deadline.
// Handles sent messages and hook calls while it waits, but runs no posted message.
WPARAM WaitForPostedCommand(HWND window, DWORD deadlineMs = 3000);

// Presses or releases one key through SendInput (this process's own input).
// The right Shift and Alt keys are sent as extended keys: that is how Wine tells
// them from the left ones.
void InjectKey(WORD key, bool down);
