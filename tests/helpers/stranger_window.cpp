// Another program's hidden window that happens to have the switcher's class
// name, "gZephtab". Runs until the window is closed.
#include "helper_window.h"

#include <windows.h>

int wmain() {
    const wchar_t* className = RegisterHelperWindowClass(L"gZephtab", QuitOnDestroyWindowProc);
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, className, nullptr, WS_POPUP, 0, 0, 10, 10, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr))
        return 1;
    return RunHelperMessageLoop();
}
