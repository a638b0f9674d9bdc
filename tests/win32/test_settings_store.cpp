// The options store against the real (Wine) registry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/run_command.h"
#include "registry_support_win.h"
#include "window_support_win.h"
#include "settings/settings_store_win.h"

namespace {

const std::vector<BYTE>& kDefaults = DefaultOptionsRecord();

std::vector<BYTE> RecordBytes(const SwitcherOptions& record) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    return std::vector<BYTE>(bytes, bytes + sizeof(record));
}

void StoreVersion(DWORD version) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_DWORD, &version, sizeof(version));
}

void StoreOptions(const std::vector<BYTE>& bytes, DWORD type = REG_BINARY) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", type, bytes.data(),
                       static_cast<DWORD>(bytes.size()));
}

const std::vector<BYTE> kCustom = {1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 1};

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(SettingsStore, FirstLoadStoresAndUsesTheDefaults) {
    SwitcherOptions record = {};
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kDefaults);
    ExpectStoredRecord(kDefaults);
}

TEST_F(SettingsStore, VersionDecidesWhetherTheStoredRecordIsRead) {
    struct Case {
        DWORD version;
        bool accepted;
    } cases[] = {{257, false}, {258, true}, {259, true}, {0xFFFFFFFF, true}, {0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        DeleteSettingsKey();
        StoreVersion(c.version);
        StoreOptions(kCustom);
        SwitcherOptions record = {};
        LoadOptions(&record);
        if (c.accepted) {
            EXPECT_EQ(RecordBytes(record), kCustom);
        } else {
            EXPECT_EQ(RecordBytes(record), kDefaults);
            ExpectStoredRecord(kDefaults);
        }
    }
}

TEST_F(SettingsStore, NarrowVersionLandsInTheZeroedNumberAndWideOneFails) {
    const BYTE twoBytes[] = {0x02, 0x01};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_BINARY, twoBytes, 2);
    StoreOptions(kCustom);
    SwitcherOptions record = {};
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kCustom);

    const BYTE fiveBytes[] = {0x02, 0x01, 0, 0, 0};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_BINARY, fiveBytes, 5);
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kDefaults);
    ExpectStoredRecord(kDefaults);
}

TEST_F(SettingsStore, MissingVersionOrOptionsAreReplacedByDefaults) {
    StoreOptions(kCustom);
    SwitcherOptions record = {};
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kDefaults);
    ExpectStoredRecord(kDefaults);

    DeleteSettingsKey();
    StoreVersion(258);
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kDefaults);
    ExpectStoredRecord(kDefaults);
}

TEST_F(SettingsStore, TwelveByteOptionsAreReplacedByDefaults) {
    StoreVersion(258);
    std::vector<BYTE> twelve = kCustom;
    twelve.push_back(0x42);
    StoreOptions(twelve);
    SwitcherOptions record = {};
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), kDefaults);
    ExpectStoredRecord(kDefaults);
}

TEST_F(SettingsStore, ShortOptionsFillOnlyTheirOwnBytes) {
    StoreVersion(258);
    StoreOptions({9, 8, 7, 6, 5});
    SwitcherOptions fresh = {};
    LoadOptions(&fresh);
    EXPECT_EQ(RecordBytes(fresh), (std::vector<BYTE>{9, 8, 7, 6, 5, 0, 0, 0, 0, 0, 0}));

    // On a reload the bytes past the stored value keep their earlier values.
    SwitcherOptions reloaded;
    std::memcpy(&reloaded, kCustom.data(), sizeof(reloaded));
    LoadOptions(&reloaded);
    EXPECT_EQ(RecordBytes(reloaded), (std::vector<BYTE>{9, 8, 7, 6, 5, 200, 4, 1, 1, 1, 1}));
}

TEST_F(SettingsStore, OptionsStoredAsDwordFillTheFirstFourBytes) {
    StoreVersion(258);
    const DWORD value = 0x04030201;
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", REG_DWORD, &value, sizeof(value));
    SwitcherOptions record = {};
    LoadOptions(&record);
    EXPECT_EQ(RecordBytes(record), (std::vector<BYTE>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsStore, ReadOnlyLookCreatesNothing) {
    SwitcherOptions record = {};
    DWORD version = 1;
    EXPECT_EQ(ReadStoredOptions(&record, &version, true), STORE_NO_KEY);
    HKEY key;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY, 0, KEY_READ, &key),
              ERROR_SUCCESS);
}

std::vector<BYTE> StoredMoreOptions(DWORD* type) {
    std::vector<BYTE> data;
    *type = REG_NONE;
    ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", type, &data);
    return data;
}

std::vector<BYTE> MoreOptionsBytes(const MoreOptions& more) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&more);
    return std::vector<BYTE>(bytes, bytes + sizeof(more));
}

const std::vector<BYTE> kMoreDefaults = {2, 0, 0, 1, 1, 0, 1, 1};

// This layout is read as stored and left alone, layout 1 is rewritten in this layout
// with the later settings at their defaults, and a later layout is never rewritten.
TEST_F(SettingsStore, SecondValueIsReadByItsLayout) {
    const struct {
        const char* what;
        std::vector<BYTE> stored, read, storedAfter;
    } cases[] = {
        {"this layout",
         {2, 2, 1, 0, 0, 1, 0, 0},
         {2, 2, 1, 0, 0, 1, 0, 0},
         {2, 2, 1, 0, 0, 1, 0, 0}},
        {"layout 1", {1, 2, 1}, {2, 2, 1, 1, 1, 0, 1, 1}, {2, 2, 1, 1, 1, 0, 1, 1}},
        {"a later layout",
         {3, 1, 1, 0, 0, 1, 0, 0, 7},
         {3, 1, 1, 0, 0, 1, 0, 0},
         {3, 1, 1, 0, 0, 1, 0, 0, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteSettingsKey();
        StoreVersion(258);
        StoreOptions(kCustom);
        WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, c.stored.data(),
                           static_cast<DWORD>(c.stored.size()));
        MoreOptions more = {};
        LoadMoreOptions(&more);
        EXPECT_EQ(MoreOptionsBytes(more), c.read);
        DWORD type = REG_NONE;
        EXPECT_EQ(StoredMoreOptions(&type), c.storedAfter);
        ExpectStoredRecord(kCustom);
    }
    // A change written over a later layout keeps its layout and the bytes it added.
    MoreOptions more = {};
    LoadMoreOptions(&more);
    more.openOn = OPEN_ON_FOREGROUND;
    EXPECT_EQ(WriteStoredMoreOptions(&more), STORE_WRITTEN);
    DWORD type = REG_NONE;
    EXPECT_EQ(StoredMoreOptions(&type), (std::vector<BYTE>{3, 2, 1, 0, 0, 1, 0, 0, 7}));
}

// Each repair writes the defaults of its own value and leaves the other value as it was.
TEST_F(SettingsStore, MissingOrMalformedSecondValueIsReplacedByItsDefaultsAlone) {
    const struct {
        const char* what;
        std::vector<BYTE> bytes; // empty: no value
        DWORD type;
    } cases[] = {
        {"missing", {}, REG_BINARY},
        {"two bytes", {1, 2}, REG_BINARY},
        {"four bytes", {1, 2, 1, 0}, REG_BINARY},
        {"empty", {}, REG_NONE},
        {"layout 0", {0, 2, 1}, REG_BINARY},
        {"layout 2", {2, 2, 1}, REG_BINARY},
        {"a number", {1, 2, 1, 0}, REG_DWORD},
        {"not binary", {1, 2, 1}, REG_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteSettingsKey();
        StoreVersion(258);
        StoreOptions(kCustom);
        if (!c.bytes.empty() || c.type != REG_BINARY)
            WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", c.type, c.bytes.data(),
                               static_cast<DWORD>(c.bytes.size()));
        MoreOptions more = DEFAULT_MORE_OPTIONS;
        more.openOn = OPEN_ON_FOREGROUND;
        LoadMoreOptions(&more);
        EXPECT_EQ(MoreOptionsBytes(more), kMoreDefaults);
        DWORD type = REG_NONE;
        EXPECT_EQ(StoredMoreOptions(&type), kMoreDefaults);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        ExpectStoredRecord(kCustom);
    }

    // And a repair of the record leaves the second value as stored.
    DeleteSettingsKey();
    const BYTE stored[] = {1, 1, 1};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, stored, sizeof(stored));
    SwitcherOptions record = {};
    LoadOptions(&record);
    ExpectStoredRecord(kDefaults);
    DWORD type = REG_NONE;
    EXPECT_EQ(StoredMoreOptions(&type), (std::vector<BYTE>{1, 1, 1}));
}

TEST_F(SettingsStore, ReadOnlyLookAtTheSecondValueWritesNothing) {
    MoreOptions more = DEFAULT_MORE_OPTIONS;
    EXPECT_EQ(ReadStoredMoreOptions(&more, true), MORE_OPTIONS_NO_KEY);
    StoreVersion(258);
    EXPECT_EQ(ReadStoredMoreOptions(&more, true), MORE_OPTIONS_MISSING);
    const BYTE malformed[] = {0, 9};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, malformed, 2);
    EXPECT_EQ(ReadStoredMoreOptions(&more, true), MORE_OPTIONS_MALFORMED);
    EXPECT_EQ(MoreOptionsBytes(more), kMoreDefaults);
    DWORD type = REG_NONE;
    EXPECT_EQ(StoredMoreOptions(&type), (std::vector<BYTE>{0, 9}));
}

// The stored value with its terminator, as RegSetValueExW got it; empty when missing.
std::wstring StoredRunValue() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, &type, &data) || type != REG_SZ)
        return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
}

TEST_F(SettingsStore, StartAtLogonValueIsTheQuotedPathOrStaysWhenThePathDoesNotFit) {
    const std::wstring earlier = L"\"C:\\Earlier\\zephtab.exe\"";
    const std::wstring spaced = L"C:\\Program Files\\Zephtab\\zephtab.exe";
    const std::wstring longest(MAX_PROGRAM_PATH - 1, L'x');
    const struct {
        std::wstring path;
        std::wstring stored;
    } cases[] = {
        {spaced, L"\"" + spaced + L"\""},
        {longest, L"\"" + longest + L"\""},
        {longest + L"x", earlier},
        {L"", earlier},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.size());
        WriteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, REG_SZ, earlier.c_str(),
                           static_cast<DWORD>((earlier.size() + 1) * sizeof(wchar_t)));
        RegisterStartAtLogon(c.path.c_str());
        EXPECT_EQ(StoredRunValue(), c.stored + L'\0');
    }
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

// The program's own path, read whole or not at all: one cut at the buffer's
// end names another program, so the value stays as it was.
TEST_F(SettingsStore, RenewingLeavesTheValueWhenTheProgramPathIsCut) {
    wchar_t path[MAX_PATH];
    const size_t length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    HWND window = CreateTestWindow(L"program path", WS_POPUP);
    const std::wstring earlier = L"\"C:\\Earlier\\zephtab.exe\"";
    const struct {
        size_t count;
        std::wstring stored;
    } cases[] = {
        {length + 1, L"\"" + std::wstring(path) + L"\""}, // just fits
        {length, earlier},                                // cut by one
        {4, earlier},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        WriteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, REG_SZ, earlier.c_str(),
                           static_cast<DWORD>((earlier.size() + 1) * sizeof(wchar_t)));
        programPathCount = c.count;
        RenewStartAtLogon(window);
        EXPECT_EQ(StoredRunValue(), c.stored + L'\0');
    }
    programPathCount = MAX_PROGRAM_PATH;
    DestroyWindow(window);
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

} // namespace
