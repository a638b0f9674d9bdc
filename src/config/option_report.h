// The texts zephtab-config prints for show and get, as plain text and as
// JSON. Portable: the caller gathers the facts from the registry and the
// desktop.
#pragma once
#include <cstddef>
#include <cstdint>

#include "option_fields.h"
#include "settings/options.h"

// What a read-only look at the store found.
enum StoreState {
    STORE_STATE_VALID,
    STORE_STATE_SHORT_OPTIONS, // valid, but "Options" has fewer than 11 bytes
    STORE_STATE_ABSENT,        // nothing stored yet
    STORE_STATE_UNREADABLE,    // the key exists but cannot be opened
    STORE_STATE_NO_VERSION,    // "Version" missing or wider than 4 bytes
    STORE_STATE_OLD_VERSION,   // "Version" below 258
    STORE_STATE_NO_OPTIONS,    // "Options" missing or wider than 11 bytes
};

// What a read-only look at the second value found.
enum MoreStoreState {
    MORE_STATE_VALID,
    MORE_STATE_OLDER,  // layout 1: the later settings at their defaults until Zephtab rewrites it
    MORE_STATE_NEWER,  // a later layout, written by a newer Zephtab: read for what this one knows
    MORE_STATE_ABSENT, // no "MoreOptions" (or no key)
    MORE_STATE_MALFORMED, // another type, or a size its layout does not have
};

struct SettingsReport {
    // The stored values, or for each value that is not usable the defaults Zephtab would store.
    StoredSettings settings;
    StoreState store;
    MoreStoreState moreStore;
    uint32_t version;      // the stored "Version", 0 when there is none
    uint32_t storedLength; // bytes of "Options" when it is short
    bool running;
};

// Whether the record shown is the defaults rather than stored values.
bool ReportShowsDefaults(StoreState store);
// Whether the second value shown is the defaults rather than stored values.
bool MoreStoreShowsDefaults(MoreStoreState store);
// The same for the value that holds this field.
bool FieldShowsDefault(const SettingsReport& report, int field);
// A one-line description of the store, e.g. "present, \"Version\" 258".
void FormatStoreState(const SettingsReport& report, char* out, size_t count);
// The same for the second value, e.g. "present".
void FormatMoreStoreState(MoreStoreState store, char* out, size_t count);

constexpr size_t REPORT_TEXT_CAPACITY = 4096;
void FormatShowText(const SettingsReport& report, char* out, size_t count);
void FormatShowJson(const SettingsReport& report, char* out, size_t count);
void FormatGetText(int field, uint8_t value, char* out, size_t count);
// defaults: nothing valid is stored in the field's value, so it is the one Zephtab would store.
void FormatGetJson(int field, uint8_t value, bool defaults, char* out, size_t count);
// A JSON string: quote, backslash and control characters escaped, UTF-8 as it is.
void AppendJsonString(TextSink* text, const char* value);
