// Pixels: colours compared with one rule, icons of one colour, and the colour
// of a pixel that a drawing or an icon leaves on a small canvas.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

// RGB(0, 51, 153): the backdrop of the switcher and of the empty preview square.
constexpr COLORREF BACKDROP = RGB(0, 51, 153);

// Whether each channel of actual is within tolerance of expected; the failure names both.
// The rule: 2 by default, as a drawn colour (a gradient step, an icon converted into
// an image list and drawn back) may be rounded differently by another build or Wine
// version, and no two colours a test tells apart are nearer; 0 where the test's
// point is an exact copy of a filled colour; more only where the call says why.
::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance = 2);
// Every channel at or below the other colour's (within tolerance): "no lighter than".
bool NoLighter(COLORREF colour, COLORREF than, int tolerance = 0);

// A bitmap of the screen's format, width x height, selected into a memory DC that
// a test draws into and reads back; both released with it, however the test ends.
class MemoryCanvas {
  public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    HDC dc;

  private:
    HBITMAP bitmap;
    HGDIOBJ old;
};
// An icon of one colour, size x size; the caller destroys it.
HICON CreateSolidIcon(COLORREF colour, int size = 32);
// The colour at (x, y) of a 32 x 32 canvas, black until draw paints on it.
COLORREF DrawnPixel(const std::function<void(HDC)>& draw, int x, int y);
// The colour at (x, y) of the icon drawn at 32 x 32 on black.
COLORREF IconPixel(HICON icon, int x, int y);
// The width of the icon's pictures in pixels; 0 for no icon.
int IconWidth(HICON icon);
