// The "Exclude" and "PassThrough" lists: what a stored value yields, and which
// programs a pattern matches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/program_patterns.h"
#include "settings/run_command.h"
#include "windowlist/program_match.h"

namespace {

std::vector<uint8_t> Utf16(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

std::wstring Patterns(const ProgramPatternList& list) {
    std::wstring all;
    for (int i = 0; i < list.count; ++i)
        all += std::wstring(list.patterns[i]) + L"|";
    return all;
}

TEST(ProgramPatterns, AValueIsReadForWhatIsSoundInIt) {
    const std::u16string longEntry(MAX_PATTERN_LENGTH + 1, u'x');
    const std::u16string fullEntry(MAX_PATTERN_LENGTH, u'y');
    std::u16string many;
    for (int i = 0; i < MAX_PROGRAM_PATTERNS + 1; ++i)
        many += u"p" + std::u16string(1, char16_t(u'A' + i % 26)) + u'\0';
    many += u'\0';
    const struct {
        std::u16string text;
        PatternValueType type;
        unsigned problems;
        std::wstring read;
    } cases[] = {
        {std::u16string(u"mstsc.exe\0*game*.exe\0\0", 22), PATTERN_VALUE_MULTI_SZ, 0,
         L"mstsc.exe|*game*.exe|"},
        {std::u16string(u"\0\0", 2), PATTERN_VALUE_MULTI_SZ, 0, L""},
        {u"", PATTERN_VALUE_MULTI_SZ, 0, L""},
        {std::u16string(u"a.exe\0", 6), PATTERN_VALUE_MULTI_SZ, PATTERNS_UNTERMINATED, L"a.exe|"},
        {u"a.exe", PATTERN_VALUE_MULTI_SZ, PATTERNS_UNTERMINATED, L"a.exe|"},
        {std::u16string(u"a\0\0b\0\0", 6), PATTERN_VALUE_MULTI_SZ, PATTERNS_EMPTY_ENTRY, L"a|b|"},
        {longEntry + u'\0' + u"b" + u'\0' + u'\0', PATTERN_VALUE_MULTI_SZ, PATTERNS_LONG_ENTRY,
         L"b|"},
        {fullEntry + u'\0' + u'\0', PATTERN_VALUE_MULTI_SZ, 0,
         std::wstring(MAX_PATTERN_LENGTH, L'y') + L"|"},
        {longEntry, PATTERN_VALUE_MULTI_SZ, PATTERNS_LONG_ENTRY | PATTERNS_UNTERMINATED, L""},
        {std::u16string(u"one.exe\0", 8), PATTERN_VALUE_SZ, PATTERNS_WRONG_TYPE, L"one.exe|"},
        {std::u16string(u"one.exe\0\0", 9), PATTERN_VALUE_OTHER, PATTERNS_WRONG_TYPE, L""},
        {std::u16string(u"\u0418\u0433\u0440\u0430.exe\0\0", 10), PATTERN_VALUE_MULTI_SZ, 0,
         L"\u0418\u0433\u0440\u0430.exe|"},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = Utf16(c.text);
        SCOPED_TRACE(bytes.size());
        ProgramPatternList list = {};
        EXPECT_EQ(ReadPatternList(bytes.data(), bytes.size(), c.type, &list), c.problems);
        EXPECT_EQ(Patterns(list), c.read);
    }
    ProgramPatternList list = {};
    std::vector<uint8_t> bytes = Utf16(many);
    EXPECT_EQ(ReadPatternList(bytes.data(), bytes.size(), PATTERN_VALUE_MULTI_SZ, &list),
              PATTERNS_TOO_MANY);
    EXPECT_EQ(list.count, MAX_PROGRAM_PATTERNS);
    // An odd trailing byte is left over, the entries before it kept.
    bytes = Utf16(std::u16string(u"a\0\0", 3));
    bytes.push_back(0x41);
    EXPECT_EQ(ReadPatternList(bytes.data(), bytes.size(), PATTERN_VALUE_MULTI_SZ, &list),
              PATTERNS_UNTERMINATED);
    EXPECT_EQ(Patterns(list), L"a|");
}

TEST(ProgramPatterns, ListsAreEditedWithoutDoublesAndWrittenBackAsTheyAreRead) {
    ProgramPatternList list = {};
    EXPECT_TRUE(AddPattern(&list, L"Game.exe"));
    EXPECT_FALSE(AddPattern(&list, L"GAME.EXE")); // already there
    EXPECT_FALSE(AddPattern(&list, L""));
    EXPECT_FALSE(AddPattern(&list, std::wstring(MAX_PATTERN_LENGTH + 1, L'a').c_str()));
    EXPECT_TRUE(AddPattern(&list, std::wstring(MAX_PATTERN_LENGTH, L'a').c_str()));
    EXPECT_FALSE(AddPattern(&list, L"tab\there"));
    EXPECT_TRUE(AddPattern(&list, L"C:\\Tools\\*"));
    EXPECT_TRUE(RemovePattern(&list, L"game.exe"));
    EXPECT_FALSE(RemovePattern(&list, L"game.exe"));
    for (int i = list.count; i < MAX_PROGRAM_PATTERNS; ++i)
        ASSERT_TRUE(AddPattern(&list, (L"p" + std::to_wstring(i)).c_str()));
    EXPECT_FALSE(AddPattern(&list, L"one.more"));

    std::vector<uint8_t> bytes(MAX_PATTERN_VALUE_BYTES);
    const size_t size = WritePatternList(list, bytes.data(), bytes.size());
    ASSERT_GT(size, 0u);
    ProgramPatternList read = {};
    EXPECT_EQ(ReadPatternList(bytes.data(), size, PATTERN_VALUE_MULTI_SZ, &read), 0u);
    EXPECT_EQ(Patterns(read), Patterns(list));
    EXPECT_EQ(WritePatternList(list, bytes.data(), size - 1), 0u); // never cut
    ProgramPatternList empty = {};
    EXPECT_EQ(WritePatternList(empty, bytes.data(), bytes.size()), 4u);
}

TEST(ProgramPatterns, MatchNamesOrPathsWithWildcardsIgnoringCase) {
    const wchar_t* game = L"C:\\Games\\Star Game\\MyGame.exe";
    const struct {
        const wchar_t* path;
        const wchar_t* pattern;
        bool matches;
    } cases[] = {
        {game, L"mygame.exe", true},
        {game, L"*game*.exe", true},
        {game, L"*", true},
        {game, L"*?*", true},
        {game, L"??????.exe", true},
        {game, L"?????.exe", false},
        {game, L"game.exe", false}, // a name is the whole file name
        {game, L"MyGame", false},
        {game, L"c:/games/star game/mygame.exe", true},
        {game, L"C:\\Games\\*\\MyGame.exe", true},
        {game, L"C:\\Games\\*", true},
        {game, L"D:\\Games\\*", false},
        {game, L"\\MyGame.exe", false}, // with a separator: the whole path
        {L"C:\\Windows\\System32\\mstsc.exe", L"MSTSC.EXE", true},
        {L"C:\\\u0418\u0433\u0440\u044B\\\u0418\u0413\u0420\u0410.exe",
         L"\u0438\u0433\u0440\u0430.exe", true},
        {L"C:\\x\\\u00C9t\u00E9.exe", L"\u00E9T\u00C9.EXE", true},
        {L"C:\\x\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*a*a*a*c", false},
        {L"", L"*", false}, // a path that could not be read matches nothing
        {game, L"", false},
        {L"mygame.exe", L"mygame.exe", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.matches));
        EXPECT_EQ(ProgramMatchesPattern(c.path, c.pattern), c.matches);
    }
    ProgramPatternList list = {};
    AddPattern(&list, L"mstsc.exe");
    AddPattern(&list, L"*game*.exe");
    EXPECT_TRUE(ProgramMatchesAny(game, list));
    EXPECT_FALSE(ProgramMatchesAny(L"C:\\notepad.exe", list));
}

TEST(RunCommand, TellsItsOwnValueFromAnotherCopys) {
    const wchar_t* path = L"C:\\Program Files\\Zephtab\\zephtab.exe";
    EXPECT_TRUE(IsRunCommandOfProgram(L"\"C:\\Program Files\\Zephtab\\zephtab.exe\"", path));
    EXPECT_TRUE(IsRunCommandOfProgram(L"C:\\Program Files\\Zephtab\\zephtab.exe", path));
    EXPECT_TRUE(IsRunCommandOfProgram(L"\"c:\\program files\\zephtab\\ZEPHTAB.EXE\"", path));
    EXPECT_FALSE(IsRunCommandOfProgram(L"\"D:\\Portable\\zephtab.exe\"", path));
    EXPECT_FALSE(IsRunCommandOfProgram(L"\"C:\\Program Files\\Zephtab\\zephtab.exe\" /x", path));
    EXPECT_FALSE(IsRunCommandOfProgram(L"\"C:\\Program Files\\Zephtab\\zephtab.exe", path));
    EXPECT_FALSE(IsRunCommandOfProgram(L"", path));
    EXPECT_FALSE(IsRunCommandOfProgram(L"", L""));
}

} // namespace
