#include "windowlist/window_filter.h"

#include <cwchar>

bool IsHiddenToolWindow(uint32_t exStyle) {
    return (exStyle & FILTER_EX_TOOLWINDOW) && !(exStyle & FILTER_EX_APPWINDOW);
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
