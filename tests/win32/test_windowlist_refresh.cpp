// Rebuilding the list: counts, the selection, the icon strip and the out-of-memory path.
#include <gtest/gtest.h>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "display/selection_texts.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

// Read during static initialisation, before any test can refresh the list.
const int kSelectedIndexAtStart = selectedIndex;
const int kListedCountAtStart = listedCount;
const WindowEntry* const kWindowListAtStart = WindowList;

constexpr wchar_t kMarker[] = L"marker";

class WindowListRefresh : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSwitcherInProcess());
        if (!IconStrip) { // until the strip is built by start-up, a list view of our own
            INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&controls);
            IconStrip = ownStrip =
                CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_ICON, 1, 68, 340,
                                200, SwitcherWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
        }
    }
    static void TearDownTestSuite() {
        DestroyStripImageList();
        if (ownStrip) {
            DestroyWindow(ownStrip);
            IconStrip = ownStrip = nullptr;
        }
        StopSwitcherInProcess();
    }

    void TearDown() override {
        windowListGrowthLimit = -1;
        DestroyWindows(&windows);
    }

    void MakeWindows(int count) {
        for (int i = 0; i < count; ++i)
            windows.push_back(CreateTestWindow(L"listed"));
    }

    // Items that only the test puts into the strip, to see whether a refresh keeps them.
    void PutMarkersIntoStrip(int count) {
        SendMessageW(IconStrip, LVM_DELETEALLITEMS, 0, 0);
        for (int i = 0; i < count; ++i) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_STATE;
            item.iItem = i;
            item.pszText = const_cast<wchar_t*>(kMarker);
            item.stateMask = LVIS_SELECTED;
            item.state = i == 0 ? LVIS_SELECTED : 0;
            SendMessageW(IconStrip, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }

    int StripItemCount() {
        return static_cast<int>(SendMessageW(IconStrip, LVM_GETITEMCOUNT, 0, 0));
    }

    int MarkersInStrip() {
        int markers = 0;
        for (int i = 0; i < StripItemCount(); ++i) {
            wchar_t text[32] = {};
            LVITEMW item = {};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = 32;
            SendMessageW(IconStrip, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
            if (std::wstring(text) == kMarker)
                ++markers;
        }
        return markers;
    }

    static HWND ownStrip;
    std::vector<HWND> windows;
};

HWND WindowListRefresh::ownStrip;

TEST_F(WindowListRefresh, NothingIsSelectedOrListedBeforeTheFirstRefresh) {
    EXPECT_EQ(kSelectedIndexAtStart, -1);
    EXPECT_EQ(kListedCountAtStart, 0);
    EXPECT_EQ(kWindowListAtStart, nullptr);
}

TEST_F(WindowListRefresh, NoSwitchableWindowGivesZeroAndLeavesTheStripAlone) {
    windows.push_back(CreateTestWindow(L"hidden", WS_OVERLAPPEDWINDOW));
    PutMarkersIntoStrip(3);
    selectedIndex = 2;
    EXPECT_EQ(RefreshWindowList(), 0);
    EXPECT_EQ(listedCount, 0);
    EXPECT_EQ(windowCount, 0);
    EXPECT_EQ(WindowList, nullptr);
    EXPECT_EQ(selectedIndex, 0);
    EXPECT_EQ(MarkersInStrip(), 3);
}

TEST_F(WindowListRefresh, OneWindowGivesOneAndLeavesTheStripAlone) {
    MakeWindows(1);
    PutMarkersIntoStrip(2);
    selectedIndex = 1;
    EXPECT_EQ(RefreshWindowList(), 1);
    EXPECT_EQ(listedCount, 1);
    ASSERT_NE(WindowList, nullptr);
    EXPECT_EQ(WindowList[0].window, windows[0]);
    EXPECT_EQ(WindowList[0].owner, nullptr);
    EXPECT_EQ(selectedIndex, 0);
    EXPECT_EQ(MarkersInStrip(), 2);
    EXPECT_EQ(StripItemCount(), 2);
}

TEST_F(WindowListRefresh, TwoOrMoreWindowsRebuildTheStrip) {
    MakeWindows(3);
    PutMarkersIntoStrip(5);
    selectedIndex = 2;
    EXPECT_EQ(RefreshWindowList(), 3);
    EXPECT_EQ(listedCount, 3);
    EXPECT_EQ(selectedIndex, 0);
    EXPECT_EQ(MarkersInStrip(), 0);
    // The strip's own fill puts one item per entry; a stand-in strip stays empty.
    if (!ownStrip) {
        EXPECT_EQ(StripItemCount(), 3);
    }
    // A second refresh starts from scratch: same windows, same count.
    std::vector<HWND> first = ListedWindows();
    EXPECT_EQ(RefreshWindowList(), 3);
    EXPECT_EQ(ListedWindows(), first);
}

TEST_F(WindowListRefresh, ClosedWindowsStayInTheListUntilTheNextRefresh) {
    MakeWindows(2);
    RefreshWindowList();
    ASSERT_EQ(listedCount, 2);
    DestroyWindow(windows[1]);
    EXPECT_EQ(listedCount, 2);
    EXPECT_GE(ListedIndexOf(windows[1]), 0);
    EXPECT_EQ(RefreshWindowList(), 1);
    EXPECT_EQ(WindowList[0].window, windows[0]);
}

TEST_F(WindowListRefresh, GrowthFailureAfterKWindowsKeepsThemAndReportsOnce) {
    MakeWindows(5);
    RefreshWindowList();
    const std::vector<HWND> full = ListedWindows();
    ASSERT_EQ(full.size(), 5u);
    for (int k : {0, 1, 3}) {
        SCOPED_TRACE(k);
        windowListGrowthLimit = k;
        MessageBoxWatcher watcher;
        const int count = RefreshWindowList();
        watcher.Stop();
        windowListGrowthLimit = -1;

        ASSERT_EQ(watcher.seen.size(), 1u);
        EXPECT_EQ(watcher.seen[0].text, L"Error Getting Memory ");
        EXPECT_EQ(watcher.seen[0].caption, L"");
        EXPECT_EQ(watcher.seen[0].owner, nullptr);
        EXPECT_EQ(count, k);
        EXPECT_EQ(listedCount, k);
        EXPECT_EQ(windowCount, k);
        EXPECT_EQ(selectedIndex, 0);
        EXPECT_EQ(ListedWindows(), std::vector<HWND>(full.begin(), full.begin() + k));
    }
    // The next refresh without the failure lists everything again.
    EXPECT_EQ(RefreshWindowList(), 5);
    EXPECT_EQ(ListedWindows(), full);
}

// The box's modal loop handles commands queued before it (a held Tab, an Alt
// release); they run while the array is being rebuilt and may read no entry
// that it does not hold.
TEST_F(WindowListRefresh, CommandsQueuedBeforeAGrowthFailureShowNoEntryBeyondTheArray) {
    MakeWindows(5);
    for (int k : {0, 1}) {
        for (WPARAM command : {CMD_NEXT, CMD_LAST, CMD_ACTIVATE}) {
            SCOPED_TRACE(testing::Message() << "limit " << k << ", command " << command);
            ASSERT_EQ(RefreshWindowList(), 5);
            selectedIndex = 3;
            wcscpy(SelectionTexts.titleText, L"untouched");
            windowListGrowthLimit = k;
            PostMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, command, 0);
            MessageBoxWatcher watcher;
            const int count = RefreshWindowList();
            watcher.Stop();
            windowListGrowthLimit = -1;

            EXPECT_EQ(watcher.seen.size(), 1u);
            EXPECT_EQ(count, k);
            EXPECT_STREQ(SelectionTexts.titleText, L"untouched");
        }
    }
}

} // namespace
