// The decisions of the window filter, one per step, as pure functions of what
// was read from the window. The Windows side reads the facts and runs the
// steps in order; the first step that rejects ends the test. Portable.
#pragma once
#include <cstdint>

#include "base/screen_rect.h"

// Extended window styles the filter looks at (checked against windows.h on the Windows side).
constexpr uint32_t FILTER_EX_TOOLWINDOW = 0x00000080;
constexpr uint32_t FILTER_EX_CONTROLPARENT = 0x00010000;
constexpr uint32_t FILTER_EX_APPWINDOW = 0x00040000;
constexpr uint32_t FILTER_EX_NOACTIVATE = 0x08000000;

// Size of the class-name buffer, in UTF-16 units.
constexpr int FILTER_CLASS_NAME_LENGTH = 1024;

// A tool window is left out unless it also asks for a taskbar button.
bool IsHiddenToolWindow(uint32_t exStyle);

// A window that refuses activation (a taskbar, an on-screen keyboard) is left
// out, as the system's switcher leaves it out, unless it asks for a taskbar
// button: choosing it would leave no window active.
bool RefusesActivation(uint32_t exStyle);

// An owned window (a dialog, say) is listed only when it is a control parent
// itself or its owner asks for a taskbar button.
bool IsSwitchableOwnedWindow(uint32_t exStyle, uint32_t ownerExStyle);

// Windows that the desktop window manager keeps out of sight although they are
// visible to the system (on another virtual desktop, or a suspended store
// application) are not listed: they cannot be switched to. A failed query, or a
// system without the window manager, counts as not cloaked.
bool IsCloakedWindow(bool cloakedRead, uint32_t cloaked);

// Tooltip windows of the common controls and of Office; the comparison is exact
// and case-sensitive.
bool IsTooltipClass(const wchar_t* className);

// The monitor that holds the larger part of a window: the one its rectangle overlaps
// most, the earlier in the list on a tie. A window that overlaps none (off every
// screen, or of no area) belongs to the nearest monitor. -1 only when there is none.
int MonitorHoldingWindow(const ScreenRect& window, const ScreenRect* monitors, int count);
