#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config_command_line.h"

namespace {

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

TEST(ConfigValues, NamesIgnoreLetterCaseButNotSpelling) {
    EXPECT_EQ(FindOptionField("SWITCHERALPHA"), 5);
    EXPECT_EQ(FindOptionField("showtoolbar"), 10);
    EXPECT_EQ(FindOptionField("showToolbars"), -1);
    EXPECT_EQ(FindOptionField("showToolba"), -1);
    EXPECT_EQ(FindOptionField(""), -1);
}

TEST(ConfigValues, ValueFormsAcceptedByKind) {
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
        {"switcherAlpha", "00000000000000000000255", true, 255},
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
        {"switcherAlpha", "0x-1", false, 0},
        {"switcherAlpha", "0x+1", false, 0},
        {"switcherAlpha", "0x0x1", false, 0},
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
        {"openOn", "primary", true, 0},
        {"openOn", "Pointer", true, 1},
        {"openOn", "FOREGROUND", true, 2},
        {"openOn", "7", true, 7},
        {"openOn", "mouse", false, 0},
        {"openOn", "on", false, 0},
        {"listWindows", "all", true, 0},
        {"listWindows", "monitor", true, 1},
        {"listWindows", "monitors", false, 0},
        {"listWindows", "primary", false, 0},
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

TEST(ConfigValues, ValidValuesAreNamedByKind) {
    char text[CONFIG_TEXT_CAPACITY];
    FormatValidValues(FindOptionField("screenPosition"), text, sizeof(text));
    for (const char* name : {"centre", "upper", "lower", "left", "upper-left", "lower-left",
                             "right", "upper-right", "lower-right", "0x00 to 0xFF"})
        EXPECT_TRUE(Contains(text, name)) << name;
    FormatValidValues(FindOptionField("smallIcons"), text, sizeof(text));
    EXPECT_TRUE(Contains(text, "on, off"));
    FormatValidValues(FindOptionField("openOn"), text, sizeof(text));
    EXPECT_TRUE(Contains(text, "primary, pointer, foreground, or a code 0 to 255")) << text;
    EXPECT_TRUE(Contains(text, "above 2 counts as primary")) << text;
    FormatValidNames(text, sizeof(text));
    EXPECT_STREQ(text, "showProcessInfo, livePreview, stayOpenAfterAlt, storedFlag3, storedFlag4, "
                       "switcherAlpha, screenPosition, selectSecondOnOpen, smallIcons, "
                       "noAnimation, showToolbar, openOn, listWindows, typeToFilter, "
                       "sameProgramKey, order, trayIcon, startAtLogOn");
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

TEST(ConfigCommandLine, SetCollectsEveryAssignmentAndKnowsWhichValuesItChanges) {
    Parsed parsed = Parse({"set", "switcherAlpha=0x78", "screenPosition=upper-left",
                           "showToolbar=on", "storedFlag4=9", "listWindows=monitor"});
    ASSERT_EQ(parsed.parse.problem, CONFIG_OK) << parsed.message;
    StoredSettings settings;
    SetDefaultSettings(&settings);
    ApplyOptionChanges(&parsed.request.changes, &settings);
    const uint8_t expected[11] = {0, 1, 0, 1, 9, 120, 4, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(&settings.options, expected, sizeof(expected)), 0);
    const uint8_t expectedMore[8] = {2, 0, 1, 1, 1, 0, 1, 1};
    EXPECT_EQ(std::memcmp(&settings.more, expectedMore, sizeof(expectedMore)), 0);
    EXPECT_TRUE(ChangesStore(&parsed.request.changes, IN_OPTIONS));
    EXPECT_TRUE(ChangesStore(&parsed.request.changes, IN_MORE_OPTIONS));

    const struct {
        std::vector<const char*> arguments;
        bool options, more;
    } cases[] = {
        {{"set", "smallIcons=on"}, true, false},
        {{"set", "openOn=pointer"}, false, true},
        {{"set", "openOn=pointer", "noAnimation=on"}, true, true},
    };
    for (const auto& c : cases) {
        Parsed one = Parse(c.arguments);
        ASSERT_EQ(one.parse.problem, CONFIG_OK) << one.message;
        EXPECT_EQ(ChangesStore(&one.request.changes, IN_OPTIONS), c.options) << c.arguments[1];
        EXPECT_EQ(ChangesStore(&one.request.changes, IN_MORE_OPTIONS), c.more) << c.arguments[1];
    }
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
        {{"set", "openOn=mouse"}, CONFIG_BAD_VALUE, 1, "Values: primary, pointer, foreground"},
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

TEST(ConfigCommandLine, UsageListsTheCommandsAndEverySettingWithItsDefault) {
    char usage[CONFIG_USAGE_CAPACITY];
    FormatConfigUsage(usage, sizeof(usage));
    std::string text = usage;
    EXPECT_LT(text.size() + 1, sizeof(usage)) << "cut at the buffer's end";
    for (const char* part :
         {"registry, HKEY_CURRENT_USER\\Software\\Varnok\\Toolvex\\Zephtab\n", "get NAME",
          "set NAME=VALUE", "reset", "reload", "--json", "--no-reload", "--help", "Exit status"})
        EXPECT_TRUE(Contains(text, part)) << part;
    EXPECT_TRUE(Contains(
        text,
        "Settings, in byte order (default in brackets):\n"
        "  showProcessInfo     on/off [off]   process information panel\n"
        "  livePreview         on/off [on]    live image of the selected window\n"
        "  stayOpenAfterAlt    on/off [off]   the switcher stays open when Alt is released\n"
        "  storedFlag3         0-255  [1]     kept in the record, not used\n"
        "  storedFlag4         0-255  [1]     kept in the record, not used\n"
        "  switcherAlpha       0-255  [255]   opacity; 255 opaque; below 50 opens opaque at\n"
        "                                     start-up but is applied as is on reload\n"
        "  screenPosition      place  [centre] centre, upper, lower, left, upper-left,\n"
        "                                     lower-left, right, upper-right, lower-right, "
        "or code\n"
        "                                     0-8 (above 8 opens centred)\n"
        "  selectSecondOnOpen  on/off [off]   select the second window on opening\n"
        "  smallIcons          on/off [off]   16 x 16 icons instead of 32 x 32\n"
        "  noAnimation         on/off [off]   show and hide at once, without the animation\n"
        "  showToolbar         on/off [off]   the window adjustment toolbar\n"
        "In \"MoreOptions\", which older copies of Zephtab do not read:\n"
        "  openOn              choice [primary] primary, pointer or foreground: open on "
        "the primary\n"
        "                                     monitor, the one under the mouse pointer or "
        "the one\n"
        "                                     of the window in front when Alt+Tab is "
        "pressed\n"
        "  listWindows         choice [all]   all or monitor: list every monitor's windows, "
        "or only\n"
        "                                     those whose larger part lies on the monitor "
        "the switcher opens on\n"
        "  typeToFilter        on/off [on]    typed letters filter the shown switcher's list\n"
        "  sameProgramKey      on/off [on]    Alt with the key above Tab lists the windows\n"
        "                                     of the program in front\n"
        "  order               choice [recent] recent or zorder: list the windows by their "
        "last use, or in\n"
        "                                     stacking order, topmost first\n"
        "  trayIcon            on/off [on]    an icon in the notification area, with a menu\n"
        "  startAtLogOn        on/off [on]    Zephtab starts when you log on\n"
        "Values: "))
        << text;

    char stored[160];
    FormatDefaultsStored(stored, sizeof(stored));
    EXPECT_STREQ(stored, "Stored the defaults: 00 01 00 01 01 FF 00 00 00 00 00, \"Version\" 258, "
                         "\"MoreOptions\" 02 00 00 01 01 00 01 01.\n");
}
