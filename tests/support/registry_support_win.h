// Registry: values written, read and deleted, the stored settings record as a
// test wants it or as the store wrote it, and the traces a switcher start leaves.
#pragma once
#include <windows.h>

#include <vector>

#include "settings/options.h"

bool WriteRegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                        DWORD size, HKEY root = HKEY_CURRENT_USER);
bool ReadRegistryValue(const wchar_t* key, const wchar_t* name, DWORD* type,
                       std::vector<BYTE>* data, HKEY root = HKEY_CURRENT_USER);
bool DeleteRegistryValue(const wchar_t* key, const wchar_t* name);

// The default options record, and its "Options" bytes as the store writes them.
SwitcherOptions DefaultSwitcherOptions();
const std::vector<BYTE>& DefaultOptionsRecord();
// Stores raw "Options" bytes and a "Version" as a test wants them.
void StoreRawSettings(const std::vector<BYTE>& options, DWORD version = 258);
// Stores "MoreOptions" as a test wants it. The tests that step through the
// windows in stacking order store MoreOptionsAsBefore: the defaults with
// order ORDER_ZORDER, since by default the list follows recent use.
void StoreMoreOptions(const MoreOptions& more);
MoreOptions MoreOptionsAsBefore();
// The stored "Options" bytes, or an empty vector when there are none.
std::vector<BYTE> StoredOptionsBytes();
// The stored "Version" as a number, or 0 when there is none; type receives its registry type.
DWORD StoredVersion(DWORD* type = nullptr);
// Expects the settings key to hold these "Options" bytes as REG_BINARY and the
// "Version" REG_DWORD 258 (GoogleTest failures; a fatal one when a value is missing).
void ExpectStoredRecord(const std::vector<BYTE>& options);
bool SettingsKeyExists();
void DeleteSettingsKey();
// Removes what a switcher start writes: the settings and the Run value.
void RemoveSwitcherRegistryTraces();
