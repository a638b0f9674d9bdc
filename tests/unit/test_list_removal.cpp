#include <gtest/gtest.h>

#include <vector>

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

// Each look asks a turn of entries, round past the end; successive looks ask every
// entry of a long list; a short list is asked whole each time.
TEST(ListRemoval, TheWatchAsksEachEntryInTurns) {
    const int n = WATCH_TURN_ENTRIES;
    const struct {
        const char* name;
        int index, first, count;
        bool asked;
    } cases[] = {
        {"a short list, whole", n - 1, 5, n, true},
        {"the first of the turn", 3, 3, 3 * n, true},
        {"the last of the turn", 3 + n - 1, 3, 3 * n, true},
        {"just past the turn", 3 + n, 3, 3 * n, false},
        {"just before the turn", 2, 3, 3 * n, false},
        {"round past the end", 1, 2 * n + 5, 2 * n + 5 + 5, true},
        {"a start past the end counts from 0", n - 1, 9 * n, 2 * n, true},
        {"an index past the end", 2 * n, 0, 2 * n, false},
        {"a negative index", -1, 0, 2 * n, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AskedInWatchTurn(c.index, c.first, c.count), c.asked) << c.name;
    for (int count : {0, 1, n, n + 1, 2 * n + 7, 200}) {
        std::vector<int> asked(static_cast<size_t>(count), 0);
        int first = 0;
        const int looks = (count + n - 1) / n;
        for (int look = 0; look < looks; ++look, first = NextWatchTurn(first, count))
            for (int i = 0; i < count; ++i)
                asked[static_cast<size_t>(i)] += AskedInWatchTurn(i, first, count);
        for (int i = 0; i < count; ++i)
            EXPECT_GE(asked[static_cast<size_t>(i)], 1) << count << " entries, entry " << i;
        EXPECT_LT(NextWatchTurn(count, count), count > 0 ? count : 1);
    }
}

} // namespace
