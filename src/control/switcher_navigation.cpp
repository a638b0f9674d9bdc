#include "control/switcher_navigation.h"

#include "base/identifiers.h"
#include "base/ieee_arithmetic.h"
#include "settings/screen_position.h"

namespace {

// Where the window's centre goes along one screen axis of the given length.
int BandCentre(PlacementBand band, int length) {
    switch (band) {
    case NEAR_BAND:
        return ScaleBy06(length) / 2;
    case FAR_BAND:
        return ScaleBy14(length) / 2;
    default:
        return length / 2;
    }
}

} // namespace

// The products are rounded to double once, as the placement is defined.
IEEE_ARITHMETIC int ScaleBy06(int v) {
    return static_cast<int>(static_cast<double>(v) * 0.6);
}

IEEE_ARITHMETIC int ScaleBy14(int v) {
    return static_cast<int>(static_cast<double>(v) * 1.4);
}

// The window's halves are rounded down: 300 and 187 for 600 x 375.
SwitcherPlacement PlaceSwitcher(const ScreenRect& monitor, int width, int height,
                                uint8_t screenPosition) {
    const ScreenPosition& position = ScreenPositionOf(screenPosition);
    return {monitor.left + BandCentre(position.column, monitor.right - monitor.left) - width / 2,
            monitor.top + BandCentre(position.row, monitor.bottom - monitor.top) - height / 2};
}

bool IsNavigationCommand(uintptr_t code) {
    return code == CMD_NEXT || code == CMD_PREV || code == CMD_FIRST || code == CMD_LAST;
}

int NavigatedIndex(uintptr_t code, int selectedIndex, int listedCount) {
    // Written as comparisons against the bounds so that no step can overflow.
    switch (code) {
    case CMD_NEXT:
        return selectedIndex >= listedCount - 1 ? 0 : selectedIndex + 1;
    case CMD_PREV:
        return selectedIndex < 1 ? listedCount - 1 : selectedIndex - 1;
    case CMD_LAST:
        return listedCount - 1;
    case CMD_FIRST:
        return 0;
    default:
        return selectedIndex;
    }
}
