#include "control/hook_decisions.h"

#include "base/identifiers.h"

namespace {

HookDecision PassOn(uint8_t switcherActive) {
    return {NO_COMMAND, switcherActive, false};
}

HookDecision Swallow(unsigned command, uint8_t switcherActive) {
    return {command, switcherActive, true};
}

bool IsAltKey(uint32_t key) {
    return key == KEYCODE_LMENU || key == KEYCODE_RMENU;
}

bool IsShiftKey(uint32_t key) {
    return key == KEYCODE_LSHIFT || key == KEYCODE_RSHIFT;
}

bool IsAltTab(const KeyHookInput& input) {
    return input.message == KEYMSG_SYSKEYDOWN && input.key == KEYCODE_TAB && input.altDown;
}

bool IsKeyAboveTab(const KeyHookInput& input) {
    return input.sameProgramKey && input.scanCode == SCAN_KEY_ABOVE_TAB && !input.resentKey;
}

bool IsAltKeyAboveTab(const KeyHookInput& input) {
    return input.message == KEYMSG_SYSKEYDOWN && input.altDown && IsKeyAboveTab(input);
}

// Shift, and the Ctrl and right Alt keys that make AltGr: while typing is on,
// they change what the next key types rather than cancel. The left Alt key
// pressed again still cancels.
bool IsCharacterModifier(uint32_t key) {
    return key == KEYCODE_LCONTROL || key == KEYCODE_RCONTROL || key == KEYCODE_RMENU ||
           IsShiftKey(key);
}

// Keys that move, close or type the same with Alt held and in the stay-open mode.
// Returns false for the keys whose decision is left to the older rules.
bool DecideSharedKey(const KeyHookInput& input, HookDecision* decision) {
    if (input.key == KEYCODE_DELETE) {
        *decision = Swallow(CMD_CLOSE_SELECTED, 1);
        return true;
    }
    if (IsKeyAboveTab(input)) {
        *decision = Swallow(input.leftShiftDown ? CMD_PREV : CMD_NEXT, 1);
        return true;
    }
    if (!input.typeToFilter)
        return false;
    if (input.key == KEYCODE_ESCAPE && input.typedTextShown) {
        *decision = Swallow(CMD_CLEAR_FILTER, 1);
        return true;
    }
    if (input.key == KEYCODE_BACK || IsTypingKey(input.key)) {
        *decision = Swallow(CMD_TYPE_KEY, 1);
        return true;
    }
    if (IsCharacterModifier(input.key)) {
        *decision = PassOn(1);
        return true;
    }
    return false;
}

// A key pressed with Alt during a switch. Tab without Alt and the Shift keys
// are left to the second stage; every other key is settled and swallowed.
bool SettlesAltKeyWhileActive(const KeyHookInput& input) {
    if (input.key == KEYCODE_TAB)
        return input.altDown;
    return !IsShiftKey(input.key);
}

// Enter and the arrow keys act alike with Alt held and, in the stay-open mode,
// without it; every other key cancels.
HookDecision DecideEnterArrowOrCancel(uint32_t key) {
    switch (key) {
    case KEYCODE_RETURN:
        return Swallow(CMD_ACTIVATE, 0);
    case KEYCODE_LEFT:
    case KEYCODE_UP:
        return Swallow(CMD_PREV, 1);
    case KEYCODE_RIGHT:
    case KEYCODE_DOWN:
        return Swallow(CMD_NEXT, 1);
    default:
        return Swallow(CMD_CANCEL, 0);
    }
}

HookDecision DecideAltKeyWhileActive(const KeyHookInput& input) {
    switch (input.key) {
    case KEYCODE_TAB:
        return Swallow(input.leftShiftDown ? CMD_PREV : CMD_NEXT, 1);
    case KEYCODE_ESCAPE:
        return Swallow(CMD_CANCEL, 0);
    case KEYCODE_END:
        return Swallow(CMD_LAST, 1);
    case KEYCODE_HOME:
        return Swallow(CMD_FIRST, 1);
    default:
        return DecideEnterArrowOrCancel(input.key);
    }
}

// Whatever switcherActive is: the Alt release that activates, and Alt+Tab from idle.
HookDecision DecideSecondStage(const KeyHookInput& input) {
    const bool keyUp = input.message == KEYMSG_KEYUP || input.message == KEYMSG_SYSKEYUP;
    if (keyUp && IsAltKey(input.key) && input.switcherActive && !input.stayOpenAfterAlt)
        return {CMD_ACTIVATE, 0, false};
    if (IsAltTab(input) && !input.standAside)
        return Swallow(CMD_OPEN, 1);
    if (!input.switcherActive && IsAltKeyAboveTab(input) && !input.standAside)
        return Swallow(CMD_OPEN_PROGRAM, 1);
    return PassOn(input.switcherActive);
}

} // namespace

HookDecision DecideKeyEvent(const KeyHookInput& input) {
    // The switcher's own keys (the menu mask key, a key sent on) are told by their
    // injection mark, not by their code: a typed key of that code is decided as any other.
    if (input.nCode != 0 || input.resentKey)
        return PassOn(input.switcherActive);
    if (input.switcherActive) {
        const bool plainKeyStayingOpen = input.message == KEYMSG_KEYDOWN && input.stayOpenAfterAlt;
        const bool altKey = input.message == KEYMSG_SYSKEYDOWN && SettlesAltKeyWhileActive(input);
        HookDecision shared = {};
        if ((plainKeyStayingOpen || altKey) && DecideSharedKey(input, &shared))
            return shared;
        if (plainKeyStayingOpen)
            return DecideEnterArrowOrCancel(input.key); // a plain key while staying open
        if (altKey)
            return DecideAltKeyWhileActive(input);
    }
    return DecideSecondStage(input);
}

HookDecision DecideAltTabHotKey(const AltTabHotKeyInput& input) {
    if (input.hookSawTab)
        return PassOn(input.switcherActive); // the hook decided that press already
    if (!input.altStillDown && !input.stayOpenAfterAlt)
        return PassOn(input.switcherActive);
    KeyHookInput tab = {};
    tab.message = KEYMSG_SYSKEYDOWN;
    tab.key = KEYCODE_TAB;
    tab.switcherActive = input.switcherActive;
    tab.stayOpenAfterAlt = input.stayOpenAfterAlt;
    tab.altDown = true;
    tab.leftShiftDown = input.leftShiftDown;
    return DecideKeyEvent(tab);
}

bool HookSawTabPress(bool sawAnyTab, uint32_t lastTabTime, uint32_t messageTime) {
    // The message is posted after the hook ran, a little later or at the same tick;
    // the two clocks are read at different places, so a little earlier counts too.
    const int64_t apart = static_cast<int32_t>(messageTime - lastTabTime);
    const int64_t limit = SAME_KEY_PRESS_MS;
    return sawAnyTab && apart >= -limit && apart <= limit;
}

bool KeyHookReadsLeftShift(const KeyHookInput& input) {
    const bool keyDown = input.message == KEYMSG_SYSKEYDOWN || input.message == KEYMSG_KEYDOWN;
    return input.nCode == 0 && input.switcherActive &&
           (IsAltTab(input) || (keyDown && IsKeyAboveTab(input)));
}

bool IsTypingKey(uint32_t key) {
    const bool digitOrLetter = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    const bool numberPad = key >= 0x60 && key <= 0x6F && key != 0x6C; // not the separator key
    const bool punctuation =
        (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2;
    return key == ' ' || digitOrLetter || numberPad || punctuation;
}

// Bits 0-7 the key, 8-15 the scan code, 16 extended, 17 Shift, 18 AltGr.
uint32_t PackTypedKey(const TypedKey& key) {
    return (key.key & 0xFF) | ((key.scanCode & 0xFF) << 8) | (key.extended ? 1u << 16 : 0) |
           (key.shift ? 1u << 17 : 0) | (key.altGr ? 1u << 18 : 0);
}

TypedKey UnpackTypedKey(uint32_t packed) {
    return {packed & 0xFF, (packed >> 8) & 0xFF, (packed & (1u << 16)) != 0,
            (packed & (1u << 17)) != 0, (packed & (1u << 18)) != 0};
}

bool KeyHookReadsStandAside(const KeyHookInput& input) {
    return input.nCode == 0 && !input.switcherActive &&
           (IsAltTab(input) || IsAltKeyAboveTab(input));
}

namespace {

bool IsButtonMessage(uint32_t message) {
    return message == MOUSEMSG_LBUTTONDOWN || message == MOUSEMSG_LBUTTONUP ||
           message == MOUSEMSG_RBUTTONDOWN || message == MOUSEMSG_RBUTTONUP;
}

bool IsMiddleButtonMessage(uint32_t message) {
    return message == MOUSEMSG_MBUTTONDOWN || message == MOUSEMSG_MBUTTONUP;
}

} // namespace

HookDecision DecideMouseEvent(const MouseHookInput& input) {
    if (input.nCode != 0 || !input.switcherActive)
        return PassOn(input.switcherActive);
    if (IsButtonMessage(input.message)) {
        if (input.insideSwitcher)
            return PassOn(input.switcherActive);
        // A click outside cancels and still reaches the window under the pointer.
        return {CMD_CANCEL, 0, false};
    }
    if (input.message == MOUSEMSG_MOUSEWHEEL)
        return Swallow(input.mouseData < 0 ? CMD_NEXT : CMD_PREV, input.switcherActive);
    // A middle click on the switcher closes the window of the icon under it; its
    // release goes with it. Outside, both belong to the window under the pointer.
    if (IsMiddleButtonMessage(input.message) && input.insideSwitcher)
        return Swallow(input.message == MOUSEMSG_MBUTTONDOWN ? CMD_CLOSE_POINTED : NO_COMMAND,
                       input.switcherActive);
    return PassOn(input.switcherActive);
}

bool MouseHookReadsSwitcherRect(const MouseHookInput& input) {
    return input.nCode == 0 && input.switcherActive &&
           (IsButtonMessage(input.message) || IsMiddleButtonMessage(input.message));
}
