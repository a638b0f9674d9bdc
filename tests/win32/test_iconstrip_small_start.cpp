// The icon strip's spacing follows smallIcons at start-up and at every reload:
// 24 x 24 for small icons, 40 x 40 otherwise.
#include <gtest/gtest.h>

#include "app/app_win.h"
#include "base/program_handles_win.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

LPARAM Spacing() {
    return SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0);
}

TEST(IconStripSmallStart, SpacingFollowsSmallIconsAtStartUpAndAtEveryReload) {
    SwitcherOptions stored;
    SetDefaultOptions(&stored);
    stored.smallIcons = 1;
    ASSERT_TRUE(StartSwitcherInProcess(stored));
    ASSERT_NE(IconStrip, nullptr);
    EXPECT_EQ(Spacing(), MAKELPARAM(24, 24));

    HWND first = CreateTestWindow(L"first");
    HWND second = CreateTestWindow(L"second");
    ASSERT_GE(RefreshWindowList(), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(StripImageList, &cx, &cy);
    EXPECT_EQ(cx, 16);

    stored.smallIcons = 0;
    WriteStoredOptions(&stored);
    ReloadOptions(SwitcherWindow);
    ASSERT_GE(RefreshWindowList(), 2);
    ImageList_GetIconSize(StripImageList, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
    EXPECT_EQ(Spacing(), MAKELPARAM(40, 40));

    stored.smallIcons = 1;
    WriteStoredOptions(&stored);
    ReloadOptions(SwitcherWindow);
    EXPECT_EQ(Spacing(), MAKELPARAM(24, 24));
    ASSERT_GE(RefreshWindowList(), 2);
    POINT items[2] = {};
    for (int i = 0; i < 2; ++i)
        SendMessageW(IconStrip, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&items[i]));
    EXPECT_EQ(items[1].x - items[0].x, 24); // the icons drawn 24 apart, as at a start
    EXPECT_EQ(items[1].y, items[0].y);

    DestroyWindow(first);
    DestroyWindow(second);
    StopSwitcherInProcess();
}

} // namespace
