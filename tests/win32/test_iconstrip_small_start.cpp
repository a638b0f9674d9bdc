// An icon strip created while small icons are set: 24 x 24 spacing, kept after
// a reload that turns small icons off.
#include <gtest/gtest.h>

#include "app/app_win.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

TEST(IconStripSmallStart, SpacingChosenAtStartUpStaysAfterAReload) {
    SwitcherOptions stored;
    SetDefaultOptions(&stored);
    stored.smallIcons = 1;
    ASSERT_TRUE(StartSwitcherInProcess(stored));
    ASSERT_NE(IconStrip, nullptr);
    const LRESULT spacing = SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0);
    EXPECT_EQ(LOWORD(spacing), 24);
    EXPECT_EQ(HIWORD(spacing), 24);

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
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0), spacing);

    DestroyWindow(first);
    DestroyWindow(second);
    StopSwitcherInProcess();
}

} // namespace
