// The switcher on three monitors of different sizes, one left of and one above
// the primary one, in a Wine session of their own (winerun.py --monitors): the
// monitor it opens on, where it lands there, and which windows it lists. It runs
// in this process, against windows of this process: Wine tells only the owner of
// a minimised window where the window would be restored.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "display/switcher_layout.h"
#include "settings/settings_store_win.h"
#include "input_support_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/window_list_win.h"

namespace {

// As winerun.py's MONITORS gives them, primary first.
const RECT kPrimary = {0, 0, 1024, 768};
const RECT kLeft = {-1280, 0, 0, 1024};
const RECT kAbove = {112, -600, 912, 0};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

BOOL CALLBACK AddMonitorRect(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

bool SessionHasTheThreeMonitors() {
    std::vector<RECT> found;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitorRect, reinterpret_cast<LPARAM>(&found));
    const RECT expected[] = {kPrimary, kLeft, kAbove};
    return found.size() == 3 &&
           std::all_of(std::begin(expected), std::end(expected), [&](const RECT& rect) {
               return std::any_of(found.begin(), found.end(),
                                  [&](const RECT& monitor) { return SameRect(rect, monitor); });
           });
}

void StoreSettings(BYTE screenPosition, BYTE openOn, BYTE listWindows) {
    SwitcherOptions record;
    SetDefaultOptions(&record);
    record.livePreview = 0;
    record.noAnimation = 1;
    record.screenPosition = screenPosition;
    const DWORD version = OPTIONS_VERSION;
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_DWORD, &version, sizeof(version));
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", REG_BINARY, &record, sizeof(record));
    MoreOptions more = DEFAULT_MORE_OPTIONS;
    more.openOn = openOn;
    more.listWindows = listWindows;
    // Wine shows its taskbar, a window this session would list, once it holds an icon.
    more.trayIcon = 0;
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, &more, sizeof(more));
}

// Stores the settings and has the switcher take them in, as the settings tools do.
void Reload(BYTE screenPosition, BYTE openOn, BYTE listWindows) {
    StoreSettings(screenPosition, openOn, listWindows);
    EXPECT_EQ(SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0), 1);
}

HWND CreateWindowAt(const wchar_t* title, const RECT& rect) {
    HWND window = CreateTestWindow(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr,
                                   rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(window, nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

// Minimised, its restored place at rect, its minimised form moved to another monitor.
HWND CreateMinimisedWindowAt(const wchar_t* title, const RECT& rect, POINT minimisedPlace) {
    HWND window = CreateWindowAt(title, rect);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    SetWindowPos(window, nullptr, minimisedPlace.x, minimisedPlace.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

// The pointer moves through the X server, whose screen starts at the monitors' top left.
void MovePointerTo(POINT point) {
    const int x = point.x - GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = point.y - GetSystemMetrics(SM_YVIRTUALSCREEN);
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)));
    POINT seen = {};
    ASSERT_TRUE(WaitUntil([&] {
        return GetCursorPos(&seen) && seen.x == point.x && seen.y == point.y;
    })) << "pointer at "
        << seen.x << "," << seen.y;
}

std::vector<HWND> Sorted(std::vector<HWND> windows) {
    std::sort(windows.begin(), windows.end());
    return windows;
}

class ThreeMonitors : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(SessionHasTheThreeMonitors())
            << "this test needs the three-monitor session: winerun.py --monitors";
        DeleteSettingsKey();
        StoreSettings(0, OPEN_ON_PRIMARY, LIST_ALL_WINDOWS);
        ASSERT_TRUE(StartSwitcherInProcess());
    }
    static void TearDownTestSuite() {
        DestroyWindow(SwitcherWindow);
        DeleteSettingsKey();
    }

    void SetUp() override {
        // Two windows on the primary monitor, three on the left one, four above it.
        primary = {CreateWindowAt(L"primary", {100, 100, 400, 300}),
                   // Its larger part on the primary monitor, its top left corner on the left one.
                   CreateWindowAt(L"primary, across", {-200, 300, 400, 500})};
        left = {CreateWindowAt(L"left", {-1000, 100, -700, 300}),
                CreateWindowAt(L"left 2", {-600, 500, -300, 700}),
                CreateMinimisedWindowAt(L"left, minimised", {-900, 600, -600, 800}, {500, 500})};
        above = {CreateWindowAt(L"above", {200, -500, 500, -300}),
                 CreateWindowAt(L"above 2", {550, -500, 850, -300}),
                 CreateWindowAt(L"above 3", {300, -250, 600, -50}),
                 CreateMinimisedWindowAt(L"above, minimised", {150, -400, 450, -200}, {-600, 900})};
    }
    void TearDown() override {
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        for (std::vector<HWND>* windows : {&primary, &left, &above})
            DestroyWindows(windows);
    }

    std::vector<HWND> All() const {
        std::vector<HWND> all = primary;
        all.insert(all.end(), left.begin(), left.end());
        all.insert(all.end(), above.begin(), above.end());
        return all;
    }

    // Opens the switcher with this window in front, notes where it is and what it
    // lists, and cancels.
    void OpenAndCancel(HWND foreground, RECT* placed, std::vector<HWND>* listed) {
        ASSERT_TRUE(BringToForeground(foreground));
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
        ASSERT_TRUE(IsWindowVisible(SwitcherWindow));
        GetWindowRect(SwitcherWindow, placed);
        *listed = ListedWindows();
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        EXPECT_FALSE(IsWindowVisible(SwitcherWindow));
    }

    std::vector<HWND> primary;
    std::vector<HWND> left;
    std::vector<HWND> above;
};

TEST_F(ThreeMonitors, OpensInsideTheMonitorChosenByOpenOn) {
    const POINT onLeftMonitor = {-640, 512};
    const POINT onAboveMonitor = {500, -300};
    const POINT onPrimaryMonitor = {900, 700};
    const struct {
        BYTE openOn;
        BYTE screenPosition;
        POINT pointer;
        HWND foreground;
        POINT corner;
    } cases[] = {
        {OPEN_ON_PRIMARY, 0, onLeftMonitor, above[0], {212, 197}},
        {OPEN_ON_PRIMARY, 8, onLeftMonitor, above[0], {416, 350}},
        {OPEN_ON_POINTER, 0, onLeftMonitor, above[0], {-940, 325}},
        {OPEN_ON_POINTER, 4, onAboveMonitor, left[0], {52, -607}},
        {OPEN_ON_POINTER, 8, onPrimaryMonitor, left[0], {416, 350}},
        {OPEN_ON_FOREGROUND, 0, onPrimaryMonitor, left[0], {-940, 325}},
        {OPEN_ON_FOREGROUND, 6, onLeftMonitor, above[0], {372, -487}},
        {OPEN_ON_FOREGROUND, 0, onLeftMonitor, primary[0], {212, 197}},
        // A code this program does not know opens on the primary monitor.
        {7, 0, onLeftMonitor, left[0], {212, 197}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "openOn " << int(c.openOn) << ", position " << int(c.screenPosition)
                     << ", pointer at " << c.pointer.x << "," << c.pointer.y);
        Reload(c.screenPosition, c.openOn, LIST_ALL_WINDOWS);
        MovePointerTo(c.pointer);
        RECT placed = {};
        std::vector<HWND> listed;
        OpenAndCancel(c.foreground, &placed, &listed);
        EXPECT_EQ(placed.left, c.corner.x);
        EXPECT_EQ(placed.top, c.corner.y);
        EXPECT_EQ(placed.right - placed.left, SWITCHER_WIDTH);
        EXPECT_EQ(placed.bottom - placed.top, SWITCHER_HEIGHT);
        EXPECT_EQ(Sorted(listed), Sorted(All()));
    }
}

TEST_F(ThreeMonitors, ListWindowsMonitorListsTheWindowsWhoseLargerPartIsThere) {
    const struct {
        BYTE openOn;
        BYTE listWindows;
        HWND foreground;
        const std::vector<HWND>& expected;
    } cases[] = {
        {OPEN_ON_FOREGROUND, LIST_MONITOR_WINDOWS, primary[0], primary},
        {OPEN_ON_FOREGROUND, LIST_MONITOR_WINDOWS, left[0], left},
        {OPEN_ON_FOREGROUND, LIST_MONITOR_WINDOWS, above[0], above},
        {OPEN_ON_PRIMARY, LIST_MONITOR_WINDOWS, above[0], primary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "openOn " << int(c.openOn) << ", foreground " << c.foreground);
        Reload(0, c.openOn, c.listWindows);
        RECT placed = {};
        std::vector<HWND> listed;
        OpenAndCancel(c.foreground, &placed, &listed);
        EXPECT_EQ(Sorted(listed), Sorted(c.expected));
    }
    // With every monitor's windows, or a code this program does not know, all are listed.
    for (BYTE listWindows : {LIST_ALL_WINDOWS, BYTE{2}}) {
        Reload(0, OPEN_ON_FOREGROUND, listWindows);
        RECT placed = {};
        std::vector<HWND> listed;
        OpenAndCancel(left[0], &placed, &listed);
        EXPECT_EQ(Sorted(listed), Sorted(All())) << int(listWindows);
    }
}

} // namespace
