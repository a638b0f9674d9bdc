// The element count of a fixed array, taken from the array itself, so that a
// buffer's size always comes from the buffer. Portable.
#pragma once
#include <cstddef>

template <typename T, size_t N> constexpr size_t CountOf(T (&)[N]) {
    return N;
}
