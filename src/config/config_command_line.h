// The command line of zephtab-config and the texts it answers with: its
// usage, its complaints about bad input and its note after a reset. All of
// it comes from the options table. Portable; the program itself never reads
// a command line, so this lives with the tools.
#pragma once
#include <cstddef>
#include <cstdint>

#include "option_fields.h"

// Index of the field with this name (letter case ignored), or -1.
int FindOptionField(const char* name);

// Decimal 0 to 255, 0x hex 0x0 to 0xFF, on/off for on/off fields, the
// placement words for the position and the choice words for the choices.
// Returns false for anything else.
bool ParseOptionValue(int field, const char* text, uint8_t* value);
// The values a field accepts, for messages.
void FormatValidValues(int field, char* out, size_t count);
// "showProcessInfo, livePreview, ..., showToolbar".
void FormatValidNames(char* out, size_t count);

// The command line of zephtab-config, without the program name.
enum ConfigCommand {
    CONFIG_HELP,
    CONFIG_SHOW,
    CONFIG_GET,
    CONFIG_SET,
    CONFIG_RESET,
    CONFIG_RELOAD,
};

struct OptionChanges {
    bool given[OPTION_FIELD_COUNT];
    uint8_t value[OPTION_FIELD_COUNT];
};

struct ConfigRequest {
    ConfigCommand command;
    bool json;     // --json: show and get
    bool noReload; // --no-reload: set and reset
    int field;     // get
    OptionChanges changes;
};

enum ConfigProblem {
    CONFIG_OK,
    CONFIG_NO_COMMAND,
    CONFIG_UNKNOWN_COMMAND,
    CONFIG_UNKNOWN_FLAG,
    CONFIG_FLAG_NOT_FOR_COMMAND,
    CONFIG_MISSING_NAME, // get without a name
    CONFIG_EXTRA_ARGUMENT,
    CONFIG_NOTHING_TO_SET,
    CONFIG_MALFORMED_ASSIGNMENT, // not NAME=VALUE
    CONFIG_UNKNOWN_NAME,
    CONFIG_BAD_VALUE,
    CONFIG_NAME_TWICE,
};

struct ConfigParse {
    ConfigProblem problem;
    int argument; // index of the offending argument, or -1
    int field;    // the field concerned, or -1
};

ConfigParse ParseConfigCommandLine(int count, const char* const* arguments, ConfigRequest* request);
// A one-paragraph message naming the problem and what is valid instead.
void FormatConfigProblem(const ConfigParse& parse, int count, const char* const* arguments,
                         char* out, size_t outCount);
void ApplyOptionChanges(const OptionChanges* changes, StoredSettings* settings);
// Whether a set changes a field of this value: set writes only the values it changes.
bool ChangesStore(const OptionChanges* changes, OptionStore store);

constexpr size_t CONFIG_TEXT_CAPACITY = 1024;
constexpr size_t CONFIG_USAGE_CAPACITY = 4096;
// What --help prints: the commands, every setting with its default, the exit statuses.
void FormatConfigUsage(char* out, size_t count);
// What reset says it stored: the default record's bytes, the version and the second value.
void FormatDefaultsStored(char* out, size_t count);
