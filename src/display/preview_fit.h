// Placement of a window's live image in the 198 x 198 preview square, and the
// delay before it is captured. Portable.
#pragma once
#include <cstdint>

constexpr int PREVIEW_SIZE = 198;
constexpr int PREVIEW_ICON_POSITION = 83; // a 32 x 32 icon centred in the square
constexpr int PREVIEW_ICON_SIZE = 32;

// The world transform's numbers, single precision like the system's XFORM:
// x' = x * scale + offsetX, y' = y * scale + offsetY.
struct PreviewFit {
    bool showIcon; // the window has no area to scale: show its icon instead
    float scale;
    float offsetX;
    float offsetY;
};

// Scales the window's longer side to the square and centres the shorter one.
// A width or height of 0 or less gives showIcon and scale 1, offsets 0: never
// an infinite or undefined number.
PreviewFit FitPreview(int64_t width, int64_t height);

// Whether the live image placed by fit hides all of the icon under it; an image
// whose shorter side is thinner than the icon would leave parts of it showing.
bool LiveImageCoversIcon(const PreviewFit& fit);

// Milliseconds from a selection to its capture for the keyboard delay setting
// (0 to 3; larger values count as 3).
unsigned PreviewDelayMs(unsigned keyboardDelay);
