#include "display/process_panel_win.h"

void UpdateProcessInfo(HWND) {}
