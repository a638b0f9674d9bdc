// Where each placement code puts the switcher: the band of the screen its
// centre goes to, across and down. The program's placement reads it; the
// settings tools name the codes. Portable.
#pragma once
#include <cstdint>

// Where the switcher's centre goes along one screen axis: at 30 %, 50 % or 70 % of it.
enum PlacementBand { NEAR_BAND, CENTRE_BAND, FAR_BAND };

struct ScreenPosition {
    PlacementBand column;
    PlacementBand row;
};

// Placement codes as the program reads them; codes above 8 open centred.
constexpr uint8_t POSITION_CENTRE = 0;
constexpr uint8_t POSITION_LAST = 8;
extern const ScreenPosition screenPositions[POSITION_LAST + 1];
// The placement a stored code opens at.
const ScreenPosition& ScreenPositionOf(uint8_t positionCode);
