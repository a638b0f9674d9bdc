// zephtab-config's exclude and passThrough lists: added, listed, removed and
// shown; bad input refused without a write; a malformed stored value read for
// what is sound in it, its faults named, and nothing else overwritten.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_support_win.h"
#include "registry_support_win.h"
#include "settings/settings_store_win.h"

namespace {

std::vector<BYTE> StoredBytes(const wchar_t* value) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, value, &type, &data);
    return data;
}

class ConfigPatternLists : public ::testing::Test {
  protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(ConfigPatternLists, AddListRemoveAndShow) {
    EXPECT_EQ(RunConfig(L"exclude add \"*Overlay*.exe\" --no-such").exitCode, 1u);
    EXPECT_EQ(RunConfig(L"exclude add \"*Overlay*.exe\"").exitCode, 0u);
    EXPECT_EQ(RunConfig(L"passThrough add mstsc.exe").exitCode, 0u);
    EXPECT_EQ(RunConfig(L"EXCLUDE add *overlay*.EXE").exitCode, 0u); // already there: one entry
    CapturedRun listed = RunConfig(L"exclude list");
    EXPECT_EQ(listed.out, "*Overlay*.exe\n");
    CapturedRun shown = RunConfig(L"show");
    EXPECT_TRUE(Contains(shown.out, "exclude: 1 pattern(s)\n  *Overlay*.exe\n")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "passThrough: 1 pattern(s)\n  mstsc.exe\n")) << shown.out;
    CapturedRun json = RunConfig(L"show --json");
    EXPECT_TRUE(Contains(json.out, "\"passThrough\": {\"patterns\": [\"mstsc.exe\"]")) << json.out;
    const std::vector<BYTE> before = StoredBytes(ZEPHTAB_EXCLUDE_VALUE);
    CapturedRun missing = RunConfig(L"exclude remove notepad.exe");
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(Contains(missing.err, "notepad.exe is not in exclude")) << missing.err;
    EXPECT_EQ(RunConfig(L"exclude add \"\"").exitCode, 1u);
    EXPECT_EQ(StoredBytes(ZEPHTAB_EXCLUDE_VALUE), before);
    EXPECT_EQ(RunConfig(L"exclude remove *OVERLAY*.exe").exitCode, 0u);
    EXPECT_EQ(RunConfig(L"exclude list").out, "");
}

TEST_F(ConfigPatternLists, AMalformedValueIsReadForWhatIsSoundAndItsFaultsNamed) {
    // No list terminator, an empty entry and an entry of 261 characters.
    std::wstring text = std::wstring(L"a.exe") + L'\0' + L'\0' + L"b.exe" + L'\0' +
                        std::wstring(261, L'x') + L'\0' + L"c.exe";
    ASSERT_TRUE(WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, ZEPHTAB_PASS_THROUGH_VALUE, REG_MULTI_SZ,
                                   text.data(), static_cast<DWORD>(text.size() * 2)));
    const DWORD number = 7;
    ASSERT_TRUE(WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, ZEPHTAB_EXCLUDE_VALUE, REG_DWORD, &number,
                                   sizeof(number)));
    CapturedRun shown = RunConfig(L"show");
    EXPECT_EQ(shown.exitCode, 0u);
    EXPECT_TRUE(Contains(shown.out, "passThrough: 3 pattern(s)\n  a.exe\n  b.exe\n  c.exe\n"))
        << shown.out;
    for (const char* note : {"lacks its terminators", "empty entries are ignored",
                             "entries over 260 characters are ignored", "is not REG_MULTI_SZ"})
        EXPECT_TRUE(Contains(shown.out, note)) << note;
    CapturedRun json = RunConfig(L"show --json");
    EXPECT_TRUE(
        Contains(json.out, "\"exclude\": {\"patterns\": [], \"problems\": [\"wrongType\"]}"))
        << json.out;
    // Zephtab itself starts with the sound part and leaves both values as they are.
    const std::vector<BYTE> stored = StoredBytes(ZEPHTAB_PASS_THROUGH_VALUE);
    StartedProgram zephtab;
    ASSERT_TRUE(StartSwitcherProgram(&zephtab));
    EXPECT_NE(FindSwitcherWindow(), nullptr);
    CloseRunningSwitcher();
    WaitForExit(zephtab);
    EndProgram(zephtab);
    EXPECT_EQ(StoredBytes(ZEPHTAB_PASS_THROUGH_VALUE), stored);
    EXPECT_EQ(StoredBytes(ZEPHTAB_EXCLUDE_VALUE).size(), sizeof(number));
    RemoveSwitcherRegistryTraces();
}

} // namespace
