#include "windowlist/cloaked_window_win.h"

#include <dwmapi.h>

#include "base/runtime_function_win.h"
#include "windowlist/window_filter.h"

namespace {

constexpr DWORD kCloakedAttribute = DWMWA_CLOAKED;

// Only the system's own copy of the library: the program's folder is not searched.
RuntimeFunction getWindowAttribute = {
    L"dwmapi.dll", "DwmGetWindowAttribute", LOAD_LIBRARY_SEARCH_SYSTEM32, nullptr, nullptr, false};

HRESULT WINAPI QuerySystemWindowAttribute(HWND window, DWORD attribute, void* value, DWORD size) {
    const auto query = RuntimeFunctionAs<WindowAttributeQuery>(&getWindowAttribute);
    return query ? query(window, attribute, value, size) : E_NOTIMPL;
}

} // namespace

WindowAttributeQuery windowAttributeQuery = QuerySystemWindowAttribute;

bool IsWindowCloaked(HWND window) {
    DWORD cloaked = 0;
    const bool read =
        SUCCEEDED(windowAttributeQuery(window, kCloakedAttribute, &cloaked, sizeof(cloaked)));
    return IsCloakedWindow(read, cloaked);
}

void ReleaseCloakQuery() {
    ReleaseRuntimeFunction(&getWindowAttribute);
}
