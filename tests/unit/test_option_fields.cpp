#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/option_fields.h"

namespace {

std::string Meaning(const char* name, uint8_t value) {
    char text[128];
    FormatOptionMeaning(FindOptionField(name), value, text, sizeof(text));
    return text;
}

std::string Line(const char* name, uint8_t value) {
    char text[128];
    FormatOptionLine(FindOptionField(name), value, text, sizeof(text));
    return text;
}

struct Parsed {
    ConfigParse parse;
    ConfigRequest request;
    std::string message;
};

Parsed Parse(std::vector<const char*> arguments) {
    Parsed result;
    result.parse = ParseConfigCommandLine(static_cast<int>(arguments.size()), arguments.data(),
                                          &result.request);
    char message[CONFIG_TEXT_CAPACITY];
    FormatConfigProblem(result.parse, static_cast<int>(arguments.size()), arguments.data(), message,
                        sizeof(message));
    result.message = message;
    return result;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(OptionFields, TableFollowsTheRecordInByteOrder) {
    const char* const names[] = {"showProcessInfo", "livePreview",        "stayOpenAfterAlt",
                                 "storedFlag3",     "storedFlag4",        "switcherAlpha",
                                 "screenPosition",  "selectSecondOnOpen", "smallIcons",
                                 "noAnimation",     "showToolbar"};
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i) {
        EXPECT_STREQ(optionFields[i].name, names[i]);
        EXPECT_EQ(optionFields[i].offset, i);
        EXPECT_EQ(FindOptionField(names[i]), i);
    }
    EXPECT_EQ(optionFields[3].kind, OPTION_STORED_FLAG);
    EXPECT_EQ(optionFields[5].kind, OPTION_ALPHA);
    EXPECT_EQ(optionFields[6].kind, OPTION_POSITION);
    EXPECT_EQ(optionFields[10].kind, OPTION_ON_OFF);
}

TEST(OptionFields, NamesIgnoreLetterCaseButNotSpelling) {
    EXPECT_EQ(FindOptionField("SWITCHERALPHA"), 5);
    EXPECT_EQ(FindOptionField("showtoolbar"), 10);
    EXPECT_EQ(FindOptionField("showToolbars"), -1);
    EXPECT_EQ(FindOptionField("showToolba"), -1);
    EXPECT_EQ(FindOptionField(""), -1);
}

TEST(OptionFields, BytesAreReadAndWrittenAtTheirOffsets) {
    SwitcherOptions record;
    std::memset(&record, 0, sizeof(record));
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        SetOptionByte(&record, i, static_cast<uint8_t>(10 + i));
    EXPECT_EQ(record.showProcessInfo, 10);
    EXPECT_EQ(record.switcherAlpha, 15);
    EXPECT_EQ(record.showToolbar, 20);
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        EXPECT_EQ(GetOptionByte(&record, i), 10 + i);
}

TEST(OptionFields, DefaultsComeFromTheProgramsDefaultRecord) {
    const uint8_t expected[OPTION_FIELD_COUNT] = {0, 1, 0, 1, 1, 255, 0, 0, 0, 0, 0};
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        EXPECT_EQ(DefaultOptionByte(i), expected[i]) << optionFields[i].name;
}

TEST(OptionFields, MeaningsTellWhatTheProgramDoesWithTheValue) {
    EXPECT_EQ(Line("screenPosition", 4), "screenPosition 4 (upper left)");
    EXPECT_EQ(Line("switcherAlpha", 40),
              "switcherAlpha 40 (below 50: opaque at start-up, applied as is on reload)");
    EXPECT_EQ(Line("storedFlag3", 1), "storedFlag3 1 (kept, not used)");
    EXPECT_EQ(Meaning("switcherAlpha", 255), "opaque");
    EXPECT_EQ(Meaning("switcherAlpha", 50), "translucent, 50 of 255");
    EXPECT_EQ(Meaning("switcherAlpha", 49),
              "below 50: opaque at start-up, applied as is on reload");
    EXPECT_EQ(Meaning("switcherAlpha", 0), "below 50: opaque at start-up, applied as is on reload");
    EXPECT_EQ(Meaning("showToolbar", 0), "off: toolbar hidden");
    EXPECT_EQ(Meaning("showToolbar", 7), "on: toolbar shown");
    EXPECT_EQ(Meaning("noAnimation", 1), "on: no animation");
    EXPECT_EQ(Meaning("storedFlag4", 200), "kept, not used");
}

TEST(OptionFields, EveryPlacementCodeHasItsMeaning) {
    const char* const meanings[] = {"centre",       "upper middle", "lower middle",
                                    "left middle",  "upper left",   "lower left",
                                    "right middle", "upper right",  "lower right"};
    for (int code = 0; code <= 8; ++code)
        EXPECT_EQ(Meaning("screenPosition", static_cast<uint8_t>(code)), meanings[code]);
    EXPECT_EQ(Meaning("screenPosition", 9), "above 8: centre");
    EXPECT_EQ(Meaning("screenPosition", 255), "above 8: centre");
}

TEST(OptionFields, ValueFormsAcceptedByKind) {
    const struct {
        const char* name;
        const char* text;
        bool valid;
        uint8_t value;
    } cases[] = {
        {"switcherAlpha", "0", true, 0},
        {"switcherAlpha", "255", true, 255},
        {"switcherAlpha", "120", true, 120},
        {"switcherAlpha", "007", true, 7},
        {"switcherAlpha", "0x0", true, 0},
        {"switcherAlpha", "0xff", true, 255},
        {"switcherAlpha", "0XFF", true, 255},
        {"switcherAlpha", "0x00Fe", true, 254},
        {"switcherAlpha", "256", false, 0},
        {"switcherAlpha", "1000", false, 0},
        {"switcherAlpha", "99999999999999999999", false, 0},
        {"switcherAlpha", "0x100", false, 0},
        {"switcherAlpha", "0x", false, 0},
        {"switcherAlpha", "", false, 0},
        {"switcherAlpha", "-1", false, 0},
        {"switcherAlpha", "+1", false, 0},
        {"switcherAlpha", " 1", false, 0},
        {"switcherAlpha", "1 ", false, 0},
        {"switcherAlpha", "12a", false, 0},
        {"switcherAlpha", "0xg", false, 0},
        {"switcherAlpha", "on", false, 0},
        {"switcherAlpha", "centre", false, 0},
        {"showToolbar", "on", true, 1},
        {"showToolbar", "off", true, 0},
        {"showToolbar", "ON", true, 1},
        {"showToolbar", "Off", true, 0},
        {"showToolbar", "2", true, 2},
        {"showToolbar", "0x0", true, 0},
        {"showToolbar", "yes", false, 0},
        {"showToolbar", "onn", false, 0},
        {"showToolbar", "o", false, 0},
        {"showToolbar", "upper", false, 0},
        {"storedFlag3", "0x7f", true, 127},
        {"storedFlag3", "on", false, 0},
        {"screenPosition", "centre", true, 0},
        {"screenPosition", "center", true, 0},
        {"screenPosition", "upper", true, 1},
        {"screenPosition", "lower", true, 2},
        {"screenPosition", "left", true, 3},
        {"screenPosition", "upper-left", true, 4},
        {"screenPosition", "lower-left", true, 5},
        {"screenPosition", "right", true, 6},
        {"screenPosition", "upper-right", true, 7},
        {"screenPosition", "Lower-Right", true, 8},
        {"screenPosition", "9", true, 9},
        {"screenPosition", "upper left", false, 0},
        {"screenPosition", "upperleft", false, 0},
        {"screenPosition", "on", false, 0},
    };
    for (const auto& c : cases) {
        uint8_t value = 0;
        EXPECT_EQ(ParseOptionValue(FindOptionField(c.name), c.text, &value), c.valid)
            << c.name << "=" << c.text;
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.name << "=" << c.text;
        }
    }
}

TEST(OptionFields, ValidValuesAreNamedByKind) {
    char text[CONFIG_TEXT_CAPACITY];
    FormatValidValues(FindOptionField("screenPosition"), text, sizeof(text));
    for (const char* name : {"centre", "upper", "lower", "left", "upper-left", "lower-left",
                             "right", "upper-right", "lower-right", "0x00 to 0xFF"})
        EXPECT_TRUE(Contains(text, name)) << name;
    FormatValidValues(FindOptionField("smallIcons"), text, sizeof(text));
    EXPECT_TRUE(Contains(text, "on, off"));
    FormatValidNames(text, sizeof(text));
    EXPECT_STREQ(text, "showProcessInfo, livePreview, stayOpenAfterAlt, storedFlag3, storedFlag4, "
                       "switcherAlpha, screenPosition, selectSecondOnOpen, smallIcons, "
                       "noAnimation, showToolbar");
}

TEST(OptionFields, PlacementGridMapsTheNineCodes) {
    const uint8_t rowByRow[PLACEMENT_CELL_COUNT] = {4, 1, 7, 3, 0, 6, 5, 2, 8};
    for (int cell = 0; cell < PLACEMENT_CELL_COUNT; ++cell) {
        EXPECT_EQ(PlacementCode(cell), rowByRow[cell]);
        EXPECT_EQ(PlacementCell(rowByRow[cell]), cell);
    }
    EXPECT_EQ(PlacementCell(9), 4);
    EXPECT_EQ(PlacementCell(255), 4);
    EXPECT_EQ(PlacementCode(-1), 0);
    EXPECT_EQ(PlacementCode(9), 0);
}

TEST(OptionFields, SliderShowsLowOpacityAtItsMinimum) {
    EXPECT_EQ(SliderAlpha(0), 50);
    EXPECT_EQ(SliderAlpha(49), 50);
    EXPECT_EQ(SliderAlpha(50), 50);
    EXPECT_EQ(SliderAlpha(200), 200);
    EXPECT_EQ(SliderAlpha(255), 255);
}

TEST(ConfigCommandLine, CommandsAndTheirFlags) {
    const struct {
        std::vector<const char*> arguments;
        ConfigCommand command;
        bool json, noReload;
    } cases[] = {
        {{"show"}, CONFIG_SHOW, false, false},
        {{"show", "--json"}, CONFIG_SHOW, true, false},
        {{"--json", "show"}, CONFIG_SHOW, true, false},
        {{"get", "livePreview", "--json"}, CONFIG_GET, true, false},
        {{"reset"}, CONFIG_RESET, false, false},
        {{"reset", "--no-reload"}, CONFIG_RESET, false, true},
        {{"set", "smallIcons=on", "--no-reload"}, CONFIG_SET, false, true},
        {{"reload"}, CONFIG_RELOAD, false, false},
        {{"help"}, CONFIG_HELP, false, false},
        {{"--help"}, CONFIG_HELP, false, false},
        {{"-h"}, CONFIG_HELP, false, false},
        {{"/?"}, CONFIG_HELP, false, false},
        {{"set", "bogus", "--help"}, CONFIG_HELP, false, false},
    };
    for (const auto& c : cases) {
        Parsed parsed = Parse(c.arguments);
        EXPECT_EQ(parsed.parse.problem, CONFIG_OK) << c.arguments[0] << ": " << parsed.message;
        EXPECT_EQ(parsed.request.command, c.command) << c.arguments[0];
        EXPECT_EQ(parsed.request.json, c.json) << c.arguments[0];
        EXPECT_EQ(parsed.request.noReload, c.noReload) << c.arguments[0];
    }
}

TEST(ConfigCommandLine, GetNamesOneField) {
    Parsed parsed = Parse({"get", "screenPosition"});
    ASSERT_EQ(parsed.parse.problem, CONFIG_OK);
    EXPECT_EQ(parsed.request.field, 6);
}

TEST(ConfigCommandLine, SetCollectsEveryAssignment) {
    Parsed parsed = Parse({"set", "switcherAlpha=0x78", "screenPosition=upper-left",
                           "showToolbar=on", "storedFlag4=9"});
    ASSERT_EQ(parsed.parse.problem, CONFIG_OK) << parsed.message;
    SwitcherOptions record;
    SetDefaultOptions(&record);
    ApplyOptionChanges(&parsed.request.changes, &record);
    const uint8_t expected[11] = {0, 1, 0, 1, 9, 120, 4, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(&record, expected, sizeof(expected)), 0);
}

TEST(ConfigCommandLine, EveryKindOfBadInputIsNamed) {
    const struct {
        std::vector<const char*> arguments;
        ConfigProblem problem;
        int argument;
        const char* messagePart;
    } cases[] = {
        {{}, CONFIG_NO_COMMAND, -1, "no command given"},
        {{"--json"}, CONFIG_NO_COMMAND, -1, "Commands: show"},
        {{"sho"}, CONFIG_UNKNOWN_COMMAND, 0, "unknown command 'sho'"},
        {{"SHOW"}, CONFIG_UNKNOWN_COMMAND, 0, "reload"},
        {{"show", "--jsn"}, CONFIG_UNKNOWN_FLAG, 1, "unknown option '--jsn'"},
        {{"set", "-x"}, CONFIG_UNKNOWN_FLAG, 1, "--no-reload (set, reset)"},
        {{"set", "smallIcons=1", "--json"},
         CONFIG_FLAG_NOT_FOR_COMMAND,
         2,
         "'--json' does not go with 'set'"},
        {{"show", "--no-reload"}, CONFIG_FLAG_NOT_FOR_COMMAND, 1, "--no-reload goes with set"},
        {{"reload", "--no-reload"}, CONFIG_FLAG_NOT_FOR_COMMAND, 1, "does not go with 'reload'"},
        {{"get"}, CONFIG_MISSING_NAME, 0, "get needs one setting name. Settings: showProcessInfo"},
        {{"get", "alpha"}, CONFIG_UNKNOWN_NAME, 1, "unknown setting 'alpha'. Settings:"},
        {{"get", "smallIcons", "showToolbar"},
         CONFIG_EXTRA_ARGUMENT,
         2,
         "unexpected argument 'showToolbar'"},
        {{"show", "all"}, CONFIG_EXTRA_ARGUMENT, 1, "unexpected argument 'all'"},
        {{"reset", "now"}, CONFIG_EXTRA_ARGUMENT, 1, "unexpected argument 'now'"},
        {{"help", "set"}, CONFIG_EXTRA_ARGUMENT, 1, "unexpected argument 'set'"},
        {{"set"}, CONFIG_NOTHING_TO_SET, 0, "nothing to set"},
        {{"set", "--no-reload"}, CONFIG_NOTHING_TO_SET, 0, "NAME=VALUE"},
        {{"set", "showToolbar"}, CONFIG_MALFORMED_ASSIGNMENT, 1, "'showToolbar' is not NAME=VALUE"},
        {{"set", "=1"}, CONFIG_MALFORMED_ASSIGNMENT, 1, "'=1' is not NAME=VALUE"},
        {{"set", "toolbar=on"}, CONFIG_UNKNOWN_NAME, 1, "unknown setting 'toolbar'"},
        {{"set", "switcherAlpha=256"},
         CONFIG_BAD_VALUE,
         1,
         "bad value '256' for switcherAlpha. Values: 0 to 255"},
        {{"set", "switcherAlpha="}, CONFIG_BAD_VALUE, 1, "bad value '' for switcherAlpha"},
        {{"set", "showToolbar=yes"}, CONFIG_BAD_VALUE, 1, "Values: on, off"},
        {{"set", "screenPosition=top"}, CONFIG_BAD_VALUE, 1, "upper-left, lower-left"},
        {{"set", "switcherAlpha=1=2"}, CONFIG_BAD_VALUE, 1, "bad value '1=2'"},
        {{"set", "smallIcons=on", "smallicons=off"},
         CONFIG_NAME_TWICE,
         2,
         "smallIcons is given twice"},
        {{"set", "smallIcons=on", "bogus=1"}, CONFIG_UNKNOWN_NAME, 2, "unknown setting 'bogus'"},
    };
    for (const auto& c : cases) {
        Parsed parsed = Parse(c.arguments);
        std::string label = c.arguments.empty() ? std::string("(none)") : c.arguments.back();
        EXPECT_EQ(parsed.parse.problem, c.problem) << label;
        EXPECT_EQ(parsed.parse.argument, c.argument) << label;
        EXPECT_TRUE(Contains(parsed.message, c.messagePart)) << label << ": " << parsed.message;
    }
}

TEST(ConfigCommandLine, UsageListsEveryCommandSettingAndPlacement) {
    for (const char* part : {"show", "get NAME", "set NAME=VALUE", "reset", "reload", "--json",
                             "--no-reload", "--help", "Exit status", "upper-right"})
        EXPECT_TRUE(Contains(configUsageText, part)) << part;
    for (const OptionField& field : optionFields)
        EXPECT_TRUE(Contains(configUsageText, field.name)) << field.name;
}

TEST(TextSink, CutsAtTheBufferEndAndStaysTerminated) {
    char small[8];
    TextSink text = StartText(small, sizeof(small));
    AppendText(&text, "%s", "abcdef");
    AppendText(&text, "%s", "ghij");
    EXPECT_STREQ(small, "abcdefg");
    EXPECT_EQ(text.length, 7u);
    AppendText(&text, "%s", "more");
    EXPECT_STREQ(small, "abcdefg");

    char exact[8];
    text = StartText(exact, sizeof(exact));
    AppendText(&text, "%s", "abcdefg");
    EXPECT_STREQ(exact, "abcdefg");

    char line[16];
    FormatOptionLine(FindOptionField("screenPosition"), 4, line, sizeof(line));
    EXPECT_STREQ(line, "screenPosition ");
}
