#include "actions/activation_win.h"

namespace {

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

bool ActivateChosenWindow(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
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
    SwitchToThisWindow(target, TRUE);
    return true;
}
