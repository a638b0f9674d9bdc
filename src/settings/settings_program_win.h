// Zephtab Settings, the dialog program shipped beside zephtab.exe.
#pragma once

// Starts zephtab-settings.exe from the folder of this program; false when it cannot
// be found or started (a portable copy without it, a path too long).
bool OpenSettingsProgram();
