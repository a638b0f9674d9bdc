#include <gtest/gtest.h>

#include <vector>

#include "base/count_of.h"
#include "windowlist/text_match.h"

namespace {

// Titles and program names as the Windows side hands them over: folded.
const MatchCandidate kWindows[] = {
    {L"readme.txt - notepad", L"notepad.exe"}, // 0
    {L"inbox - mail", L"thunderbird.exe"},     // 1
    {L"документ - writer", L"soffice.exe"},    // 2
    {L"notes on the move", L""},               // 3: program unknown
    {L"σημειώσεις", L"notepad.exe"},           // 4
    {L"", L"cmd.exe"},                         // 5: no title
};

struct MatchRow {
    const wchar_t* typed;
    std::vector<int> chosen;
};

} // namespace

TEST(TextMatch, EveryWordInTitleOrProgramAndTheStartingOnesFirst) {
    const MatchRow rows[] = {
        {L"", {0, 1, 2, 3, 4, 5}}, // nothing typed keeps all, in order
        {L"   ", {0, 1, 2, 3, 4, 5}},
        {L"note", {0, 3, 4}},   // program name counts; title start first
        {L"notepad", {0, 4}},   // 0's and 4's program starts with it
        {L"mail thunder", {1}}, // words in title and program, any order
        {L"mail  notepad", {}}, // every word must appear
        {L"док", {2}},          // Cyrillic
        {L"writer док", {2}},
        {L"σημ", {4}},  // Greek
        {L"move", {3}}, // unknown program: title alone
        {L"cmd", {5}},  // no title: program alone
        {L"xyz", {}},
        {L"e", {0, 1, 2, 3, 4, 5}}, // none starts with e: the order stays
        {L"in", {1}},
        {L"t", {1, 0, 2, 3, 4}}, // thunderbird.exe starts with it: first
    };
    for (const MatchRow& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(row.chosen.size()) << " for " << row.typed[0]);
        int chosen[6] = {};
        const int found = ChooseMatches(row.typed, kWindows, 6, chosen);
        EXPECT_EQ(std::vector<int>(chosen, chosen + found), row.chosen);
    }
}

TEST(TextMatch, TheTypedTextHoldsSixtyFourCharactersAndLosesPairsWhole) {
    wchar_t typed[TYPED_TEXT_CAPACITY] = {};
    for (int i = 0; i < TYPED_TEXT_LENGTH; ++i)
        ASSERT_TRUE(AppendTypedCharacter(typed, CountOf(typed), L'a'));
    EXPECT_FALSE(AppendTypedCharacter(typed, CountOf(typed), L'b')); // full
    EXPECT_EQ(typed[TYPED_TEXT_LENGTH], 0);
    EXPECT_FALSE(AppendTypedCharacter(typed, CountOf(typed), 0));
    wchar_t pair[4] = {L'x', 0xD83D, 0xDE00, 0};
    EXPECT_TRUE(RemoveLastTypedCharacter(pair));
    EXPECT_STREQ(pair, L"x");
    EXPECT_TRUE(RemoveLastTypedCharacter(pair));
    EXPECT_FALSE(RemoveLastTypedCharacter(pair));
    EXPECT_STREQ(FileNameOf(L"c:\\program files\\app\\app.exe"), L"app.exe");
    EXPECT_STREQ(FileNameOf(L"app.exe"), L"app.exe");
}
