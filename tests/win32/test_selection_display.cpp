// What a selection shows: position and title texts, the strip's highlight, and
// the icon in the preview square when no live image is wanted or possible.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "display/selection_texts.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

constexpr COLORREF kIconColour = RGB(255, 0, 0);

class SelectionDisplay : public InProcessSwitcherTest {
  protected:
    void SetUp() override {
        icon = CreateSolidIcon(kIconColour);
        switcherOptions.livePreview = 1;
        switcherOptions.showProcessInfo = 0;
        KillTimer(SwitcherWindow, TIMER_PREVIEW);
    }
    void TearDown() override {
        KillTimer(SwitcherWindow, TIMER_PREVIEW);
        ReplaceWindowList({});
        for (HWND window : windows)
            DestroyWindow(window);
        DestroyIcon(icon);
    }

    HWND Window(const std::wstring& title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                int width = 300, int height = 200) {
        DisplayWindowSpec spec;
        spec.title = title;
        spec.classBig = icon;
        spec.style = style;
        spec.width = width;
        spec.height = height;
        windows.push_back(CreateDisplayWindow(spec));
        return windows.back();
    }

    std::vector<HWND> FiveWindows() {
        std::vector<HWND> five;
        for (int i = 1; i <= 5; ++i)
            five.push_back(Window(L"window " + std::to_wstring(i)));
        return five;
    }

    HICON icon = nullptr;
    std::vector<HWND> windows;
};

// The preview timer was not running: killing it finds nothing.
bool NoPreviewTimer() {
    return !KillTimer(SwitcherWindow, TIMER_PREVIEW);
}

void ExpectIconInPreview(COLORREF colour) {
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 83, 83), colour));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 114, 114), colour));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 99, 99), colour));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 82, 82), BACKDROP, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 115, 115), BACKDROP, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 0, 0), BACKDROP, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 197, 197), BACKDROP, 0));
}

TEST_F(SelectionDisplay, PositionTextForTheFirstAndTheLastOfFive) {
    ReplaceWindowList(FiveWindows());
    SelectEntry(0);
    EXPECT_STREQ(SelectionTexts.positionText, L": 1/5");
    EXPECT_STREQ(SelectionTexts.titleText, L"window 1");
    EXPECT_EQ(SelectedStripItem(), 0);
    SelectEntry(4);
    EXPECT_STREQ(SelectionTexts.positionText, L": 5/5");
    EXPECT_STREQ(SelectionTexts.titleText, L"window 5");
    EXPECT_EQ(SelectedStripItem(), 4);
}

TEST_F(SelectionDisplay, AnIndexOutsideTheListChangesNothing) {
    switcherOptions.livePreview = 0;
    ReplaceWindowList(FiveWindows());
    SelectEntry(2);
    SelectionTextsRecord before;
    std::memcpy(&before, &SelectionTexts, sizeof(before));
    FillRect(PreviewCanvas, &PreviewSquare, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int index : {-1, 5, 100}) {
        ShowSelection(index);
        EXPECT_EQ(std::memcmp(&before, &SelectionTexts, sizeof(before)), 0) << index;
        EXPECT_EQ(SelectedStripItem(), 2) << index;
        EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 99, 99), RGB(255, 255, 255), 0)) << index;
        EXPECT_TRUE(NoPreviewTimer());
    }
}

TEST_F(SelectionDisplay, ALongTitleIsCutTo1023Characters) {
    std::wstring title;
    for (int i = 0; i < 1030; ++i)
        title += static_cast<wchar_t>(L'a' + i % 26);
    HWND window = Window(title);
    ReplaceWindowList({window, Window(L"other")});
    SelectEntry(0);
    EXPECT_EQ(std::wstring(SelectionTexts.titleText), title.substr(0, 1023));
}

TEST_F(SelectionDisplay, AMinimisedWindowShowsItsIconWithoutATimer) {
    HWND minimised = Window(L"minimised", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE);
    ASSERT_TRUE(IsIconic(minimised));
    ReplaceWindowList({Window(L"other"), minimised});
    SelectEntry(1);
    ExpectIconInPreview(kIconColour);
    EXPECT_FALSE(previewPending);
    EXPECT_TRUE(NoPreviewTimer());
}

// The preview square is as large as the strip's large icons: with small icons in
// the strip it still shows the window's large one, not the small one blown up.
TEST_F(SelectionDisplay, WithSmallIconsThePreviewShowsTheLargeIcon) {
    HICON small = CreateSolidIcon(RGB(0, 255, 0), 16);
    DisplayWindowSpec spec;
    spec.windowBig = icon;
    spec.windowSmall = small;
    HWND both = CreateDisplayWindow(spec);
    windows.push_back(both);
    switcherOptions.livePreview = 0;
    switcherOptions.smallIcons = 1;
    ReplaceWindowList({Window(L"other"), both});
    SelectEntry(1);
    switcherOptions.smallIcons = 0;
    ExpectIconInPreview(kIconColour);
    DestroyIcon(small);
}

TEST_F(SelectionDisplay, WithoutLivePreviewEverySelectionShowsTheIcon) {
    switcherOptions.livePreview = 0;
    ReplaceWindowList(FiveWindows());
    for (int index = 0; index < 5; ++index) {
        SelectEntry(index);
        ExpectIconInPreview(kIconColour);
        EXPECT_FALSE(previewPending);
        EXPECT_TRUE(NoPreviewTimer());
    }
}

TEST_F(SelectionDisplay, AWindowWithoutAreaShowsItsIcon) {
    HWND empty = Window(L"no area", WS_POPUP | WS_VISIBLE, 0, 0);
    RECT rect;
    GetWindowRect(empty, &rect);
    ASSERT_EQ(rect.right - rect.left, 0);
    HWND flat = Window(L"no height", WS_POPUP | WS_VISIBLE, 300, 0);
    ReplaceWindowList({empty, flat});
    for (int index : {0, 1}) {
        SelectEntry(index);
        ExpectIconInPreview(kIconColour);
        EXPECT_FALSE(previewPending);
        EXPECT_TRUE(NoPreviewTimer());
    }
}

TEST_F(SelectionDisplay, AWindowThatIsGoneShowsTheDefaultIconAndAnEmptyTitle) {
    HWND gone = CreateTestWindow(L"gone");
    DestroyWindow(gone);
    ReplaceWindowList({Window(L"other"), gone});
    SelectEntry(1);
    EXPECT_STREQ(SelectionTexts.titleText, L"");
    EXPECT_STREQ(SelectionTexts.positionText, L": 2/2");
    EXPECT_FALSE(previewPending);
    EXPECT_TRUE(NoPreviewTimer());
    // The default picture: white client area below a dark title bar.
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 83 + 16, 83 + 20), RGB(255, 255, 255)));
    EXPECT_FALSE(ColourNear(GetPixel(PreviewCanvas, 83 + 10, 83 + 6), BACKDROP));
}

// The square is cleared and shows the icon until the capture draws over it.
TEST_F(SelectionDisplay, ALiveSelectionArmsTheTimerAndShowsTheIconOnAClearedSquare) {
    ReplaceWindowList(FiveWindows());
    FillRect(PreviewCanvas, &PreviewSquare, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectEntry(3);
    EXPECT_TRUE(previewPending);
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 99, 99), kIconColour, 0));
    EXPECT_TRUE(ColourNear(GetPixel(PreviewCanvas, 0, 0), BACKDROP, 0));
    EXPECT_FALSE(NoPreviewTimer());
}

} // namespace
