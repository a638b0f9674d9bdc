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
    if (IsAltTab(input))
        return Swallow(CMD_OPEN, 1);
    return PassOn(input.switcherActive);
}

} // namespace

HookDecision DecideKeyEvent(const KeyHookInput& input) {
    // The switcher's own mask key is told by its injection mark, not by its code: a
    // typed key of that code is decided as any other.
    if (input.nCode != 0 || input.ownMaskKey)
        return PassOn(input.switcherActive);
    if (input.switcherActive) {
        if (input.message == KEYMSG_KEYDOWN && input.stayOpenAfterAlt)
            return DecideEnterArrowOrCancel(input.key); // a plain key while staying open
        if (input.message == KEYMSG_SYSKEYDOWN && SettlesAltKeyWhileActive(input))
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
    return input.nCode == 0 && input.switcherActive && IsAltTab(input);
}

namespace {

bool IsButtonMessage(uint32_t message) {
    return message == MOUSEMSG_LBUTTONDOWN || message == MOUSEMSG_LBUTTONUP ||
           message == MOUSEMSG_RBUTTONDOWN || message == MOUSEMSG_RBUTTONUP;
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
    return PassOn(input.switcherActive);
}

bool MouseHookReadsSwitcherRect(const MouseHookInput& input) {
    return input.nCode == 0 && input.switcherActive && IsButtonMessage(input.message);
}
