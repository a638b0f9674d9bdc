// Where the switcher goes on the screen and which entry a navigation
// command selects. Portable: no windows.h.
#pragma once
#include <cstdint>

#include "base/screen_rect.h"

struct SwitcherPlacement {
    int x; // top-left corner in screen pixels; not clamped to the screen
    int y;
};

// At the screen position's bands (screenPositions in settings/screen_position.h) inside the
// monitor's rectangle, for a switcher window of this size; any value above 8 is the centre.
SwitcherPlacement PlaceSwitcher(const ScreenRect& monitor, int width, int height,
                                uint8_t screenPosition);

// v * 0.6 and v * 1.4 formed in IEEE double and truncated toward zero, so that
// p14(720) is 1007: the double nearest to 1.4 lies just below it.
int ScaleBy06(int v);
int ScaleBy14(int v);

// True for CMD_NEXT, CMD_PREV, CMD_FIRST and CMD_LAST.
bool IsNavigationCommand(uintptr_t code);

// The entry a navigation command selects, wrapping at both ends. The list bound is
// not checked beyond that: an empty list gives 0 for next and first, -1 for prev and last.
int NavigatedIndex(uintptr_t code, int selectedIndex, int listedCount);
