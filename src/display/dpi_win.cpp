#include "display/dpi_win.h"

#include "base/runtime_function_win.h"
#include "display/switcher_layout.h"

int dpiOverride;

namespace {

constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
// Windows 8.1 and 10 1607 added them; only the system's own copies are loaded.
RuntimeFunction getDpiForMonitor = {
    L"shcore.dll", "GetDpiForMonitor", LOAD_LIBRARY_SEARCH_SYSTEM32, nullptr, nullptr, false};
RuntimeFunction getSystemMetricsForDpi = {
    L"user32.dll", "GetSystemMetricsForDpi", LOAD_LIBRARY_SEARCH_SYSTEM32, nullptr, nullptr, false};

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

int MonitorDpi(HMONITOR monitor) {
    if (dpiOverride)
        return UsableDpi(dpiOverride);
    const auto query = RuntimeFunctionAs<GetDpiForMonitorProc>(&getDpiForMonitor);
    UINT dpiX = 0, dpiY = 0;
    if (query && SUCCEEDED(query(monitor, kEffectiveDpi, &dpiX, &dpiY)))
        return UsableDpi(static_cast<int>(dpiX));
    return UsableDpi(SystemDpi());
}

int SystemIconSize(int dpi, bool small) {
    const auto query = RuntimeFunctionAs<GetSystemMetricsForDpiProc>(&getSystemMetricsForDpi);
    const int size = query ? query(small ? SM_CXSMICON : SM_CXICON, static_cast<UINT>(dpi)) : 0;
    if (size > 0)
        return size;
    return ScaleForDpi(small ? kLayoutAt96Dpi.smallIconSize : kLayoutAt96Dpi.largeIconSize, dpi);
}

void ReleaseDpiQueries() {
    ReleaseRuntimeFunction(&getDpiForMonitor);
    ReleaseRuntimeFunction(&getSystemMetricsForDpi);
}
