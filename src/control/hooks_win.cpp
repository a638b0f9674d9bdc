#include "control/hooks_win.h"

#include "actions/activation_win.h"
#include "actions/toolbar_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/hook_decisions.h"
#include "control/stand_aside_win.h"
#include "settings/options.h"
#include "windowlist/window_view_win.h"

static_assert(KEYMSG_KEYDOWN == WM_KEYDOWN && KEYMSG_KEYUP == WM_KEYUP, "key messages");
static_assert(KEYMSG_SYSKEYDOWN == WM_SYSKEYDOWN && KEYMSG_SYSKEYUP == WM_SYSKEYUP,
              "system key messages");
static_assert(MOUSEMSG_LBUTTONDOWN == WM_LBUTTONDOWN && MOUSEMSG_LBUTTONUP == WM_LBUTTONUP,
              "left button messages");
static_assert(MOUSEMSG_RBUTTONDOWN == WM_RBUTTONDOWN && MOUSEMSG_RBUTTONUP == WM_RBUTTONUP,
              "right button messages");
static_assert(MOUSEMSG_MOUSEWHEEL == WM_MOUSEWHEEL, "wheel message");
static_assert(KEYCODE_TAB == VK_TAB && KEYCODE_RETURN == VK_RETURN && KEYCODE_ESCAPE == VK_ESCAPE,
              "tab, return and escape keys");
static_assert(KEYCODE_END == VK_END && KEYCODE_HOME == VK_HOME, "end and home keys");
static_assert(KEYCODE_LEFT == VK_LEFT && KEYCODE_UP == VK_UP && KEYCODE_RIGHT == VK_RIGHT &&
                  KEYCODE_DOWN == VK_DOWN,
              "arrow keys");
static_assert(KEYCODE_LSHIFT == VK_LSHIFT && KEYCODE_RSHIFT == VK_RSHIFT, "shift keys");
static_assert(KEYCODE_LMENU == VK_LMENU && KEYCODE_RMENU == VK_RMENU, "alt keys");
static_assert(KEYCODE_LCONTROL == VK_LCONTROL && KEYCODE_RCONTROL == VK_RCONTROL, "ctrl keys");
static_assert(KEYCODE_BACK == VK_BACK && KEYCODE_DELETE == VK_DELETE, "backspace and delete");
static_assert(MOUSEMSG_MBUTTONDOWN == WM_MBUTTONDOWN && MOUSEMSG_MBUTTONUP == WM_MBUTTONUP,
              "middle button messages");
static_assert(VK_OEM_1 == 0xBA && VK_OEM_3 == 0xC0 && VK_OEM_4 == 0xDB && VK_OEM_8 == 0xDF &&
                  VK_OEM_102 == 0xE2 && VK_NUMPAD0 == 0x60 && VK_DIVIDE == 0x6F,
              "typing keys");

BYTE switcherActive;
HHOOK keyboardHook;
HHOOK mouseHook;

namespace {

// CMD_TYPE_KEY posts so far; those the switcher has not taken yet may still
// change the typed text, so an Escape meanwhile asks the switcher.
unsigned typedKeysPosted;

// The last Tab key-down the keyboard hook saw, to tell whether an Alt+Tab hot
// key stands for a press the hook missed.
bool sawTabDown;
DWORD lastTabDownTime;

void NoteTabDown(WPARAM message, const KBDLLHOOKSTRUCT* event) {
    if (event->vkCode == VK_TAB && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        sawTabDown = true;
        lastTabDownTime = event->time;
    }
}

// The key events the hook decided last. The system skips a hook that answers too
// late, or calls it after it has let the key through anyway; the key then also
// reaches the switcher's focused window, and this tells which of those the hook
// already acted on. Window messages name the modifier keys without their side.
struct DecidedKey {
    DWORD key; // without its side
    DWORD time;
    bool up;
    bool swallowed;
};
DecidedKey decidedKeys[32];
int nextDecidedKey;

DWORD SidelessKey(DWORD key) {
    switch (key) {
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    default:
        return key;
    }
}

// Either side of a modifier key is decided alike; the left one stands for both.
DWORD SidedKey(DWORD key) {
    switch (key) {
    case VK_MENU:
        return VK_LMENU;
    case VK_SHIFT:
        return VK_LSHIFT;
    case VK_CONTROL:
        return VK_LCONTROL;
    default:
        return key;
    }
}

bool IsKeyUp(WPARAM message) {
    return message == WM_KEYUP || message == WM_SYSKEYUP;
}

void NoteDecidedKey(WPARAM message, const KBDLLHOOKSTRUCT* event, bool swallowed) {
    decidedKeys[nextDecidedKey] = {SidelessKey(event->vkCode), event->time, IsKeyUp(message),
                                   swallowed};
    nextDecidedKey = (nextDecidedKey + 1) % static_cast<int>(CountOf(decidedKeys));
}

const DecidedKey* FindDecidedKey(DWORD key, bool up, DWORD time) {
    for (const DecidedKey& decided : decidedKeys)
        if (decided.key == key && decided.up == up && decided.time == time)
            return &decided;
    return nullptr;
}

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
           message == WM_SYSKEYUP;
}

bool IsSwitcherOwnWindow(HWND window) {
    return window && (window == SwitcherWindow || IsChild(SwitcherWindow, window));
}

// Bit 29 of a key message's lParam: Alt was held.
constexpr LPARAM kContextAltHeld = LPARAM(1) << 29;

bool IsKeyDownNow(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// Wine never sets LLKHF_ALTDOWN; for the one event whose decision needs Alt,
// the key state says whether it is held. On Windows both agree.
bool IsAltDown(WPARAM message, const KBDLLHOOKSTRUCT* event) {
    if (event->flags & LLKHF_ALTDOWN)
        return true;
    const bool opensSwitcher = event->vkCode == VK_TAB || event->scanCode == SCAN_KEY_ABOVE_TAB;
    return message == WM_SYSKEYDOWN && opensSwitcher && IsKeyDownNow(VK_MENU);
}

bool IsTypedTextPending() {
    return IsTypedTextShown() || typedKeysPosted != TypedKeysTaken();
}

KeyHookInput ReadKeyHookInput(WPARAM message, const KBDLLHOOKSTRUCT* event) {
    KeyHookInput input = {};
    input.nCode = HC_ACTION;
    input.message = static_cast<uint32_t>(message);
    input.key = event->vkCode;
    input.switcherActive = switcherActive;
    input.stayOpenAfterAlt = switcherOptions.stayOpenAfterAlt;
    input.altDown = IsAltDown(message, event);
    input.scanCode = event->scanCode;
    input.typeToFilter = moreOptions.typeToFilter;
    input.sameProgramKey = moreOptions.sameProgramKey;
    input.typedTextShown = switcherActive && IsTypedTextPending();
    input.resentKey = (event->flags & LLKHF_INJECTED) && IsOwnKeyMark(event->dwExtraInfo);
    input.leftShiftDown = KeyHookReadsLeftShift(input) && IsKeyDownNow(VK_LSHIFT);
    input.standAside = KeyHookReadsStandAside(input) && HookStandsAside();
    return input;
}

// What the switcher's thread needs to turn the key into characters, or to send it on.
LPARAM PackedKeyOf(const KBDLLHOOKSTRUCT* event, bool readModifiers) {
    TypedKey key = {};
    key.key = event->vkCode;
    key.scanCode = event->scanCode;
    key.extended = (event->flags & LLKHF_EXTENDED) != 0;
    if (readModifiers) {
        key.shift = IsKeyDownNow(VK_SHIFT);
        key.altGr = IsKeyDownNow(VK_RMENU) && IsKeyDownNow(VK_CONTROL);
    }
    return static_cast<LPARAM>(PackTypedKey(key));
}

bool IsInsideSwitcher(POINT point) {
    RECT rect = {};
    GetWindowRect(SwitcherWindow, &rect);
    return PtInRect(&rect, point) != 0;
}

MouseHookInput ReadMouseHookInput(WPARAM message, const MSLLHOOKSTRUCT* event) {
    MouseHookInput input = {};
    input.nCode = HC_ACTION;
    input.message = static_cast<uint32_t>(message);
    input.switcherActive = switcherActive;
    input.mouseData = static_cast<int32_t>(event->mouseData);
    // The context menu may reach beyond the switcher: while it is open a click is
    // the menu's (an item chosen, or the menu dismissed), not a cancel.
    input.insideSwitcher =
        MouseHookReadsSwitcherRect(input) && (IsContextMenuShown() || IsInsideSwitcher(event->pt));
    return input;
}

// The flag is stored before the post, so the next event already sees it.
void ApplyDecision(const HookDecision& decision, LPARAM detail = 0) {
    switcherActive = decision.switcherActive;
    if (decision.command == CMD_OPEN || decision.command == CMD_OPEN_PROGRAM)
        PressMenuMaskKey();
    if (decision.command == CMD_TYPE_KEY)
        ++typedKeysPosted;
    if (decision.command != NO_COMMAND)
        PostMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, decision.command, detail);
}

// Typed keys and the key above Tab carry the key; a middle click its point.
LPARAM KeyDetail(const HookDecision& decision, const KBDLLHOOKSTRUCT* event) {
    if (decision.command == CMD_TYPE_KEY)
        return PackedKeyOf(event, true);
    if (decision.command == CMD_OPEN_PROGRAM)
        return PackedKeyOf(event, false);
    return 0;
}

// A hook the system may have removed for a slow answer is put back; removing a
// removed hook's stale handle again fails harmlessly.
void RenewKeyboardHook() {
    RemoveKeyboardHook();
    InstallKeyboardHook();
}

LRESULT CarryOut(const HookDecision& decision, LPARAM detail, HHOOK hook, int code, WPARAM wParam,
                 LPARAM lParam) {
    ApplyDecision(decision, detail);
    if (decision.swallow)
        return 1;
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    // Only HC_ACTION events carry a record worth reading; the rest pass untouched.
    if (code != HC_ACTION)
        return CallNextHookEx(keyboardHook, code, wParam, lParam);
    const KBDLLHOOKSTRUCT* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    NoteTabDown(wParam, event);
    const KeyHookInput input = ReadKeyHookInput(wParam, event);
    const HookDecision decision = DecideKeyEvent(input);
    NoteDecidedKey(wParam, event, decision.swallow);
    return CarryOut(decision, KeyDetail(decision, event), keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION)
        return CallNextHookEx(mouseHook, code, wParam, lParam);
    const MSLLHOOKSTRUCT* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    const MouseHookInput input = ReadMouseHookInput(wParam, event);
    const HookDecision decision = DecideMouseEvent(input);
    const LPARAM point =
        decision.command == CMD_CLOSE_POINTED
            ? MAKELPARAM(static_cast<WORD>(event->pt.x), static_cast<WORD>(event->pt.y))
            : 0;
    return CarryOut(decision, point, mouseHook, code, wParam, lParam);
}

void CancelSwitch() {
    switcherActive = 0;
    PostMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
}

void EndSwitchWithoutShowing() {
    switcherActive = 0;
}

void SendKeyOn(LPARAM packedKey) {
    const TypedKey key = UnpackTypedKey(static_cast<uint32_t>(packedKey));
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key.key);
    input.ki.wScan = static_cast<WORD>(key.scanCode);
    input.ki.dwFlags = key.extended ? KEYEVENTF_EXTENDEDKEY : 0;
    input.ki.dwExtraInfo = OwnKeyMark();
    SendInput(1, &input, sizeof(input));
}

void InstallMouseHook() {
    // A new hook would overwrite the handle, and the old one would never be removed.
    if (!mouseHook)
        mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, programInstance, 0);
}

void RemoveMouseHook() {
    if (!mouseHook)
        return;
    UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
}

void InstallKeyboardHook() {
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, programInstance, 0);
}

void RemoveKeyboardHook() {
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    keyboardHook = nullptr;
}

bool TakeKeyTheHookMissed(const MSG& message) {
    if (!switcherActive || !IsKeyMessage(message.message) || !IsSwitcherOwnWindow(message.hwnd))
        return false;
    const DWORD key = static_cast<DWORD>(message.wParam);
    const DecidedKey* decided = FindDecidedKey(key, IsKeyUp(message.message), message.time);
    if (decided)
        return decided->swallowed;
    KeyHookInput input = {};
    input.nCode = HC_ACTION;
    input.message = message.message;
    input.key = SidedKey(key);
    input.switcherActive = switcherActive;
    input.stayOpenAfterAlt = switcherOptions.stayOpenAfterAlt;
    input.altDown = (message.lParam & kContextAltHeld) != 0;
    input.scanCode = (static_cast<DWORD>(message.lParam) >> 16) & 0xFF;
    input.typeToFilter = moreOptions.typeToFilter;
    input.sameProgramKey = moreOptions.sameProgramKey;
    input.typedTextShown = IsTypedTextPending();
    input.leftShiftDown = KeyHookReadsLeftShift(input) && (GetKeyState(VK_LSHIFT) & 0x8000) != 0;
    input.resentKey = IsOwnKeyMark(GetMessageExtraInfo());
    const HookDecision decision = DecideKeyEvent(input);
    TypedKey typed = {};
    typed.key = input.key;
    typed.scanCode = input.scanCode;
    typed.extended = (message.lParam & (LPARAM(1) << 24)) != 0;
    typed.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    typed.altGr = (GetKeyState(VK_RMENU) & 0x8000) && (GetKeyState(VK_CONTROL) & 0x8000);
    const LPARAM detail =
        decision.command == CMD_TYPE_KEY ? static_cast<LPARAM>(PackTypedKey(typed)) : 0;
    ApplyDecision(decision, detail);
    RenewKeyboardHook();
    return decision.swallow;
}

void OnAltTabHotKey(DWORD messageTime) {
    AltTabHotKeyInput input = {};
    input.hookSawTab = HookSawTabPress(sawTabDown, lastTabDownTime, messageTime);
    if (input.hookSawTab)
        return;
    input.switcherActive = switcherActive;
    input.stayOpenAfterAlt = switcherOptions.stayOpenAfterAlt;
    input.leftShiftDown = IsKeyDownNow(VK_LSHIFT);
    input.altStillDown = IsKeyDownNow(VK_MENU);
    ApplyDecision(DecideAltTabHotKey(input));
    RenewKeyboardHook();
}
