// What assistive programs are told: the entry's description, the program name
// of a path, and which entry a child id names while the list changes or hides.
#include <gtest/gtest.h>

#include <string>

#include "access/access_text.h"

namespace {

std::wstring Description(int position, int total, const wchar_t* program, size_t count = 128) {
    wchar_t text[128];
    FormatEntryDescription(text, count, position, total, program);
    return text;
}

TEST(AccessText, DescriptionGivesThePlaceAndTheProgramAndFitsItsBuffer) {
    EXPECT_EQ(Description(3, 12, L"notepad.exe"), L"3 of 12, notepad.exe");
    EXPECT_EQ(Description(1, 2, L""), L"1 of 2");
    EXPECT_EQ(Description(200, 200, L"a.exe"), L"200 of 200, a.exe");
    // "3 of 12, a.exe" is 14 characters: it fits 15, and is cut to fit 14 and 1.
    EXPECT_EQ(Description(3, 12, L"a.exe", 15), L"3 of 12, a.exe");
    EXPECT_EQ(Description(3, 12, L"a.exe", 14), L"3 of 12, a.ex");
    EXPECT_EQ(Description(3, 12, L"a.exe", 1), L"");
}

TEST(AccessText, ProgramNameIsThePathsLastPart) {
    EXPECT_STREQ(ProgramNameOfPath(L"C:\\Tools\\Zephtab\\zephtab.exe"), L"zephtab.exe");
    EXPECT_STREQ(ProgramNameOfPath(L"C:/a/b.exe"), L"b.exe");
    EXPECT_STREQ(ProgramNameOfPath(L"plain.exe"), L"plain.exe");
    EXPECT_STREQ(ProgramNameOfPath(L"C:\\folder\\"), L"");
    EXPECT_STREQ(ProgramNameOfPath(L""), L"");
}

TEST(AccessText, ChildIdsNameEntriesThenFiguresOfTheShownListOnly) {
    struct Case {
        int32_t childId;
        int listed;
        int figures;
        bool shown;
        AccessTarget target;
        int index;
    };
    const Case cases[] = {
        {0, 3, 0, true, ACCESS_SWITCHER, -1},
        {1, 3, 0, true, ACCESS_ENTRY, 0},
        {3, 3, 0, true, ACCESS_ENTRY, 2},
        {4, 3, 0, true, ACCESS_NO_SUCH, -1},
        {-1, 3, 0, true, ACCESS_NO_SUCH, -1},
        {INT32_MIN, 3, 10, true, ACCESS_NO_SUCH, -1},
        {INT32_MAX, 3, 10, true, ACCESS_NO_SUCH, -1},
        {INT32_MAX, INT32_MAX, 10, true, ACCESS_ENTRY, INT32_MAX - 1},
        {1, 0, 0, true, ACCESS_NO_SUCH, -1},
        {0, 3, 0, false, ACCESS_DISCONNECTED, -1},
        {2, 3, 0, false, ACCESS_DISCONNECTED, -1},
        // The panel's figures follow the entries; the entries keep their ids.
        {3, 3, 10, true, ACCESS_ENTRY, 2},
        {4, 3, 10, true, ACCESS_FIGURE, 0},
        {13, 3, 10, true, ACCESS_FIGURE, 9},
        {14, 3, 10, true, ACCESS_NO_SUCH, -1},
        {1, 0, 10, true, ACCESS_FIGURE, 0},
        {5, 3, 10, false, ACCESS_DISCONNECTED, -1},
    };
    for (const Case& c : cases) {
        const AccessChild child = ResolveAccessChild(c.childId, c.listed, c.figures, c.shown);
        EXPECT_EQ(child.target, c.target) << c.childId << " of " << c.listed << "+" << c.figures;
        EXPECT_EQ(child.index, c.index) << c.childId << " of " << c.listed << "+" << c.figures;
    }
    EXPECT_EQ(AccessChildIdOf(0), 1);
}

TEST(AccessText, FiguresReadWithoutTheirDrawnSpacingAndColon) {
    wchar_t name[8];
    EXPECT_EQ(FigureNameOf(name, 8, L"Window "), 6u);
    EXPECT_STREQ(name, L"Window");
    EXPECT_EQ(FigureNameOf(name, 8, L"Handles"), 7u); // full
    EXPECT_STREQ(name, L"Handles");
    EXPECT_EQ(FigureNameOf(name, 8, L"Priority"), 7u); // one over: cut
    EXPECT_STREQ(name, L"Priorit");
    EXPECT_EQ(FigureNameOf(name, 8, L"  "), 0u);
    EXPECT_STREQ(name, L"");
    EXPECT_STREQ(FigureValueOf(L": 3/12"), L"3/12");
    EXPECT_STREQ(FigureValueOf(L": - -"), L"- -");
    EXPECT_STREQ(FigureValueOf(L""), L"");
}

} // namespace
