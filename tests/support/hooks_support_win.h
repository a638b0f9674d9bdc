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

// Presses or releases one key through SendInput (this process's own input).
void InjectKey(WORD key, bool down);
