// What each byte of the options record and of the second value is called,
// what its values mean and what the settings tools show of them: the one table
// that the report, the command-line tool and the dialog all read, with the
// placement words, the dialog's placement grid and opacity slider, and the
// texts of a value. Portable; the program itself reads none of it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/options.h"
#include "settings/screen_position.h"

enum OptionKind {
    OPTION_ON_OFF,      // 0 off, any other value on
    OPTION_ALPHA,       // opacity of the switcher window
    OPTION_POSITION,    // placement code; codes above 8 open centred
    OPTION_STORED_FLAG, // kept and written back, read by nothing
    OPTION_CHOICE,      // one of a few words by code; codes past the last mean the first
};

// The registry value that holds a setting's byte.
enum OptionStore {
    IN_OPTIONS,      // the 11-byte record
    IN_MORE_OPTIONS, // the second value
};

// One value of a choice: its word for zephtab-config, what it means, and its dialog label.
struct OptionChoice {
    const char* word;
    const char* meaning;
    const wchar_t* label;
};

// One row per setting; its default is that byte of DEFAULT_OPTIONS or DEFAULT_MORE_OPTIONS.
struct OptionField {
    const char* name;  // as in the record or the second value
    OptionStore store; // which of the two holds it
    uint8_t offset;    // byte of that value
    OptionKind kind;
    // What the setting does, for the usage text; '\n' starts a continuation line.
    // For the placement and the choices it follows their words.
    const char* summary;
    const char* offMeaning;      // on/off fields: what 0 means
    const char* onMeaning;       // on/off fields: what any other value means
    const OptionChoice* choices; // choice fields: the values by code
    int choiceCount;
};

constexpr int OPTION_FIELD_COUNT = 18;
// The record's fields in byte order, then those of the second value.
extern const OptionField optionFields[OPTION_FIELD_COUNT];

// Both stored values, as the settings tools read, edit and store them.
struct StoredSettings {
    SwitcherOptions options;
    MoreOptions more;
};
void SetDefaultSettings(StoredSettings* settings);
// Lays what an editor changed (each byte where edited differs from what it started
// from) over the values stored now, so that a change made meanwhile elsewhere to
// another setting is kept.
void MergeEditedSettings(const StoredSettings& startedFrom, const StoredSettings& edited,
                         StoredSettings* storedNow);

uint8_t GetOptionByte(const StoredSettings* settings, int field);
void SetOptionByte(StoredSettings* settings, int field, uint8_t value);
uint8_t DefaultOptionByte(int field);
// The registry value of a store: "Options" or "MoreOptions".
const char* StoredValueName(OptionStore store);

struct PlacementName {
    const char* word;    // as zephtab-config accepts it, e.g. "upper-left"
    const char* meaning; // as the report says it, e.g. "upper left"
};
// By placement code, as screenPositions.
extern const PlacementName placementNames[POSITION_LAST + 1];
// The name of the placement a stored code opens at (codes above 8: the centre).
const PlacementName& PlacementNameOf(uint8_t positionCode);

// The 3 x 3 grid of placements, row by row from the upper left; codes above 8 show as the centre.
constexpr int PLACEMENT_CELL_COUNT = 9;
int PlacementCell(uint8_t positionCode);
uint8_t PlacementCode(int cell);
// The placement's word as a label, e.g. "Upper left".
void FormatPlacementLabel(uint8_t positionCode, wchar_t* out, size_t count);
// The opacity a slider from 50 to 255 shows for a stored value.
uint8_t SliderAlpha(uint8_t storedAlpha);

// Formatting into a fixed buffer: appends cut at its end, the text stays terminated.
struct TextSink {
    char* data;
    size_t count;
    size_t length;
};
TextSink StartText(char* out, size_t count);
void AppendText(TextSink* text, const char* format, ...) __attribute__((format(printf, 2, 3)));

// What the value means to the program, e.g. "upper left", "kept, not used".
void FormatOptionMeaning(int field, uint8_t value, char* out, size_t count);
// "screenPosition 4 (upper left)".
void FormatOptionLine(int field, uint8_t value, char* out, size_t count);
