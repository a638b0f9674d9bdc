#include "option_report.h"

#include "option_fields.h"

namespace {

constexpr char kReplacedText[] = "Zephtab replaces the record with these defaults when it next "
                                 "loads it";

const char* MoreStoreStateName(MoreStoreState store) {
    switch (store) {
    case MORE_STATE_VALID:
        return "present";
    case MORE_STATE_OLDER:
        return "older-layout";
    case MORE_STATE_NEWER:
        return "newer-layout";
    case MORE_STATE_ABSENT:
        return "absent";
    case MORE_STATE_MALFORMED:
        return "malformed";
    }
    return "";
}

const char* StoreStateName(StoreState store) {
    switch (store) {
    case STORE_STATE_VALID:
        return "present";
    case STORE_STATE_SHORT_OPTIONS:
        return "short-options";
    case STORE_STATE_ABSENT:
        return "absent";
    case STORE_STATE_UNREADABLE:
        return "unreadable";
    case STORE_STATE_NO_VERSION:
        return "no-version";
    case STORE_STATE_OLD_VERSION:
        return "old-version";
    case STORE_STATE_NO_OPTIONS:
        return "no-options";
    }
    return "";
}

bool HasVersion(StoreState store) {
    return store == STORE_STATE_VALID || store == STORE_STATE_SHORT_OPTIONS ||
           store == STORE_STATE_OLD_VERSION || store == STORE_STATE_NO_OPTIONS;
}

// The two-character escapes JSON has; nullptr for every other byte.
const char* ShortJsonEscape(unsigned char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    }
    return nullptr;
}

// The members of one field's object, without its closing brace.
void AppendFieldJson(TextSink* text, int field, uint8_t value) {
    char meaning[128];
    FormatOptionMeaning(field, value, meaning, sizeof(meaning));
    AppendText(text, "{\"in\": \"%s\", \"byte\": %u, \"name\": ",
               StoredValueName(optionFields[field].store),
               static_cast<unsigned>(optionFields[field].offset));
    AppendJsonString(text, optionFields[field].name);
    AppendText(text,
               ", \"value\": %u, \"default\": %u, \"meaning\": ", static_cast<unsigned>(value),
               static_cast<unsigned>(DefaultOptionByte(field)));
    AppendJsonString(text, meaning);
}

} // namespace

void AppendJsonString(TextSink* text, const char* value) {
    AppendText(text, "\"");
    for (const char* c = value; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (const char* escape = ShortJsonEscape(byte))
            AppendText(text, "%s", escape);
        else if (byte < 0x20)
            AppendText(text, "\\u%04x", static_cast<unsigned>(byte));
        else
            AppendText(text, "%c", *c);
    }
    AppendText(text, "\"");
}

bool ReportShowsDefaults(StoreState store) {
    return store != STORE_STATE_VALID && store != STORE_STATE_SHORT_OPTIONS;
}

bool MoreStoreShowsDefaults(MoreStoreState store) {
    return store == MORE_STATE_ABSENT || store == MORE_STATE_MALFORMED;
}

bool FieldShowsDefault(const SettingsReport& report, int field) {
    return optionFields[field].store == IN_OPTIONS ? ReportShowsDefaults(report.store)
                                                   : MoreStoreShowsDefaults(report.moreStore);
}

void FormatMoreStoreState(MoreStoreState store, char* out, size_t count) {
    TextSink text = StartText(out, count);
    switch (store) {
    case MORE_STATE_VALID:
        AppendText(&text, "present");
        break;
    case MORE_STATE_OLDER:
        AppendText(&text, "present, of layout 1; the later settings show their defaults, which "
                          "Zephtab adds when it next loads the settings");
        break;
    case MORE_STATE_NEWER:
        AppendText(&text, "present, of a later layout than this version knows; it shows and "
                          "changes only the settings it knows and keeps the rest");
        break;
    case MORE_STATE_ABSENT:
        AppendText(&text, "not stored yet; these are the defaults Zephtab stores when it next "
                          "loads the settings");
        break;
    case MORE_STATE_MALFORMED:
        AppendText(&text, "not a value of a layout Zephtab writes; Zephtab replaces it with these "
                          "defaults when it next loads the settings");
        break;
    }
}

void FormatStoreState(const SettingsReport& report, char* out, size_t count) {
    TextSink text = StartText(out, count);
    switch (report.store) {
    case STORE_STATE_VALID:
        AppendText(&text, "present, \"Version\" %u", static_cast<unsigned>(report.version));
        break;
    case STORE_STATE_SHORT_OPTIONS:
        AppendText(&text,
                   "present, \"Version\" %u; \"Options\" has only %u of 11 bytes, the others are "
                   "shown as defaults (Zephtab reads them as 0 at start-up and keeps its own on "
                   "reload)",
                   static_cast<unsigned>(report.version),
                   static_cast<unsigned>(report.storedLength));
        break;
    case STORE_STATE_ABSENT:
        AppendText(&text,
                   "nothing stored yet; these are the defaults Zephtab stores when it starts");
        break;
    case STORE_STATE_UNREADABLE:
        AppendText(&text, "the key cannot be opened; showing the defaults");
        break;
    case STORE_STATE_NO_VERSION:
        AppendText(&text, "\"Version\" is missing or wider than 4 bytes; %s", kReplacedText);
        break;
    case STORE_STATE_OLD_VERSION:
        AppendText(&text, "\"Version\" %u is below 258; %s", static_cast<unsigned>(report.version),
                   kReplacedText);
        break;
    case STORE_STATE_NO_OPTIONS:
        AppendText(&text, "\"Options\" is missing or wider than 11 bytes; %s", kReplacedText);
        break;
    }
}

void FormatShowText(const SettingsReport& report, char* out, size_t count) {
    char store[512];
    FormatStoreState(report, store, sizeof(store));
    char moreStore[256];
    FormatMoreStoreState(report.moreStore, moreStore, sizeof(moreStore));
    TextSink text = StartText(out, count);
    AppendText(&text, "Zephtab settings in %s\n", ZEPHTAB_SETTINGS_KEY_NAME);
    AppendText(&text, "Store:   %s\n", store);
    AppendText(&text, "More:    \"MoreOptions\" %s\n", moreStore);
    AppendText(&text, "Zephtab: %s\n", report.running ? "running" : "not running");
    AppendText(&text, "byte  name                value  default  meaning\n");
    for (int field = 0; field < OPTION_FIELD_COUNT; ++field) {
        if (field > 0 && optionFields[field].store != optionFields[field - 1].store)
            AppendText(&text, "in \"%s\":\n", StoredValueName(optionFields[field].store));
        uint8_t value = GetOptionByte(&report.settings, field);
        char meaning[128];
        FormatOptionMeaning(field, value, meaning, sizeof(meaning));
        AppendText(&text, "%4u  %-18s  %5u  %7u  %s\n",
                   static_cast<unsigned>(optionFields[field].offset), optionFields[field].name,
                   static_cast<unsigned>(value), static_cast<unsigned>(DefaultOptionByte(field)),
                   meaning);
    }
}

void FormatShowJson(const SettingsReport& report, char* out, size_t count) {
    TextSink text = StartText(out, count);
    AppendText(&text, "{\n  \"key\": ");
    AppendJsonString(&text, ZEPHTAB_SETTINGS_KEY_NAME);
    AppendText(&text, ",\n  \"store\": \"%s\",\n", StoreStateName(report.store));
    if (HasVersion(report.store))
        AppendText(&text, "  \"version\": %u,\n", static_cast<unsigned>(report.version));
    else
        AppendText(&text, "  \"version\": null,\n");
    if (report.store == STORE_STATE_SHORT_OPTIONS)
        AppendText(&text, "  \"storedBytes\": %u,\n", static_cast<unsigned>(report.storedLength));
    AppendText(&text, "  \"defaults\": %s,\n",
               ReportShowsDefaults(report.store) ? "true" : "false");
    AppendText(&text, "  \"moreStore\": \"%s\",\n", MoreStoreStateName(report.moreStore));
    AppendText(&text, "  \"moreDefaults\": %s,\n",
               MoreStoreShowsDefaults(report.moreStore) ? "true" : "false");
    AppendText(&text, "  \"running\": %s,\n", report.running ? "true" : "false");
    AppendText(&text, "  \"fields\": [\n");
    for (int field = 0; field < OPTION_FIELD_COUNT; ++field) {
        AppendText(&text, "    ");
        AppendFieldJson(&text, field, GetOptionByte(&report.settings, field));
        AppendText(&text, field + 1 < OPTION_FIELD_COUNT ? "},\n" : "}\n");
    }
    AppendText(&text, "  ]\n}\n");
}

void FormatGetText(int field, uint8_t value, char* out, size_t count) {
    char line[256];
    FormatOptionLine(field, value, line, sizeof(line));
    TextSink text = StartText(out, count);
    AppendText(&text, "%s\n", line);
}

void FormatGetJson(int field, uint8_t value, bool defaults, char* out, size_t count) {
    TextSink text = StartText(out, count);
    AppendFieldJson(&text, field, value);
    AppendText(&text, ", \"defaults\": %s}\n", defaults ? "true" : "false");
}
