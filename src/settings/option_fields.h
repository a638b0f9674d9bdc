// What each byte of the options record is called, what its values mean, and
// how the settings tools read values and command lines. The program, the
// command-line tool and the dialog share this one table. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/options.h"

enum OptionKind {
    OPTION_ON_OFF,      // 0 off, any other value on
    OPTION_ALPHA,       // opacity of the switcher window
    OPTION_POSITION,    // placement code; codes above 8 open centred
    OPTION_STORED_FLAG, // kept and written back, read by nothing
};

struct OptionField {
    const char* name; // as in the record
    uint8_t offset;   // byte of the record
    OptionKind kind;
};

constexpr int OPTION_FIELD_COUNT = 11;
// In byte order.
extern const OptionField optionFields[OPTION_FIELD_COUNT];

// Index of the field with this name (letter case ignored), or -1.
int FindOptionField(const char* name);
uint8_t GetOptionByte(const SwitcherOptions* record, int field);
void SetOptionByte(SwitcherOptions* record, int field, uint8_t value);
uint8_t DefaultOptionByte(int field);

// Placement codes as the program reads them.
constexpr uint8_t POSITION_CENTRE = 0;
constexpr uint8_t POSITION_LAST = 8;
// The 3 x 3 grid of placements, row by row from the upper left; codes above 8 show as the centre.
constexpr int PLACEMENT_CELL_COUNT = 9;
int PlacementCell(uint8_t positionCode);
uint8_t PlacementCode(int cell);
// The opacity a slider from 50 to 255 shows for a stored value.
uint8_t SliderAlpha(uint8_t storedAlpha);

// What the value means to the program, e.g. "upper left", "kept, not used".
void FormatOptionMeaning(int field, uint8_t value, char* out, size_t count);
// "screenPosition 4 (upper left)".
void FormatOptionLine(int field, uint8_t value, char* out, size_t count);
// The values a field accepts, for messages and help.
void FormatValidValues(int field, char* out, size_t count);
// "showProcessInfo, livePreview, ..., showToolbar".
void FormatValidNames(char* out, size_t count);

// Decimal 0 to 255, 0x hex 0x0 to 0xFF, on/off for on/off fields, and the
// placement names for the position. Returns false for anything else.
bool ParseOptionValue(int field, const char* text, uint8_t* value);

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
void ApplyOptionChanges(const OptionChanges* changes, SwitcherOptions* record);

extern const char configUsageText[];

// Formatting into a fixed buffer: appends cut at its end, the text stays terminated.
struct TextSink {
    char* data;
    size_t count;
    size_t length;
};
TextSink StartText(char* out, size_t count);
void AppendText(TextSink* text, const char* format, ...) __attribute__((format(printf, 2, 3)));

constexpr size_t CONFIG_TEXT_CAPACITY = 1024;
