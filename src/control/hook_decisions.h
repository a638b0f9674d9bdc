// What the low-level keyboard and mouse hooks do with one event: which
// switcher command to post, the new value of switcherActive, and whether the
// event is swallowed. Portable: the Windows side checks these numbers.
#pragma once
#include <cstdint>

// Key messages as the keyboard hook receives them.
constexpr uint32_t KEYMSG_KEYDOWN = 0x100;
constexpr uint32_t KEYMSG_KEYUP = 0x101;
constexpr uint32_t KEYMSG_SYSKEYDOWN = 0x104;
constexpr uint32_t KEYMSG_SYSKEYUP = 0x105;

// Mouse messages as the mouse hook receives them.
constexpr uint32_t MOUSEMSG_LBUTTONDOWN = 0x201;
constexpr uint32_t MOUSEMSG_LBUTTONUP = 0x202;
constexpr uint32_t MOUSEMSG_RBUTTONDOWN = 0x204;
constexpr uint32_t MOUSEMSG_RBUTTONUP = 0x205;
constexpr uint32_t MOUSEMSG_MBUTTONDOWN = 0x207;
constexpr uint32_t MOUSEMSG_MBUTTONUP = 0x208;
constexpr uint32_t MOUSEMSG_MOUSEWHEEL = 0x20A;

// Virtual-key codes the keyboard hook tells apart.
constexpr uint32_t KEYCODE_BACK = 8;
constexpr uint32_t KEYCODE_TAB = 9;
constexpr uint32_t KEYCODE_RETURN = 13;
constexpr uint32_t KEYCODE_ESCAPE = 27;
constexpr uint32_t KEYCODE_END = 35;
constexpr uint32_t KEYCODE_HOME = 36;
constexpr uint32_t KEYCODE_LEFT = 37;
constexpr uint32_t KEYCODE_UP = 38;
constexpr uint32_t KEYCODE_RIGHT = 39;
constexpr uint32_t KEYCODE_DOWN = 40;
constexpr uint32_t KEYCODE_DELETE = 0x2E;
constexpr uint32_t KEYCODE_LSHIFT = 0xA0;
constexpr uint32_t KEYCODE_RSHIFT = 0xA1;
constexpr uint32_t KEYCODE_LMENU = 0xA4;
constexpr uint32_t KEYCODE_LCONTROL = 0xA2;
constexpr uint32_t KEYCODE_RCONTROL = 0xA3;
constexpr uint32_t KEYCODE_RMENU = 0xA5;
// The key above Tab has this scan code on every layout (` on US keyboards).
constexpr uint32_t SCAN_KEY_ABOVE_TAB = 0x29;

// Whether a virtual key types text into the filter: space, digits, letters, the
// number pad's digits and signs, and the layout's punctuation keys.
bool IsTypingKey(uint32_t key);

// The hook posts nothing.
constexpr unsigned NO_COMMAND = 0;

struct KeyHookInput {
    int nCode;
    uint32_t message;
    uint32_t key;
    uint8_t switcherActive;
    uint8_t stayOpenAfterAlt;
    bool altDown;       // the event says Alt is held (only looked at for Tab)
    bool leftShiftDown; // only looked at where KeyHookReadsLeftShift says so
    uint32_t scanCode;
    uint8_t typeToFilter;
    uint8_t sameProgramKey;
    bool typedTextShown; // the switcher shows a typed text, or a typed key is on its way
    bool resentKey;      // the switcher sent this key on itself: it passes untouched
    // Paused, or a pass-through program in front: Alt+Tab from idle is left to the
    // system. Only looked at where KeyHookReadsStandAside says so.
    bool standAside;
};

// A typed key as the keyboard hook posts it in CMD_TYPE_KEY's lParam: the virtual
// key, the scan code with the extended-key flag, and the Shift and AltGr states.
struct TypedKey {
    uint32_t key;
    uint32_t scanCode;
    bool extended;
    bool shift;
    bool altGr;
};
uint32_t PackTypedKey(const TypedKey& key);
TypedKey UnpackTypedKey(uint32_t packed);

struct MouseHookInput {
    int nCode;
    uint32_t message;
    uint8_t switcherActive;
    bool insideSwitcher; // only looked at where MouseHookReadsSwitcherRect says so
    int32_t mouseData;   // for the wheel, the delta in the high 16 bits
};

struct HookDecision {
    unsigned command;       // a CMD_ code, or NO_COMMAND
    uint8_t switcherActive; // stored before the command is posted
    bool swallow;           // true: the hook returns 1 without passing the event on
};

HookDecision DecideKeyEvent(const KeyHookInput& input);
HookDecision DecideMouseEvent(const MouseHookInput& input);

// A registered Alt+Tab or Alt+Shift+Tab hot key reaches the program only when
// the keyboard hook did not swallow that Tab: the system removed the hook (it
// answered too slowly once), or the hook cannot see the keys typed into the
// foreground window (one with higher rights). The hot key then stands in for
// the hook: the Tab is decided by the hook's own table.
struct AltTabHotKeyInput {
    bool hookSawTab; // the hook saw the Tab press that fired the hot key
    uint8_t switcherActive;
    uint8_t stayOpenAfterAlt;
    bool leftShiftDown;
    // Alt is held now. A hot key handled after Alt went up stands for a press that is
    // over: opened then, the switcher would wait for an Alt release that already came.
    bool altStillDown;
};
HookDecision DecideAltTabHotKey(const AltTabHotKeyInput& input);

// Whether the Tab key-down the hook saw last (at lastTabTime, if it saw one at
// all) is the press behind a hot key message of messageTime. Both are times of
// the system's millisecond tick, which wraps.
constexpr uint32_t SAME_KEY_PRESS_MS = 250;
bool HookSawTabPress(bool sawAnyTab, uint32_t lastTabTime, uint32_t messageTime);

// The system queries a hook may make, each only for the events that need it:
// the left Shift key for a Tab with Alt during a switch, the switcher's
// rectangle for a click during a switch.
bool KeyHookReadsLeftShift(const KeyHookInput& input);
// Whether the hook stands aside matters only for the Alt+Tab that would open.
bool KeyHookReadsStandAside(const KeyHookInput& input);
bool MouseHookReadsSwitcherRect(const MouseHookInput& input);
