#include "actions/activation_win.h"

#include "windowlist/window_probe_win.h"

namespace {

// A key code no program acts on (unassigned), which the switcher presses where a window
// would otherwise see Alt go up with no other key since it went down: that lone Alt tap
// would put the window into menu mode, and the next typed letter would choose a menu item.
constexpr WORD kMenuMaskKey = 0xE8;
// Carried in the extra information of the keys the switcher sends, so its hook knows them.
constexpr ULONG_PTR kMenuMaskKeyMark = 0x5A657068; // "Zeph"

constexpr UINT kAltReleaseCount = 4;

// Releases of the (extended, so right) Alt key: the system then sees no Alt held
// down, whatever the switcher's keyboard hook let through while it was open.
void InjectAltReleases() {
    INPUT releases[kAltReleaseCount] = {};
    for (INPUT& release : releases) {
        release.type = INPUT_KEYBOARD;
        release.ki.wVk = VK_MENU;
        release.ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    }
    SendInput(kAltReleaseCount, releases, sizeof(INPUT));
}

} // namespace

void PressMenuMaskKey() {
    INPUT press[2] = {};
    for (INPUT& key : press) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = kMenuMaskKey;
        key.ki.dwExtraInfo = kMenuMaskKeyMark;
    }
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
}

ULONG_PTR OwnKeyMark() {
    return kMenuMaskKeyMark;
}

bool IsOwnKeyMark(ULONG_PTR extraInfo) {
    return extraInfo == kMenuMaskKeyMark;
}

bool ActivateChosenWindow(HWND window) {
    // Posted to the window's thread: a program that stopped answering must not hold
    // the switcher (and the desktop's keyboard hook with it) until it answers again.
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    const HWND target = GetLastActivePopup(window);
    if (!IsWindow(target)) {
        MessageBeep(MB_OK);
        return false;
    }
    if (GetWindowLongW(target, GWL_STYLE) & WS_DISABLED) {
        MessageBeep(MB_OK);
        return true;
    }
    InjectAltReleases();
    // The switch restores or raises the target and waits for its thread; a hung
    // target gets the foreground only, which the system hands over without waiting.
    if (WindowAnswers(target)) {
        SwitchToThisWindow(target, TRUE);
        // Activation does not always raise (Wine's sometimes leaves the window behind
        // the one it was under): the chosen window is put on top of the normal windows,
        // asynchronously, so that its program is not waited for.
        SetWindowPos(target, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    } else {
        SetForegroundWindow(target);
    }
    return true;
}
