// The options store against the real (Wine) registry.
#include <gtest/gtest.h>

#include <cstring>

#include "registry_support_win.h"
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

TEST_F(SettingsStore, StartAtLogonValueIsTheBarePathWithItsTerminator) {
    const wchar_t path[] = L"C:\\Program Files\\Zephtab\\zephtab.exe";
    RegisterStartAtLogon(path);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(data.size(), sizeof(path));
    EXPECT_EQ(std::memcmp(data.data(), path, sizeof(path)), 0);
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

} // namespace
