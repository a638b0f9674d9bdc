// The clock's text: 12-hour time with seconds and the AM/PM designator. Portable.
#pragma once
#include <cstddef>
#include <ctime>

// Capacity of the clock text, terminator included.
constexpr size_t CLOCK_TEXT_COUNT = 2048;

// Formats "%I:%M:%S %p" of the given local time into buffer (count units, terminator
// included). Returns the length; a text that does not fit leaves the buffer empty.
size_t FormatClockText(wchar_t* buffer, size_t count, const std::tm& localTime);
// The same for the current local time.
size_t FormatCurrentClockText(wchar_t* buffer, size_t count);
