#include "windowlist/present_windows_win.h"

#include <cstdint>

#include "windowlist/window_set.h"

namespace {

// Process heap; null when nothing is taken or the heap refused.
uintptr_t* presentWindows;
int presentCount;
int presentCapacity;
bool presentComplete;

bool MakeRoom() {
    if (presentCount < presentCapacity)
        return true;
    const int capacity = presentCapacity ? presentCapacity * 2 : 256;
    const SIZE_T size = static_cast<SIZE_T>(capacity) * sizeof(uintptr_t);
    void* grown = presentWindows ? HeapReAlloc(GetProcessHeap(), 0, presentWindows, size)
                                 : HeapAlloc(GetProcessHeap(), 0, size);
    if (!grown)
        return false;
    presentWindows = static_cast<uintptr_t*>(grown);
    presentCapacity = capacity;
    return true;
}

BOOL CALLBACK AddPresentWindow(HWND window, LPARAM) {
    if (!MakeRoom()) {
        presentComplete = false;
        return FALSE;
    }
    presentWindows[presentCount++] = reinterpret_cast<uintptr_t>(window);
    return TRUE;
}

} // namespace

void TakePresentWindows() {
    ForgetPresentWindows();
    presentComplete = true;
    // A failed enumeration leaves the windows unknown: each is asked on its own.
    if (!EnumWindows(AddPresentWindow, 0))
        presentComplete = false;
    if (presentComplete)
        SortWindowSet(presentWindows, presentCount);
}

bool IsPresentWindow(HWND window) {
    if (!presentComplete)
        return IsWindow(window) != FALSE;
    return WindowSetHolds(presentWindows, presentCount, reinterpret_cast<uintptr_t>(window));
}

void ForgetPresentWindows() {
    if (presentWindows)
        HeapFree(GetProcessHeap(), 0, presentWindows);
    presentWindows = nullptr;
    presentCount = 0;
    presentCapacity = 0;
    presentComplete = false;
}
