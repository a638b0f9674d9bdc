// Wine 8 keeps memory each time CopyImage copies a shared icon (one loaded with
// LoadIcon) with LR_COPYFROMRESOURCE, as ImageList_ReplaceIcon does for every
// icon it adds: 55 to 70 bytes per copy, about 80 per ReplaceIcon. A copy made
// without the flag, or an icon made with CreateIconIndirect, keeps nothing.
// Build and run (not part of the build):
//   i686-w64-mingw32-g++-posix -O2 -static -o shared_icon_leak.exe shared_icon_leak_win.cpp -lpsapi
//   python3 tools/wine/winerun.py --state-dir build/wine run -- shared_icon_leak.exe
#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace {

// Committed private memory, which Wine reports as the pagefile usage.
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

void CopyRepeatedly(const char* what, HICON icon, UINT flags) {
    constexpr int kCopies = 2000;
    const SIZE_T before = PrivateBytes();
    for (int i = 0; i < kCopies; ++i) {
        HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 32, 32, flags));
        if (copy)
            DestroyIcon(copy);
    }
    const long grown = static_cast<long>(PrivateBytes() - before);
    std::printf("%-44s %d copies: %+8ld bytes (%.1f a copy)\n", what, kCopies, grown,
                static_cast<double>(grown) / kCopies);
}

} // namespace

int main() {
    HICON shared = LoadIcon(nullptr, IDI_APPLICATION);
    HICON plain = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    CopyRepeatedly("shared icon, LR_COPYFROMRESOURCE", shared, LR_COPYFROMRESOURCE);
    CopyRepeatedly("shared icon, no flag", shared, 0);
    CopyRepeatedly("plain copy, LR_COPYFROMRESOURCE", plain, LR_COPYFROMRESOURCE);
    DestroyIcon(plain);
    return 0;
}
