#include "settings/settings_store_win.h"

#include <cstring>

#include "base/count_of.h"
#include "resources/vendor.h"
#include "settings/run_command.h"

size_t programPathCount = MAX_PROGRAM_PATH;

namespace {

HKEY OpenOrCreateKey(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY OpenExistingKey(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void ShowStoreError(const wchar_t* text) {
    MessageBoxW(nullptr, text, ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_CAPTION), MB_OK);
}

} // namespace

StoreReadResult ReadStoredOptions(SwitcherOptions* record, DWORD* version, bool readOnly) {
    *version = 0;
    HKEY key =
        readOnly ? OpenExistingKey(ZEPHTAB_SETTINGS_KEY) : OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return STORE_NO_KEY;
    // Only the stored bytes land in the zeroed number, so a 2-byte 02 01 reads as 258.
    DWORD size = sizeof(*version);
    StoreReadResult result = STORE_LOADED;
    if (RegQueryValueExW(key, L"Version", nullptr, nullptr, reinterpret_cast<BYTE*>(version),
                         &size) != ERROR_SUCCESS) {
        *version = 0;
        result = STORE_NO_VERSION;
    } else if (*version < OPTIONS_VERSION) {
        result = STORE_OLD_VERSION;
    } else {
        size = sizeof(*record);
        if (RegQueryValueExW(key, L"Options", nullptr, nullptr, reinterpret_cast<BYTE*>(record),
                             &size) != ERROR_SUCCESS)
            result = STORE_NO_OPTIONS;
    }
    RegCloseKey(key);
    return result;
}

StoreWriteResult WriteStoredOptions(const SwitcherOptions* record) {
    HKEY key = OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return STORE_KEY_FAILED;
    DWORD version = OPTIONS_VERSION;
    LONG optionsWritten = RegSetValueExW(key, L"Options", 0, REG_BINARY,
                                         reinterpret_cast<const BYTE*>(record), sizeof(*record));
    LONG versionWritten = RegSetValueExW(key, L"Version", 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&version), sizeof(version));
    RegCloseKey(key);
    return optionsWritten == ERROR_SUCCESS && versionWritten == ERROR_SUCCESS ? STORE_WRITTEN
                                                                              : STORE_WRITE_FAILED;
}

namespace {

// The stored bytes of "MoreOptions" as they are, up to a size no layout comes near.
struct StoredMoreBytes {
    uint8_t bytes[256];
    DWORD size;
    DWORD type;
    LONG queried;
};

void QueryMoreOptionsBytes(HKEY key, StoredMoreBytes* stored) {
    stored->size = sizeof(stored->bytes);
    stored->type = REG_NONE;
    stored->queried =
        RegQueryValueExW(key, L"MoreOptions", nullptr, &stored->type, stored->bytes, &stored->size);
}

} // namespace

MoreOptionsReadResult ReadStoredMoreOptions(MoreOptions* more, bool readOnly) {
    HKEY key =
        readOnly ? OpenExistingKey(ZEPHTAB_SETTINGS_KEY) : OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return MORE_OPTIONS_NO_KEY;
    StoredMoreBytes stored;
    QueryMoreOptionsBytes(key, &stored);
    RegCloseKey(key);
    if (stored.queried == ERROR_FILE_NOT_FOUND)
        return MORE_OPTIONS_MISSING;
    if (stored.queried != ERROR_SUCCESS)
        return MORE_OPTIONS_MALFORMED;
    MoreOptions read;
    switch (ReadMoreOptionsBytes(stored.bytes, stored.size, stored.type == REG_BINARY, &read)) {
    case MORE_LAYOUT_CURRENT:
        *more = read;
        return MORE_OPTIONS_LOADED;
    case MORE_LAYOUT_OLDER:
        *more = read;
        return MORE_OPTIONS_OLDER;
    case MORE_LAYOUT_NEWER:
        *more = read;
        return MORE_OPTIONS_NEWER;
    case MORE_LAYOUT_UNUSABLE:
        break;
    }
    return MORE_OPTIONS_MALFORMED;
}

StoreWriteResult WriteStoredMoreOptions(const MoreOptions* more) {
    HKEY key = OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return STORE_KEY_FAILED;
    // A value of a later layout keeps its layout and the bytes this program does not
    // know: only the settings it knows are written over it.
    StoredMoreBytes stored;
    QueryMoreOptionsBytes(key, &stored);
    MoreOptions read;
    const bool newer = stored.queried == ERROR_SUCCESS &&
                       ReadMoreOptionsBytes(stored.bytes, stored.size, stored.type == REG_BINARY,
                                            &read) == MORE_LAYOUT_NEWER;
    if (!newer) {
        stored.size = sizeof(*more);
        stored.bytes[0] = MORE_OPTIONS_LAYOUT;
    } else if (stored.size < sizeof(*more)) {
        stored.size = sizeof(*more);
    }
    std::memcpy(stored.bytes + 1, reinterpret_cast<const uint8_t*>(more) + 1, sizeof(*more) - 1);
    // One write of the whole value: a reader sees the old bytes or the new ones.
    LONG written = RegSetValueExW(key, L"MoreOptions", 0, REG_BINARY, stored.bytes, stored.size);
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? STORE_WRITTEN : STORE_WRITE_FAILED;
}

void LoadMoreOptions(MoreOptions* more) {
    switch (ReadStoredMoreOptions(more, false)) {
    case MORE_OPTIONS_LOADED:
    case MORE_OPTIONS_NEWER: // a newer copy of the program wrote it: left as it is
        return;
    case MORE_OPTIONS_OLDER:
        break;
    case MORE_OPTIONS_NO_KEY:
    case MORE_OPTIONS_MISSING:
    case MORE_OPTIONS_MALFORMED:
        *more = DEFAULT_MORE_OPTIONS;
        break;
    }
    WriteStoredMoreOptions(more);
}

void SaveOptions(const SwitcherOptions* record) {
    if (WriteStoredOptions(record) == STORE_KEY_FAILED)
        ShowStoreError(L"Error Saving Settings");
}

void LoadOptions(SwitcherOptions* record) {
    DWORD version = 0;
    if (ReadStoredOptions(record, &version, false) == STORE_LOADED)
        return;
    SetDefaultOptions(record);
    SaveOptions(record);
}

void RegisterStartAtLogon(const wchar_t* path) {
    wchar_t command[MAX_RUN_COMMAND];
    const size_t length = QuoteProgramPath(command, CountOf(command), path);
    if (length == 0)
        return; // an empty or cut command would start nothing, or something else
    HKEY key = OpenOrCreateKey(ZEPHTAB_RUN_KEY);
    if (!key) {
        ShowStoreError(L"Error setting Startup Settings");
        return;
    }
    const DWORD bytes = static_cast<DWORD>(length + 1) * static_cast<DWORD>(sizeof(wchar_t));
    RegSetValueExW(key, ZEPHTAB_RUN_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                   bytes);
    RegCloseKey(key);
}

void RenewStartAtLogon(HWND window) {
    wchar_t path[MAX_PROGRAM_PATH];
    const DWORD count =
        static_cast<DWORD>(programPathCount < CountOf(path) ? programPathCount : CountOf(path));
    HMODULE program = reinterpret_cast<HMODULE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const DWORD length = GetModuleFileNameW(program, path, count);
    // A path that fills the buffer was cut: the value that is there stays.
    if (length == 0 || length >= count)
        return;
    RegisterStartAtLogon(path);
}

namespace {

PatternValueType PatternTypeOf(DWORD type) {
    if (type == REG_MULTI_SZ)
        return PATTERN_VALUE_MULTI_SZ;
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return PATTERN_VALUE_SZ;
    return PATTERN_VALUE_OTHER;
}

uint8_t patternValueBuffer[MAX_PATTERN_VALUE_BYTES];

} // namespace

unsigned ReadStoredPatternList(const wchar_t* valueName, ProgramPatternList* list, bool readOnly,
                               bool* present) {
    list->count = 0;
    *present = false;
    HKEY key =
        readOnly ? OpenExistingKey(ZEPHTAB_SETTINGS_KEY) : OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof(patternValueBuffer);
    uint8_t* bytes = patternValueBuffer;
    LONG queried = RegQueryValueExW(key, valueName, nullptr, &type, bytes, &size);
    // A value too long for a full list is still read for its first patterns.
    if (queried == ERROR_MORE_DATA) {
        bytes = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size));
        queried = bytes ? RegQueryValueExW(key, valueName, nullptr, &type, bytes, &size)
                        : ERROR_OUTOFMEMORY;
    }
    RegCloseKey(key);
    unsigned problems = 0;
    if (queried == ERROR_SUCCESS) {
        *present = true;
        problems = ReadPatternList(bytes, size, PatternTypeOf(type), list);
        if (size > MAX_PATTERN_VALUE_BYTES)
            problems |= PATTERNS_TOO_MANY;
    } else if (queried != ERROR_FILE_NOT_FOUND) {
        *present = true;
        problems = PATTERNS_WRONG_TYPE; // there, but not readable at all
    }
    if (bytes && bytes != patternValueBuffer)
        HeapFree(GetProcessHeap(), 0, bytes);
    return problems;
}

StoreWriteResult WriteStoredPatternList(const wchar_t* valueName, const ProgramPatternList& list) {
    const size_t size = WritePatternList(list, patternValueBuffer, sizeof(patternValueBuffer));
    if (size == 0)
        return STORE_WRITE_FAILED;
    HKEY key = OpenOrCreateKey(ZEPHTAB_SETTINGS_KEY);
    if (!key)
        return STORE_KEY_FAILED;
    LONG written = RegSetValueExW(key, valueName, 0, REG_MULTI_SZ, patternValueBuffer,
                                  static_cast<DWORD>(size));
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? STORE_WRITTEN : STORE_WRITE_FAILED;
}

void LoadProgramPatterns() {
    bool present = false;
    ReadStoredPatternList(ZEPHTAB_EXCLUDE_VALUE, &excludePatterns, true, &present);
    ReadStoredPatternList(ZEPHTAB_PASS_THROUGH_VALUE, &passThroughPatterns, true, &present);
}

void RemoveStartAtLogon(HWND window) {
    wchar_t path[MAX_PROGRAM_PATH];
    HMODULE program = reinterpret_cast<HMODULE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const DWORD length = GetModuleFileNameW(program, path, static_cast<DWORD>(CountOf(path)));
    if (length == 0 || length >= CountOf(path))
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ZEPHTAB_RUN_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      &key) != ERROR_SUCCESS)
        return; // no Run key: nothing of ours to remove
    // One unit more than the longest command of ours: a longer value is someone else's.
    wchar_t command[MAX_RUN_COMMAND + 1] = {};
    DWORD size = sizeof(command) - sizeof(wchar_t);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, ZEPHTAB_RUN_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(command),
                         &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && IsRunCommandOfProgram(command, path))
        RegDeleteValueW(key, ZEPHTAB_RUN_VALUE);
    RegCloseKey(key);
}
