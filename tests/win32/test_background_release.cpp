// Releasing the surfaces and drawing objects: each exactly once, and nothing left behind.
#include <gtest/gtest.h>

#include "app/app_win.h"
#include "display/surfaces_win.h"
#include "hooks_support_win.h"
#include "test_support_win.h"

namespace {

TEST(BackgroundRelease, ReleaseDeletesEverySurfaceAndObjectOnceAndNullsThem) {
    StartSwitcherWith(DefaultSwitcherOptions());
    const HDC dcs[] = {BackgroundBuffer, FrameBuffer, PreviewCanvas};
    HGDIOBJ bitmaps[3];
    for (int i = 0; i < 3; ++i)
        bitmaps[i] = GetCurrentObject(dcs[i], OBJ_BITMAP);
    const HGDIOBJ objects[] = {BannerFont, TextFont, ClockFont, SeparatorPen, BackgroundBrush};
    for (HDC dc : dcs)
        ASSERT_NE(GetObjectType(dc), 0u);
    for (HGDIOBJ object : objects)
        ASSERT_NE(GetObjectType(object), 0u);
    const int before = CountGdiObjects();

    ReleaseSwitcherDisplay();

    for (HDC dc : dcs)
        EXPECT_EQ(GetObjectType(dc), 0u);
    for (HGDIOBJ bitmap : bitmaps)
        EXPECT_EQ(GetObjectType(bitmap), 0u);
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u);
    EXPECT_EQ(CountGdiObjects(), before - 11);
    EXPECT_EQ(BackgroundBuffer, nullptr);
    EXPECT_EQ(FrameBuffer, nullptr);
    EXPECT_EQ(PreviewCanvas, nullptr);
    EXPECT_EQ(BannerFont, nullptr);
    EXPECT_EQ(TextFont, nullptr);
    EXPECT_EQ(ClockFont, nullptr);
    EXPECT_EQ(SeparatorPen, nullptr);
    EXPECT_EQ(BackgroundBrush, nullptr);

    // A second release (the window's destruction runs one) deletes nothing more.
    const int after = CountGdiObjects();
    DestroyWindow(SwitcherWindow);
    PumpMessages();
    EXPECT_LE(CountGdiObjects(), after);
    RemoveSwitcherRegistryTraces();
}

} // namespace
