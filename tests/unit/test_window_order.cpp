#include <gtest/gtest.h>

#include <vector>

#include "windowlist/program_group.h"
#include "windowlist/window_order.h"

namespace {

std::vector<int> Ordered(const RecentWindows& recent, const std::vector<OrderedEntry>& entries) {
    std::vector<int> order(entries.size(), -1);
    OrderByRecentUse(recent, entries.data(), static_cast<int>(entries.size()), order.data());
    return order;
}

} // namespace

// Stacking order below is 10 (an always-on-top window never used), 20, 30, 40.
TEST(WindowOrder, UsedWindowsFirstThenTheOthersInStackingOrder) {
    RecentWindows recent = {};
    const std::vector<OrderedEntry> stacked = {{10, 0}, {20, 0}, {30, 0}, {40, 1}};
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{0, 1, 2, 3}));
    NoteWindowInFront(&recent, 30);
    NoteWindowInFront(&recent, 20);
    NoteWindowInFront(&recent, 0);  // nothing in front: ignored
    NoteWindowInFront(&recent, 99); // not listed: no place taken
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{1, 2, 0, 3}));
    // A use of the owner counts for the listed window that stands in for it.
    NoteWindowInFront(&recent, 1);
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{3, 1, 2, 0}));
    // Alternating between two windows keeps them the first two.
    NoteWindowInFront(&recent, 30);
    NoteWindowInFront(&recent, 20);
    NoteWindowInFront(&recent, 30);
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{2, 1, 3, 0}));
    ForgetRecentWindow(&recent, 30);
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{1, 3, 0, 2}));
    // An entry whose window and owner were both used takes the better place, once.
    NoteWindowInFront(&recent, 40);
    EXPECT_EQ(Ordered(recent, stacked), (std::vector<int>{3, 1, 0, 2}));
}

TEST(WindowOrder, TheHistoryIsBoundedAndDropsTheOldest) {
    RecentWindows recent = {};
    for (uintptr_t window = 1; window <= RECENT_WINDOWS_CAPACITY + 5; ++window)
        NoteWindowInFront(&recent, window);
    EXPECT_EQ(recent.count, RECENT_WINDOWS_CAPACITY);
    EXPECT_EQ(recent.windows[0], uintptr_t(RECENT_WINDOWS_CAPACITY + 5));
    EXPECT_EQ(recent.windows[RECENT_WINDOWS_CAPACITY - 1], uintptr_t(6));
    NoteWindowInFront(&recent, 6); // already there: moves up, nothing lost
    EXPECT_EQ(recent.count, RECENT_WINDOWS_CAPACITY);
    EXPECT_EQ(recent.windows[0], uintptr_t(6));
}

TEST(ProgramGroup, OneProgramsWindowsWithTheFrontFirst) {
    const wchar_t* host = L"c:\\windows\\system32\\applicationframehost.exe";
    const wchar_t* calc = L"c:\\apps\\calculator.exe";
    const wchar_t* mail = L"c:\\apps\\mail.exe";
    EXPECT_TRUE(IsStoreAppHost(host));
    EXPECT_FALSE(IsStoreAppHost(calc));
    // A store app's frames tell apart by the hosted program; unknown, the host's own.
    EXPECT_STREQ(ProgramPathOfWindow(host, calc), calc);
    EXPECT_STREQ(ProgramPathOfWindow(host, L""), host);
    EXPECT_STREQ(ProgramPathOfWindow(mail, calc), mail);
    const ProgramOfWindow programs[] = {
        {L"c:\\edit.exe", 1},
        {calc, 2},
        {L"c:\\edit.exe", 3},
        {mail, 4},
        {L"", 5},
        {ProgramPathOfWindow(host, calc), 2},
        {L"", 5},
        {L"", 6},
    };
    int chosen[8] = {};
    EXPECT_EQ(ChooseProgramWindows(programs, 8, 2, chosen), 2);
    EXPECT_EQ(std::vector<int>(chosen, chosen + 2), (std::vector<int>{2, 0}));
    EXPECT_EQ(ChooseProgramWindows(programs, 8, 1, chosen), 2);
    EXPECT_EQ(std::vector<int>(chosen, chosen + 2), (std::vector<int>{1, 5}));
    // A program whose path cannot be read is its own process.
    EXPECT_EQ(ChooseProgramWindows(programs, 8, 6, chosen), 2);
    EXPECT_EQ(std::vector<int>(chosen, chosen + 2), (std::vector<int>{6, 4}));
    EXPECT_EQ(ChooseProgramWindows(programs, 8, 3, chosen), 1);
    EXPECT_EQ(ChooseProgramWindows(programs, 8, 8, chosen), 0);
}
