#include "settings/screen_position.h"

const ScreenPosition screenPositions[POSITION_LAST + 1] = {
    {CENTRE_BAND, CENTRE_BAND}, // centre
    {CENTRE_BAND, NEAR_BAND},   // upper
    {CENTRE_BAND, FAR_BAND},    // lower
    {NEAR_BAND, CENTRE_BAND},   // left
    {NEAR_BAND, NEAR_BAND},     // upper left
    {NEAR_BAND, FAR_BAND},      // lower left
    {FAR_BAND, CENTRE_BAND},    // right
    {FAR_BAND, NEAR_BAND},      // upper right
    {FAR_BAND, FAR_BAND},       // lower right
};

const ScreenPosition& ScreenPositionOf(uint8_t positionCode) {
    return screenPositions[positionCode <= POSITION_LAST ? positionCode : POSITION_CENTRE];
}
