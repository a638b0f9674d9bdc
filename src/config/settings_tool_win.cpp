#include "settings_tool_win.h"

#include "base/identifiers.h"
#include "settings/settings_store_win.h"

namespace {

// Long enough for a reload that redraws the background, short enough not to hang a script.
constexpr UINT kReloadTimeoutMs = 5000;

StoreState StateOfRead(StoreReadResult result) {
    switch (result) {
    case STORE_LOADED:
        return STORE_STATE_VALID;
    case STORE_NO_KEY:
        return STORE_STATE_ABSENT;
    case STORE_NO_VERSION:
        return STORE_STATE_NO_VERSION;
    case STORE_OLD_VERSION:
        return STORE_STATE_OLD_VERSION;
    case STORE_NO_OPTIONS:
        return STORE_STATE_NO_OPTIONS;
    }
    return STORE_STATE_UNREADABLE;
}

// Read-only looks: the tools never create or repair the store.
enum StoreKeyPresence {
    STORE_KEY_ABSENT,
    STORE_KEY_PRESENT,
    STORE_KEY_UNREADABLE, // there, but it cannot be opened for reading
};

LONG OpenSettingsKeyToRead(HKEY* key) {
    return RegOpenKeyExW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY, 0, KEY_READ, key);
}

StoreKeyPresence LookAtSettingsKey() {
    HKEY key = nullptr;
    LONG opened = OpenSettingsKeyToRead(&key);
    if (opened == ERROR_SUCCESS) {
        RegCloseKey(key);
        return STORE_KEY_PRESENT;
    }
    return opened == ERROR_FILE_NOT_FOUND || opened == ERROR_PATH_NOT_FOUND ? STORE_KEY_ABSENT
                                                                            : STORE_KEY_UNREADABLE;
}

// Size in bytes of a value of the settings key; false when the key or the value is missing.
bool StoredValueSize(const wchar_t* name, DWORD* bytes) {
    *bytes = 0;
    HKEY key = nullptr;
    if (OpenSettingsKeyToRead(&key) != ERROR_SUCCESS)
        return false;
    LONG queried = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, bytes);
    RegCloseKey(key);
    return queried == ERROR_SUCCESS;
}

} // namespace

StoreState ReadOptionsForEditing(SwitcherOptions* record, DWORD* version, DWORD* storedLength) {
    SetDefaultOptions(record);
    *version = 0;
    *storedLength = 0;
    switch (LookAtSettingsKey()) {
    case STORE_KEY_ABSENT:
        return STORE_STATE_ABSENT;
    case STORE_KEY_UNREADABLE:
        return STORE_STATE_UNREADABLE;
    case STORE_KEY_PRESENT:
        break;
    }
    StoreState state = StateOfRead(ReadStoredOptions(record, version, true));
    if (state != STORE_STATE_VALID) {
        // A failed read may have left part of a value behind.
        SetDefaultOptions(record);
        return state;
    }
    DWORD length = 0;
    if (StoredValueSize(L"Options", &length) && length < sizeof(SwitcherOptions)) {
        *storedLength = length;
        return STORE_STATE_SHORT_OPTIONS;
    }
    return STORE_STATE_VALID;
}

MoreStoreState ReadMoreOptionsForEditing(MoreOptions* more) {
    *more = DEFAULT_MORE_OPTIONS;
    switch (ReadStoredMoreOptions(more, true)) {
    case MORE_OPTIONS_LOADED:
        return MORE_STATE_VALID;
    case MORE_OPTIONS_OLDER:
        return MORE_STATE_OLDER;
    case MORE_OPTIONS_NEWER:
        return MORE_STATE_NEWER;
    case MORE_OPTIONS_MALFORMED:
        return MORE_STATE_MALFORMED;
    case MORE_OPTIONS_NO_KEY:
    case MORE_OPTIONS_MISSING:
        break;
    }
    return MORE_STATE_ABSENT;
}

void GatherSettingsReport(SettingsReport* report) {
    DWORD version = 0;
    DWORD storedLength = 0;
    report->store = ReadOptionsForEditing(&report->settings.options, &version, &storedLength);
    report->moreStore = ReadMoreOptionsForEditing(&report->settings.more);
    report->version = version;
    report->storedLength = storedLength;
    report->running = FindRunningZephtab() != nullptr;
}

HWND FindRunningZephtab() {
    return FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr);
}

ReloadOutcome SendReloadToZephtab() {
    HWND window = FindRunningZephtab();
    if (!window)
        return RELOAD_NOT_RUNNING;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_RELOAD_OPTIONS, 0, 0, SMTO_ABORTIFHUNG, kReloadTimeoutMs,
                             &answer))
        return RELOAD_NO_ANSWER;
    return answer == 1 ? RELOAD_ANSWERED : RELOAD_NO_ANSWER;
}
