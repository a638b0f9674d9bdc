#include "windowlist/cloaked_window_win.h"

#include <dwmapi.h>

#include "windowlist/window_filter.h"

namespace {

constexpr DWORD kCloakedAttribute = DWMWA_CLOAKED;

using GetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
HMODULE windowManagerModule;
GetWindowAttributeProc getWindowAttribute;
bool windowManagerLoaded;

GetWindowAttributeProc ResolveGetWindowAttribute() {
    if (windowManagerLoaded)
        return getWindowAttribute;
    windowManagerLoaded = true;
    // Only the system's own copy: the program's folder is not searched.
    windowManagerModule = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (windowManagerModule)
        getWindowAttribute = reinterpret_cast<GetWindowAttributeProc>(reinterpret_cast<void (*)()>(
            GetProcAddress(windowManagerModule, "DwmGetWindowAttribute")));
    return getWindowAttribute;
}

} // namespace

bool IsWindowCloaked(HWND window) {
    GetWindowAttributeProc query = ResolveGetWindowAttribute();
    DWORD cloaked = 0;
    const bool read =
        query && SUCCEEDED(query(window, kCloakedAttribute, &cloaked, sizeof(cloaked)));
    return IsCloakedWindow(read, cloaked);
}

void ReleaseCloakQuery() {
    if (windowManagerModule)
        FreeLibrary(windowManagerModule);
    windowManagerModule = nullptr;
    getWindowAttribute = nullptr;
    windowManagerLoaded = false;
}
