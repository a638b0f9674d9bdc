// A rectangle in screen pixels: a monitor, its work area or a window.
// Portable; right and bottom are exclusive, and origins may be negative
// (a monitor left of or above the primary one).
#pragma once

struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};
