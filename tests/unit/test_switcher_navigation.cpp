#include <gtest/gtest.h>

#include "base/identifiers.h"
#include "base/ieee_arithmetic.h"
#include "control/switcher_navigation.h"

// The reference (outside the anonymous namespace: a local function would be given
// SSE register arguments that its callers cannot pass): one IEEE double product, whatever unit this
// test runs on.
IEEE_ARITHMETIC int TruncatedDoubleProduct(int v, double factor) {
    const volatile double f = factor; // no constant folding
    return static_cast<int>(v * f);
}

namespace {

struct Point {
    int x, y;
};

// The switcher as it is at 96 DPI on a screen of this size at the origin.
SwitcherPlacement PlaceOnScreen(int width, int height, uint8_t position) {
    return PlaceSwitcher({0, 0, width, height}, 600, 375, position);
}

void ExpectPlacements(const ScreenRect& monitor, int width, int height,
                      const Point (&expected)[9]) {
    for (int position = 0; position < 9; ++position) {
        SwitcherPlacement place =
            PlaceSwitcher(monitor, width, height, static_cast<uint8_t>(position));
        EXPECT_EQ(place.x, expected[position].x)
            << "(" << monitor.left << "," << monitor.top << ") " << width << "x" << height
            << " pos " << position;
        EXPECT_EQ(place.y, expected[position].y)
            << "(" << monitor.left << "," << monitor.top << ") " << width << "x" << height
            << " pos " << position;
    }
}

void ExpectPlacements(int width, int height, const Point (&expected)[9]) {
    ExpectPlacements({0, 0, width, height}, 600, 375, expected);
}

TEST(PlaceSwitcher, FullHdScreen) {
    const Point expected[9] = {{660, 353}, {660, 137},  {660, 569},  {276, 353}, {276, 137},
                               {276, 569}, {1044, 353}, {1044, 137}, {1044, 569}};
    ExpectPlacements(1920, 1080, expected);
}

TEST(PlaceSwitcher, XgaScreen) {
    const Point expected[9] = {{212, 197}, {212, 43},  {212, 350}, {7, 197},  {7, 43},
                               {7, 350},   {416, 197}, {416, 43},  {416, 350}};
    ExpectPlacements(1024, 768, expected);
}

TEST(PlaceSwitcher, SvgaScreenHangsOffTheTopLeftCorner) {
    const Point expected[9] = {{100, 113}, {100, -7},  {100, 233}, {-60, 113}, {-60, -7},
                               {-60, 233}, {260, 113}, {260, -7},  {260, 233}};
    ExpectPlacements(800, 600, expected);
}

TEST(PlaceSwitcher, LowerRowAt720UsesTheTruncatedDoubleProduct) {
    EXPECT_EQ(ScaleBy14(720), 1007);
    EXPECT_EQ(ScaleBy14(1080), 1512);
    EXPECT_EQ(PlaceOnScreen(1280, 720, 2).y, 316);
    EXPECT_EQ(PlaceOnScreen(1280, 720, 0).y, 173);
}

TEST(PlaceSwitcher, ScalingMatchesTheDoubleProductForEveryScreenLength) {
    for (int v = 0; v <= 20000; ++v) {
        ASSERT_EQ(ScaleBy06(v), TruncatedDoubleProduct(v, 0.6)) << v;
        ASSERT_EQ(ScaleBy14(v), TruncatedDoubleProduct(v, 1.4)) << v;
    }
}

TEST(PlaceSwitcher, PositionsPastEightAreCentred) {
    const SwitcherPlacement centre = PlaceOnScreen(1920, 1080, 0);
    for (int position : {9, 10, 128, 255}) {
        SwitcherPlacement place = PlaceOnScreen(1920, 1080, static_cast<uint8_t>(position));
        EXPECT_EQ(place.x, centre.x) << position;
        EXPECT_EQ(place.y, centre.y) << position;
    }
}

// Beside a 1920 x 1080 primary monitor: one left of it, one above it and one on its
// right standing on end, each of another size; the same formulas inside each.
TEST(PlaceSwitcher, EveryPositionLiesInsideTheMonitorItOpensOn) {
    const struct {
        ScreenRect monitor;
        Point expected[9];
    } cases[] = {
        {{-1366, 312, 0, 1080},
         {{-983, 509},
          {-983, 355},
          {-983, 662},
          {-1257, 509},
          {-1257, 355},
          {-1257, 662},
          {-710, 509},
          {-710, 355},
          {-710, 662}}},
        {{-64, -1152, 1984, 0},
         {{660, -763},
          {660, -994},
          {660, -533},
          {250, -763},
          {250, -994},
          {250, -533},
          {1069, -763},
          {1069, -994},
          {1069, -533}}},
        {{1920, -143, 2688, 1223},
         {{2004, 353},
          {2004, 79},
          {2004, 626},
          {1850, 353},
          {1850, 79},
          {1850, 626},
          {2157, 353},
          {2157, 79},
          {2157, 626}}},
    };
    for (const auto& c : cases)
        ExpectPlacements(c.monitor, 600, 375, c.expected);
}

TEST(PlaceSwitcher, TheWindowsHalvesAreRoundedDown) {
    const ScreenRect primary = {0, 0, 1920, 1080};
    const struct {
        int width, height;
        Point centre;
    } cases[] = {{600, 375, {660, 353}},
                 {900, 563, {510, 259}},
                 {901, 562, {510, 259}},
                 {1, 1, {960, 540}},
                 {0, 0, {960, 540}}};
    for (const auto& c : cases) {
        SwitcherPlacement place = PlaceSwitcher(primary, c.width, c.height, 0);
        EXPECT_EQ(place.x, c.centre.x) << c.width << "x" << c.height;
        EXPECT_EQ(place.y, c.centre.y) << c.width << "x" << c.height;
    }
}

TEST(Navigation, OnlyTheFourSteppingCodesNavigate) {
    const struct {
        uintptr_t code;
        bool navigates;
    } cases[] = {
        {CMD_NEXT, true},      {CMD_PREV, true},    {CMD_OPEN, false},
        {CMD_ACTIVATE, false}, {CMD_CANCEL, false}, {120, false},
        {CMD_LAST, true},      {CMD_FIRST, true},   {114, false},
        {123, false},          {0, false},          {uintptr_t(CMD_NEXT) + 0x10000, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsNavigationCommand(c.code), c.navigates) << c.code;
}

TEST(Navigation, StepsWrapAroundAtBothEnds) {
    const struct {
        unsigned code;
        int selected, listed, expected;
    } cases[] = {
        {CMD_NEXT, 0, 3, 1},  {CMD_NEXT, 1, 3, 2},  {CMD_NEXT, 2, 3, 0},  {CMD_NEXT, 5, 3, 0},
        {CMD_PREV, 2, 3, 1},  {CMD_PREV, 1, 3, 0},  {CMD_PREV, 0, 3, 2},  {CMD_PREV, -1, 3, 2},
        {CMD_LAST, 0, 3, 2},  {CMD_LAST, 2, 3, 2},  {CMD_FIRST, 2, 3, 0}, {CMD_FIRST, -1, 3, 0},
        {CMD_NEXT, 0, 1, 0},  {CMD_PREV, 0, 1, 0},  {CMD_NEXT, 0, 2, 1},  {CMD_NEXT, 1, 2, 0},
        {CMD_NEXT, -1, 0, 0}, {CMD_NEXT, 0, 0, 0},  {CMD_PREV, 0, 0, -1}, {CMD_LAST, 0, 0, -1},
        {CMD_FIRST, 0, 0, 0}, {CMD_NEXT, -1, 3, 0}, {CMD_OPEN, 2, 3, 2},  {120, 1, 3, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NavigatedIndex(c.code, c.selected, c.listed), c.expected)
            << "code " << c.code << " from " << c.selected << " of " << c.listed;
}

TEST(Navigation, ExtremeIndicesDoNotOverflow) {
    EXPECT_EQ(NavigatedIndex(CMD_NEXT, INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(NavigatedIndex(CMD_PREV, INT32_MIN, 4), 3);
    EXPECT_EQ(NavigatedIndex(CMD_NEXT, INT32_MAX - 1, INT32_MAX), 0);
}

} // namespace
