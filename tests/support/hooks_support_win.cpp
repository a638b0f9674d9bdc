#include "hooks_support_win.h"

#include <cstdlib>

#include "app/app_win.h"
#include "app/identifiers.h"
#include "settings/settings_store_win.h"
#include "test_support_win.h"

SwitcherOptions DefaultSwitcherOptions() {
    SwitcherOptions record = {};
    SetDefaultOptions(&record);
    return record;
}

void StartSwitcherWith(const SwitcherOptions& stored) {
    CloseRunningSwitcher();
    WriteStoredOptions(&stored);
    RegisterSwitcherClass(GetModuleHandleW(nullptr));
    InitSwitcher(GetModuleHandleW(nullptr));
}

void ReloadSwitcherWith(HWND switcher, const SwitcherOptions& stored) {
    WriteStoredOptions(&stored);
    SendMessageW(switcher, WM_RELOAD_OPTIONS, 0, 0);
}

void RemoveSwitcherRegistryTraces() {
    DeleteSettingsKey();
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
    const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
    const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
    const int db = std::abs(GetBValue(actual) - GetBValue(expected));
    if (dr <= tolerance && dg <= tolerance && db <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "RGB(" << int(GetRValue(actual)) << "," << int(GetGValue(actual)) << ","
           << int(GetBValue(actual)) << ") is not within " << tolerance << " of RGB("
           << int(GetRValue(expected)) << "," << int(GetGValue(expected)) << ","
           << int(GetBValue(expected)) << ")";
}

bool NoLighter(COLORREF colour, COLORREF than, int tolerance) {
    return GetRValue(colour) <= GetRValue(than) + tolerance &&
           GetGValue(colour) <= GetGValue(than) + tolerance &&
           GetBValue(colour) <= GetBValue(than) + tolerance;
}

std::vector<WPARAM> TakePostedCommands(HWND window) {
    std::vector<WPARAM> codes;
    MSG message;
    while (PeekMessageW(&message, window, WM_SWITCHER_COMMAND, WM_SWITCHER_COMMAND, PM_REMOVE))
        codes.push_back(message.wParam);
    return codes;
}

WPARAM WaitForPostedCommand(HWND window, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    MSG message;
    while (!PeekMessageW(&message, window, WM_SWITCHER_COMMAND, WM_SWITCHER_COMMAND, PM_REMOVE)) {
        if (GetTickCount() - start > deadlineMs)
            return 0;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return message.wParam;
}

void InjectKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    if (key == VK_RSHIFT || key == VK_RMENU)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    if (!down)
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}
