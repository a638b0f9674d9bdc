// The toolbar's actions on real windows: opacity steps, pinning always on
// top and its undo, and the tooltip texts, through the switcher's window
// procedure.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "actions/toolbar_win.h"
#include "base/program_handles_win.h"
#include "process_support_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/window_list_win.h"

namespace {

void Press(int command) {
    SendMessageW(SwitcherWindow, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ActionToolbar));
}

bool IsLayered(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

HWND LayeredTestWindow(int alpha) {
    HWND window =
        CreateTestWindow(L"Layered test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    return window;
}

// A window layered through per-pixel alpha: it has no constant alpha to read.
HWND PerPixelAlphaWindow() {
    HWND window = CreateTestWindow(L"Per-pixel alpha window", WS_POPUP | WS_VISIBLE, WS_EX_LAYERED,
                                   nullptr, 64, 64);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = -64;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < 64 * 64; ++i)
        static_cast<DWORD*>(bits)[i] = 0x80404040; // half see-through grey, premultiplied
    HGDIOBJ previous = SelectObject(memory, bitmap);
    POINT source = {0, 0};
    SIZE size = {64, 64};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen, nullptr, &size, memory, &source, 0, &blend, ULW_ALPHA);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return window;
}

class ToolbarActions : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SwitcherOptions options = DefaultSwitcherOptions();
        options.showToolbar = 1;
        ASSERT_TRUE(StartSwitcherInProcess(options));
    }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
    void TearDown() override {
        RunActionCommand(IDC_RESTORE_TOPMOST);
        for (HWND window : windows_)
            if (IsWindow(window))
                DestroyWindow(window);
        PumpMessages();
    }
    HWND Keep(HWND window) {
        windows_.push_back(window);
        return window;
    }
    std::vector<HWND> windows_;
};

TEST_F(ToolbarActions, TransparentStepsFromOpaqueDownToFortyFiveThenStops) {
    HWND window = Keep(CreateTestWindow(L"Opaque test window"));
    ReplaceWindowList({window});
    ASSERT_FALSE(IsLayered(window));
    std::vector<int> seen;
    for (int press = 0; press < 17; ++press) {
        Press(IDC_TRANSPARENT);
        ASSERT_TRUE(IsLayered(window));
        seen.push_back(LayeredAlpha(window));
    }
    const std::vector<int> expected = {255, 240, 225, 210, 195, 180, 165, 150, 135,
                                       120, 105, 90,  75,  60,  45,  45,  45};
    EXPECT_EQ(seen, expected);
}

TEST_F(ToolbarActions, OtherCommandIdsLeaveTheSelectedWindowAlone) {
    HWND window = Keep(CreateTestWindow(L"Untouched test window"));
    ReplaceWindowList({window});
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    for (int id : {0, 125, 130, 32771, 32773, 32775}) {
        SCOPED_TRACE(id);
        Press(id);
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE), exStyle);
        EXPECT_EQ(pinnedWindow, nullptr);
    }
}

TEST_F(ToolbarActions, OpaqueClimbsFromFortyFiveThenStopsLayering) {
    HWND window = Keep(LayeredTestWindow(45));
    ReplaceWindowList({window});
    std::vector<int> seen;
    for (int press = 0; press < 14; ++press) {
        Press(IDC_OPAQUE);
        ASSERT_TRUE(IsLayered(window));
        seen.push_back(LayeredAlpha(window));
    }
    const std::vector<int> expected = {60,  75,  90,  105, 120, 135, 150,
                                       165, 180, 195, 210, 225, 240, 255};
    EXPECT_EQ(seen, expected);
    Press(IDC_OPAQUE);
    EXPECT_FALSE(IsLayered(window));
    Press(IDC_OPAQUE); // not layered: nothing changes
    EXPECT_FALSE(IsLayered(window));
}

TEST_F(ToolbarActions, TransparentTakesFiftyFiveToFortyAndLeavesFifty) {
    HWND fiftyFive = Keep(LayeredTestWindow(55));
    HWND fifty = Keep(LayeredTestWindow(50));
    ReplaceWindowList({fiftyFive, fifty});
    Press(IDC_TRANSPARENT);
    EXPECT_EQ(LayeredAlpha(fiftyFive), 40);
    Press(IDC_TRANSPARENT);
    EXPECT_EQ(LayeredAlpha(fiftyFive), 40);
    selectedIndex = 1;
    Press(IDC_TRANSPARENT);
    EXPECT_EQ(LayeredAlpha(fifty), 50);
}

TEST_F(ToolbarActions, OpaqueStopsAtFullForAWindowLayeredByAnotherProgram) {
    const wchar_t title[] = L"Zephtab test: layered by its program";
    StartedProgram helper =
        StartProgram(L"layered_window.exe", L"\"" + std::wstring(title) + L"\" 250");
    ASSERT_TRUE(helper.started);
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        window = FindWindowW(L"ZephtabLayeredHelper", title);
        return window && LayeredAlpha(window) == 250;
    }));
    ReplaceWindowList({window});
    Press(IDC_OPAQUE);
    EXPECT_TRUE(IsLayered(window));
    EXPECT_EQ(LayeredAlpha(window), 255);
    Press(IDC_OPAQUE);
    EXPECT_FALSE(IsLayered(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(helper), 0u);
    EndProgram(helper);
}

TEST_F(ToolbarActions, ColourKeyedWindowCountsAsFullyOpaque) {
    HWND window = Keep(
        CreateTestWindow(L"Colour-keyed window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_LAYERED));
    SetLayeredWindowAttributes(window, RGB(255, 0, 255), 0, LWA_COLORKEY);
    ReplaceWindowList({window});
    Press(IDC_TRANSPARENT);
    EXPECT_EQ(LayeredAlpha(window), 240);
}

TEST_F(ToolbarActions, PerPixelAlphaWindowIsLeftAlone) {
    HWND window = Keep(PerPixelAlphaWindow());
    ReplaceWindowList({window});
    ASSERT_EQ(LayeredAlpha(window), -1);
    for (int command : {IDC_OPAQUE, IDC_TRANSPARENT, IDC_OPAQUE}) {
        Press(command);
        EXPECT_TRUE(IsLayered(window));
        EXPECT_EQ(LayeredAlpha(window), -1);
    }
}

TEST_F(ToolbarActions, NoSelectionOrAClosedTargetChangesNothing) {
    HWND window = Keep(CreateTestWindow(L"Target"));
    ReplaceWindowList({window});
    selectedIndex = -1;
    for (int command : {IDC_TRANSPARENT, IDC_OPAQUE, IDC_TOPMOST})
        Press(command);
    EXPECT_FALSE(IsLayered(window));
    EXPECT_FALSE(IsTopmost(window));
    EXPECT_EQ(pinnedWindow, nullptr);

    selectedIndex = 1; // past the end of the list
    Press(IDC_TRANSPARENT);
    EXPECT_FALSE(IsLayered(window));

    ReplaceWindowList({window});
    DestroyWindow(window);
    for (int command : {IDC_TRANSPARENT, IDC_OPAQUE, IDC_TOPMOST, IDC_RESTORE_TOPMOST})
        Press(command);
    EXPECT_EQ(pinnedWindow, nullptr);
}

TEST_F(ToolbarActions, TopmostTwicePinsThenUnpinsInPlace) {
    HWND window = Keep(CreateTestWindow(L"Pinned"));
    ReplaceWindowList({window});
    RECT before;
    GetWindowRect(window, &before);
    Press(IDC_TOPMOST);
    EXPECT_TRUE(IsTopmost(window));
    EXPECT_EQ(pinnedWindow, window);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    Press(IDC_TOPMOST);
    EXPECT_FALSE(IsTopmost(window));
    EXPECT_EQ(pinnedWindow, nullptr);
}

TEST_F(ToolbarActions, PinningASecondWindowReturnsTheFirstToTheNormalGroup) {
    HWND a = Keep(CreateTestWindow(L"A"));
    HWND b = Keep(CreateTestWindow(L"B"));
    ReplaceWindowList({a, b});
    Press(IDC_TOPMOST);
    ASSERT_TRUE(IsTopmost(a));
    selectedIndex = 1;
    Press(IDC_TOPMOST);
    EXPECT_FALSE(IsTopmost(a));
    EXPECT_TRUE(IsTopmost(b));
    EXPECT_EQ(pinnedWindow, b);
}

TEST_F(ToolbarActions, RestoreActsOnThePinnedWindowWhicheverIsSelected) {
    HWND a = Keep(CreateTestWindow(L"A"));
    HWND b = Keep(CreateTestWindow(L"B"));
    ReplaceWindowList({a, b});
    selectedIndex = 1;
    Press(IDC_RESTORE_TOPMOST); // nothing pinned: nothing happens
    EXPECT_FALSE(IsTopmost(a));
    EXPECT_FALSE(IsTopmost(b));
    EXPECT_EQ(pinnedWindow, nullptr);

    selectedIndex = 0;
    Press(IDC_TOPMOST);
    ASSERT_EQ(pinnedWindow, a);
    selectedIndex = 1;
    Press(IDC_RESTORE_TOPMOST);
    EXPECT_FALSE(IsTopmost(a));
    EXPECT_FALSE(IsTopmost(b));
    EXPECT_EQ(pinnedWindow, nullptr);
}

TEST_F(ToolbarActions, AClosedPinnedWindowIsHandledWithoutError) {
    HWND a = Keep(CreateTestWindow(L"A"));
    HWND b = Keep(CreateTestWindow(L"B"));
    ReplaceWindowList({a, b});
    Press(IDC_TOPMOST);
    ASSERT_EQ(pinnedWindow, a);
    DestroyWindow(a);
    Press(IDC_RESTORE_TOPMOST); // not an existing window: left as it is
    EXPECT_EQ(pinnedWindow, a);
    selectedIndex = 1;
    Press(IDC_TOPMOST);
    EXPECT_TRUE(IsTopmost(b));
    EXPECT_EQ(pinnedWindow, b);
}

TEST_F(ToolbarActions, TooltipTextForEachButtonAndAnyOtherId) {
    HWND tooltips = reinterpret_cast<HWND>(SendMessageW(ActionToolbar, TB_GETTOOLTIPS, 0, 0));
    const struct {
        UINT_PTR id;
        const wchar_t* text;
    } cases[] = {
        {IDC_TOPMOST, L"Make Current Window Always on Top"},
        {IDC_RESTORE_TOPMOST, L"Restore Always on Top"},
        {IDC_OPAQUE, L"Make Current Window Opaque"},
        {IDC_TRANSPARENT, L"Make Current Window Transparent"},
        {0, L"Restore Always on Top"},
        {130, L"Restore Always on Top"},
        {IDM_PRODUCT_SITE, L"Restore Always on Top"},
    };
    for (const auto& c : cases) {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = tooltips;
        info.hdr.idFrom = c.id;
        info.hdr.code = TTN_GETDISPINFOW;
        LRESULT result =
            SendMessageW(SwitcherWindow, WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(result, 0);
        ASSERT_NE(info.lpszText, nullptr);
        EXPECT_STREQ(info.lpszText, c.text) << c.id;
    }
}

// The pin button says what a press does: a window already on top is unpinned.
TEST_F(ToolbarActions, PinTooltipSaysWhatAPressDoesToTheSelectedWindow) {
    HWND window = Keep(CreateTestWindow(L"Pinned test window"));
    ReplaceWindowList({window});
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(ActionToolbar, TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = IDC_TOPMOST;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(SwitcherWindow, WM_NOTIFY, IDC_TOPMOST, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, L"Make Current Window Always on Top");
    Press(IDC_TOPMOST);
    ASSERT_TRUE(IsTopmost(window));
    SendMessageW(SwitcherWindow, WM_NOTIFY, IDC_TOPMOST, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, L"Make Current Window Not Always on Top");
}

// Tooltip texts go only to the toolbar's tooltip control on this thread: a
// request from another thread, or naming another sender, gets no text.
TEST_F(ToolbarActions, TooltipRequestsFromAnotherThreadOrSenderGetNoText) {
    HWND tooltips = reinterpret_cast<HWND>(SendMessageW(ActionToolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltips, nullptr);
    const struct {
        HWND sender;
        bool fromAnotherThread;
    } cases[] = {
        {tooltips, true}, {ActionToolbar, false}, {SwitcherWindow, false}, {nullptr, false}};
    for (const auto& c : cases) {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = c.sender;
        info.hdr.idFrom = IDC_TOPMOST;
        info.hdr.code = TTN_GETDISPINFOW;
        const LPARAM lParam = reinterpret_cast<LPARAM>(&info);
        EXPECT_EQ(c.fromAnotherThread
                      ? SendFromAnotherThread(SwitcherWindow, WM_NOTIFY, IDC_TOPMOST, lParam)
                      : SendMessageW(SwitcherWindow, WM_NOTIFY, IDC_TOPMOST, lParam),
                  0);
        EXPECT_EQ(info.lpszText, nullptr) << c.fromAnotherThread;
    }
}

} // namespace
