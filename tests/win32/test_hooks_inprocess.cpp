// The real hook procedures, called in this process with synthesized events:
// what they post to the switcher window, the flag, and what they swallow.
#include <gtest/gtest.h>

#include <vector>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/hooks_win.h"
#include "input_support_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

LRESULT Key(WPARAM message, DWORD key, DWORD flags = 0, DWORD time = 0) {
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = key;
    event.flags = flags;
    event.time = time;
    return KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
}

LRESULT Mouse(WPARAM message, POINT point, DWORD mouseData = 0) {
    MSLLHOOKSTRUCT event = {};
    event.pt = point;
    event.mouseData = mouseData;
    return MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
}

// A key message as the queue hands it to a window; true when the switcher settled it.
bool KeyMessage(UINT message, WPARAM key, DWORD time, HWND window = IconStrip) {
    MSG queued = {};
    queued.hwnd = window;
    queued.message = message;
    queued.wParam = key;
    queued.time = time;
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
        queued.lParam = LPARAM(1) << 29; // Alt held
    return TakeKeyTheHookMissed(queued);
}

// Dispatches a hot key message as the system posts it, at the time of posting.
void PressHotKey(WPARAM id) {
    PostMessageW(SwitcherWindow, WM_HOTKEY, id, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, SwitcherWindow, WM_HOTKEY, WM_HOTKEY, PM_REMOVE));
    DispatchMessageW(&message);
}

constexpr DWORD ALT = LLKHF_ALTDOWN;
constexpr bool SWALLOWED = true;
constexpr bool PASSED = false;
constexpr WPARAM NONE = 0;

class Hooks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartSwitcherInProcess()); }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
    void SetUp() override {
        // Keep the commands queued: the test reads them instead of running them.
        TakePostedCommands(SwitcherWindow);
        switcherActive = 0;
        switcherOptions.stayOpenAfterAlt = 0;
    }
    void TearDown() override {
        switcherActive = 0;
        switcherOptions.stayOpenAfterAlt = 0;
        TakePostedCommands(SwitcherWindow);
    }
    void ExpectOutcome(LRESULT result, WPARAM command, int activeAfter, bool swallowed) {
        std::vector<WPARAM> expected;
        if (command != NONE)
            expected.push_back(command);
        EXPECT_EQ(TakePostedCommands(SwitcherWindow), expected);
        EXPECT_EQ(switcherActive, activeAfter);
        if (swallowed)
            EXPECT_EQ(result, 1);
        else
            EXPECT_NE(result, 1);
    }
};

TEST_F(Hooks, KeyboardHookIsInstalledAtStartUp) {
    EXPECT_NE(keyboardHook, nullptr);
}

TEST_F(Hooks, KeyboardEventsPostTheTableCommands) {
    const struct Row {
        const char* what;
        WPARAM message;
        DWORD key;
        DWORD flags;
        BYTE active;
        BYTE stayOpen;
        WPARAM command;
        int activeAfter;
        bool swallowed;
    } rows[] = {
        {"Alt+Tab opens", WM_SYSKEYDOWN, VK_TAB, ALT, 0, 0, CMD_OPEN, 1, SWALLOWED},
        {"Alt+Tab steps", WM_SYSKEYDOWN, VK_TAB, ALT, 1, 0, CMD_NEXT, 1, SWALLOWED},
        {"Tab without Alt", WM_SYSKEYDOWN, VK_TAB, 0, 1, 0, NONE, 1, PASSED},
        {"Alt+Enter", WM_SYSKEYDOWN, VK_RETURN, ALT, 1, 0, CMD_ACTIVATE, 0, SWALLOWED},
        {"Alt+Escape", WM_SYSKEYDOWN, VK_ESCAPE, ALT, 1, 0, CMD_CANCEL, 0, SWALLOWED},
        {"Alt+End", WM_SYSKEYDOWN, VK_END, ALT, 1, 0, CMD_LAST, 1, SWALLOWED},
        {"Alt+Home", WM_SYSKEYDOWN, VK_HOME, ALT, 1, 0, CMD_FIRST, 1, SWALLOWED},
        {"Alt+Left", WM_SYSKEYDOWN, VK_LEFT, ALT, 1, 0, CMD_PREV, 1, SWALLOWED},
        {"Alt+Down", WM_SYSKEYDOWN, VK_DOWN, ALT, 1, 0, CMD_NEXT, 1, SWALLOWED},
        {"Alt+Shift", WM_SYSKEYDOWN, VK_LSHIFT, ALT, 1, 0, NONE, 1, PASSED},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, ALT, 1, 0, CMD_CANCEL, 0, SWALLOWED},
        {"Alt pressed again", WM_SYSKEYDOWN, VK_LMENU, ALT, 1, 0, CMD_CANCEL, 0, SWALLOWED},
        {"Enter stay-open", WM_KEYDOWN, VK_RETURN, 0, 1, 1, CMD_ACTIVATE, 0, SWALLOWED},
        {"Up stay-open", WM_KEYDOWN, VK_UP, 0, 1, 1, CMD_PREV, 1, SWALLOWED},
        {"Right stay-open", WM_KEYDOWN, VK_RIGHT, 0, 1, 1, CMD_NEXT, 1, SWALLOWED},
        {"Escape stay-open", WM_KEYDOWN, VK_ESCAPE, 0, 1, 1, CMD_CANCEL, 0, SWALLOWED},
        {"Enter without stay-open", WM_KEYDOWN, VK_RETURN, 0, 1, 0, NONE, 1, PASSED},
        {"Alt released", WM_KEYUP, VK_LMENU, 0, 1, 0, CMD_ACTIVATE, 0, PASSED},
        {"right Alt released", WM_SYSKEYUP, VK_RMENU, 0, 1, 0, CMD_ACTIVATE, 0, PASSED},
        {"Alt released stay-open", WM_KEYUP, VK_LMENU, 0, 1, 1, NONE, 1, PASSED},
        {"idle Alt+Escape", WM_SYSKEYDOWN, VK_ESCAPE, ALT, 0, 0, NONE, 0, PASSED},
        {"idle letter", WM_KEYDOWN, 'A', 0, 0, 1, NONE, 0, PASSED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        switcherActive = row.active;
        switcherOptions.stayOpenAfterAlt = row.stayOpen;
        const LRESULT result = Key(row.message, row.key, row.flags);
        ExpectOutcome(result, row.command, row.activeAfter, row.swallowed);
    }
}

TEST_F(Hooks, NonActionCodesPassWithoutReadingTheEvent) {
    for (int code : {1, 2, 3, -1, -100}) {
        SCOPED_TRACE(code);
        switcherActive = 1;
        // A null record: the hook must not look at it.
        EXPECT_NE(KeyboardHookProc(code, WM_SYSKEYDOWN, 0), 1);
        EXPECT_NE(MouseHookProc(code, WM_LBUTTONDOWN, 0), 1);
        ExpectOutcome(0, NONE, 1, PASSED);
    }
}

// Wine never sets LLKHF_ALTDOWN: the Alt key's state stands in for a Tab.
TEST_F(Hooks, AltHeldDownOpensWithoutTheAltFlag) {
    InjectKey(VK_LMENU, true);
    ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_MENU) & 0x8000) != 0; }, 3000));
    TakePostedCommands(SwitcherWindow);
    ExpectOutcome(Key(WM_SYSKEYDOWN, VK_TAB), CMD_OPEN, 1, SWALLOWED);
    // Only a Tab asks for the Alt key: another key while idle still passes.
    switcherActive = 0;
    ExpectOutcome(Key(WM_SYSKEYDOWN, VK_ESCAPE), NONE, 0, PASSED);
    InjectKey(VK_LMENU, false);
    ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_MENU) & 0x8000) == 0; }, 3000));
    TakePostedCommands(SwitcherWindow);
    ExpectOutcome(Key(WM_SYSKEYDOWN, VK_TAB), NONE, 0, PASSED);
}

TEST_F(Hooks, OnlyTheLeftShiftKeyReversesAltTab) {
    const struct {
        WORD shift;
        WPARAM command;
    } cases[] = {{VK_LSHIFT, CMD_PREV}, {VK_RSHIFT, CMD_NEXT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shift);
        InjectKey(c.shift, true);
        ASSERT_TRUE(WaitUntil([&] { return (GetAsyncKeyState(c.shift) & 0x8000) != 0; }, 3000));
        TakePostedCommands(SwitcherWindow);
        switcherActive = 1;
        ExpectOutcome(Key(WM_SYSKEYDOWN, VK_TAB, ALT), c.command, 1, SWALLOWED);
        // Shift is not consulted on the opening press.
        switcherActive = 0;
        ExpectOutcome(Key(WM_SYSKEYDOWN, VK_TAB, ALT), CMD_OPEN, 1, SWALLOWED);
        switcherActive = 0;
        InjectKey(c.shift, false);
        ASSERT_TRUE(WaitUntil([&] { return (GetAsyncKeyState(c.shift) & 0x8000) == 0; }, 3000));
        TakePostedCommands(SwitcherWindow);
    }
}

// The installed hook sees this process's own injected keys like typed ones.
// The commands are left queued (not run), so the flag stays as the hook set it.
TEST_F(Hooks, InstalledHookTurnsInjectedAltTabIntoOpenAndActivate) {
    InjectKey(VK_LMENU, true);
    InjectKey(VK_TAB, true);
    InjectKey(VK_TAB, false);
    EXPECT_EQ(WaitForPostedCommand(SwitcherWindow), static_cast<WPARAM>(CMD_OPEN));
    EXPECT_EQ(switcherActive, 1);
    InjectKey(VK_LMENU, false);
    EXPECT_EQ(WaitForPostedCommand(SwitcherWindow), static_cast<WPARAM>(CMD_ACTIVATE));
    EXPECT_EQ(switcherActive, 0);
    EXPECT_TRUE(TakePostedCommands(SwitcherWindow).empty());
}

// The system skips a hook that answers too late, and the key reaches the focused strip.
TEST_F(Hooks, KeysThatReachTheSwitcherPastTheHookAreDecidedAsTheHookWould) {
    HWND other = CreateTestWindow(L"not the switcher");
    const struct Row {
        const char* what;
        UINT message;
        WPARAM key;
        BYTE active;
        BYTE stayOpen;
        HWND window;
        WPARAM command;
        int activeAfter;
        bool settled;
    } rows[] = {
        {"Alt+Right", WM_SYSKEYDOWN, VK_RIGHT, 1, 0, IconStrip, CMD_NEXT, 1, true},
        {"Alt+Up", WM_SYSKEYDOWN, VK_UP, 1, 0, IconStrip, CMD_PREV, 1, true},
        {"Alt+End", WM_SYSKEYDOWN, VK_END, 1, 0, SwitcherWindow, CMD_LAST, 1, true},
        {"Alt+Escape", WM_SYSKEYDOWN, VK_ESCAPE, 1, 0, IconStrip, CMD_CANCEL, 0, true},
        {"Alt released", WM_KEYUP, VK_MENU, 1, 0, IconStrip, CMD_ACTIVATE, 0, false},
        {"Shift with Alt", WM_SYSKEYDOWN, VK_SHIFT, 1, 0, IconStrip, NONE, 1, false},
        {"Right stay-open", WM_KEYDOWN, VK_RIGHT, 1, 1, IconStrip, CMD_NEXT, 1, true},
        {"Alt released stay-open", WM_KEYUP, VK_MENU, 1, 1, IconStrip, NONE, 1, false},
        // Tab alone reads Alt held (bit 29): without it, the Tab would pass unsettled.
        {"Alt+Tab", WM_SYSKEYDOWN, VK_TAB, 1, 0, IconStrip, CMD_NEXT, 1, true},
        {"idle", WM_SYSKEYDOWN, VK_RIGHT, 0, 0, IconStrip, NONE, 0, false},
        {"another window", WM_SYSKEYDOWN, VK_RIGHT, 1, 0, other, NONE, 1, false},
    };
    DWORD time = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        switcherActive = row.active;
        switcherOptions.stayOpenAfterAlt = row.stayOpen;
        EXPECT_EQ(KeyMessage(row.message, row.key, ++time, row.window), row.settled);
        ExpectOutcome(0, row.command, row.activeAfter, PASSED);
    }
    DestroyWindow(other);

    // The same events after the hook decided them: settled as the hook said, not twice.
    switcherActive = 1;
    Key(WM_SYSKEYDOWN, VK_RIGHT, ALT, 500);
    Key(WM_SYSKEYDOWN, VK_LSHIFT, ALT, 501);
    TakePostedCommands(SwitcherWindow);
    EXPECT_TRUE(KeyMessage(WM_SYSKEYDOWN, VK_RIGHT, 500));
    EXPECT_FALSE(KeyMessage(WM_SYSKEYDOWN, VK_SHIFT, 501));
    ExpectOutcome(0, NONE, 1, PASSED);

    // A hook the system removed for its slow answer is installed again.
    RemoveKeyboardHook();
    EXPECT_TRUE(KeyMessage(WM_SYSKEYDOWN, VK_LEFT, 502));
    ExpectOutcome(0, CMD_PREV, 1, PASSED);
    EXPECT_NE(keyboardHook, nullptr);
}

// The hot keys arrive only for a Tab the hook did not swallow.
TEST_F(Hooks, AHotKeyForATabTheHookDecidedAddsNothing) {
    const DWORD now = GetTickCount();
    ExpectOutcome(Key(WM_SYSKEYDOWN, VK_TAB, ALT, now), CMD_OPEN, 1, SWALLOWED);
    OnAltTabHotKey(now + 10); // posted just after the hook ran
    ExpectOutcome(0, NONE, 1, PASSED);
}

TEST_F(Hooks, HotKeysForTabsTheHookMissedOpenAndStepAsTheHookWould) {
    // The hook's last Tab was long before these.
    Key(WM_SYSKEYDOWN, VK_TAB, 0, GetTickCount() - 10000);
    TakePostedCommands(SwitcherWindow);
    RemoveKeyboardHook();
    // Handled after Alt went up, the press is over: opened now, the switcher would
    // wait for an Alt release that already came, and stay open.
    PressHotKey(HOTKEY_ALT_TAB);
    ExpectOutcome(0, NONE, 0, PASSED);
    InjectKey(VK_LMENU, true);
    ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_MENU) & 0x8000) != 0; }, 3000));
    PressHotKey(HOTKEY_ALT_SHIFT_TAB); // from idle, Shift or not, it opens
    ExpectOutcome(0, CMD_OPEN, 1, PASSED);
    EXPECT_NE(keyboardHook, nullptr) << "the hook is installed again";

    PressHotKey(HOTKEY_ALT_TAB);
    ExpectOutcome(0, CMD_NEXT, 1, PASSED);
    InjectKey(VK_LSHIFT, true);
    ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_LSHIFT) & 0x8000) != 0; }, 3000));
    TakePostedCommands(SwitcherWindow);
    PressHotKey(HOTKEY_ALT_SHIFT_TAB);
    ExpectOutcome(0, CMD_PREV, 1, PASSED);
    InjectKey(VK_LSHIFT, false);
    InjectKey(VK_LMENU, false);
    ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_LSHIFT) & 0x8000) == 0; }, 3000));
}

TEST_F(Hooks, ClicksInsideTheSwitcherPassAndClicksOutsideCancel) {
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(SwitcherWindow, &rect));
    const struct {
        const char* what;
        POINT point;
        bool inside;
    } points[] = {
        {"top left corner", {rect.left, rect.top}, true},
        {"bottom right pixel", {rect.right - 1, rect.bottom - 1}, true},
        {"middle", {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, true},
        {"right edge", {rect.right, rect.top + 5}, false},
        {"bottom edge", {rect.left + 5, rect.bottom}, false},
        {"left of it", {rect.left - 1, rect.top + 5}, false},
        {"far away", {0, 0}, false},
    };
    for (WPARAM message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        for (const auto& p : points) {
            SCOPED_TRACE(p.what);
            SCOPED_TRACE(message);
            switcherActive = 1;
            const LRESULT result = Mouse(message, p.point);
            ExpectOutcome(result, p.inside ? NONE : CMD_CANCEL, p.inside ? 1 : 0, PASSED);
        }
    }
}

TEST_F(Hooks, TheWheelStepsAndIsSwallowedWherever) {
    const POINT outside = {0, 0};
    switcherActive = 1;
    ExpectOutcome(Mouse(WM_MOUSEWHEEL, outside, static_cast<DWORD>(-WHEEL_DELTA) << 16), CMD_NEXT,
                  1, SWALLOWED);
    ExpectOutcome(Mouse(WM_MOUSEWHEEL, outside, static_cast<DWORD>(WHEEL_DELTA) << 16), CMD_PREV, 1,
                  SWALLOWED);
    ExpectOutcome(Mouse(WM_MOUSEWHEEL, outside, 0), CMD_PREV, 1, SWALLOWED);
}

TEST_F(Hooks, MouseEventsPassUntouchedWhileIdle) {
    for (WPARAM message : {WM_LBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL, WM_MOUSEMOVE}) {
        SCOPED_TRACE(message);
        switcherActive = 0;
        ExpectOutcome(Mouse(message, {0, 0}, static_cast<DWORD>(-WHEEL_DELTA) << 16), NONE, 0,
                      PASSED);
    }
    switcherActive = 1;
    for (WPARAM message : {WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_XBUTTONDOWN, WM_MOUSEHWHEEL}) {
        SCOPED_TRACE(message);
        ExpectOutcome(Mouse(message, {0, 0}, 0x10000), NONE, 1, PASSED);
    }
}

} // namespace
