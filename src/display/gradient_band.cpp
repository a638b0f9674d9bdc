#include "display/gradient_band.h"

namespace {

// Coordinates add with wrap-around rather than undefined overflow; the
// platform clips whatever lands off the surface.
int32_t Offset(int32_t origin, int32_t distance) {
    return static_cast<int32_t>(static_cast<uint32_t>(origin) + static_cast<uint32_t>(distance));
}

} // namespace

BandVertex MakeBandVertex(int32_t x, int32_t y, uint32_t colour) {
    BandVertex vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.red = static_cast<uint16_t>((colour & 0xFF) << 8);
    vertex.green = static_cast<uint16_t>(colour & 0xFF00);
    vertex.blue = static_cast<uint16_t>((colour >> 8) & 0xFF00);
    vertex.alpha = 0;
    return vertex;
}

GradientBand BuildGradientBand(int32_t left, int32_t top, int32_t width, int32_t height,
                               int32_t split, uint32_t leftColour, uint32_t splitColour,
                               uint32_t rightColour) {
    const int32_t splitX = Offset(left, split);
    const int32_t right = Offset(left, width);
    const int32_t bottom = Offset(top, height);
    return GradientBand{
        {MakeBandVertex(left, top, leftColour), MakeBandVertex(splitX, top, splitColour),
         MakeBandVertex(left, bottom, leftColour), MakeBandVertex(splitX, bottom, splitColour),
         MakeBandVertex(right, top, rightColour), MakeBandVertex(right, bottom, rightColour)},
        {{0, 1, 2}, {2, 1, 3}, {3, 1, 4}, {3, 4, 5}}};
}
