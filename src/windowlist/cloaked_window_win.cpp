#include "windowlist/cloaked_window_win.h"

#include <dwmapi.h>

#include "app/runtime_function_win.h"
#include "windowlist/window_filter.h"

namespace {

constexpr DWORD kCloakedAttribute = DWMWA_CLOAKED;

using GetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
// Only the system's own copy of the library: the program's folder is not searched.
RuntimeFunction getWindowAttribute = {
    L"dwmapi.dll", "DwmGetWindowAttribute", LOAD_LIBRARY_SEARCH_SYSTEM32, nullptr, nullptr, false};

} // namespace

bool IsWindowCloaked(HWND window) {
    const auto query = RuntimeFunctionAs<GetWindowAttributeProc>(&getWindowAttribute);
    DWORD cloaked = 0;
    const bool read =
        query && SUCCEEDED(query(window, kCloakedAttribute, &cloaked, sizeof(cloaked)));
    return IsCloakedWindow(read, cloaked);
}

void ReleaseCloakQuery() {
    ReleaseRuntimeFunction(&getWindowAttribute);
}
