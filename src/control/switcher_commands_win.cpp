#include "control/switcher_commands_win.h"

void RunSwitcherCommand(WPARAM) {}
void HideSwitcher() {}
void ReleaseOpenSwitcher() {}
void OnIconStripClick(const NMITEMACTIVATE*) {}
