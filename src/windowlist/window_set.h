// A set of window handles asked about many times: sorted once, then searched by
// halves, so that n questions about a set of m cost n log m, not n times m. Portable.
#pragma once
#include <cstdint>

// Sorts the handles in increasing order, in place.
void SortWindowSet(uintptr_t* handles, int count);
// Whether the sorted handles hold this one.
bool WindowSetHolds(const uintptr_t* sorted, int count, uintptr_t handle);
