// The vertices and triangles of a horizontal three-colour gradient band, laid
// out like the system's TRIVERTEX and GRADIENT_TRIANGLE records. Portable:
// the Windows side checks the layout and hands them to GradientFill.
#pragma once
#include <cstdint>

struct BandVertex {
    int32_t x;
    int32_t y;
    uint16_t red;
    uint16_t green;
    uint16_t blue;
    uint16_t alpha;
};

struct BandTriangle {
    uint32_t vertex1;
    uint32_t vertex2;
    uint32_t vertex3;
};

constexpr int BAND_VERTEX_COUNT = 6;
constexpr int BAND_TRIANGLE_COUNT = 4;

struct GradientBand {
    BandVertex vertices[BAND_VERTEX_COUNT];
    BandTriangle triangles[BAND_TRIANGLE_COUNT];
};

// A COLORREF (0x00BBGGRR) as the 16-bit components of a vertex at (x, y); alpha 0.
BandVertex MakeBandVertex(int32_t x, int32_t y, uint32_t colour);

// The band (left, top)-(left + width, top + height): leftColour at x = left,
// splitColour at x = left + split, rightColour at x = left + width, blended
// linearly in between; the colour depends on x only.
GradientBand BuildGradientBand(int32_t left, int32_t top, int32_t width, int32_t height,
                               int32_t split, uint32_t leftColour, uint32_t splitColour,
                               uint32_t rightColour);
