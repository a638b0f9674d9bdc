// The switcher commands run through the window procedure of a live switcher in
// this process, against windows of this process.
#include <gtest/gtest.h>

#include <string>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/hook_decisions.h"
#include "control/hooks_win.h"
#include "control/switcher_commands_win.h"
#include "windowlist/window_view_win.h"
#include "control/switcher_navigation.h"
#include "display/switcher_layout.h"
#include "input_support_win.h"
#include "display/selection_texts.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

LRESULT Command(WPARAM code) {
    return SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, code, 0);
}

// Whether the switcher was visible when a watched window was last activated.
WNDPROC plainWindowProc;
int switcherVisibleAtActivation = -1;

LRESULT CALLBACK WatchActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        switcherVisibleAtActivation = IsWindowVisible(SwitcherWindow) ? 1 : 0;
    return CallWindowProcW(plainWindowProc, window, message, wParam, lParam);
}

// Destroys a window when the switcher is being shown, between the open's two looks at the list.
HWND closeWhenShown;

LRESULT CALLBACK CloseWindowWhenTheSwitcherShows(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == SwitcherWindow && call->message == WM_SHOWWINDOW &&
        call->wParam && closeWhenShown) {
        HWND window = closeWhenShown;
        closeWhenShown = nullptr;
        DestroyWindow(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class SwitcherCommands : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSwitcherInProcess());
        StartRecordingInput();
    }
    static void TearDownTestSuite() {
        StopRecordingInput();
        StopSwitcherInProcess();
    }

    void SetUp() override {
        SetDefaultOptions(&switcherOptions);
        switcherActive = 0;
    }
    void TearDown() override {
        Command(CMD_CANCEL);
        switcherActive = 0;
        DestroyWindows(&windows);
    }

    // The first ends up on top with the foreground, as a user's front window is.
    void MakeWindows(int count) {
        for (int i = 0; i < count; ++i)
            windows.push_back(CreateTestWindow(L"test window"));
        ASSERT_TRUE(StackWindows(windows));
    }

    void ExpectOpenAt(uint8_t screenPosition) {
        EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
        RECT rect = {};
        GetWindowRect(SwitcherWindow, &rect);
        const ScreenRect screen = {0, 0, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN)};
        SwitcherPlacement place =
            PlaceSwitcher(screen, SWITCHER_WIDTH, SWITCHER_HEIGHT, screenPosition);
        EXPECT_EQ(rect.left, place.x);
        EXPECT_EQ(rect.top, place.y);
        EXPECT_EQ(rect.right - rect.left, SWITCHER_WIDTH);
        EXPECT_EQ(rect.bottom - rect.top, SWITCHER_HEIGHT);
        EXPECT_NE(mouseHook, nullptr);
        EXPECT_EQ(GetForegroundWindow(), SwitcherWindow);
        EXPECT_EQ(GetFocus(), IconStrip);
    }

    void ExpectHidden() {
        EXPECT_FALSE(IsWindowVisible(SwitcherWindow));
        EXPECT_EQ(mouseHook, nullptr);
        EXPECT_EQ(StripImageList, nullptr);
        EXPECT_FALSE(KillTimer(SwitcherWindow, TIMER_SWITCHER_WATCH)) << "the watch goes on";
    }

    std::vector<HWND> windows;
};

TEST_F(SwitcherCommands, OpenPlacesShowsAndSelectsThenCancelHidesWithAndWithoutAnimation) {
    MakeWindows(3);
    for (uint8_t noAnimation : {0, 1}) {
        for (uint8_t position : {0, 4, 8}) {
            SCOPED_TRACE(testing::Message()
                         << "noAnimation " << int(noAnimation) << " position " << int(position));
            switcherOptions.noAnimation = noAnimation;
            switcherOptions.screenPosition = position;
            switcherActive = 1;
            EXPECT_EQ(Command(CMD_OPEN), 0);
            ExpectOpenAt(position);
            EXPECT_EQ(listedCount, 3);
            EXPECT_EQ(selectedIndex, 0);
            EXPECT_EQ(switcherActive, 1);
            EXPECT_EQ(ListedWindows(), windows);

            EXPECT_EQ(Command(CMD_CANCEL), 0);
            ExpectHidden();
            // Hiding leaves the flag and the list as they are.
            EXPECT_EQ(switcherActive, 1);
            EXPECT_EQ(listedCount, 3);
        }
    }
}

TEST_F(SwitcherCommands, OpenSelectsTheSecondEntryWhenAsked) {
    MakeWindows(3);
    switcherOptions.selectSecondOnOpen = 1;
    Command(CMD_OPEN);
    EXPECT_EQ(selectedIndex, 1);
    Command(CMD_ACTIVATE);
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[1]; }));
}

TEST_F(SwitcherCommands, OpenWithNoWindowShowsNothingAndClearsTheFlag) {
    windows.push_back(CreateTestWindow(L"hidden", WS_OVERLAPPEDWINDOW));
    switcherActive = 1;
    Command(CMD_OPEN);
    EXPECT_EQ(listedCount, 0);
    EXPECT_EQ(switcherActive, 0);
    ExpectHidden();
}

TEST_F(SwitcherCommands, OpenWithOneWindowActivatesItWithoutShowing) {
    MakeWindows(1);
    ShowWindow(windows[0], SW_MINIMIZE);
    // A tool window is not listed: it holds the foreground meanwhile.
    windows.push_back(
        CreateTestWindow(L"tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW));
    ASSERT_TRUE(BringToForeground(windows[1]));
    switcherActive = 1;
    Command(CMD_OPEN);
    EXPECT_EQ(switcherActive, 0);
    ExpectHidden();
    EXPECT_FALSE(IsIconic(windows[0]));
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[0]; }));
}

TEST_F(SwitcherCommands, NavigationWrapsAroundTheListedCount) {
    MakeWindows(3);
    Command(CMD_OPEN);
    const struct {
        WPARAM code;
        int selected;
    } steps[] = {{CMD_NEXT, 1},  {CMD_NEXT, 2}, {CMD_NEXT, 0}, {CMD_PREV, 2}, {CMD_PREV, 1},
                 {CMD_FIRST, 0}, {CMD_PREV, 2}, {CMD_LAST, 2}, {CMD_NEXT, 0}, {CMD_LAST, 2}};
    for (const auto& step : steps) {
        EXPECT_EQ(Command(step.code), 0);
        EXPECT_EQ(selectedIndex, step.selected) << "after code " << step.code;
    }
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
}

// The chosen window takes the foreground while the switcher is still shown: hidden
// first, the switcher would let the system activate the window left, whose program
// may take that activation after the chosen one's.
TEST_F(SwitcherCommands, ActivateSwitchesBeforeTheSwitcherHides) {
    MakeWindows(3);
    plainWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(windows[2], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchActivation)));
    switcherVisibleAtActivation = -1;
    Command(CMD_OPEN);
    Command(CMD_LAST);
    Command(CMD_ACTIVATE);
    ExpectHidden();
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[2]; }));
    EXPECT_EQ(switcherVisibleAtActivation, 1);
}

TEST_F(SwitcherCommands, CancelOnlyHides) {
    MakeWindows(3);
    Command(CMD_OPEN);
    Command(CMD_NEXT);
    TakeRecordedKeys();
    Command(CMD_CANCEL);
    ExpectHidden();
    EXPECT_TRUE(TakeRecordedKeys().empty()); // no activation injects its Alt releases
    EXPECT_NE(GetForegroundWindow(), windows[1]);
    EXPECT_EQ(selectedIndex, 1);
}

// A second open while shown keeps the window of before the first: the cancel
// gives it the foreground, not the window next in the stacking order.
TEST_F(SwitcherCommands, CancelAfterASecondOpenReturnsToTheWindowOfBeforeTheFirst) {
    MakeWindows(2);
    Command(CMD_OPEN);
    SetWindowPos(windows[1], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Command(CMD_OPEN);
    Command(CMD_CANCEL);
    EXPECT_TRUE(WaitForForeground(windows[0]));
}

TEST_F(SwitcherCommands, SwitcherStaysOpenWhenAnotherWindowTakesTheForeground) {
    MakeWindows(2);
    Command(CMD_OPEN);
    ASSERT_TRUE(BringToForeground(windows[1]));
    SetFocus(windows[1]);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
    EXPECT_NE(mouseHook, nullptr);
    Command(CMD_CANCEL);
    ExpectHidden();
}

TEST_F(SwitcherCommands, CancelAndActivateWhileHiddenAreHarmless) {
    MakeWindows(2);
    Command(CMD_OPEN);
    Command(CMD_CANCEL);
    // The user moved on: a late cancel does not pull the foreground back.
    ASSERT_TRUE(BringToForeground(windows[1]));
    Command(CMD_CANCEL);
    EXPECT_EQ(GetForegroundWindow(), windows[1]);
    for (int i = 0; i < 3; ++i) {
        Command(CMD_CANCEL);
        ExpectHidden();
        Command(CMD_ACTIVATE);
        ExpectHidden();
    }
    HideSwitcher();
    ReleaseOpenSwitcher();
    ExpectHidden();
}

TEST_F(SwitcherCommands, ActivateOutsideTheListActivatesNothing) {
    windows.push_back(CreateTestWindow(L"hidden", WS_OVERLAPPEDWINDOW));
    Command(CMD_OPEN);
    ASSERT_EQ(listedCount, 0);
    Command(CMD_PREV);
    ASSERT_EQ(selectedIndex, -1);
    TakeRecordedKeys();
    Command(CMD_ACTIVATE);
    EXPECT_TRUE(TakeRecordedKeys().empty());

    DestroyWindows(&windows);
    MakeWindows(2);
    Command(CMD_OPEN);
    NMITEMACTIVATE click = {};
    click.iItem = 7; // as if the strip held more items than the list
    OnIconStripClick(&click);
    ASSERT_EQ(selectedIndex, 7);
    TakeRecordedKeys();
    Command(CMD_ACTIVATE);
    EXPECT_TRUE(TakeRecordedKeys().empty());
    ExpectHidden();
}

TEST_F(SwitcherCommands, UnknownCodesDoNothing) {
    MakeWindows(3);
    Command(CMD_OPEN);
    Command(CMD_NEXT);
    for (WPARAM code : {WPARAM(120), WPARAM(114), WPARAM(123), WPARAM(0), WPARAM(0xFFFF)}) {
        EXPECT_EQ(Command(code), 0);
        EXPECT_EQ(selectedIndex, 1);
        EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
        EXPECT_NE(mouseHook, nullptr);
    }
    Command(CMD_CANCEL);
    EXPECT_EQ(Command(120), 0);
    ExpectHidden();
}

TEST_F(SwitcherCommands, SecondOpenKeepsTheMouseHookItHolds) {
    MakeWindows(2);
    Command(CMD_OPEN);
    HHOOK first = mouseHook;
    ASSERT_NE(first, nullptr);
    Command(CMD_OPEN);
    EXPECT_EQ(mouseHook, first);
    Command(CMD_CANCEL);
    ExpectHidden();
}

TEST_F(SwitcherCommands, ClickInTheIconStripSelectsAndEmptySpaceKeepsTheSelection) {
    MakeWindows(3);
    Command(CMD_OPEN);
    ASSERT_NE(IconStrip, nullptr);
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = IconStrip;
    click.hdr.idFrom = 0;
    click.hdr.code = NM_CLICK;
    click.iItem = 2;
    EXPECT_EQ(SendMessageW(SwitcherWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click)), 1);
    EXPECT_EQ(selectedIndex, 2);

    // A click on empty space deselects every item before the list view reports it.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(IconStrip, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    click.iItem = -1;
    EXPECT_EQ(SendMessageW(SwitcherWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click)), 1);
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);

    click.hdr.code = NM_DBLCLK;
    click.iItem = 0;
    EXPECT_EQ(SendMessageW(SwitcherWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click)), 0);
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
}

LRESULT TypeKey(UINT key) {
    const TypedKey typed = {key, MapVirtualKeyW(key, MAPVK_VK_TO_VSC), false, false, false};
    return SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_TYPE_KEY,
                        static_cast<LPARAM>(PackTypedKey(typed)));
}

// A typed key whose first match is the window selected keeps it, with its new place
// in the list; one whose first match is another window selects and shows that one.
TEST_F(SwitcherCommands, ATypedKeyKeepsTheSelectedWindowOrSelectsTheFirstMatch) {
    for (const wchar_t* title : {L"Kiwi one", L"Plum two", L"Kiwi three", L"Plum four"})
        windows.push_back(CreateTestWindow(title));
    ASSERT_TRUE(StackWindows(windows));
    Command(CMD_OPEN);
    Command(CMD_FIRST);
    ASSERT_EQ(WindowList[0].window, windows[0]);
    TypeKey('K');
    ASSERT_EQ(listedCount, 2);
    EXPECT_EQ(selectedIndex, 0);
    EXPECT_STREQ(SelectionTexts.positionText, L": 1/2");
    EXPECT_STREQ(SelectionTexts.titleText, L"Kiwi one");
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSTATE, 0, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_TRUE(IsWindowVisible(IconStrip)) << "the strip's drawing is given back";
    Command(CMD_NEXT);
    ASSERT_STREQ(SelectionTexts.titleText, L"Kiwi three");
    TypeKey(VK_BACK);
    ASSERT_EQ(listedCount, 4);
    EXPECT_EQ(selectedIndex, 0);
    EXPECT_STREQ(SelectionTexts.titleText, L"Kiwi one");
    EXPECT_STREQ(SelectionTexts.positionText, L": 1/4");
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSTATE, 1, LVIS_SELECTED), 0u);
}

// The list is taken for typing by the watch while no key comes, a part at each
// look; a window that closes before the first key does not come back with it.
TEST_F(SwitcherCommands, AWindowClosedBeforeTheFirstKeyStaysGoneWhenTyping) {
    for (int i = 0; i < 30; ++i)
        windows.push_back(CreateTestWindow((L"Kiwi " + std::to_wstring(i)).c_str()));
    ASSERT_TRUE(StackWindows(windows));
    Command(CMD_OPEN);
    const int listed = listedCount;
    ASSERT_TRUE(WaitUntil(IsListTakenAhead, 5000)) << "more than one look's part";
    DestroyWindow(windows[1]);
    ASSERT_TRUE(WaitUntil([&] { return listedCount == listed - 1; }, 3000));
    TypeKey('K');
    EXPECT_EQ(listedCount, 29);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMCOUNT, 0, 0), 29);
}

// Another program can post a WM_NOTIFY to any of our windows, or send one from
// its own thread; its lParam then points into that program, or nowhere. Such a
// notification is not read: a click it describes selects nothing.
TEST_F(SwitcherCommands, NotificationsPostedOrSentFromAnotherThreadAreNotRead) {
    MakeWindows(3);
    Command(CMD_OPEN);
    ASSERT_NE(IconStrip, nullptr);
    const int selected = selectedIndex;
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = IconStrip;
    click.hdr.code = NM_CLICK;
    click.iItem = selected == 2 ? 1 : 2;
    for (LPARAM lParam : {reinterpret_cast<LPARAM>(&click), LPARAM(0x10), LPARAM(-1)}) {
        EXPECT_EQ(SendFromAnotherThread(SwitcherWindow, WM_NOTIFY, 0, lParam), 0);
        for (HWND target : {SwitcherWindow, IconStrip})
            PostMessageW(target, WM_NOTIFY, 0, lParam);
        PumpMessages();
        EXPECT_EQ(selectedIndex, selected);
    }
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
    Command(CMD_CANCEL);
}

// Its entry, strip item and image go, and the texts count what is left; the
// selection stays on its window.
TEST_F(SwitcherCommands, AWindowThatClosesWhileShownLeavesTheListTheStripAndTheTexts) {
    MakeWindows(4);
    Command(CMD_OPEN);
    Command(CMD_LAST);
    HWND selected = WindowList[selectedIndex].window;
    POINT first = {};
    SendMessageW(IconStrip, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&first));
    DestroyWindow(windows[0]);
    ASSERT_TRUE(WaitUntil([] { return listedCount == 3; }, 3000));
    POINT moved = {};
    SendMessageW(IconStrip, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&moved));
    EXPECT_EQ(moved.x, first.x); // no hole where the first icon stood
    EXPECT_EQ(moved.y, first.y);
    EXPECT_EQ(ListedWindows(), std::vector<HWND>(windows.begin() + 1, windows.end()));
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_EQ(WindowList[selectedIndex].window, selected);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ImageList_GetImageCount(StripImageList), 3);
    EXPECT_EQ(SendMessageW(IconStrip, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_STREQ(SelectionTexts.positionText, L": 3/3");
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
}

// One window left once the switcher is on screen: the open ends as an open that
// found one window does, and activates it.
TEST_F(SwitcherCommands, AnOpenThatFindsOneWindowLeftOnScreenActivatesIt) {
    MakeWindows(2);
    switcherOptions.noAnimation = 1;
    closeWhenShown = windows[0];
    HHOOK watch = SetWindowsHookExW(WH_CALLWNDPROC, CloseWindowWhenTheSwitcherShows, nullptr,
                                    GetCurrentThreadId());
    switcherActive = 1;
    Command(CMD_OPEN);
    UnhookWindowsHookEx(watch);
    ASSERT_EQ(closeWhenShown, nullptr);
    ExpectHidden();
    EXPECT_EQ(switcherActive, 0);
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[1]; }));
}

TEST_F(SwitcherCommands, TwoHundredOpenCancelCyclesLeaveObjectCountsWhereTheyStarted) {
    MakeWindows(3);
    auto cycle = [](int i) {
        switcherOptions.noAnimation = static_cast<uint8_t>(i & 1);
        Command(CMD_OPEN);
        Command(CMD_CANCEL);
        PumpMessages();
    };
    for (int i = 0; i < 2; ++i)
        cycle(i);
    const int gdiBefore = CountGdiObjects();
    const int userBefore = CountUserObjects();
    for (int i = 0; i < 200; ++i)
        cycle(i);
    EXPECT_EQ(CountGdiObjects(), gdiBefore);
    EXPECT_EQ(CountUserObjects(), userBefore);
    ExpectHidden();
}

} // namespace
