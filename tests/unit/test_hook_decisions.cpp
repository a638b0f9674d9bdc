#include <gtest/gtest.h>

#include "base/identifiers.h"
#include "control/hook_decisions.h"

namespace {

constexpr uint32_t KEY_A = 'A';
constexpr uint32_t KEY_F4 = 0x73;
constexpr uint32_t KEY_SPACE = 0x20;
constexpr uint32_t KEY_MENU = 0x12; // the generic Alt code
constexpr uint32_t MSG_MOUSEMOVE = 0x200;
constexpr uint32_t MSG_MBUTTONDOWN = 0x207;
constexpr uint32_t MSG_XBUTTONDOWN = 0x20B;
constexpr uint32_t MSG_MOUSEHWHEEL = 0x20E;
constexpr uint32_t MSG_LBUTTONDBLCLK = 0x203;

constexpr bool PASS = false;
constexpr bool SWALLOW = true;
constexpr int UNCHANGED = -1; // switcherActive keeps what it was

struct KeyRow {
    const char* what;
    int nCode;
    uint32_t message;
    uint32_t key;
    uint8_t active;
    uint8_t stayOpen;
    bool altDown;
    bool leftShift;
    unsigned command;
    int activeAfter;
    bool swallow;
    bool readsShift;
};

// Every row of the keyboard table, in its order, followed by the edge cases.
const KeyRow kKeyRows[] = {
    // 1: nCode other than 0 passes without any test, negative ones too.
    {"1 nCode 1 Alt+Tab idle", 1, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 0, true, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"1 nCode -1 Escape active", -1, KEYMSG_SYSKEYDOWN, KEYCODE_ESCAPE, 1, 0, true, false,
     NO_COMMAND, UNCHANGED, PASS, false},
    {"1 nCode 3 Alt up active", 3, KEYMSG_SYSKEYUP, KEYCODE_LMENU, 1, 0, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"1 nCode INT_MIN Tab active", INT32_MIN, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, true, true,
     NO_COMMAND, UNCHANGED, PASS, false},
    {"1 nCode -5 plain key stay-open", -5, KEYMSG_KEYDOWN, KEYCODE_RETURN, 1, 1, false, false,
     NO_COMMAND, UNCHANGED, PASS, false},
    // 2: Alt+Tab from idle opens; Shift is not consulted.
    {"2 Alt+Tab idle", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 0, true, false, CMD_OPEN, 1, SWALLOW,
     false},
    {"2 Alt+Shift+Tab idle", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 0, true, true, CMD_OPEN, 1,
     SWALLOW, false},
    {"2 Alt+Tab idle stay-open", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 7, true, false, CMD_OPEN, 1,
     SWALLOW, false},
    // 3 and 4: Tab with Alt during a switch steps, back with the left Shift key.
    {"3 Alt+LShift+Tab", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, true, true, CMD_PREV, 1, SWALLOW,
     true},
    {"3 Alt+LShift+Tab stay-open", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 1, true, true, CMD_PREV, 1,
     SWALLOW, true},
    {"4 Alt+Tab", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, true, false, CMD_NEXT, 1, SWALLOW, true},
    // Only the left Shift key reverses: with the right one held the query says up.
    {"4 Alt+Tab right Shift held", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, true, false, CMD_NEXT,
     1, SWALLOW, true},
    {"4 Alt+Tab stay-open", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 1, true, false, CMD_NEXT, 1,
     SWALLOW, true},
    // 5: a system Tab without Alt passes, whatever the flag.
    {"5 Tab no Alt idle", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 0, false, true, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"5 Tab no Alt active", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, false, true, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"5 Tab no Alt active stay-open", 0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 1, false, false,
     NO_COMMAND, UNCHANGED, PASS, false},
    // 6 to 11: keys with Alt during a switch.
    {"6 Alt+Enter", 0, KEYMSG_SYSKEYDOWN, KEYCODE_RETURN, 1, 0, false, false, CMD_ACTIVATE, 0,
     SWALLOW, false},
    {"7 Alt+Escape", 0, KEYMSG_SYSKEYDOWN, KEYCODE_ESCAPE, 1, 0, false, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"8 Alt+End", 0, KEYMSG_SYSKEYDOWN, KEYCODE_END, 1, 0, false, false, CMD_LAST, 1, SWALLOW,
     false},
    {"9 Alt+Home", 0, KEYMSG_SYSKEYDOWN, KEYCODE_HOME, 1, 1, false, false, CMD_FIRST, 1, SWALLOW,
     false},
    {"10 Alt+Left", 0, KEYMSG_SYSKEYDOWN, KEYCODE_LEFT, 1, 0, false, false, CMD_PREV, 1, SWALLOW,
     false},
    {"10 Alt+Up", 0, KEYMSG_SYSKEYDOWN, KEYCODE_UP, 1, 0, true, false, CMD_PREV, 1, SWALLOW, false},
    {"11 Alt+Right", 0, KEYMSG_SYSKEYDOWN, KEYCODE_RIGHT, 1, 0, false, false, CMD_NEXT, 1, SWALLOW,
     false},
    {"11 Alt+Down", 0, KEYMSG_SYSKEYDOWN, KEYCODE_DOWN, 1, 0, false, false, CMD_NEXT, 1, SWALLOW,
     false},
    // 12: the Shift keys pressed with Alt pass on.
    {"12 Alt+LShift", 0, KEYMSG_SYSKEYDOWN, KEYCODE_LSHIFT, 1, 0, true, true, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"12 Alt+RShift", 0, KEYMSG_SYSKEYDOWN, KEYCODE_RSHIFT, 1, 0, true, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    // 13: any other key with Alt cancels and is swallowed, either Alt key included.
    {"13 Alt+A", 0, KEYMSG_SYSKEYDOWN, KEY_A, 1, 0, false, false, CMD_CANCEL, 0, SWALLOW, false},
    {"13 Alt+F4", 0, KEYMSG_SYSKEYDOWN, KEY_F4, 1, 0, true, false, CMD_CANCEL, 0, SWALLOW, false},
    {"13 Alt press LMENU", 0, KEYMSG_SYSKEYDOWN, KEYCODE_LMENU, 1, 0, true, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"13 Alt press RMENU", 0, KEYMSG_SYSKEYDOWN, KEYCODE_RMENU, 1, 1, true, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"13 Alt press generic MENU", 0, KEYMSG_SYSKEYDOWN, KEY_MENU, 1, 0, true, false, CMD_CANCEL, 0,
     SWALLOW, false},
    // 14 to 17: plain keys while the switcher stays open after Alt.
    {"14 Enter stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_RETURN, 1, 1, false, false, CMD_ACTIVATE, 0,
     SWALLOW, false},
    {"15 Left stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_LEFT, 1, 1, false, false, CMD_PREV, 1, SWALLOW,
     false},
    {"15 Up stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_UP, 1, 255, false, false, CMD_PREV, 1, SWALLOW,
     false},
    {"16 Right stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_RIGHT, 1, 1, false, false, CMD_NEXT, 1,
     SWALLOW, false},
    {"16 Down stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_DOWN, 1, 1, false, false, CMD_NEXT, 1, SWALLOW,
     false},
    {"17 Tab stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_TAB, 1, 1, false, false, CMD_CANCEL, 0, SWALLOW,
     false},
    {"17 Escape stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_ESCAPE, 1, 1, false, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"17 Home stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_HOME, 1, 1, false, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"17 End stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_END, 1, 1, false, false, CMD_CANCEL, 0, SWALLOW,
     false},
    {"17 LShift stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_LSHIFT, 1, 1, false, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"17 RShift stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_RSHIFT, 1, 1, false, false, CMD_CANCEL, 0,
     SWALLOW, false},
    {"17 Space stay-open", 0, KEYMSG_KEYDOWN, KEY_SPACE, 1, 1, false, false, CMD_CANCEL, 0, SWALLOW,
     false},
    // 18: without stay-open, plain keys during a switch pass untouched.
    {"18 Enter", 0, KEYMSG_KEYDOWN, KEYCODE_RETURN, 1, 0, false, false, NO_COMMAND, UNCHANGED, PASS,
     false},
    {"18 A", 0, KEYMSG_KEYDOWN, KEY_A, 1, 0, false, false, NO_COMMAND, UNCHANGED, PASS, false},
    {"18 Escape", 0, KEYMSG_KEYDOWN, KEYCODE_ESCAPE, 1, 0, false, false, NO_COMMAND, UNCHANGED,
     PASS, false},
    // 19: the Alt release activates and is passed on.
    {"19 LMENU sysup", 0, KEYMSG_SYSKEYUP, KEYCODE_LMENU, 1, 0, false, false, CMD_ACTIVATE, 0, PASS,
     false},
    {"19 RMENU sysup", 0, KEYMSG_SYSKEYUP, KEYCODE_RMENU, 1, 0, false, false, CMD_ACTIVATE, 0, PASS,
     false},
    {"19 LMENU up", 0, KEYMSG_KEYUP, KEYCODE_LMENU, 1, 0, false, false, CMD_ACTIVATE, 0, PASS,
     false},
    {"19 RMENU up", 0, KEYMSG_KEYUP, KEYCODE_RMENU, 1, 0, true, false, CMD_ACTIVATE, 0, PASS,
     false},
    // 20: with stay-open the Alt release changes nothing.
    {"20 LMENU sysup stay-open", 0, KEYMSG_SYSKEYUP, KEYCODE_LMENU, 1, 1, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"20 RMENU up stay-open", 0, KEYMSG_KEYUP, KEYCODE_RMENU, 1, 1, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    // 21: everything else passes: idle events, other key-ups, unknown messages.
    {"21 idle Alt down", 0, KEYMSG_SYSKEYDOWN, KEYCODE_LMENU, 0, 0, true, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"21 idle Alt up", 0, KEYMSG_SYSKEYUP, KEYCODE_LMENU, 0, 0, false, false, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"21 idle Alt+Escape", 0, KEYMSG_SYSKEYDOWN, KEYCODE_ESCAPE, 0, 0, true, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"21 idle Enter stay-open", 0, KEYMSG_KEYDOWN, KEYCODE_RETURN, 0, 1, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"21 idle plain Tab", 0, KEYMSG_KEYDOWN, KEYCODE_TAB, 0, 0, true, false, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"21 Tab up active", 0, KEYMSG_SYSKEYUP, KEYCODE_TAB, 1, 0, true, false, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"21 Shift up active", 0, KEYMSG_KEYUP, KEYCODE_LSHIFT, 1, 0, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"21 generic MENU up active", 0, KEYMSG_SYSKEYUP, KEY_MENU, 1, 0, false, false, NO_COMMAND,
     UNCHANGED, PASS, false},
    {"21 unknown message active", 0, 0x0102, KEYCODE_RETURN, 1, 1, true, false, NO_COMMAND,
     UNCHANGED, PASS, false},
};

KeyHookInput ToInput(const KeyRow& row) {
    KeyHookInput input = {};
    input.nCode = row.nCode;
    input.message = row.message;
    input.key = row.key;
    input.switcherActive = row.active;
    input.stayOpenAfterAlt = row.stayOpen;
    input.altDown = row.altDown;
    input.leftShiftDown = row.leftShift;
    return input;
}

void ExpectKeyRow(const KeyRow& row, const KeyHookInput& input) {
    const HookDecision decision = DecideKeyEvent(input);
    EXPECT_EQ(decision.command, row.command);
    const int activeAfter = row.activeAfter == UNCHANGED ? row.active : row.activeAfter;
    EXPECT_EQ(decision.switcherActive, activeAfter);
    EXPECT_EQ(decision.swallow, row.swallow);
}

} // namespace

TEST(HookDecisions, KeyboardTableRowByRow) {
    for (const KeyRow& row : kKeyRows) {
        SCOPED_TRACE(row.what);
        KeyHookInput input = ToInput(row);
        ExpectKeyRow(row, input);
        EXPECT_EQ(KeyHookReadsLeftShift(input), row.readsShift);
        // Where Shift is not consulted, its state must not change the outcome.
        if (!row.readsShift) {
            input.leftShiftDown = !input.leftShiftDown;
            ExpectKeyRow(row, input);
        }
    }
}

// Paused, or with a pass-through program in front, the Alt+Tab (or the key above
// Tab) that would open is
// passed on untouched; every other row is decided as before.
TEST(HookDecisions, StandingAsideLeavesOnlyTheOpeningAltTabToTheSystem) {
    for (const KeyRow& row : kKeyRows) {
        SCOPED_TRACE(row.what);
        KeyHookInput input = ToInput(row);
        input.standAside = true;
        if (!KeyHookReadsStandAside(input)) {
            ExpectKeyRow(row, input);
            continue;
        }
        EXPECT_TRUE(row.command == CMD_OPEN || row.command == CMD_OPEN_PROGRAM);
        const HookDecision decision = DecideKeyEvent(input);
        EXPECT_EQ(decision.command, NO_COMMAND);
        EXPECT_EQ(decision.switcherActive, 0);
        EXPECT_FALSE(decision.swallow);
    }
}

// The switcher's own mask key passes in every state, known by its mark whatever its
// code; the same codes typed by the user are decided as any other key.
TEST(HookDecisions, OnlyTheSwitchersOwnMaskKeyPassesDuringASwitch) {
    struct Row {
        const char* what;
        uint32_t message;
        uint32_t key;
        uint8_t active;
        uint8_t stayOpen;
        unsigned typedCommand; // when the user types it
        bool typedSwallowed;
    } rows[] = {
        {"unassigned key with Alt", KEYMSG_SYSKEYDOWN, 0xE8, 1, 0, CMD_CANCEL, SWALLOW},
        {"Ctrl with Alt", KEYMSG_SYSKEYDOWN, 0xA2, 1, 0, CMD_CANCEL, SWALLOW},
        {"Tab with Alt", KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, CMD_NEXT, SWALLOW},
        {"Enter with Alt", KEYMSG_SYSKEYDOWN, KEYCODE_RETURN, 1, 0, CMD_ACTIVATE, SWALLOW},
        {"plain key staying open", KEYMSG_KEYDOWN, 0xE8, 1, 1, CMD_CANCEL, SWALLOW},
        {"key up", KEYMSG_SYSKEYUP, 0xE8, 1, 0, NO_COMMAND, PASS},
        {"Alt up", KEYMSG_KEYUP, KEYCODE_LMENU, 1, 0, CMD_ACTIVATE, PASS},
        {"Alt+Tab idle", KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 0, 0, CMD_OPEN, SWALLOW},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        KeyHookInput input = {};
        input.message = row.message;
        input.key = row.key;
        input.switcherActive = row.active;
        input.stayOpenAfterAlt = row.stayOpen;
        input.altDown = row.message == KEYMSG_SYSKEYDOWN;
        HookDecision decision = DecideKeyEvent(input);
        EXPECT_EQ(decision.command, row.typedCommand);
        EXPECT_EQ(decision.swallow, row.typedSwallowed);
        input.resentKey = true;
        decision = DecideKeyEvent(input);
        EXPECT_EQ(decision.command, NO_COMMAND);
        EXPECT_EQ(decision.switcherActive, row.active);
        EXPECT_FALSE(decision.swallow);
    }
}

TEST(HookDecisions, OneAltTabFromStartToEnd) {
    struct Step {
        uint32_t message;
        uint32_t key;
        bool altDown;
        bool leftShift;
        unsigned command;
        bool swallow;
    } steps[] = {
        {KEYMSG_SYSKEYDOWN, KEYCODE_LMENU, true, false, NO_COMMAND, false},
        {KEYMSG_SYSKEYDOWN, KEYCODE_TAB, true, false, CMD_OPEN, true},
        {KEYMSG_SYSKEYUP, KEYCODE_TAB, true, false, NO_COMMAND, false},
        {KEYMSG_SYSKEYDOWN, KEYCODE_TAB, true, false, CMD_NEXT, true},
        {KEYMSG_SYSKEYDOWN, KEYCODE_TAB, true, false, CMD_NEXT, true}, // auto-repeat
        {KEYMSG_SYSKEYDOWN, KEYCODE_LSHIFT, true, true, NO_COMMAND, false},
        {KEYMSG_SYSKEYDOWN, KEYCODE_TAB, true, true, CMD_PREV, true},
        {KEYMSG_KEYUP, KEYCODE_LMENU, false, false, CMD_ACTIVATE, false},
        {KEYMSG_KEYDOWN, KEY_A, false, false, NO_COMMAND, false},
    };
    uint8_t active = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        KeyHookInput input = {};
        input.message = step.message;
        input.key = step.key;
        input.switcherActive = active;
        input.altDown = step.altDown;
        input.leftShiftDown = step.leftShift;
        const HookDecision decision = DecideKeyEvent(input);
        EXPECT_EQ(decision.command, step.command);
        EXPECT_EQ(decision.swallow, step.swallow);
        active = decision.switcherActive;
    }
    EXPECT_EQ(active, 0);
}

namespace {

struct MouseRow {
    const char* what;
    int nCode;
    uint32_t message;
    uint8_t active;
    bool inside;
    int32_t mouseData;
    unsigned command;
    int activeAfter;
    bool swallow;
    bool readsRect;
};

constexpr int32_t WHEEL_TOWARD_USER = -120 * 65536;
constexpr int32_t WHEEL_AWAY = 120 * 65536;

const MouseRow kMouseRows[] = {
    // Step 1: nCode other than 0, or no switch in progress: pass on.
    {"nCode 1 click outside", 1, MOUSEMSG_LBUTTONDOWN, 1, false, 0, NO_COMMAND, UNCHANGED, PASS,
     false},
    {"nCode -1 wheel", -1, MOUSEMSG_MOUSEWHEEL, 1, false, WHEEL_TOWARD_USER, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"idle click outside", 0, MOUSEMSG_LBUTTONDOWN, 0, false, 0, NO_COMMAND, UNCHANGED, PASS,
     false},
    {"idle wheel", 0, MOUSEMSG_MOUSEWHEEL, 0, false, WHEEL_AWAY, NO_COMMAND, UNCHANGED, PASS,
     false},
    // Clicks inside pass to the switcher; outside they cancel and still pass.
    {"left down inside", 0, MOUSEMSG_LBUTTONDOWN, 1, true, 0, NO_COMMAND, UNCHANGED, PASS, true},
    {"left up inside", 0, MOUSEMSG_LBUTTONUP, 1, true, 0, NO_COMMAND, UNCHANGED, PASS, true},
    {"right down inside", 0, MOUSEMSG_RBUTTONDOWN, 1, true, 0, NO_COMMAND, UNCHANGED, PASS, true},
    {"right up inside", 0, MOUSEMSG_RBUTTONUP, 1, true, 0, NO_COMMAND, UNCHANGED, PASS, true},
    {"left down outside", 0, MOUSEMSG_LBUTTONDOWN, 1, false, 0, CMD_CANCEL, 0, PASS, true},
    {"left up outside", 0, MOUSEMSG_LBUTTONUP, 1, false, 0, CMD_CANCEL, 0, PASS, true},
    {"right down outside", 0, MOUSEMSG_RBUTTONDOWN, 1, false, 0, CMD_CANCEL, 0, PASS, true},
    {"right up outside", 0, MOUSEMSG_RBUTTONUP, 1, false, 0, CMD_CANCEL, 0, PASS, true},
    // The wheel steps wherever the pointer is, and is swallowed.
    {"wheel toward user", 0, MOUSEMSG_MOUSEWHEEL, 1, false, WHEEL_TOWARD_USER, CMD_NEXT, UNCHANGED,
     SWALLOW, false},
    {"wheel toward user inside", 0, MOUSEMSG_MOUSEWHEEL, 1, true, WHEEL_TOWARD_USER, CMD_NEXT,
     UNCHANGED, SWALLOW, false},
    {"wheel smallest negative", 0, MOUSEMSG_MOUSEWHEEL, 1, false, INT32_MIN, CMD_NEXT, UNCHANGED,
     SWALLOW, false},
    {"wheel away", 0, MOUSEMSG_MOUSEWHEEL, 1, false, WHEEL_AWAY, CMD_PREV, UNCHANGED, SWALLOW,
     false},
    {"wheel zero", 0, MOUSEMSG_MOUSEWHEEL, 1, false, 0, CMD_PREV, UNCHANGED, SWALLOW, false},
    // Everything else passes.
    {"move", 0, MSG_MOUSEMOVE, 1, false, 0, NO_COMMAND, UNCHANGED, PASS, false},
    // A middle click on the switcher asks the window of the icon under it to close.
    {"middle button outside", 0, MSG_MBUTTONDOWN, 1, false, 0, NO_COMMAND, UNCHANGED, PASS, true},
    {"middle button inside", 0, MSG_MBUTTONDOWN, 1, true, 0, CMD_CLOSE_POINTED, UNCHANGED, SWALLOW,
     true},
    {"middle release inside", 0, MOUSEMSG_MBUTTONUP, 1, true, 0, NO_COMMAND, UNCHANGED, SWALLOW,
     true},
    {"middle button inside idle", 0, MSG_MBUTTONDOWN, 0, true, 0, NO_COMMAND, UNCHANGED, PASS,
     false},
    {"extra button", 0, MSG_XBUTTONDOWN, 1, false, 0x10000, NO_COMMAND, UNCHANGED, PASS, false},
    {"horizontal wheel", 0, MSG_MOUSEHWHEEL, 1, false, WHEEL_TOWARD_USER, NO_COMMAND, UNCHANGED,
     PASS, false},
    {"double click outside", 0, MSG_LBUTTONDBLCLK, 1, false, 0, NO_COMMAND, UNCHANGED, PASS, false},
};

void ExpectMouseRow(const MouseRow& row, const MouseHookInput& input) {
    const HookDecision decision = DecideMouseEvent(input);
    EXPECT_EQ(decision.command, row.command);
    const int activeAfter = row.activeAfter == UNCHANGED ? row.active : row.activeAfter;
    EXPECT_EQ(decision.switcherActive, activeAfter);
    EXPECT_EQ(decision.swallow, row.swallow);
}

} // namespace

TEST(HookDecisions, MouseTableRowByRow) {
    for (const MouseRow& row : kMouseRows) {
        SCOPED_TRACE(row.what);
        MouseHookInput input = {};
        input.nCode = row.nCode;
        input.message = row.message;
        input.switcherActive = row.active;
        input.insideSwitcher = row.inside;
        input.mouseData = row.mouseData;
        ExpectMouseRow(row, input);
        EXPECT_EQ(MouseHookReadsSwitcherRect(input), row.readsRect);
        if (!row.readsRect) {
            input.insideSwitcher = !input.insideSwitcher;
            ExpectMouseRow(row, input);
        }
    }
}

TEST(HookDecisions, AltTabHotKeyStandsInOnlyForATabTheHookMissed) {
    const struct Row {
        const char* what;
        bool hookSawTab;
        uint8_t active;
        uint8_t stayOpen;
        bool leftShift;
        bool altDown;
        unsigned command;
        int activeAfter;
    } rows[] = {
        {"seen while idle", true, 0, 0, false, true, NO_COMMAND, 0},
        {"seen during a switch", true, 1, 0, true, true, NO_COMMAND, 1},
        {"missed while idle opens", false, 0, 0, false, true, CMD_OPEN, 1},
        {"missed Alt+Shift+Tab while idle opens", false, 0, 0, true, true, CMD_OPEN, 1},
        {"missed during a switch steps", false, 1, 0, false, true, CMD_NEXT, 1},
        {"missed with left Shift steps back", false, 1, 0, true, true, CMD_PREV, 1},
        {"missed while staying open steps", false, 1, 1, false, true, CMD_NEXT, 1},
        {"late, after Alt went up: nothing", false, 0, 0, false, false, NO_COMMAND, 0},
        {"late during a switch: nothing", false, 1, 0, false, false, NO_COMMAND, 1},
        {"staying open, Alt up: opens", false, 0, 1, false, false, CMD_OPEN, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const HookDecision decision = DecideAltTabHotKey(
            {row.hookSawTab, row.active, row.stayOpen, row.leftShift, row.altDown});
        EXPECT_EQ(decision.command, row.command);
        EXPECT_EQ(decision.switcherActive, row.activeAfter);
    }
}

TEST(HookDecisions, TheHotKeyAndTheHooksTabAreOnePressWhenCloseInTime) {
    const struct Row {
        bool sawAny;
        uint32_t lastTab;
        uint32_t message;
        bool same;
    } rows[] = {
        {false, 1000, 1000, false},
        {true, 1000, 1000, true},
        {true, 1000, 1000 + SAME_KEY_PRESS_MS, true},
        {true, 1000, 1001 + SAME_KEY_PRESS_MS, false},
        {true, 1000, 1000 - SAME_KEY_PRESS_MS, true}, // clocks read at different places
        {true, 1000, 999 - SAME_KEY_PRESS_MS, false},
        {true, 0xFFFFFFF0u, 0x10u, true}, // the tick wrapped between the two
        {true, 0x10u, 0xFFFFFFF0u, true},
        {true, 0, 0x80000000u, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(HookSawTabPress(row.sawAny, row.lastTab, row.message), row.same)
            << row.lastTab << " " << row.message;
}

// The keys of closing, typing and the key above Tab. Columns: message, key, scan
// code, switcherActive, stayOpenAfterAlt, typeToFilter, sameProgramKey, a typed
// text shown, resent, left Shift; then what is decided.
TEST(HookDecisions, CloseTypeAndKeyAboveTabRows) {
    constexpr uint32_t KEY_GRAVE = 0xC0, KEY_CONTROL = 0xA2, KEY_BACK = 8;
    constexpr uint32_t SCAN_A = 0x1E;
    const struct Row {
        const char* what;
        uint32_t message, key, scan;
        uint8_t active, stayOpen, type, sameKey;
        bool typed, resent, leftShift;
        unsigned command;
        int activeAfter;
        bool swallow;
    } rows[] = {
        {"Alt+Delete closes", KEYMSG_SYSKEYDOWN, KEYCODE_DELETE, 0x53, 1, 0, 0, 0, false, false,
         false, CMD_CLOSE_SELECTED, 1, SWALLOW},
        {"Delete staying open closes", KEYMSG_KEYDOWN, KEYCODE_DELETE, 0x53, 1, 1, 1, 1, false,
         false, false, CMD_CLOSE_SELECTED, 1, SWALLOW},
        {"Delete idle passes", KEYMSG_KEYDOWN, KEYCODE_DELETE, 0x53, 0, 1, 1, 1, false, false,
         false, NO_COMMAND, 0, PASS},
        {"Alt+A types", KEYMSG_SYSKEYDOWN, KEY_A, SCAN_A, 1, 0, 1, 1, false, false, false,
         CMD_TYPE_KEY, 1, SWALLOW},
        {"A staying open types", KEYMSG_KEYDOWN, KEY_A, SCAN_A, 1, 1, 1, 1, false, false, false,
         CMD_TYPE_KEY, 1, SWALLOW},
        {"Alt+space types", KEYMSG_SYSKEYDOWN, KEY_SPACE, 0x39, 1, 0, 1, 1, false, false, false,
         CMD_TYPE_KEY, 1, SWALLOW},
        {"Alt+Backspace types", KEYMSG_SYSKEYDOWN, KEY_BACK, 0x0E, 1, 0, 1, 1, true, false, false,
         CMD_TYPE_KEY, 1, SWALLOW},
        {"Alt+A without typing cancels", KEYMSG_SYSKEYDOWN, KEY_A, SCAN_A, 1, 0, 0, 1, false, false,
         false, CMD_CANCEL, 0, SWALLOW},
        {"Alt+F4 typing on still cancels", KEYMSG_SYSKEYDOWN, KEY_F4, 0x3E, 1, 0, 1, 1, false,
         false, false, CMD_CANCEL, 0, SWALLOW},
        {"Escape with a typed text clears", KEYMSG_SYSKEYDOWN, KEYCODE_ESCAPE, 1, 1, 0, 1, 1, true,
         false, false, CMD_CLEAR_FILTER, 1, SWALLOW},
        {"Escape without one cancels", KEYMSG_SYSKEYDOWN, KEYCODE_ESCAPE, 1, 1, 0, 1, 1, false,
         false, false, CMD_CANCEL, 0, SWALLOW},
        {"Escape typing off cancels", KEYMSG_KEYDOWN, KEYCODE_ESCAPE, 1, 1, 1, 0, 1, true, false,
         false, CMD_CANCEL, 0, SWALLOW},
        {"AltGr's Ctrl passes while typing", KEYMSG_SYSKEYDOWN, KEY_CONTROL, 0x1D, 1, 0, 1, 1,
         false, false, false, NO_COMMAND, 1, PASS},
        {"left Alt again cancels while typing", KEYMSG_SYSKEYDOWN, KEYCODE_LMENU, 0x38, 1, 0, 1, 1,
         false, false, false, CMD_CANCEL, 0, SWALLOW},
        {"Shift staying open passes while typing", KEYMSG_KEYDOWN, KEYCODE_LSHIFT, 0x2A, 1, 1, 1, 1,
         false, false, false, NO_COMMAND, 1, PASS},
        {"Shift staying open cancels typing off", KEYMSG_KEYDOWN, KEYCODE_LSHIFT, 0x2A, 1, 1, 0, 1,
         false, false, false, CMD_CANCEL, 0, SWALLOW},
        {"AltGr's Alt passes while typing", KEYMSG_SYSKEYDOWN, KEYCODE_RMENU, 0x38, 1, 0, 1, 1,
         false, false, false, NO_COMMAND, 1, PASS},
        {"Alt+` idle opens one program", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 0, 0, 1,
         1, false, false, false, CMD_OPEN_PROGRAM, 1, SWALLOW},
        {"Alt+` any layout's key", KEYMSG_SYSKEYDOWN, 0xDC, SCAN_KEY_ABOVE_TAB, 0, 0, 1, 1, false,
         false, false, CMD_OPEN_PROGRAM, 1, SWALLOW},
        {"Alt+` setting off passes", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 0, 0, 1, 0,
         false, false, false, NO_COMMAND, 0, PASS},
        {"Alt+` sent on passes", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 0, 0, 1, 1,
         false, true, false, NO_COMMAND, 0, PASS},
        {"` without Alt idle passes", KEYMSG_KEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 0, 0, 1, 1,
         false, false, false, NO_COMMAND, 0, PASS},
        {"Alt+` again steps", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 1, 0, 1, 1, false,
         false, false, CMD_NEXT, 1, SWALLOW},
        {"Alt+Shift+` steps back", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 1, 0, 1, 1,
         true, false, true, CMD_PREV, 1, SWALLOW},
        {"Alt+` key off types it", KEYMSG_SYSKEYDOWN, KEY_GRAVE, SCAN_KEY_ABOVE_TAB, 1, 0, 1, 0,
         false, false, false, CMD_TYPE_KEY, 1, SWALLOW},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        KeyHookInput input = {};
        input.message = row.message;
        input.key = row.key;
        input.scanCode = row.scan;
        input.switcherActive = row.active;
        input.stayOpenAfterAlt = row.stayOpen;
        input.altDown = row.message == KEYMSG_SYSKEYDOWN;
        input.typeToFilter = row.type;
        input.sameProgramKey = row.sameKey;
        input.typedTextShown = row.typed;
        input.resentKey = row.resent;
        input.leftShiftDown = KeyHookReadsLeftShift(input) && row.leftShift;
        const HookDecision decision = DecideKeyEvent(input);
        EXPECT_EQ(decision.command, row.command);
        EXPECT_EQ(decision.switcherActive, row.activeAfter);
        EXPECT_EQ(decision.swallow, row.swallow);
    }
    const TypedKey key = {0xDE, 0x28, true, true, false};
    const TypedKey back = UnpackTypedKey(PackTypedKey(key));
    EXPECT_EQ(back.key, key.key);
    EXPECT_EQ(back.scanCode, key.scanCode);
    EXPECT_TRUE(back.extended && back.shift && !back.altGr);
}
