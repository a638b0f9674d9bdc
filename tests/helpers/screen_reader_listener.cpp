// Listens as a screen reader does: an out-of-context WinEvent hook on every event
// of the desktop, and for each focus event the named object's name read through
// AccessibleObjectFromEvent. Signals the event named on its command line after
// each name it has read; ends at WM_QUIT with the number of names read as its
// exit code. It has no window, so that it stays out of the switcher's list.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include "helper_window.h"

namespace {

HANDLE nameRead;
DWORD namesRead;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    if (event != EVENT_OBJECT_FOCUS)
        return;
    IAccessible* accessible = nullptr;
    VARIANT target;
    VariantInit(&target);
    if (AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                  &accessible, &target) != S_OK)
        return;
    BSTR name = nullptr;
    if (SUCCEEDED(accessible->get_accName(target, &name)) && name) {
        ++namesRead;
        SetEvent(nameRead);
    }
    SysFreeString(name);
    VariantClear(&target);
    accessible->Release();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return -1;
    nameRead = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!nameRead || !hook)
        return -1;
    RunHelperMessageLoop();
    UnhookWinEvent(hook);
    CloseHandle(nameRead);
    CoUninitialize();
    return static_cast<int>(namesRead);
}
