#include <gtest/gtest.h>

#include "windowlist/list_removal.h"

namespace {

TEST(ListRemoval, TheSelectionKeepsItsEntryOrTakesTheOneInItsPlace) {
    const struct {
        const char* name;
        int selected, removedBefore, remaining, expected;
    } cases[] = {
        {"an entry behind the selection left", 1, 0, 3, 1},
        {"an entry in front left: the same entry, one up", 2, 1, 3, 1},
        {"two in front left", 3, 2, 2, 1},
        {"the selected entry left: the next one takes its place", 1, 0, 2, 1},
        {"the selected last entry left: the new last one", 3, 0, 3, 2},
        {"the last two left, the selection among them", 4, 0, 3, 2},
        {"everything in front and the selection left", 2, 2, 1, 0},
        {"one left", 0, 0, 1, 0},
        {"nothing left", 1, 1, 0, -1},
        {"nothing was selected", -1, 0, 2, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectionAfterRemoval(c.selected, c.removedBefore, c.remaining), c.expected)
            << c.name;
}

} // namespace
