#include "config_command_line.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace {

constexpr char kByteForms[] = "0 to 255 (decimal, or hex 0x00 to 0xFF)";
constexpr char kCommandList[] = "show, get NAME, set NAME=VALUE ..., reset, reload, --help";
// Where the meanings of the settings start in the usage, and how many placement words a line holds.
constexpr int kUsageIndent = 37;
constexpr int kUsageWordsPerLine = 5;

constexpr char kUsageHead[] =
    "zephtab-config: shows and changes the settings of Zephtab, the Alt+Tab window switcher.\n"
    "The settings are two values in the registry, " ZEPHTAB_SETTINGS_KEY_NAME "\n"
    "(\"Options\", an 11-byte record, with \"Version\"; and \"MoreOptions\"); a running\n"
    "Zephtab takes in changes when it is sent the reload message.\n"
    "\n"
    "Usage:\n"
    "  zephtab-config show [--json]       every setting with its value, default and meaning,\n"
    "                                     the stored \"Version\", and whether Zephtab runs;\n"
    "                                     writes nothing\n"
    "  zephtab-config get NAME [--json]   one setting\n"
    "  zephtab-config set NAME=VALUE ... [--no-reload]\n"
    "                                     stores the values these changes are in (the whole\n"
    "                                     record, \"MoreOptions\" or both) and tells a running\n"
    "                                     Zephtab to reload them\n"
    "  zephtab-config reset [--no-reload] stores the defaults of both values and tells Zephtab\n"
    "                                     to reload\n"
    "  zephtab-config reload              only tells a running Zephtab to reload\n"
    "  zephtab-config --help              this text\n"
    "\n"
    "Settings, in byte order (default in brackets):\n";
constexpr char kUsageMoreOptions[] =
    "In \"MoreOptions\", which older copies of Zephtab do not read:\n";
constexpr char kUsageTail[] =
    "Values: on or off for on/off settings, the words shown for the others, or any byte as\n"
    "decimal 0 to 255 or hex 0x00 to 0xFF. Names and words ignore letter case.\n"
    "\n"
    "Exit status: 0 done; 1 bad command line (nothing written); 2 the registry could not be\n"
    "read or written; 3 Zephtab is not running (reload) or did not answer the reload.\n";

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

// Digits only, no sign or spaces; any number of leading zeros.
bool ParseByteNumber(const char* text, uint8_t* value) {
    int base = 10;
    if (text[0] == '0' && LowerAscii(text[1]) == 'x') {
        base = 16;
        text += 2;
    }
    const char* end = text + std::strlen(text);
    uint8_t number = 0;
    std::from_chars_result parsed = std::from_chars(text, end, number, base);
    if (parsed.ec != std::errc() || parsed.ptr != end)
        return false;
    *value = number;
    return true;
}

bool ParsePositionWord(const char* text, uint8_t* value) {
    for (uint8_t code = 0; code <= POSITION_LAST; ++code) {
        if (SameWord(text, placementNames[code].word)) {
            *value = code;
            return true;
        }
    }
    if (SameWord(text, "center")) {
        *value = POSITION_CENTRE;
        return true;
    }
    return false;
}

bool ParseChoiceWord(int field, const char* text, uint8_t* value) {
    const OptionField& row = optionFields[field];
    for (int code = 0; code < row.choiceCount; ++code) {
        if (SameWord(text, row.choices[code].word)) {
            *value = static_cast<uint8_t>(code);
            return true;
        }
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

// How the usage names the values a kind takes.
const char* UsageForm(OptionKind kind) {
    switch (kind) {
    case OPTION_ON_OFF:
        return "on/off";
    case OPTION_POSITION:
        return "place";
    case OPTION_CHOICE:
        return "choice";
    default:
        return "0-255";
    }
}

void FormatDefaultWord(int field, char* out, size_t count) {
    uint8_t value = DefaultOptionByte(field);
    TextSink text = StartText(out, count);
    switch (optionFields[field].kind) {
    case OPTION_ON_OFF:
        AppendText(&text, "[%s]", value ? "on" : "off");
        break;
    case OPTION_POSITION:
        AppendText(&text, "[%s]", PlacementNameOf(value).word);
        break;
    case OPTION_CHOICE:
        AppendText(&text, "[%s]", optionFields[field].choices[value].word);
        break;
    case OPTION_ALPHA:
    case OPTION_STORED_FLAG:
        AppendText(&text, "[%u]", static_cast<unsigned>(value));
        break;
    }
}

void AppendUsageLineBreak(TextSink* text) {
    AppendText(text, "\n%*s", kUsageIndent, "");
}

// "  screenPosition      place  [centre] centre, upper, ...": name, values, default, meaning.
void AppendUsageSetting(TextSink* text, int field) {
    const OptionField& row = optionFields[field];
    char defaultWord[24];
    FormatDefaultWord(field, defaultWord, sizeof(defaultWord));
    AppendText(text, "  %-18s  %-6s %-7s ", row.name, UsageForm(row.kind), defaultWord);
    if (row.kind == OPTION_POSITION) {
        for (int code = 0; code <= POSITION_LAST; ++code) {
            AppendText(text, "%s,", placementNames[code].word);
            if ((code + 1) % kUsageWordsPerLine == 0)
                AppendUsageLineBreak(text);
            else
                AppendText(text, " ");
        }
    }
    // "primary, pointer or foreground: ..."
    for (int code = 0; code < row.choiceCount; ++code) {
        const char* separator = code + 2 < row.choiceCount    ? ", "
                                : code + 2 == row.choiceCount ? " or "
                                                              : ": ";
        AppendText(text, "%s%s", row.choices[code].word, separator);
    }
    for (const char* c = row.summary; *c; ++c) {
        if (*c == '\n')
            AppendUsageLineBreak(text);
        else
            AppendText(text, "%c", *c);
    }
    AppendText(text, "\n");
}

} // namespace

int FindOptionField(const char* name) {
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (SameWord(name, optionFields[i].name))
            return i;
    return -1;
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
        for (const PlacementName& position : placementNames)
            AppendText(&text, "%s, ", position.word);
        AppendText(&text, "or a code %s; above 8 opens centred", kByteForms);
        break;
    case OPTION_STORED_FLAG:
        AppendText(&text, "%s", kByteForms);
        break;
    case OPTION_CHOICE: {
        const OptionField& row = optionFields[field];
        for (int code = 0; code < row.choiceCount; ++code)
            AppendText(&text, "%s, ", row.choices[code].word);
        AppendText(&text, "or a code %s; above %d counts as %s", kByteForms, row.choiceCount - 1,
                   row.choices[0].word);
        break;
    }
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
        if (ParsePositionWord(text, value))
            return true;
        break;
    case OPTION_CHOICE:
        if (ParseChoiceWord(field, text, value))
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

void ApplyOptionChanges(const OptionChanges* changes, StoredSettings* settings) {
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (changes->given[i])
            SetOptionByte(settings, i, changes->value[i]);
}

bool ChangesStore(const OptionChanges* changes, OptionStore store) {
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (changes->given[i] && optionFields[i].store == store)
            return true;
    return false;
}

void FormatConfigUsage(char* out, size_t count) {
    TextSink text = StartText(out, count);
    AppendText(&text, "%s", kUsageHead);
    for (int field = 0; field < OPTION_FIELD_COUNT; ++field) {
        if (field > 0 && optionFields[field].store != optionFields[field - 1].store)
            AppendText(&text, "%s", kUsageMoreOptions);
        AppendUsageSetting(&text, field);
    }
    AppendText(&text, "%s", kUsageTail);
}

void FormatDefaultsStored(char* out, size_t count) {
    TextSink text = StartText(out, count);
    AppendText(&text, "Stored the defaults:");
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&DEFAULT_OPTIONS);
    for (size_t i = 0; i < sizeof(DEFAULT_OPTIONS); ++i)
        AppendText(&text, " %02X", static_cast<unsigned>(bytes[i]));
    AppendText(&text, ", \"Version\" %u, \"MoreOptions\"", static_cast<unsigned>(OPTIONS_VERSION));
    const uint8_t* more = reinterpret_cast<const uint8_t*>(&DEFAULT_MORE_OPTIONS);
    for (size_t i = 0; i < sizeof(DEFAULT_MORE_OPTIONS); ++i)
        AppendText(&text, " %02X", static_cast<unsigned>(more[i]));
    AppendText(&text, ".\n");
}
