#include <gtest/gtest.h>

#include "display/gradient_band.h"

namespace {

void ExpectVertex(const BandVertex& vertex, int32_t x, int32_t y, uint16_t red, uint16_t green,
                  uint16_t blue) {
    EXPECT_EQ(vertex.x, x);
    EXPECT_EQ(vertex.y, y);
    EXPECT_EQ(vertex.red, red);
    EXPECT_EQ(vertex.green, green);
    EXPECT_EQ(vertex.blue, blue);
    EXPECT_EQ(vertex.alpha, 0);
}

} // namespace

TEST(GradientBand, ColourComponentsAreTheBytesShiftedIntoTheHighHalf) {
    const struct {
        uint32_t colour;
        uint16_t red, green, blue;
    } cases[] = {
        {0x00000000, 0x0000, 0x0000, 0x0000},
        {0x00FFFFFF, 0xFF00, 0xFF00, 0xFF00},
        {0x000000FF, 0xFF00, 0x0000, 0x0000},
        {0x0000FF00, 0x0000, 0xFF00, 0x0000},
        {0x00FF0000, 0x0000, 0x0000, 0xFF00},
        {0x00DE7D5B, 0x5B00, 0x7D00, 0xDE00},
        {0x00F7B799, 0x9900, 0xB700, 0xF700},
        {0x000099FF, 0xFF00, 0x9900, 0x0000},
        {0x00993300, 0x0000, 0x3300, 0x9900},
        // The unused top byte of a COLORREF never leaks into a component.
        {0xFF123456, 0x5600, 0x3400, 0x1200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour);
        ExpectVertex(MakeBandVertex(3, -4, c.colour), 3, -4, c.red, c.green, c.blue);
    }
}

TEST(GradientBand, MainBandHasSixVerticesAndFourTriangles) {
    const GradientBand band =
        BuildGradientBand(0, 50, 600, 230, 400, 0x00DE7D5B, 0x00F7B799, 0x00DE7D5B);
    ExpectVertex(band.vertices[0], 0, 50, 0x5B00, 0x7D00, 0xDE00);
    ExpectVertex(band.vertices[1], 400, 50, 0x9900, 0xB700, 0xF700);
    ExpectVertex(band.vertices[2], 0, 280, 0x5B00, 0x7D00, 0xDE00);
    ExpectVertex(band.vertices[3], 400, 280, 0x9900, 0xB700, 0xF700);
    ExpectVertex(band.vertices[4], 600, 50, 0x5B00, 0x7D00, 0xDE00);
    ExpectVertex(band.vertices[5], 600, 280, 0x5B00, 0x7D00, 0xDE00);
    const uint32_t triangles[BAND_TRIANGLE_COUNT][3] = {{0, 1, 2}, {2, 1, 3}, {3, 1, 4}, {3, 4, 5}};
    for (int i = 0; i < BAND_TRIANGLE_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(band.triangles[i].vertex1, triangles[i][0]);
        EXPECT_EQ(band.triangles[i].vertex2, triangles[i][1]);
        EXPECT_EQ(band.triangles[i].vertex3, triangles[i][2]);
    }
}

TEST(GradientBand, AccentStripIsOffsetByItsOrigin) {
    const GradientBand band =
        BuildGradientBand(10, 50, 600, 6, 300, 0x00FFFFFF, 0x000099FF, 0x00FFFFFF);
    ExpectVertex(band.vertices[0], 10, 50, 0xFF00, 0xFF00, 0xFF00);
    ExpectVertex(band.vertices[1], 310, 50, 0xFF00, 0x9900, 0x0000);
    ExpectVertex(band.vertices[2], 10, 56, 0xFF00, 0xFF00, 0xFF00);
    ExpectVertex(band.vertices[3], 310, 56, 0xFF00, 0x9900, 0x0000);
    ExpectVertex(band.vertices[4], 610, 50, 0xFF00, 0xFF00, 0xFF00);
    ExpectVertex(band.vertices[5], 610, 56, 0xFF00, 0xFF00, 0xFF00);
}

TEST(GradientBand, NegativeAndExtremeGeometryDoesNotOverflow) {
    // Runs under UBSan: coordinates wrap instead of overflowing.
    GradientBand band = BuildGradientBand(-20, -10, 40, 20, 0, 0, 0, 0);
    EXPECT_EQ(band.vertices[1].x, -20);
    EXPECT_EQ(band.vertices[5].x, 20);
    EXPECT_EQ(band.vertices[5].y, 10);
    band = BuildGradientBand(INT32_MAX, INT32_MAX, 1, 1, 1, 0, 0, 0);
    EXPECT_EQ(band.vertices[4].x, INT32_MIN);
    EXPECT_EQ(band.vertices[2].y, INT32_MIN);
}
