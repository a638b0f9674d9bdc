#include "settings/option_fields.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

const OptionField optionFields[OPTION_FIELD_COUNT] = {
    {"showProcessInfo", offsetof(SwitcherOptions, showProcessInfo), OPTION_ON_OFF},
    {"livePreview", offsetof(SwitcherOptions, livePreview), OPTION_ON_OFF},
    {"stayOpenAfterAlt", offsetof(SwitcherOptions, stayOpenAfterAlt), OPTION_ON_OFF},
    {"storedFlag3", offsetof(SwitcherOptions, storedFlag3), OPTION_STORED_FLAG},
    {"storedFlag4", offsetof(SwitcherOptions, storedFlag4), OPTION_STORED_FLAG},
    {"switcherAlpha", offsetof(SwitcherOptions, switcherAlpha), OPTION_ALPHA},
    {"screenPosition", offsetof(SwitcherOptions, screenPosition), OPTION_POSITION},
    {"selectSecondOnOpen", offsetof(SwitcherOptions, selectSecondOnOpen), OPTION_ON_OFF},
    {"smallIcons", offsetof(SwitcherOptions, smallIcons), OPTION_ON_OFF},
    {"noAnimation", offsetof(SwitcherOptions, noAnimation), OPTION_ON_OFF},
    {"showToolbar", offsetof(SwitcherOptions, showToolbar), OPTION_ON_OFF},
};

namespace {

// What off and on do, by byte; empty for the fields that are not on/off.
const char* const kOffTexts[OPTION_FIELD_COUNT] = {
    "no process panel",
    "icon only",
    "closes when Alt is released",
    "",
    "",
    "",
    "",
    "first window selected",
    "32 x 32 icons",
    "animated",
    "toolbar hidden",
};
const char* const kOnTexts[OPTION_FIELD_COUNT] = {
    "process panel shown",
    "live preview",
    "stays open after Alt",
    "",
    "",
    "",
    "",
    "second window selected",
    "16 x 16 icons",
    "no animation",
    "toolbar shown",
};

// Placement names accepted on the command line, by code.
const char* const kPositionNames[POSITION_LAST + 1] = {
    "centre",     "upper", "lower",       "left",        "upper-left",
    "lower-left", "right", "upper-right", "lower-right",
};
const char* const kPositionMeanings[POSITION_LAST + 1] = {
    "centre",     "upper middle", "lower middle", "left middle", "upper left",
    "lower left", "right middle", "upper right",  "lower right",
};
// Codes of the 3 x 3 grid, row by row from the upper left.
const uint8_t kPlacementGrid[PLACEMENT_CELL_COUNT] = {4, 1, 7, 3, 0, 6, 5, 2, 8};
constexpr int kCentreCell = 4;

constexpr char kByteForms[] = "0 to 255 (decimal, or hex 0x00 to 0xFF)";
constexpr char kCommandList[] = "show, get NAME, set NAME=VALUE ..., reset, reload, --help";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return b[length] == '\0';
}

bool SameWord(const char* a, const char* b) {
    return SameWord(a, b, std::strlen(a));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Digits only, no sign or spaces; any number of leading zeros.
bool ParseByteNumber(const char* text, uint8_t* value) {
    int base = 10;
    if (text[0] == '0' && LowerAscii(text[1]) == 'x') {
        base = 16;
        text += 2;
    }
    if (*text == '\0')
        return false;
    unsigned number = 0;
    for (; *text; ++text) {
        int digit =
            base == 16 ? HexDigit(*text) : (*text >= '0' && *text <= '9' ? *text - '0' : -1);
        if (digit < 0)
            return false;
        number = number * base + static_cast<unsigned>(digit);
        if (number > 255)
            return false;
    }
    *value = static_cast<uint8_t>(number);
    return true;
}

bool ParsePositionName(const char* text, uint8_t* value) {
    for (int code = 0; code <= POSITION_LAST; ++code) {
        if (SameWord(text, kPositionNames[code])) {
            *value = static_cast<uint8_t>(code);
            return true;
        }
    }
    if (SameWord(text, "center")) {
        *value = POSITION_CENTRE;
        return true;
    }
    return false;
}

bool IsFlag(const char* argument) {
    return argument[0] == '-' || std::strcmp(argument, "/?") == 0;
}

bool IsHelpFlag(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
           std::strcmp(argument, "/?") == 0;
}

struct CommandName {
    const char* name;
    ConfigCommand command;
};
const CommandName kCommands[] = {
    {"show", CONFIG_SHOW},   {"get", CONFIG_GET},       {"set", CONFIG_SET},
    {"reset", CONFIG_RESET}, {"reload", CONFIG_RELOAD}, {"help", CONFIG_HELP},
};

bool FindCommand(const char* word, ConfigCommand* command) {
    for (const CommandName& entry : kCommands) {
        if (std::strcmp(word, entry.name) == 0) {
            *command = entry.command;
            return true;
        }
    }
    return false;
}

const char* CommandWord(ConfigCommand command) {
    for (const CommandName& entry : kCommands)
        if (entry.command == command)
            return entry.name;
    return "";
}

ConfigParse Problem(ConfigProblem problem, int argument, int field = -1) {
    return ConfigParse{problem, argument, field};
}

// One NAME=VALUE of set.
ConfigParse ParseAssignment(const char* argument, int index, OptionChanges* changes) {
    const char* equals = std::strchr(argument, '=');
    if (!equals || equals == argument)
        return Problem(CONFIG_MALFORMED_ASSIGNMENT, index);
    size_t nameLength = static_cast<size_t>(equals - argument);
    int field = -1;
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (SameWord(argument, optionFields[i].name, nameLength))
            field = i;
    if (field < 0)
        return Problem(CONFIG_UNKNOWN_NAME, index);
    if (changes->given[field])
        return Problem(CONFIG_NAME_TWICE, index, field);
    if (!ParseOptionValue(field, equals + 1, &changes->value[field]))
        return Problem(CONFIG_BAD_VALUE, index, field);
    changes->given[field] = true;
    return Problem(CONFIG_OK, -1);
}

ConfigParse ParseOperands(int count, const char* const* arguments, int commandIndex,
                          ConfigRequest* request) {
    int operands = 0;
    for (int i = commandIndex + 1; i < count; ++i) {
        if (IsFlag(arguments[i]))
            continue;
        ++operands;
        switch (request->command) {
        case CONFIG_GET:
            if (operands > 1)
                return Problem(CONFIG_EXTRA_ARGUMENT, i);
            request->field = FindOptionField(arguments[i]);
            if (request->field < 0)
                return Problem(CONFIG_UNKNOWN_NAME, i);
            break;
        case CONFIG_SET: {
            ConfigParse parse = ParseAssignment(arguments[i], i, &request->changes);
            if (parse.problem != CONFIG_OK)
                return parse;
            break;
        }
        default:
            return Problem(CONFIG_EXTRA_ARGUMENT, i);
        }
    }
    if (request->command == CONFIG_GET && operands == 0)
        return Problem(CONFIG_MISSING_NAME, commandIndex);
    if (request->command == CONFIG_SET && operands == 0)
        return Problem(CONFIG_NOTHING_TO_SET, commandIndex);
    return Problem(CONFIG_OK, -1);
}

bool FlagFitsCommand(const char* flag, ConfigCommand command) {
    if (std::strcmp(flag, "--json") == 0)
        return command == CONFIG_SHOW || command == CONFIG_GET;
    return command == CONFIG_SET || command == CONFIG_RESET; // --no-reload
}

} // namespace

TextSink StartText(char* out, size_t count) {
    if (count > 0)
        out[0] = '\0';
    return TextSink{out, count, 0};
}

void AppendText(TextSink* text, const char* format, ...) {
    if (text->count == 0 || text->length >= text->count - 1)
        return;
    va_list arguments;
    va_start(arguments, format);
    int written =
        std::vsnprintf(text->data + text->length, text->count - text->length, format, arguments);
    va_end(arguments);
    if (written < 0)
        return;
    size_t room = text->count - text->length - 1;
    text->length += static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room;
}

int FindOptionField(const char* name) {
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (SameWord(name, optionFields[i].name))
            return i;
    return -1;
}

uint8_t GetOptionByte(const SwitcherOptions* record, int field) {
    return reinterpret_cast<const uint8_t*>(record)[optionFields[field].offset];
}

void SetOptionByte(SwitcherOptions* record, int field, uint8_t value) {
    reinterpret_cast<uint8_t*>(record)[optionFields[field].offset] = value;
}

uint8_t DefaultOptionByte(int field) {
    SwitcherOptions defaults;
    SetDefaultOptions(&defaults);
    return GetOptionByte(&defaults, field);
}

int PlacementCell(uint8_t positionCode) {
    for (int cell = 0; cell < PLACEMENT_CELL_COUNT; ++cell)
        if (kPlacementGrid[cell] == positionCode)
            return cell;
    return kCentreCell;
}

uint8_t PlacementCode(int cell) {
    return cell >= 0 && cell < PLACEMENT_CELL_COUNT ? kPlacementGrid[cell] : POSITION_CENTRE;
}

uint8_t SliderAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? MIN_STARTUP_ALPHA : storedAlpha;
}

void FormatOptionMeaning(int field, uint8_t value, char* out, size_t count) {
    TextSink text = StartText(out, count);
    switch (optionFields[field].kind) {
    case OPTION_ON_OFF:
        AppendText(&text, value ? "on: %s" : "off: %s", value ? kOnTexts[field] : kOffTexts[field]);
        break;
    case OPTION_ALPHA:
        if (value == OPAQUE_ALPHA)
            AppendText(&text, "opaque");
        else if (value < MIN_STARTUP_ALPHA)
            AppendText(&text, "below 50: opaque at start-up, applied as is on reload");
        else
            AppendText(&text, "translucent, %u of 255", static_cast<unsigned>(value));
        break;
    case OPTION_POSITION:
        if (value <= POSITION_LAST)
            AppendText(&text, "%s", kPositionMeanings[value]);
        else
            AppendText(&text, "above 8: centre");
        break;
    case OPTION_STORED_FLAG:
        AppendText(&text, "kept, not used");
        break;
    }
}

void FormatOptionLine(int field, uint8_t value, char* out, size_t count) {
    char meaning[128];
    FormatOptionMeaning(field, value, meaning, sizeof(meaning));
    TextSink text = StartText(out, count);
    AppendText(&text, "%s %u (%s)", optionFields[field].name, static_cast<unsigned>(value),
               meaning);
}

void FormatValidValues(int field, char* out, size_t count) {
    TextSink text = StartText(out, count);
    switch (optionFields[field].kind) {
    case OPTION_ON_OFF:
        AppendText(&text, "on, off, or %s; 0 is off, any other value on", kByteForms);
        break;
    case OPTION_ALPHA:
        AppendText(&text, "%s; 255 is opaque, below 50 opens opaque at start-up", kByteForms);
        break;
    case OPTION_POSITION:
        for (int code = 0; code <= POSITION_LAST; ++code)
            AppendText(&text, "%s, ", kPositionNames[code]);
        AppendText(&text, "or a code %s; above 8 opens centred", kByteForms);
        break;
    case OPTION_STORED_FLAG:
        AppendText(&text, "%s", kByteForms);
        break;
    }
}

void FormatValidNames(char* out, size_t count) {
    TextSink text = StartText(out, count);
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        AppendText(&text, i ? ", %s" : "%s", optionFields[i].name);
}

bool ParseOptionValue(int field, const char* text, uint8_t* value) {
    switch (optionFields[field].kind) {
    case OPTION_ON_OFF:
        if (SameWord(text, "on")) {
            *value = 1;
            return true;
        }
        if (SameWord(text, "off")) {
            *value = 0;
            return true;
        }
        break;
    case OPTION_POSITION:
        if (ParsePositionName(text, value))
            return true;
        break;
    default:
        break;
    }
    return ParseByteNumber(text, value);
}

ConfigParse ParseConfigCommandLine(int count, const char* const* arguments,
                                   ConfigRequest* request) {
    std::memset(request, 0, sizeof(*request));
    request->field = -1;
    for (int i = 0; i < count; ++i) {
        if (IsHelpFlag(arguments[i])) {
            request->command = CONFIG_HELP;
            return Problem(CONFIG_OK, -1);
        }
    }
    int commandIndex = -1;
    for (int i = 0; i < count && commandIndex < 0; ++i)
        if (!IsFlag(arguments[i]))
            commandIndex = i;
    for (int i = 0; i < count; ++i) {
        if (!IsFlag(arguments[i]))
            continue;
        if (std::strcmp(arguments[i], "--json") == 0)
            request->json = true;
        else if (std::strcmp(arguments[i], "--no-reload") == 0)
            request->noReload = true;
        else
            return Problem(CONFIG_UNKNOWN_FLAG, i);
    }
    if (commandIndex < 0)
        return Problem(CONFIG_NO_COMMAND, -1);
    if (!FindCommand(arguments[commandIndex], &request->command))
        return Problem(CONFIG_UNKNOWN_COMMAND, commandIndex);
    for (int i = 0; i < count; ++i)
        if (IsFlag(arguments[i]) && !FlagFitsCommand(arguments[i], request->command))
            return Problem(CONFIG_FLAG_NOT_FOR_COMMAND, i);
    if (request->command == CONFIG_HELP) {
        for (int i = commandIndex + 1; i < count; ++i)
            if (!IsFlag(arguments[i]))
                return Problem(CONFIG_EXTRA_ARGUMENT, i);
        return Problem(CONFIG_OK, -1);
    }
    return ParseOperands(count, arguments, commandIndex, request);
}

void FormatConfigProblem(const ConfigParse& parse, int count, const char* const* arguments,
                         char* out, size_t outCount) {
    const char* argument =
        parse.argument >= 0 && parse.argument < count ? arguments[parse.argument] : "";
    char names[256];
    FormatValidNames(names, sizeof(names));
    TextSink text = StartText(out, outCount);
    switch (parse.problem) {
    case CONFIG_OK:
        break;
    case CONFIG_NO_COMMAND:
        AppendText(&text, "no command given. Commands: %s", kCommandList);
        break;
    case CONFIG_UNKNOWN_COMMAND:
        AppendText(&text, "unknown command '%s'. Commands: %s", argument, kCommandList);
        break;
    case CONFIG_UNKNOWN_FLAG:
        AppendText(&text,
                   "unknown option '%s'. Options: --json (show, get), --no-reload (set, reset), "
                   "--help",
                   argument);
        break;
    case CONFIG_FLAG_NOT_FOR_COMMAND: {
        ConfigCommand command = CONFIG_HELP;
        for (int i = 0; i < count; ++i)
            if (!IsFlag(arguments[i]) && FindCommand(arguments[i], &command))
                break;
        AppendText(&text, "option '%s' does not go with '%s'; %s", argument, CommandWord(command),
                   std::strcmp(argument, "--json") == 0 ? "--json goes with show and get"
                                                        : "--no-reload goes with set and reset");
        break;
    }
    case CONFIG_MISSING_NAME:
        AppendText(&text, "get needs one setting name. Settings: %s", names);
        break;
    case CONFIG_EXTRA_ARGUMENT:
        AppendText(&text, "unexpected argument '%s'. Commands: %s", argument, kCommandList);
        break;
    case CONFIG_NOTHING_TO_SET:
        AppendText(&text, "nothing to set: give one or more NAME=VALUE. Settings: %s", names);
        break;
    case CONFIG_MALFORMED_ASSIGNMENT:
        AppendText(&text, "'%s' is not NAME=VALUE (for example switcherAlpha=200). Settings: %s",
                   argument, names);
        break;
    case CONFIG_UNKNOWN_NAME: {
        const char* equals = std::strchr(argument, '=');
        int length =
            equals ? static_cast<int>(equals - argument) : static_cast<int>(std::strlen(argument));
        AppendText(&text, "unknown setting '%.*s'. Settings: %s", length, argument, names);
        break;
    }
    case CONFIG_BAD_VALUE: {
        char values[CONFIG_TEXT_CAPACITY / 2];
        FormatValidValues(parse.field, values, sizeof(values));
        const char* equals = std::strchr(argument, '=');
        AppendText(&text, "bad value '%s' for %s. Values: %s", equals ? equals + 1 : "",
                   optionFields[parse.field].name, values);
        break;
    }
    case CONFIG_NAME_TWICE:
        AppendText(&text, "%s is given twice; give each setting once",
                   optionFields[parse.field].name);
        break;
    }
}

void ApplyOptionChanges(const OptionChanges* changes, SwitcherOptions* record) {
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (changes->given[i])
            SetOptionByte(record, i, changes->value[i]);
}

const char configUsageText[] =
    "zephtab-config: shows and changes the settings of Zephtab, the Alt+Tab window switcher.\n"
    "The settings are one 11-byte record in the registry, HKEY_CURRENT_USER\\Software\\Varnok\\"
    "Toolvex\\Zephtab\n"
    "(\"Options\" and \"Version\"); a running Zephtab takes in changes when it is sent the\n"
    "reload message.\n"
    "\n"
    "Usage:\n"
    "  zephtab-config show [--json]       every setting with its value, default and meaning,\n"
    "                                     the stored \"Version\", and whether Zephtab runs;\n"
    "                                     writes nothing\n"
    "  zephtab-config get NAME [--json]   one setting\n"
    "  zephtab-config set NAME=VALUE ... [--no-reload]\n"
    "                                     stores the whole record with these changes and tells\n"
    "                                     a running Zephtab to reload it\n"
    "  zephtab-config reset [--no-reload] stores the defaults and tells Zephtab to reload\n"
    "  zephtab-config reload              only tells a running Zephtab to reload\n"
    "  zephtab-config --help              this text\n"
    "\n"
    "Settings, in byte order (default in brackets):\n"
    "  showProcessInfo     on/off [off]   process information panel\n"
    "  livePreview         on/off [on]    live image of the selected window\n"
    "  stayOpenAfterAlt    on/off [off]   the switcher stays open when Alt is released\n"
    "  storedFlag3         0-255  [1]     kept in the record, not used\n"
    "  storedFlag4         0-255  [1]     kept in the record, not used\n"
    "  switcherAlpha       0-255  [255]   opacity; 255 opaque; below 50 opens opaque at\n"
    "                                     start-up but is applied as is on reload\n"
    "  screenPosition      place  [centre] centre, upper, lower, left, upper-left,\n"
    "                                     lower-left, right, upper-right, lower-right, or code\n"
    "                                     0-8 (above 8 opens centred)\n"
    "  selectSecondOnOpen  on/off [off]   select the second window on opening\n"
    "  smallIcons          on/off [off]   16 x 16 icons instead of 32 x 32\n"
    "  noAnimation         on/off [off]   show and hide at once, without the animation\n"
    "  showToolbar         on/off [off]   the window adjustment toolbar\n"
    "Values: on or off for on/off settings, the placement names for screenPosition, or any\n"
    "byte as decimal 0 to 255 or hex 0x00 to 0xFF. Names and words ignore letter case.\n"
    "\n"
    "Exit status: 0 done; 1 bad command line (nothing written); 2 the registry could not be\n"
    "read or written; 3 Zephtab is not running (reload) or did not answer the reload.\n";
