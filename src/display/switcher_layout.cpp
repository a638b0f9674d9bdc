#include "display/switcher_layout.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

static_assert(std::is_trivially_copyable<SwitcherLayout>::value &&
                  sizeof(SwitcherLayout) % sizeof(int) == 0,
              "the layout is nothing but pixel numbers");

int ScaleForDpi(int value, int dpi) {
    const int64_t product = static_cast<int64_t>(value) * dpi;
    const int64_t half = LAYOUT_DPI / 2;
    return static_cast<int>(product >= 0 ? (product + half) / LAYOUT_DPI
                                         : -((-product + half) / LAYOUT_DPI));
}

int UsableDpi(int reportedDpi) {
    if (reportedDpi < LOWEST_DPI)
        return LOWEST_DPI;
    return reportedDpi > HIGHEST_DPI ? HIGHEST_DPI : reportedDpi;
}

SwitcherLayout ScaleLayout(int dpi) {
    constexpr int kNumbers = sizeof(SwitcherLayout) / sizeof(int);
    int numbers[kNumbers];
    std::memcpy(numbers, &kLayoutAt96Dpi, sizeof(numbers));
    for (int& number : numbers)
        number = ScaleForDpi(number, dpi);
    SwitcherLayout scaled;
    std::memcpy(&scaled, numbers, sizeof(scaled));
    return scaled;
}
