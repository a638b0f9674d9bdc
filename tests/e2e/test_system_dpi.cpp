// zephtab.exe under the system's DPI setting, measured from outside: the
// runner sets the DPI, restarts Wine's server and passes the DPI as the last
// argument (winerun.py --dpi ... run); the switcher is read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/identifiers.h"
#include "display/switcher_layout.h"
#include "settings/settings_store_win.h"
#include "input_support_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

int expectedDpi = 0;

// What the switcher looks like at each DPI: the window centred on the 1024 x 768
// screen, the strip's spacing, the text font's height, and the width of the
// generic window icon's blue frame (28 of its 32 pixels).
struct Expected {
    int dpi;
    int x, y, width, height;
    int spacing;
    int textFontHeight;
    int iconFrameWidth;
};
constexpr Expected kExpected[] = {
    {96, 212, 197, 600, 375, 40, 13, 28},
    {120, 137, 150, 750, 469, 50, 16, 35},
    {144, 62, 103, 900, 563, 60, 20, 42},
    {192, -88, 9, 1200, 750, 80, 26, 56},
};

constexpr COLORREF kBackdrop = RGB(0, 51, 153);
constexpr COLORREF kIconFrame = RGB(0x2f, 0x5f, 0xc8);
constexpr wchar_t kTitle[] = L"Hg Hg Hg Hg Hg Hg Hg Hg Hg Hg";

// A copy of part of the screen (or of a drawing), read pixel by pixel.
class Capture : public MemoryCanvas {
  public:
    Capture(int captureWidth, int captureHeight)
        : MemoryCanvas(captureWidth, captureHeight), width(captureWidth), height(captureHeight) {}

    // The screen's pixels of this size from (left, top).
    void TakeScreen(int left, int top) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, width, height, screen, left, top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }

    // Rows from the first to the last that hold a nearly white pixel.
    int WhiteRows() const {
        int first = -1, last = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                if (GetRValue(pixel) > 215 && GetGValue(pixel) > 215 && GetBValue(pixel) > 215) {
                    first = first < 0 ? y : first;
                    last = y;
                    break;
                }
            }
        return first < 0 ? 0 : last - first + 1;
    }

    // Columns from the first to the last that hold the colour exactly.
    int ColumnsOf(COLORREF colour) const {
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (GetPixel(dc, x, y) == colour) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
        return first < 0 ? 0 : last - first + 1;
    }

  private:
    int width, height;
};

// The visible part of rect (client coordinates of window) on the screen.
RECT OnScreen(HWND window, const LayoutRect& rect) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT screen = {rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                   rect.bottom + origin.y};
    const RECT desktop = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&screen, &screen, &desktop);
    return screen;
}

int TitleHeightOnScreen(HWND switcher, const LayoutRect& title) {
    const RECT area = OnScreen(switcher, title);
    Capture capture(area.right - area.left, area.bottom - area.top);
    capture.TakeScreen(area.left, area.top);
    return capture.WhiteRows();
}

// The same text in Verdana of this height, white on the backdrop, as the switcher draws it.
int ReferenceTitleHeight(int fontHeight) {
    Capture capture(1200, 100);
    RECT all = {0, 0, 1200, 100};
    HBRUSH backdrop = CreateSolidBrush(kBackdrop);
    FillRect(capture.dc, &all, backdrop);
    DeleteObject(backdrop);
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_OUTLINE_PRECIS, CLIP_CHARACTER_PRECIS, ANTIALIASED_QUALITY,
                             VARIABLE_PITCH | FF_DONTCARE, L"Verdana");
    HGDIOBJ old = SelectObject(capture.dc, font);
    SetBkMode(capture.dc, TRANSPARENT);
    SetTextColor(capture.dc, RGB(255, 255, 255));
    DrawTextW(capture.dc, kTitle, -1, &all, DT_END_ELLIPSIS);
    SelectObject(capture.dc, old);
    DeleteObject(font);
    return capture.WhiteRows();
}

int IconFrameWidthOnScreen(const RECT& area) {
    Capture capture(area.right - area.left, area.bottom - area.top);
    capture.TakeScreen(area.left, area.top);
    return capture.ColumnsOf(kIconFrame);
}

class SystemDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        SwitcherOptions record;
        SetDefaultOptions(&record);
        record.noAnimation = 1;
        record.livePreview = 0; // the preview square shows the selected window's icon
        WriteStoredOptions(&record);
        // Windows of a program file without icons: the switcher shows its generic icon.
        for (int i = 0; i < 3; ++i) {
            others.push_back(
                StartProgram(L"layered_window.exe", L"\"" + std::wstring(kTitle) + L"\" 255"));
            const DWORD processId = others.back().info.dwProcessId;
            HWND found = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                return (found = FindVisibleWindow(L"ZephtabLayeredHelper", processId)) != nullptr;
            }));
            windows.push_back(found);
        }
    }
    void TearDown() override {
        if (switcher)
            PostMessageW(switcher, WM_CLOSE, 0, 0);
        WaitUntil(
            [this] { return WaitForSingleObject(program.info.hProcess, 0) == WAIT_OBJECT_0; });
        EndProgram(program);
        others.clear(); // ends the programs of the windows
        DeleteSettingsKey();
    }

    std::vector<StartedProgram> others;
    std::vector<HWND> windows;
    StartedProgram program;
    HWND switcher = nullptr;
};

TEST_F(SystemDpi, TheSwitcherIsMadeForTheDpiOfItsMonitor) {
    const Expected* expected = nullptr;
    for (const Expected& e : kExpected)
        if (e.dpi == expectedDpi)
            expected = &e;
    ASSERT_NE(expected, nullptr) << "run at 96, 120, 144 or 192 DPI, given as the last argument";
    HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(systemDpi, expectedDpi) << "the session runs at the DPI asked for";

    // The pointer off the switcher at every size: nothing it hovers is drawn over what is read.
    ASSERT_TRUE(Xdotool("mousemove 1023 767"));
    ASSERT_TRUE(StartSwitcherProgram(&program));
    switcher = FindSwitcherWindow();
    ASSERT_TRUE(BringToForeground(windows[0]));
    PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(switcher) != 0; }));

    RECT window = {};
    GetWindowRect(switcher, &window);
    EXPECT_EQ(window.left, expected->x);
    EXPECT_EQ(window.top, expected->y);
    EXPECT_EQ(window.right - window.left, expected->width);
    EXPECT_EQ(window.bottom - window.top, expected->height);

    HWND strip = FindWindowExW(switcher, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(strip, nullptr);
    const LRESULT spacing = SendMessageW(strip, LVM_GETITEMSPACING, FALSE, 0);
    EXPECT_EQ(LOWORD(spacing), expected->spacing);
    EXPECT_EQ(HIWORD(spacing), expected->spacing);

    // Read from the screen once the switcher and its strip have painted what is measured.
    const SwitcherLayout layout = ScaleLayout(expectedDpi);
    const RECT preview = OnScreen(switcher, {layout.previewLeft, layout.previewTop,
                                             layout.previewLeft + layout.previewSide,
                                             layout.previewTop + layout.previewSide});
    RECT stripOnScreen = {};
    GetWindowRect(strip, &stripOnScreen);
    const int cell = expected->spacing;
    const RECT thirdIcon = {stripOnScreen.left + 2 * cell, stripOnScreen.top,
                            stripOnScreen.left + 3 * cell, stripOnScreen.top + cell};
    // What is on the screen is read until it is what is expected, or the deadline
    // passes: a loaded machine may show the switcher before it has painted it all.
    const int referenceTitle = ReferenceTitleHeight(expected->textFontHeight);
    int title = 0, previewIcon = 0, stripIcon = 0;
    const bool painted = WaitUntil([&] {
        title = TitleHeightOnScreen(switcher, layout.title);
        previewIcon = IconFrameWidthOnScreen(preview);
        stripIcon = IconFrameWidthOnScreen(thirdIcon);
        return std::abs(title - referenceTitle) <= 1 && previewIcon == expected->iconFrameWidth &&
               stripIcon == expected->iconFrameWidth;
    });
    if (!painted)
        std::printf("strip items %d, foreground %p (expected %p)\n",
                    static_cast<int>(SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0)),
                    static_cast<void*>(GetForegroundWindow()), static_cast<void*>(windows[0]));
    EXPECT_NEAR(title, referenceTitle, 1) << "title text";
    // The generic window icon, at the DPI's size.
    EXPECT_EQ(previewIcon, expected->iconFrameWidth) << "icon in the preview square";
    EXPECT_EQ(stripIcon, expected->iconFrameWidth) << "third icon of the strip";
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        expectedDpi = std::atoi(argv[argc - 1]);
    return RUN_ALL_TESTS();
}
