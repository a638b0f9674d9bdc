// Placement of a window's live image, or of its icon, in the preview square
// (198 x 198 at 96 DPI), and the delay before the image is captured. Portable.
#pragma once
#include <cstdint>

// The world transform's numbers, single precision like the system's XFORM:
// x' = x * scale + offsetX, y' = y * scale + offsetY.
struct PreviewFit {
    bool showIcon; // the window has no area to scale: show its icon instead
    float scale;
    float offsetX;
    float offsetY;
};

// Scales the window's longer side to the square's side and centres the shorter
// one. A width or height of 0 or less gives showIcon and scale 1, offsets 0:
// never an infinite or undefined number.
PreviewFit FitPreview(int64_t width, int64_t height, int side);

// The left and top of an icon of iconSize centred in the square (83 for 32 in 198).
int PreviewIconPosition(int side, int iconSize);

// Whether the live image placed by fit hides all of the icon at iconPosition under
// it; an image whose shorter side is thinner than the icon would leave parts showing.
bool LiveImageCoversIcon(const PreviewFit& fit, int iconPosition);

// Milliseconds from a selection to its capture for the keyboard delay setting
// (0 to 3; larger values count as 3).
unsigned PreviewDelayMs(unsigned keyboardDelay);
