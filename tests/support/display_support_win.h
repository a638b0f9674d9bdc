// Helpers of the icon strip and switcher display tests.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/options.h"

// Starts the switcher in this process: closes any running zephtab, stores the
// given options (or deletes the settings for the defaults) and runs the start-up.
void StartSwitcherInProcess(const SwitcherOptions* stored = nullptr);
// Destroys the in-process switcher and removes what the start-up wrote to the registry.
void StopSwitcherInProcess();

// A test suite sharing one in-process switcher with the default options.
class InProcessSwitcherTest : public ::testing::Test {
  public:
    static void SetUpTestSuite() { StartSwitcherInProcess(); }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
};

// Replaces the window list with these entries, as a refresh would leave it
// (selectedIndex 0, the icon strip refilled for two or more). owners may be
// shorter than windows; missing owners are null.
void UseWindowList(const std::vector<HWND>& windows, const std::vector<HWND>& owners = {});

// An icon of one colour, size x size; the caller destroys it.
HICON CreateSolidIcon(COLORREF colour, int size = 32);

// A top-level test window of this process. Each window gets its own class with
// the given class icons and client colour; the window icons are set with WM_SETICON.
struct DisplayWindowSpec {
    std::wstring title;
    HICON classBig = nullptr;
    HICON classSmall = nullptr;
    HICON windowBig = nullptr;
    HICON windowSmall = nullptr;
    COLORREF clientColour = RGB(255, 255, 255);
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    int width = 300;
    int height = 200;
};
HWND CreateDisplayWindow(const DisplayWindowSpec& spec);
// How many times the window was asked to render itself (WM_PRINT, as PrintWindow sends).
int RenderRequests(HWND window);

// Selects entry index as the switcher does: selectedIndex, then ShowSelection.
void SelectEntry(int index);
// The selected item of the icon strip, or -1.
int SelectedStripItem();

// The colour at (x, y) of a 32 x 32 canvas, black until draw paints on it.
COLORREF DrawnPixel(const std::function<void(HDC)>& draw, int x, int y);
// The colour at (x, y) of the icon drawn at 32 x 32 on black.
COLORREF IconPixel(HICON icon, int x, int y);

COLORREF PixelAt(HDC dc, int x, int y);
// Whether two colours agree within a tolerance per component.
bool IsColour(COLORREF pixel, COLORREF expected, int tolerance = 8);

// RGB(0, 51, 153): the backdrop of the switcher and of the empty preview square.
constexpr COLORREF BACKDROP = RGB(0, 51, 153);
