#include "switcher_support_win.h"

#include "app/app_win.h"
#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "display/selection_win.h"
#include "process_support_win.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"

bool StartSwitcherInProcess(const SwitcherOptions& stored) {
    CloseRunningSwitcher();
    WriteStoredOptions(&stored);
    RegisterSwitcherClass(GetModuleHandleW(nullptr));
    return InitSwitcher(GetModuleHandleW(nullptr)) != FALSE;
}

void StopSwitcherInProcess() {
    if (SwitcherWindow)
        DestroyWindow(SwitcherWindow);
    SwitcherWindow = nullptr;
    PumpMessages();
    RemoveSwitcherRegistryTraces();
}

bool ReloadSwitcherWith(const SwitcherOptions& stored) {
    WriteStoredOptions(&stored);
    return SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0) == 1;
}

void OpenSwitcherAndWait() {
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
    ASSERT_TRUE(WaitUntil([] { return IsWindowVisible(SwitcherWindow) != 0; }));
}

int ListedIndexOf(HWND window) {
    for (int i = 0; i < listedCount; ++i)
        if (WindowList[i].window == window)
            return i;
    return -1;
}

std::vector<HWND> ListedWindows() {
    std::vector<HWND> windows;
    for (int i = 0; i < listedCount; ++i)
        windows.push_back(WindowList[i].window);
    return windows;
}

void SelectEntry(int index) {
    selectedIndex = index;
    ShowSelection(index);
}

int SelectedStripItem() {
    return static_cast<int>(
        SendMessageW(IconStrip, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<WPARAM> TakePostedCommands(HWND window) {
    std::vector<WPARAM> codes;
    MSG message;
    while (PeekMessageW(&message, window, WM_SWITCHER_COMMAND, WM_SWITCHER_COMMAND, PM_REMOVE))
        codes.push_back(message.wParam);
    return codes;
}

WPARAM WaitForPostedCommand(HWND window) {
    const DWORD start = GetTickCount();
    MSG message;
    while (!PeekMessageW(&message, window, WM_SWITCHER_COMMAND, WM_SWITCHER_COMMAND, PM_REMOVE)) {
        if (GetTickCount() - start > 3000)
            return 0;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return message.wParam;
}
