// The sorted set of window handles that the closed-window watch searches.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "windowlist/window_set.h"

namespace {

// Every handle put in is found after sorting, at every size around the sort's
// gaps, with duplicates and the extremes; handles between and beyond are not.
TEST(WindowSet, HoldsExactlyTheHandlesPutIn) {
    for (int count : {0, 1, 2, 3, 7, 8, 9, 64, 255, 256, 257}) {
        SCOPED_TRACE(count);
        std::vector<uintptr_t> handles;
        for (int i = 0; i < count; ++i)
            handles.push_back(static_cast<uintptr_t>((i * 7919 % (count + 1)) * 4 + 8));
        if (count > 2) {
            handles[1] = handles[2]; // one handle twice
            handles[0] = UINTPTR_MAX;
        }
        std::vector<uintptr_t> sorted = handles;
        SortWindowSet(sorted.data(), count);
        for (int i = 1; i < count; ++i)
            ASSERT_LE(sorted[i - 1], sorted[i]) << "at " << i;
        for (uintptr_t handle : handles)
            EXPECT_TRUE(WindowSetHolds(sorted.data(), count, handle)) << handle;
        EXPECT_FALSE(WindowSetHolds(sorted.data(), count, 0));
        EXPECT_FALSE(WindowSetHolds(sorted.data(), count, 5));
        EXPECT_FALSE(
            WindowSetHolds(sorted.data(), count, static_cast<uintptr_t>(count + 1) * 4 + 9));
    }
}

} // namespace
