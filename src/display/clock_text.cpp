#include "display/clock_text.h"

#include <cwchar>

size_t FormatClockText(wchar_t* buffer, size_t count, const std::tm& localTime) {
    if (count == 0)
        return 0;
    const size_t length = std::wcsftime(buffer, count, L"%I:%M:%S %p", &localTime);
    // wcsftime leaves the buffer undefined when the text does not fit, and the
    // Windows C library then fills it to the last unit without a terminator.
    if (length == 0 || length >= count) {
        buffer[0] = 0;
        return 0;
    }
    return length;
}

size_t FormatCurrentClockText(wchar_t* buffer, size_t count) {
    const std::time_t now = std::time(nullptr);
    const std::tm* localTime = std::localtime(&now);
    if (!localTime) {
        if (count > 0)
            buffer[0] = 0;
        return 0;
    }
    return FormatClockText(buffer, count, *localTime);
}
