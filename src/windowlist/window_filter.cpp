#include "windowlist/window_filter.h"

#include <algorithm>
#include <cwchar>

bool IsHiddenToolWindow(uint32_t exStyle) {
    return (exStyle & FILTER_EX_TOOLWINDOW) && !(exStyle & FILTER_EX_APPWINDOW);
}

bool RefusesActivation(uint32_t exStyle) {
    return (exStyle & FILTER_EX_NOACTIVATE) && !(exStyle & FILTER_EX_APPWINDOW);
}

bool IsSwitchableOwnedWindow(uint32_t exStyle, uint32_t ownerExStyle) {
    return (exStyle & FILTER_EX_CONTROLPARENT) || (ownerExStyle & FILTER_EX_APPWINDOW);
}

bool IsCloakedWindow(bool cloakedRead, uint32_t cloaked) {
    return cloakedRead && cloaked != 0;
}

bool IsTooltipClass(const wchar_t* className) {
    return std::wcscmp(className, L"tooltips_class32") == 0 ||
           std::wcscmp(className, L"OfficeTooltip") == 0;
}

namespace {

// Lengths in 64 bits, since a rectangle may span the whole int range, capped at a
// length no monitor comes near, so that an area or a sum of two squares fits 64 bits.
constexpr int64_t kLongestLength = int64_t{1} << 31;

int64_t OverlapLength(int start, int end, int otherStart, int otherEnd) {
    int64_t length = int64_t{std::min(end, otherEnd)} - std::max(start, otherStart);
    return std::clamp<int64_t>(length, 0, kLongestLength);
}

int64_t OverlapArea(const ScreenRect& a, const ScreenRect& b) {
    return OverlapLength(a.left, a.right, b.left, b.right) *
           OverlapLength(a.top, a.bottom, b.top, b.bottom);
}

// How far a lies from b along one axis, 0 when they meet.
uint64_t GapLength(int start, int end, int otherStart, int otherEnd) {
    int64_t gap = std::max<int64_t>({0, int64_t{otherStart} - end, int64_t{start} - otherEnd});
    return static_cast<uint64_t>(std::min(gap, kLongestLength));
}

uint64_t SquaredDistance(const ScreenRect& a, const ScreenRect& b) {
    const uint64_t dx = GapLength(a.left, a.right, b.left, b.right);
    const uint64_t dy = GapLength(a.top, a.bottom, b.top, b.bottom);
    return dx * dx + dy * dy;
}

} // namespace

int MonitorHoldingWindow(const ScreenRect& window, const ScreenRect* monitors, int count) {
    int largest = -1;
    int64_t largestArea = 0;
    for (int i = 0; i < count; ++i) {
        const int64_t area = OverlapArea(window, monitors[i]);
        if (area > largestArea) {
            largest = i;
            largestArea = area;
        }
    }
    if (largest >= 0)
        return largest;
    int nearest = -1;
    uint64_t nearestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const uint64_t distance = SquaredDistance(window, monitors[i]);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}
