#include "registry_support_win.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/identifiers.h"
#include "process_support_win.h"
#include "settings/settings_store_win.h"

bool WriteRegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                        DWORD size, HKEY root) {
    return RegSetKeyValueW(root, key, name, type, data, size) == ERROR_SUCCESS;
}

bool ReadRegistryValue(const wchar_t* key, const wchar_t* name, DWORD* type,
                       std::vector<BYTE>* data, HKEY root) {
    HKEY handle;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = RegQueryValueExW(handle, name, nullptr, type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data->assign(size, 0);
        result = RegQueryValueExW(handle, name, nullptr, type, data->data(), &size);
        data->resize(size);
    }
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool DeleteRegistryValue(const wchar_t* key, const wchar_t* name) {
    return RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name) == ERROR_SUCCESS;
}

SwitcherOptions DefaultSwitcherOptions() {
    SwitcherOptions record = {};
    SetDefaultOptions(&record);
    return record;
}

const std::vector<BYTE>& DefaultOptionsRecord() {
    static const std::vector<BYTE> record = {0x00, 0x01, 0x00, 0x01, 0x01, 0xFF,
                                             0x00, 0x00, 0x00, 0x00, 0x00};
    return record;
}

void StoreRawSettings(const std::vector<BYTE>& options, DWORD version) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_DWORD, &version, sizeof(version));
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", REG_BINARY, options.data(),
                       static_cast<DWORD>(options.size()));
}

std::vector<BYTE> StoredOptionsBytes() {
    DWORD type = 0;
    std::vector<BYTE> data;
    return ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", &type, &data) ? data
                                                                             : std::vector<BYTE>();
}

DWORD StoredVersion(DWORD* type) {
    DWORD storedType = 0;
    std::vector<BYTE> data;
    DWORD version = 0;
    if (ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", &storedType, &data))
        std::memcpy(&version, data.data(), data.size() < 4 ? data.size() : 4);
    if (type)
        *type = storedType;
    return version;
}

void ExpectStoredRecord(const std::vector<BYTE>& options) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, options);
    ASSERT_TRUE(ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(StoredVersion(), 258u);
}

void StoreMoreOptions(const MoreOptions& more) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, &more, sizeof(more));
}

MoreOptions MoreOptionsAsBefore() {
    MoreOptions more = DEFAULT_MORE_OPTIONS;
    more.typeToFilter = 0;
    more.sameProgramKey = 0;
    more.order = ORDER_ZORDER;
    return more;
}

bool SettingsKeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteSettingsKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY);
}

void RemoveSwitcherRegistryTraces() {
    DeleteSettingsKey();
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}
