// The Run key's command: the path quoted whole, or nothing at all.
#include <gtest/gtest.h>

#include <string>

#include "settings/run_command.h"

namespace {

TEST(RunCommand, QuotesThePathOrWritesNothingWhenItDoesNotFitWhole) {
    const std::wstring spaced = L"C:\\Shared Tools\\Zephtab\\zephtab.exe";
    const struct {
        std::wstring path;
        size_t count;
        std::wstring command;
    } cases[] = {
        {spaced, 64, L"\"" + spaced + L"\""},
        {spaced, spaced.size() + 3, L"\"" + spaced + L"\""}, // exactly full
        {spaced, spaced.size() + 2, L""},                    // one short: never cut
        {L"a", 4, L"\"a\""},
        {L"", 64, L""},
        {std::wstring(MAX_PROGRAM_PATH - 1, L'x'), MAX_RUN_COMMAND,
         L"\"" + std::wstring(MAX_PROGRAM_PATH - 1, L'x') + L"\""},
        {std::wstring(MAX_PROGRAM_PATH, L'x'), MAX_RUN_COMMAND, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.size());
        std::wstring buffer(c.count + 1, L'?');
        EXPECT_EQ(QuoteProgramPath(&buffer[0], c.count, c.path.c_str()), c.command.size());
        EXPECT_EQ(std::wstring(buffer.c_str()), c.command);
        EXPECT_EQ(buffer[c.count], L'?'); // nothing written past the buffer
    }
    wchar_t none[1] = {L'?'};
    EXPECT_EQ(QuoteProgramPath(none, 0, L"a"), 0u);
    EXPECT_EQ(none[0], L'?');
}

} // namespace
