// The DPI of a monitor, and the icon sizes the system uses at a DPI.
#pragma once
#include <windows.h>

// Narrow seam for tests: when not 0, every monitor reports this DPI (under Wine
// all monitors share one DPI, so an alternation cannot be provoked for real).
extern int dpiOverride;

// The monitor's effective DPI, made usable; where the system cannot tell a
// monitor's DPI (before Windows 8.1), the system DPI.
int MonitorDpi(HMONITOR monitor);
// The size of the system's large (SM_CXICON) or small (SM_CXSMICON) icons at dpi.
int SystemIconSize(int dpi, bool small);
// Drops the libraries of the functions found at run time; at shutdown.
void ReleaseDpiQueries();
