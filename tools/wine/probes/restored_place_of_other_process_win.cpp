// Wine 8 tells only the program that owns a minimised window where the window
// would be restored: GetWindowPlacement from another process gives the
// minimised rectangle as rcNormalPosition, and MonitorFromWindow picks the
// monitor of that rectangle. Windows gives the restored place to every caller.
// The probe minimises a window whose restored place is above the primary
// monitor, moves its minimised form onto the left one, and asks both ways.
// Build and run in the three-monitor session (not part of the build):
//   x86_64-w64-mingw32-g++-posix -O2 -static -municode -o restored_place.exe
//       restored_place_of_other_process_win.cpp
//   python3 tools/wine/winerun.py --state-dir build/wine-monitors --monitors run --
//       restored_place.exe
#include <windows.h>

#include <cstdio>

namespace {

constexpr wchar_t kTitle[] = L"restored place probe";

void Report(const char* who, HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& restored = placement.rcNormalPosition;
    std::printf("%s: restored (%ld,%ld)-(%ld,%ld) on the monitor at (%ld,%ld)\n", who,
                restored.left, restored.top, restored.right, restored.bottom,
                monitor.rcMonitor.left, monitor.rcMonitor.top);
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t**) {
    if (argc > 1) {
        Report("another process", FindWindowW(L"STATIC", kTitle));
        return 0;
    }
    HWND window = CreateWindowExW(0, L"STATIC", kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, -400,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    SetWindowPos(window, nullptr, -600, 900, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Report("its owner", window);

    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t commandLine[MAX_PATH + 16];
    wsprintfW(commandLine, L"\"%s\" other", path);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DestroyWindow(window);
    return 0;
}
