// The switcher opened on monitors of other DPIs, in this process: under Wine all
// monitors share one DPI, so the test sets the DPI that the next open finds.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "actions/toolbar_win.h"
#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/switcher_commands_win.h"
#include "display/dpi_win.h"
#include "display/frame_win.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"
#include "input_support_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

constexpr COLORREF kIconColour = RGB(20, 200, 40);
constexpr COLORREF kMarker = RGB(255, 0, 255);

// A surface of the switcher's size at the DPI in use, that frames are composed into.
struct ScaledFrame : MemoryCanvas {
    ScaledFrame() : MemoryCanvas(WidthOf(switcherLayout.window), HeightOf(switcherLayout.window)) {}
};

// The height in pixels of the white text drawn in rect over the dark backdrop:
// rows from the first to the last that hold a nearly white pixel.
int TextHeight(HDC dc, const RECT& rect) {
    int first = -1, last = -1;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            if (ColourNear(GetPixel(dc, x, y), RGB(255, 255, 255), 40)) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    return first < 0 ? 0 : last - first + 1;
}

// The width of the run of the icon's colour across the middle row of the preview square.
int PreviewIconWidth() {
    const int middle = switcherLayout.previewSide / 2;
    int width = 0;
    for (int x = 0; x < switcherLayout.previewSide; ++x)
        width += ColourNear(GetPixel(PreviewCanvas, x, middle), kIconColour, 8) ? 1 : 0;
    return width;
}

RECT Scaled(int left, int top, int right, int bottom, int dpi) {
    return RECT{ScaleForDpi(left, dpi), ScaleForDpi(top, dpi), ScaleForDpi(right, dpi),
                ScaleForDpi(bottom, dpi)};
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_TRUE(EqualRect(&actual, &expected)) << what << ": " << actual.left << "," << actual.top
                                               << "," << actual.right << "," << actual.bottom;
}

// Text heights in pixels: the title, the banner and the clock.
struct Heights {
    int title, banner, clock;
};

class DisplayScale : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SwitcherOptions stored;
        SetDefaultOptions(&stored);
        stored.noAnimation = 1;
        stored.livePreview = 0; // the preview square shows the selected window's icon
        stored.showProcessInfo = 1;
        ASSERT_TRUE(StartSwitcherInProcess(stored));
        // The pointer stays off the switcher at every size: its cursor is loaded once.
        SetCursorPos(1023, 767);
        icon = CreateSolidIcon(kIconColour);
        for (int i = 0; i < 3; ++i) {
            DisplayWindowSpec spec;
            spec.title = L"Hg Hg Hg Hg Hg Hg Hg Hg";
            spec.windowBig = icon;
            windows.push_back(CreateDisplayWindow(spec));
        }
        // A window without icons: the program's own generic icon is loaded from the start.
        DisplayWindowSpec plain;
        plain.title = L"no icon";
        windows.push_back(CreateDisplayWindow(plain));
        StackWindows({windows[0], windows[1], windows[2], windows[3]});
    }
    static void TearDownTestSuite() {
        dpiOverride = 0;
        for (HWND window : windows)
            DestroyWindow(window);
        windows.clear();
        StopSwitcherInProcess();
        DestroyIcon(icon);
    }
    void TearDown() override {
        RunSwitcherCommand(CMD_CANCEL);
        PumpMessages();
    }

    static void OpenAt(int dpi) {
        dpiOverride = dpi;
        RunSwitcherCommand(CMD_OPEN);
        PumpMessages();
    }

    static void OpenAndCancelAt(int dpi) {
        OpenAt(dpi);
        RunSwitcherCommand(CMD_CANCEL);
        PumpMessages();
    }

    static Heights MeasureText() {
        ScaledFrame frame;
        ComposeFrameInto(frame.dc);
        return {TextHeight(frame.dc, TitleRect),
                TextHeight(frame.dc, ToRect(switcherLayout.banner)),
                TextHeight(frame.dc, ClockRect)};
    }

    static HICON icon;
    static std::vector<HWND> windows;
};
HICON DisplayScale::icon;
std::vector<HWND> DisplayScale::windows;

TEST_F(DisplayScale, EachDpiScalesTheWindowItsPlacesFontsAndIcons) {
    const struct {
        int dpi;
        int width, height; // the window
        int x, y;          // centred on the 1024 x 768 screen
        int icon, spacing;
    } cases[] = {{96, 600, 375, 212, 197, 32, 40},
                 {120, 750, 469, 137, 150, 40, 50},
                 {144, 900, 563, 62, 103, 48, 60},
                 {192, 1200, 750, -88, 9, 64, 80}};
    Heights at96 = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        OpenAt(c.dpi);
        ASSERT_TRUE(IsWindowVisible(SwitcherWindow));
        RECT window = {};
        GetWindowRect(SwitcherWindow, &window);
        ExpectRect(window, RECT{c.x, c.y, c.x + c.width, c.y + c.height}, "window");
        ExpectRect(RectInParent(IconStrip), Scaled(1, 68, 341, 268, c.dpi), "strip");
        ExpectRect(RectInParent(ActionToolbar), Scaled(343, 75, 383, 275, c.dpi), "toolbar");
        ExpectRect(PreviewBoxRect, Scaled(386, 68, 586, 268, c.dpi), "preview box");

        const LRESULT spacing = SendMessageW(IconStrip, LVM_GETITEMSPACING, FALSE, 0);
        EXPECT_EQ(LOWORD(spacing), c.spacing);
        EXPECT_EQ(HIWORD(spacing), c.spacing);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(StripImageList, &cx, &cy);
        EXPECT_EQ(cx, c.icon) << "strip images";
        ImageList_GetIconSize(ToolbarImageList, &cx, &cy);
        EXPECT_EQ(cx, c.icon) << "toolbar images";
        const LRESULT button = SendMessageW(ActionToolbar, TB_GETBUTTONSIZE, 0, 0);
        EXPECT_GT(LOWORD(button), c.icon) << "toolbar buttons hold their images";
        EXPECT_LE(LOWORD(button), ScaleForDpi(40, c.dpi)) << "and fit in the toolbar";
        EXPECT_EQ(PreviewIconWidth(), c.icon) << "the icon in the preview square";

        const Heights heights = MeasureText();
        std::printf("%d DPI: text heights title %d, banner %d, clock %d\n", c.dpi, heights.title,
                    heights.banner, heights.clock);
        if (c.dpi == 96)
            at96 = heights;
        EXPECT_GE(at96.title, 8);
        // Drawn by fonts of the scaled height: measured, the text grows with the DPI.
        EXPECT_NEAR(heights.title, ScaleForDpi(at96.title, c.dpi), 1) << "title";
        EXPECT_NEAR(heights.banner, ScaleForDpi(at96.banner, c.dpi), 1) << "banner";
        EXPECT_NEAR(heights.clock, ScaleForDpi(at96.clock, c.dpi), 1) << "clock";
        RunSwitcherCommand(CMD_CANCEL);
    }
}

// Measured with the panel's font: no label of the process panel reaches its value.
TEST_F(DisplayScale, EveryPanelLabelKeepsItsGapBeforeItsValue) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        OpenAt(dpi);
        MemoryCanvas canvas(8, 8);
        HGDIOBJ previous = SelectObject(canvas.dc, TextFont);
        for (const PanelRow& row : kPanelRows) {
            SIZE label = {};
            GetTextExtentPoint32W(canvas.dc, row.label, lstrlenW(row.label), &label);
            const int gap = ScaleForDpi(row.valueX, dpi) - ScaleForDpi(row.labelX, dpi) - label.cx;
            std::printf("%d DPI: \"%ls\" %d wide, gap %d\n", dpi, row.label,
                        static_cast<int>(label.cx), gap);
            EXPECT_GE(gap, ScaleForDpi(PANEL_LABEL_GAP, dpi)) << "\"" << row.label << "\"";
        }
        SelectObject(canvas.dc, previous);
        RunSwitcherCommand(CMD_CANCEL);
    }
}

TEST_F(DisplayScale, SurfacesAreMadeOnlyWhenTheDpiChangesAndAlternatingLeavesNothingBehind) {
    // Both DPIs once, so that whatever the system loads at its first use is loaded.
    OpenAndCancelAt(144);
    OpenAndCancelAt(96);
    const int gdiBefore = CountGdiObjects();
    const int userBefore = CountUserObjects();

    // Another open at the same DPI keeps the surfaces: a mark in the background stays.
    SetPixel(BackgroundBuffer, 2, 2, kMarker);
    OpenAndCancelAt(96);
    EXPECT_EQ(GetPixel(BackgroundBuffer, 2, 2), kMarker) << "made again for the same DPI";
    OpenAndCancelAt(144);
    EXPECT_NE(GetPixel(BackgroundBuffer, 2, 2), kMarker) << "not made for the new DPI";
    EXPECT_EQ(displayDpi, 144);

    for (int round = 0; round < 5; ++round) {
        OpenAndCancelAt(96);
        OpenAndCancelAt(144);
    }
    OpenAndCancelAt(96);
    const int gdiAfter = CountGdiObjects();
    const int userAfter = CountUserObjects();
    std::printf("alternating 96 and 144 DPI: GDI objects %d -> %d, USER objects %d -> %d\n",
                gdiBefore, gdiAfter, userBefore, userAfter);
    EXPECT_EQ(gdiAfter, gdiBefore);
    EXPECT_EQ(userAfter, userBefore);
}

TEST_F(DisplayScale, AChangeOfTheSystemsSettingsMakesTheSurfacesAgainAtTheNextOpen) {
    OpenAndCancelAt(120);
    SetPixel(BackgroundBuffer, 2, 2, kMarker);
    SendMessageW(SwitcherWindow, WM_SETTINGCHANGE, SPI_SETICONMETRICS, 0);
    EXPECT_EQ(GetPixel(BackgroundBuffer, 2, 2), kMarker) << "nothing is made while hidden";
    OpenAndCancelAt(120);
    EXPECT_NE(GetPixel(BackgroundBuffer, 2, 2), kMarker);

    // A DPI change of the hidden switcher is taken up by the next open too.
    SetPixel(BackgroundBuffer, 2, 2, kMarker);
    RECT suggested = {10, 20, 910, 583};
    SendMessageW(SwitcherWindow, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    OpenAndCancelAt(120);
    EXPECT_NE(GetPixel(BackgroundBuffer, 2, 2), kMarker);

    // A shown switcher is made for the new DPI at once, in the place suggested.
    OpenAt(120);
    SendMessageW(SwitcherWindow, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(displayDpi, 144);
    RECT window = {};
    GetWindowRect(SwitcherWindow, &window);
    ExpectRect(window, RECT{10, 20, 910, 583}, "window");
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ToolbarImageList, &cx, &cy);
    EXPECT_EQ(cx, 48);
    EXPECT_GT(PreviewIconWidth(), 0) << "the selection is shown anew in the new square";

    // Sent from another thread, the rectangle is not read: the switcher keeps its centre.
    SendFromAnotherThread(SwitcherWindow, WM_DPICHANGED, MAKEWPARAM(192, 192), 0xDEAD0000);
    EXPECT_EQ(displayDpi, 192);
    GetWindowRect(SwitcherWindow, &window);
    ExpectRect(window, RECT{-140, -73, 1060, 677}, "window about its centre");
}

// The preview square is drawn in the canvas, which grows with it at high DPIs.
TEST_F(DisplayScale, ThePreviewCanvasHoldsTheSquareAtTheHighestDpi) {
    OpenAt(HIGHEST_DPI);
    BITMAP canvas = {};
    GetObjectW(GetCurrentObject(PreviewCanvas, OBJ_BITMAP), sizeof(canvas), &canvas);
    EXPECT_GE(canvas.bmWidth, switcherLayout.previewSide);
    EXPECT_GE(canvas.bmHeight, switcherLayout.previewSide);
}

// Where a picture of an icon is transparent, drawing it leaves the screen as it
// was: on black it stays black and on white it stays white.
TEST(IconPictures, TransparentPixelsLeaveTheScreenAsItWasAtEverySize) {
    for (int id : {IDI_DEFAULT_WINDOW, IDI_TOOL_RESTORE, IDI_TOOL_TRANSPARENT, IDI_TOOL_OPAQUE,
                   IDI_TOOL_TOPMOST})
        for (int size : {32, 40, 48, 64}) {
            HICON icon = static_cast<HICON>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            MemoryCanvas onBlack(size, size), onWhite(size, size);
            const RECT all = {0, 0, size, size};
            FillRect(onBlack.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            FillRect(onWhite.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawIconEx(onBlack.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            DrawIconEx(onWhite.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            int wrong = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const COLORREF black = GetPixel(onBlack.dc, x, y);
                    const COLORREF white = GetPixel(onWhite.dc, x, y);
                    const bool opaque = black == white;
                    const bool transparent = black == RGB(0, 0, 0) && white == RGB(255, 255, 255);
                    wrong += opaque || transparent ? 0 : 1;
                }
            EXPECT_EQ(wrong, 0) << id << " at " << size;
            DestroyIcon(icon);
        }
}

} // namespace
