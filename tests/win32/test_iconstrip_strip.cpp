// The icon strip: items and images after each refresh, spacing, the image
// list's one owner, and clicks on the icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "base/program_handles_win.h"
#include "control/switcher_commands_win.h"
#include "display/selection_texts.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/list_removal.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_view_win.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class IconStripTest : public InProcessSwitcherTest {
  protected:
    void TearDown() override {
        HideSwitcher();
        for (HWND window : windows)
            DestroyWindow(window);
        for (HICON icon : icons)
            DestroyIcon(icon);
        PumpMessages();
        switcherOptions.smallIcons = 0;
        switcherOptions.livePreview = 1;
    }

    HICON Icon(COLORREF colour) {
        icons.push_back(CreateSolidIcon(colour));
        return icons.back();
    }

    HWND Window(DisplayWindowSpec spec) {
        windows.push_back(CreateDisplayWindow(spec));
        return windows.back();
    }

    void MakeWindows(int count) {
        for (int i = 0; i < count; ++i) {
            DisplayWindowSpec spec;
            spec.windowBig = Icon(RGB(10 * i, 100, 200));
            Window(spec);
        }
    }

    // One window for each colour, its big icon of that colour, in that order.
    std::vector<HWND> WindowsWithIcons(const std::vector<COLORREF>& colours) {
        std::vector<HWND> made;
        for (COLORREF colour : colours) {
            DisplayWindowSpec spec;
            spec.windowBig = Icon(colour);
            made.push_back(Window(spec));
        }
        return made;
    }

    std::vector<HWND> windows;
    std::vector<HICON> icons;
};

int ItemCount() {
    return static_cast<int>(SendMessageW(IconStrip, LVM_GETITEMCOUNT, 0, 0));
}

int ItemImage(int index) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = -100;
    SendMessageW(IconStrip, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

HIMAGELIST AttachedImageList() {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(IconStrip, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
}

// The centre colour of image index of the strip's image list.
COLORREF ImageColour(int index) {
    return DrawnPixel([&](HDC dc) { ImageList_Draw(StripImageList, index, dc, 0, 0, ILD_NORMAL); },
                      8, 8);
}

TEST_F(IconStripTest, CreatedAsAnIconViewWithDoubleBufferingAndNoBackground) {
    ASSERT_NE(IconStrip, nullptr);
    EXPECT_EQ(GetParent(IconStrip), SwitcherWindow);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(IconStrip, GWL_STYLE)) & 0xFFFF000Fu, 0x5000000Cu);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_DOUBLEBUFFER);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(IconStrip, LVM_GETBKCOLOR, 0, 0)), CLR_NONE);
    const RECT rect = RectInParent(IconStrip);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 68);
    EXPECT_EQ(rect.right - rect.left, 340);
    EXPECT_EQ(rect.bottom - rect.top, 200);
}

TEST_F(IconStripTest, EachRefreshGivesOneItemPerEntryShowingItsOwnImage) {
    for (int round = 0; round < 3; ++round) {
        MakeWindows(2 + round);
        ASSERT_GE(RefreshWindowList(), 2);
        ASSERT_NE(StripImageList, nullptr);
        EXPECT_EQ(AttachedImageList(), StripImageList);
        EXPECT_EQ(ItemCount(), listedCount);
        EXPECT_EQ(ImageList_GetImageCount(StripImageList), listedCount);
        for (int i = 0; i < listedCount; ++i)
            EXPECT_EQ(ItemImage(i), i);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(StripImageList, &cx, &cy);
        EXPECT_EQ(cx, 32);
        EXPECT_EQ(cy, 32);
        for (HWND window : windows) {
            const int index = ListedIndexOf(window);
            ASSERT_GE(index, 0);
            HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
            ICONINFO info;
            GetIconInfo(icon, &info);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            const COLORREF expected = IconPixel(icon, 8, 8);
            EXPECT_TRUE(ColourNear(ImageColour(index), expected)) << "entry " << index;
        }
    }
}

// Item i shows image i, which is the icon the window of entry i has now.
void ExpectItemsShow(const std::vector<HWND>& windows, const std::vector<COLORREF>& colours) {
    EXPECT_EQ(ItemCount(), listedCount);
    EXPECT_EQ(ImageList_GetImageCount(StripImageList), listedCount);
    for (size_t w = 0; w < windows.size(); ++w) {
        const int index = ListedIndexOf(windows[w]);
        ASSERT_GE(index, 0);
        EXPECT_EQ(ItemImage(index), index);
        EXPECT_TRUE(ColourNear(ImageColour(index), colours[w])) << "window " << w;
    }
}

// The second refresh of an open may keep the strip only when it would show
// exactly the same: any change of icon, order or count refills it.
TEST_F(IconStripTest, ARefreshWithoutAHideShowsWhatChangedSinceThePreviousOne) {
    enum Change { kNewIcon, kRestacked, kOneMore };
    for (Change change : {kNewIcon, kRestacked, kOneMore}) {
        SCOPED_TRACE(change);
        std::vector<COLORREF> colours = {kRed, kGreen, RGB(0, 0, 255)};
        std::vector<HWND> shown = WindowsWithIcons(colours);
        ASSERT_GE(RefreshWindowList(), 3);
        ExpectItemsShow(shown, colours);
        if (change == kNewIcon) {
            colours[1] = RGB(255, 255, 0);
            SendMessageW(shown[1], WM_SETICON, ICON_BIG,
                         reinterpret_cast<LPARAM>(Icon(colours[1])));
        } else if (change == kRestacked) {
            SetWindowPos(shown[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        } else {
            DisplayWindowSpec spec;
            colours.push_back(RGB(255, 0, 255));
            spec.windowBig = Icon(colours.back());
            shown.push_back(Window(spec));
        }
        ASSERT_GE(RefreshWindowList(), 3);
        ExpectItemsShow(shown, colours);
        HideSwitcher();
    }
}

// Icon questions (WM_GETICON) each window was asked, counted by a hook on this thread.
std::vector<HWND> askedWindows;
HHOOK iconQueryWatch;

LRESULT CALLBACK WatchIconQueries(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_GETICON)
        askedWindows.push_back(call->hwnd);
    return CallNextHookEx(iconQueryWatch, code, wParam, lParam);
}

int TimesAsked(HWND window) {
    return static_cast<int>(std::count(askedWindows.begin(), askedWindows.end(), window));
}

// The open's second listing, a moment after the first, asks only the windows that
// came since; each item still shows its own window's icon, in the new order.
TEST_F(IconStripTest, TheListTakenAgainAsksOnlyTheWindowsThatCameSinceTheFill) {
    std::vector<COLORREF> colours = {kRed, kGreen, RGB(0, 0, 255)};
    std::vector<HWND> shown = WindowsWithIcons(colours);
    ASSERT_GE(RefreshWindowList(), 3);
    SetWindowPos(shown[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(shown[1]);
    shown.erase(shown.begin() + 1);
    colours.erase(colours.begin() + 1);
    DisplayWindowSpec spec;
    colours.push_back(RGB(255, 0, 255));
    spec.windowBig = Icon(colours.back());
    shown.push_back(Window(spec));
    askedWindows.clear();
    iconQueryWatch =
        SetWindowsHookExW(WH_CALLWNDPROC, WatchIconQueries, nullptr, GetCurrentThreadId());
    ASSERT_GE(RetakeWindowList(), 3);
    EXPECT_EQ(TimesAsked(shown[0]), 0);
    EXPECT_EQ(TimesAsked(shown[1]), 0);
    EXPECT_GE(TimesAsked(shown[2]), 1);
    EXPECT_EQ(ListedIndexOf(windows[1]), -1);
    ExpectItemsShow(shown, colours);
    // A refresh of its own asks every window again.
    ASSERT_GE(RefreshWindowList(), 3);
    UnhookWindowsHookEx(iconQueryWatch);
    EXPECT_GE(TimesAsked(shown[0]), 1);
    ExpectItemsShow(shown, colours);
}

// The strip's notifications to its parent, in order: a selected item losing its
// selection (LVN_ITEMCHANGED), and the removal of all items (LVN_DELETEALLITEMS).
std::vector<UINT> stripNotifications;
HHOOK notificationWatch;

LRESULT CALLBACK WatchStripNotifications(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(call->lParam);
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(call->lParam);
        if (header->hwndFrom == IconStrip &&
            (header->code == LVN_DELETEALLITEMS ||
             (header->code == LVN_ITEMCHANGED && (change->uOldState & LVIS_SELECTED) &&
              !(change->uNewState & LVIS_SELECTED))))
            stripNotifications.push_back(header->code);
    }
    return CallNextHookEx(notificationWatch, code, wParam, lParam);
}

// The selected item is deselected before the items are deleted, not deleted selected.
TEST_F(IconStripTest, ARefillDeselectsTheSelectedItemBeforeDeletingTheItems) {
    MakeWindows(3);
    ASSERT_GE(RefreshWindowList(), 3);
    SelectEntry(1);
    MakeWindows(1); // a changed list: the strip is refilled, not kept
    stripNotifications.clear();
    notificationWatch =
        SetWindowsHookExW(WH_CALLWNDPROC, WatchStripNotifications, nullptr, GetCurrentThreadId());
    ASSERT_GE(RefreshWindowList(), 4);
    UnhookWindowsHookEx(notificationWatch);
    ASSERT_FALSE(stripNotifications.empty());
    EXPECT_EQ(stripNotifications.front(), static_cast<UINT>(LVN_ITEMCHANGED));
    EXPECT_EQ(stripNotifications.back(), static_cast<UINT>(LVN_DELETEALLITEMS));
}

// Icons are converted once per fill and copied to later entries with the same
// icon; one that cannot be converted (a window may answer with a destroyed
// icon) gets the fallback in its place, and no later image moves.
TEST_F(IconStripTest, SharedAndUnusableIconsLeaveEveryItemShowingItsOwnWindowsIcon) {
    const HICON red = Icon(kRed);
    const HICON green = Icon(kGreen);
    const HICON destroyed = CreateSolidIcon(RGB(0, 0, 255));
    DestroyIcon(destroyed);
    const COLORREF fallback =
        IconPixel(LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW)), 8, 8);
    std::vector<HWND> shown;
    for (HICON icon : {red, destroyed, red, green, destroyed}) {
        DisplayWindowSpec spec;
        spec.windowBig = icon;
        shown.push_back(Window(spec));
    }
    ASSERT_GE(RefreshWindowList(), 5);
    ExpectItemsShow(shown, {kRed, fallback, kRed, kGreen, fallback});
}

TEST_F(IconStripTest, AnOwnedEntryShowsItsOwnersIconInTheStripAndItsOwnInThePreview) {
    DisplayWindowSpec ownerSpec;
    ownerSpec.exStyle = WS_EX_APPWINDOW;
    ownerSpec.windowBig = Icon(kRed);
    HWND owner = Window(ownerSpec);
    DisplayWindowSpec ownedSpec;
    ownedSpec.owner = owner;
    ownedSpec.windowBig = Icon(kGreen);
    HWND owned = Window(ownedSpec);
    MakeWindows(1);

    ASSERT_GE(RefreshWindowList(), 2);
    const int index = ListedIndexOf(owned);
    ASSERT_GE(index, 0);
    EXPECT_EQ(WindowList[index].owner, owner);
    EXPECT_EQ(ListedIndexOf(owner), -1);
    EXPECT_TRUE(ColourNear(ImageColour(index), kRed));

    switcherOptions.livePreview = 0;
    SelectEntry(index);
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 99, 99), kGreen));
}

TEST_F(IconStripTest, SmallIconsAfterAReloadChangeTheImagesAndTheSpacing) {
    const LRESULT startSpacing = SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0);
    EXPECT_EQ(LOWORD(startSpacing), 40);
    EXPECT_EQ(HIWORD(startSpacing), 40);

    SwitcherOptions stored = switcherOptions;
    stored.smallIcons = 1;
    WriteStoredOptions(&stored);
    ReloadOptions(SwitcherWindow);
    ASSERT_EQ(switcherOptions.smallIcons, 1);
    MakeWindows(3);
    ASSERT_GE(RefreshWindowList(), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(StripImageList, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0), MAKELPARAM(24, 24));

    stored.smallIcons = 0;
    WriteStoredOptions(&stored);
    ReloadOptions(SwitcherWindow);
}

TEST_F(IconStripTest, HidingDetachesAndDestroysTheImageListOnceAndAgainIsHarmless) {
    MakeWindows(2);
    ASSERT_GE(RefreshWindowList(), 2);
    ASSERT_NE(StripImageList, nullptr);
    const int gdiObjects = CountGdiObjects();
    HideSwitcher();
    EXPECT_EQ(StripImageList, nullptr);
    EXPECT_EQ(AttachedImageList(), nullptr);
    // Its images and masks are gone with it.
    const int afterHide = CountGdiObjects();
    EXPECT_LE(afterHide, gdiObjects - 2);
    HideSwitcher();
    DestroyStripImageList();
    EXPECT_EQ(StripImageList, nullptr);
    EXPECT_EQ(CountGdiObjects(), afterHide);
    // A refill after the hide builds a fresh list.
    ASSERT_GE(RefreshWindowList(), 2);
    EXPECT_NE(StripImageList, nullptr);
    EXPECT_EQ(AttachedImageList(), StripImageList);
}

TEST_F(IconStripTest, TheSelectedIconIsScrolledIntoView) {
    MakeWindows(45); // more than the 8 x 5 icons that fit
    ASSERT_GE(RefreshWindowList(), 45);
    const int last = listedCount - 1;
    switcherOptions.livePreview = 0;
    SelectEntry(last);
    RECT item = {};
    item.left = LVIR_ICON;
    SendMessageW(IconStrip, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&item));
    RECT client;
    GetClientRect(IconStrip, &client);
    EXPECT_GE(item.top, client.top);
    EXPECT_LE(item.bottom, client.bottom);
    EXPECT_EQ(SelectedStripItem(), last);
}

// Each selection leaves one item selected, the new one, forwards, backwards and on a page jump.
TEST_F(IconStripTest, EachSelectionLeavesOnlyItsOwnItemSelected) {
    MakeWindows(45);
    ASSERT_GE(RefreshWindowList(), 45);
    switcherOptions.livePreview = 0;
    for (int index : {1, 2, 1, listedCount - 1, 0, 5}) {
        SCOPED_TRACE(index);
        SelectEntry(index);
        EXPECT_EQ(SendMessageW(IconStrip, LVM_GETSELECTEDCOUNT, 0, 0), 1);
        EXPECT_EQ(SelectedStripItem(), index);
    }
}

// A click as the user makes it: button down and up on the strip at a point of its client area.
void ClickStrip(POINT point) {
    const LPARAM position = MAKELPARAM(point.x, point.y);
    SendMessageW(IconStrip, WM_LBUTTONDOWN, MK_LBUTTON, position);
    SendMessageW(IconStrip, WM_LBUTTONUP, 0, position);
    PumpMessages();
}

POINT ItemCentre(int index) {
    RECT item = {};
    item.left = LVIR_ICON;
    SendMessageW(IconStrip, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
}

TEST_F(IconStripTest, AClickOnTheThirdIconSelectsEntryTwoAndOnEmptySpaceKeepsTheSelection) {
    MakeWindows(4);
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), 4);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    SelectEntry(0);
    ASSERT_EQ(SelectedStripItem(), 0);

    ClickStrip(ItemCentre(2));
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_EQ(SelectedStripItem(), 2);
    wchar_t position[32];
    wsprintfW(position, L": 3/%d", listedCount);
    EXPECT_STREQ(SelectionTexts.positionText, position);

    RECT client;
    GetClientRect(IconStrip, &client);
    ClickStrip(POINT{client.right - 5, client.bottom - 5});
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_EQ(SelectedStripItem(), 2);
}

// The strip as it draws itself: each item's icon at the item's place.
struct PrintedStrip {
    PrintedStrip() : canvas(400, 400) {
        SendMessageW(IconStrip, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc), PRF_CLIENT);
    }
    COLORREF At(POINT point) const { return GetPixel(canvas.dc, point.x, point.y); }
    MemoryCanvas canvas;
};

COLORREF WindowIconColour(HWND window) {
    return IconPixel(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), 16,
                     16);
}

// Every item but the selected first shows its own entry's icon, in list order.
void ExpectStripDrawsTheEntriesInOrder() {
    ASSERT_EQ(ItemCount(), listedCount);
    PrintedStrip printed;
    for (int i = 1; i < listedCount; ++i) {
        POINT place = {}, slot = {};
        SendMessageW(IconStrip, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&place));
        EXPECT_TRUE(ColourNear(printed.At(ItemCentre(i)), WindowIconColour(WindowList[i].window)))
            << "item " << i;
        SendMessageW(IconStrip, LVM_GETITEMPOSITION, i - 1, reinterpret_cast<LPARAM>(&slot));
        EXPECT_TRUE(place.y > slot.y || (place.y == slot.y && place.x > slot.x)) << i;
    }
}

// A window closes while the switcher is shown: the strip closes the gap, and each
// remaining item goes on showing its own window's icon (the last one too).
TEST_F(IconStripTest, AClosedWindowLeavesNoHoleAndEveryIconInOrder) {
    MakeWindows(12);
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), 12);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    SelectEntry(0);
    const int count = listedCount;
    DestroyWindow(WindowList[4].window);
    OnSwitcherWatchTimer();
    ASSERT_EQ(listedCount, count - 1);
    ExpectStripDrawsTheEntriesInOrder();
}

// Each look of the watch asks the selected window and a turn of the others: a long
// list loses a closed selected window at once and any other within a look per turn.
TEST_F(IconStripTest, TheWatchFindsTheClosedSelectedWindowAtOnceAndAnyOtherInTurn) {
    constexpr int kWindows = 3 * WATCH_TURN_ENTRIES - 5;
    MakeWindows(kWindows);
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), kWindows);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    SelectEntry(WATCH_TURN_ENTRIES + 3);
    HWND selected = WindowList[selectedIndex].window;
    HWND later = WindowList[2 * WATCH_TURN_ENTRIES + 1].window;
    // One the user asked to close (a middle click) leaves at once wherever it stands.
    HWND closing = WindowList[2 * WATCH_TURN_ENTRIES + 3].window;
    const int count = listedCount;
    WatchClosingWindow(closing);
    DestroyWindow(selected);
    DestroyWindow(later);
    DestroyWindow(closing);
    OnSwitcherWatchTimer();
    EXPECT_EQ(ListedIndexOf(selected), -1);
    EXPECT_EQ(ListedIndexOf(closing), -1);
    EXPECT_GE(ListedIndexOf(later), 0) << "one look asks one turn of a long list";
    int looks = 1;
    while (ListedIndexOf(later) >= 0 && looks < 10) {
        OnSwitcherWatchTimer();
        ++looks;
    }
    EXPECT_EQ(ListedIndexOf(later), -1);
    EXPECT_LE(looks, (count + WATCH_TURN_ENTRIES - 1) / WATCH_TURN_ENTRIES);
    EXPECT_EQ(listedCount, count - 3);
    EXPECT_EQ(ItemCount(), listedCount);
}

// The selected icon stays as it is, on a highlight framed in the switcher's orange.
TEST_F(IconStripTest, TheSelectedIconIsDrawnAsItIsOnAFramedHighlight) {
    MakeWindows(3);
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), 3);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    SelectEntry(1);
    PrintedStrip printed;
    const POINT centre = ItemCentre(1);
    EXPECT_TRUE(ColourNear(printed.At(centre), WindowIconColour(WindowList[1].window)));
    // The frame, just outside the icon's edge: the margin is 3 pixels at 96 DPI.
    EXPECT_TRUE(ColourNear(printed.At({centre.x, centre.y - 16 - 3}), RGB(255, 153, 0), 0));
    EXPECT_TRUE(ColourNear(printed.At({centre.x, centre.y - 16 - 1}), BACKDROP, 0));
    EXPECT_FALSE(ColourNear(printed.At({ItemCentre(0).x, centre.y - 16 - 3}), RGB(255, 153, 0)));
}

} // namespace

namespace {

COLORREF OnScreen(POINT point) {
    HDC dc = GetDC(IconStrip);
    const COLORREF colour = GetPixel(dc, point.x, point.y);
    ReleaseDC(IconStrip, dc);
    return colour;
}

POINT ItemPlace(int index) {
    POINT place = {};
    SendMessageW(IconStrip, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&place));
    return place;
}

// On screen, after the strip painted what it was asked to: item i at places[i] shows
// its own window's icon, and the places after the last item show none of these icons.
void ExpectShownInPlace(const std::vector<POINT>& places, const std::vector<POINT>& centres,
                        const std::vector<COLORREF>& iconColours) {
    UpdateWindow(IconStrip);
    ASSERT_EQ(ItemCount(), listedCount);
    for (int i = 0; i < static_cast<int>(places.size()); ++i) {
        const COLORREF shown = OnScreen(centres[i]);
        if (i < listedCount) {
            EXPECT_EQ(ItemPlace(i).x, places[i].x) << "item " << i;
            EXPECT_EQ(ItemPlace(i).y, places[i].y) << "item " << i;
            EXPECT_TRUE(ColourNear(shown, WindowIconColour(WindowList[i].window))) << "item " << i;
            continue;
        }
        for (COLORREF colour : iconColours)
            EXPECT_FALSE(ColourNear(shown, colour)) << "left behind at place " << i;
    }
}

} // namespace

// Typing narrows the shown strip and clearing the text widens it again: every item
// keeps its place in the grid and shows its own window's icon on screen, where the
// strip repaints only what changed.
TEST_F(IconStripTest, TypedTextNarrowsAndWidensTheShownStripInPlace) {
    // Two rows and more: the items a narrowing removes span rows.
    std::vector<COLORREF> colours;
    for (int i = 0; i < 20; ++i) {
        DisplayWindowSpec spec;
        spec.title = (i % 2 ? L"Plum " : L"Kiwi ") + std::to_wstring(i);
        colours.push_back(i % 2 ? RGB(255, 12 * i, 0) : RGB(0, 12 * i, 255));
        spec.windowBig = Icon(colours.back());
        Window(spec);
    }
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), 20);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    std::vector<POINT> places, centres;
    for (int i = 0; i < listedCount; ++i) {
        places.push_back(ItemPlace(i));
        centres.push_back(ItemCentre(i));
    }
    ExpectShownInPlace(places, centres, colours);
    ASSERT_TRUE(AppendTypedText(L"plum", 4));
    ASSERT_EQ(listedCount, 10);
    ExpectShownInPlace(places, centres, colours);
    ASSERT_TRUE(ClearTypedText());
    ASSERT_EQ(listedCount, static_cast<int>(places.size()));
    ExpectShownInPlace(places, centres, colours);
}

// The selected item of a narrowed strip is drawn with the image its item shows,
// its own window's icon, not the image of the entry that held its place before.
TEST_F(IconStripTest, EachSelectedItemOfANarrowedStripShowsItsOwnWindowsIcon) {
    for (int i = 0; i < 6; ++i) {
        DisplayWindowSpec spec;
        spec.title = (i % 2 ? L"Plum " : L"Kiwi ") + std::to_wstring(i);
        spec.windowBig = Icon(i % 2 ? RGB(255, 40 * i, 0) : RGB(0, 40 * i, 255));
        Window(spec);
    }
    switcherOptions.livePreview = 0;
    ASSERT_GE(RefreshWindowList(), 6);
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(AppendTypedText(L"plum", 4));
    ASSERT_EQ(listedCount, 3);
    for (int i = 0; i < listedCount; ++i) {
        SelectEntry(i);
        UpdateWindow(IconStrip);
        EXPECT_TRUE(ColourNear(OnScreen(ItemCentre(i)), WindowIconColour(WindowList[i].window)))
            << "item " << i;
    }
}
