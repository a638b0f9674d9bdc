#include "control/stand_aside_win.h"

#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/hooks_win.h"
#include "settings/program_patterns.h"
#include "windowlist/program_match.h"
#include "windowlist/program_paths_win.h"

BYTE switchingPaused;
HWND passThroughWindow;

namespace {

// The window judged last, whatever the outcome: judged again only when another comes in front.
HWND judgedWindow;
// The program's hot keys in the order they are registered, and which are held now.
struct HotKey {
    int id;
    UINT modifiers;
    UINT key;
};
constexpr HotKey kHotKeys[] = {
    {HOTKEY_ALT_TAB, MOD_ALT, VK_TAB},
    {HOTKEY_ALT_SHIFT_TAB, MOD_ALT | MOD_SHIFT, VK_TAB},
    {HOTKEY_EXIT, MOD_WIN, VK_F12},
};
bool hotKeyHeld[3];
static_assert(sizeof(hotKeyHeld) == sizeof(kHotKeys) / sizeof(kHotKeys[0]), "one flag a key");

constexpr UINT kForegroundWatchMs = 100;

bool ShouldHoldHotKeys() {
    return !switchingPaused && !passThroughWindow;
}

void MatchHotKeysToState() {
    if (ShouldHoldHotKeys())
        ClaimHotKeys();
    else
        ReleaseHotKeys();
}

} // namespace

bool HookStandsAside() {
    if (switchingPaused)
        return true;
    return passThroughWindow && GetForegroundWindow() == passThroughWindow;
}

bool ClaimHotKeys() {
    for (size_t i = 0; i < sizeof(hotKeyHeld); ++i) {
        if (hotKeyHeld[i])
            continue;
        if (!RegisterHotKey(SwitcherWindow, kHotKeys[i].id, kHotKeys[i].modifiers, kHotKeys[i].key))
            return false;
        hotKeyHeld[i] = true;
    }
    return true;
}

void ReleaseHotKeys() {
    for (size_t i = 0; i < sizeof(hotKeyHeld); ++i) {
        if (hotKeyHeld[i])
            UnregisterHotKey(SwitcherWindow, kHotKeys[i].id);
        hotKeyHeld[i] = false;
    }
}

void PauseSwitching(bool paused) {
    if (paused && switcherActive)
        CancelSwitch();
    switchingPaused = paused ? 1 : 0;
    MatchHotKeysToState();
}

bool JudgeForegroundWindow(HWND foreground) {
    if (foreground == SwitcherWindow)
        return false; // a shown switcher is ours to drive
    if (foreground != judgedWindow) {
        judgedWindow = foreground;
        // The path is read afresh: the process that had this id may have ended.
        ForgetProgramPaths();
        const bool passes = foreground && passThroughPatterns.count &&
                            ProgramMatchesAny(ProgramPathOfWindow(foreground), passThroughPatterns);
        passThroughWindow = passes ? foreground : nullptr;
        MatchHotKeysToState();
    }
    return passThroughWindow && passThroughWindow == foreground;
}

void GiveAltTabBack() {
    if (!(GetAsyncKeyState(VK_MENU) & 0x8000))
        return; // Alt is up: a Tab now would be a plain Tab
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_TAB;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void WatchForegroundForPassThrough() {
    // A new list judges the window in front afresh.
    judgedWindow = nullptr;
    passThroughWindow = nullptr;
    if (passThroughPatterns.count) {
        SetTimer(SwitcherWindow, TIMER_FOREGROUND_WATCH, kForegroundWatchMs, nullptr);
        JudgeForegroundWindow(GetForegroundWindow());
    } else {
        KillTimer(SwitcherWindow, TIMER_FOREGROUND_WATCH);
        MatchHotKeysToState();
    }
}

void OnForegroundWatchTimer() {
    JudgeForegroundWindow(GetForegroundWindow());
}

void StopForegroundWatch() {
    KillTimer(SwitcherWindow, TIMER_FOREGROUND_WATCH);
}
