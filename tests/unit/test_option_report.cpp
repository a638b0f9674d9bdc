#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config_command_line.h"
#include "option_report.h"

namespace {

SettingsReport Report(StoreState store, uint32_t version = 258, bool running = false) {
    SettingsReport report = {};
    SetDefaultSettings(&report.settings);
    report.store = store;
    report.version = version;
    report.running = running;
    return report;
}

std::string ShowText(const SettingsReport& report) {
    char text[REPORT_TEXT_CAPACITY];
    FormatShowText(report, text, sizeof(text));
    return text;
}

std::string ShowJson(const SettingsReport& report) {
    char text[REPORT_TEXT_CAPACITY];
    FormatShowJson(report, text, sizeof(text));
    return text;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What python3's own JSON parser reads from json: str() of expression over the document d,
// as UTF-8, or "not JSON" when it refuses the text.
std::string ReadByPython(const std::string& json, const char* expression) {
    char path[] = "/tmp/zephtab-json-XXXXXX";
    int file = mkstemp(path);
    if (file < 0 || write(file, json.data(), json.size()) != static_cast<ssize_t>(json.size()))
        return "cannot write " + std::string(path);
    close(file);
    std::string command =
        std::string("python3 -c 'import json, sys; "
                    "d = json.load(open(sys.argv[1], encoding=\"utf-8\")); "
                    "sys.stdout.buffer.write(str(eval(sys.argv[2])).encode())' ") +
        path + " \"" + expression + "\" 2>/dev/null";
    std::string result;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        for (size_t read; (read = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
            result.append(buffer, read);
        if (pclose(pipe) != 0)
            result = "not JSON";
    }
    unlink(path);
    return result;
}

} // namespace

TEST(OptionReport, ShowListsEveryFieldWithValueDefaultAndMeaning) {
    SettingsReport report = Report(STORE_STATE_VALID, 258, true);
    report.settings.options.screenPosition = 4;
    report.settings.options.switcherAlpha = 40;
    report.settings.more.openOn = OPEN_ON_POINTER;
    report.settings.more.listWindows = 7;
    std::string text = ShowText(report);
    EXPECT_TRUE(Contains(text, "HKEY_CURRENT_USER\\Software\\Varnok\\Toolvex\\Zephtab\n"));
    EXPECT_TRUE(Contains(text, "Store:   present, \"Version\" 258\n"));
    EXPECT_TRUE(Contains(text, "Zephtab: running\n"));
    EXPECT_TRUE(Contains(text, "   6  screenPosition          4        0  upper left\n"));
    EXPECT_TRUE(Contains(
        text,
        "   5  switcherAlpha          40      255  below 50: opaque at start-up, applied as is on "
        "reload\n"));
    EXPECT_TRUE(Contains(text, "   3  storedFlag3             1        1  kept, not used\n"));
    EXPECT_TRUE(Contains(text, "More:    \"MoreOptions\" present\n"));
    EXPECT_TRUE(Contains(text, "\nin \"MoreOptions\":\n"
                               "   1  openOn                  1        0  the monitor under the "
                               "mouse pointer\n"
                               "   2  listWindows             7        0  above 1: every monitor's "
                               "windows\n"));
    size_t previous = 0;
    for (const OptionField& field : optionFields) {
        size_t at = text.find(field.name);
        ASSERT_NE(at, std::string::npos) << field.name;
        EXPECT_GT(at, previous) << field.name << " out of byte order";
        previous = at;
    }
}

TEST(OptionReport, StoreStatesAreSpelledOut) {
    const struct {
        StoreState store;
        uint32_t version;
        const char* text;
        bool defaults;
    } cases[] = {
        {STORE_STATE_VALID, 259, "present, \"Version\" 259", false},
        {STORE_STATE_ABSENT, 0, "nothing stored yet; these are the defaults", true},
        {STORE_STATE_UNREADABLE, 0, "cannot be opened", true},
        {STORE_STATE_NO_VERSION, 0, "\"Version\" is missing", true},
        {STORE_STATE_OLD_VERSION, 257, "\"Version\" 257 is below 258", true},
        {STORE_STATE_NO_OPTIONS, 258, "\"Options\" is missing or wider than 11 bytes", true},
    };
    for (const auto& c : cases) {
        SettingsReport report = Report(c.store, c.version);
        char text[512];
        FormatStoreState(report, text, sizeof(text));
        EXPECT_TRUE(Contains(text, c.text)) << text;
        EXPECT_EQ(ReportShowsDefaults(c.store), c.defaults) << c.text;
    }
    SettingsReport shortRecord = Report(STORE_STATE_SHORT_OPTIONS);
    shortRecord.storedLength = 5;
    char text[512];
    FormatStoreState(shortRecord, text, sizeof(text));
    EXPECT_TRUE(Contains(text, "only 5 of 11 bytes")) << text;
    EXPECT_FALSE(ReportShowsDefaults(STORE_STATE_SHORT_OPTIONS));

    // The second value's state decides for its own fields alone.
    const int openOn = FindOptionField("openOn");
    const int smallIcons = FindOptionField("smallIcons");
    const struct {
        StoreState store;
        MoreStoreState moreStore;
        bool recordDefaults, moreDefaults;
        const char* moreText;
    } values[] = {
        {STORE_STATE_VALID, MORE_STATE_VALID, false, false, "present"},
        {STORE_STATE_VALID, MORE_STATE_ABSENT, false, true, "not stored yet"},
        {STORE_STATE_ABSENT, MORE_STATE_VALID, true, false, "present"},
        {STORE_STATE_OLD_VERSION, MORE_STATE_MALFORMED, true, true,
         "not a value of a layout Zephtab writes"},
    };
    for (const auto& v : values) {
        SettingsReport report = Report(v.store);
        report.moreStore = v.moreStore;
        EXPECT_EQ(FieldShowsDefault(report, smallIcons), v.recordDefaults) << v.moreText;
        EXPECT_EQ(FieldShowsDefault(report, openOn), v.moreDefaults) << v.moreText;
        FormatMoreStoreState(v.moreStore, text, sizeof(text));
        EXPECT_TRUE(Contains(text, v.moreText)) << text;
        EXPECT_EQ(ReadByPython(ShowJson(report), "[d['defaults'], d['moreDefaults']]"),
                  std::string("[") + (v.recordDefaults ? "True" : "False") + ", " +
                      (v.moreDefaults ? "True" : "False") + "]");
    }
    EXPECT_TRUE(Contains(ShowText(Report(STORE_STATE_ABSENT, 0)), "Zephtab: not running\n"));
}

TEST(OptionReport, JsonCarriesTheSameFacts) {
    SettingsReport report = Report(STORE_STATE_VALID, 258, true);
    report.settings.options.showToolbar = 1;
    std::string json = ShowJson(report);
    EXPECT_TRUE(Contains(json, "\"key\": \"HKEY_CURRENT_USER\\\\Software\\\\Varnok\\\\Toolvex\\\\"
                               "Zephtab\""));
    EXPECT_TRUE(Contains(json, "\"store\": \"present\""));
    EXPECT_TRUE(Contains(json, "\"version\": 258"));
    EXPECT_TRUE(Contains(json, "\"defaults\": false"));
    EXPECT_TRUE(Contains(json, "\"running\": true"));
    EXPECT_TRUE(Contains(json, "{\"in\": \"Options\", \"byte\": 10, \"name\": \"showToolbar\", "
                               "\"value\": 1, \"default\": 0, \"meaning\": \"on: toolbar "
                               "shown\"},\n"));
    EXPECT_TRUE(Contains(json, "{\"in\": \"Options\", \"byte\": 0, \"name\": "
                               "\"showProcessInfo\", \"value\": 0, \"default\": 0, \"meaning\": "
                               "\"off: no process panel\"},\n"));
    EXPECT_TRUE(Contains(json, "{\"in\": \"MoreOptions\", \"byte\": 2, \"name\": "
                               "\"listWindows\", \"value\": 0, \"default\": 0, \"meaning\": "
                               "\"every monitor's windows\"},\n"));
    EXPECT_TRUE(Contains(json, "{\"in\": \"MoreOptions\", \"byte\": 5, \"name\": "
                               "\"order\", \"value\": 0, \"default\": 0, \"meaning\": "
                               "\"most recently used first\"},\n"));
    EXPECT_EQ(json.back(), '\n');

    EXPECT_EQ(ReadByPython(json, "[d['key'], len(d['fields']), d['fields'][10]['meaning'], "
                                 "d['moreStore'], d['fields'][11]['name']]"),
              "['HKEY_CURRENT_USER\\\\Software\\\\Varnok\\\\Toolvex\\\\Zephtab', 18, "
              "'on: toolbar shown', 'present', 'openOn']");

    std::string absent = ShowJson(Report(STORE_STATE_ABSENT, 0));
    EXPECT_TRUE(Contains(absent, "\"store\": \"absent\""));
    EXPECT_TRUE(Contains(absent, "\"version\": null"));
    EXPECT_TRUE(Contains(absent, "\"defaults\": true"));
    EXPECT_TRUE(Contains(absent, "\"running\": false"));
    EXPECT_EQ(ReadByPython(absent, "[d['version'], d['defaults']]"), "[None, True]");
    SettingsReport shortRecord = Report(STORE_STATE_SHORT_OPTIONS);
    shortRecord.storedLength = 5;
    EXPECT_EQ(ReadByPython(ShowJson(shortRecord), "d['storedBytes']"), "5");
}

TEST(OptionReport, JsonStringsEscapeEverythingJsonRequires) {
    const std::string value = "a \"quoted\" back\\slash, tab\t, line\n\r, \b\f\x01\x1f\x7f, "
                              "caf\xC3\xA9 \xE6\x97\xA5";
    char json[256];
    TextSink text = StartText(json, sizeof(json));
    AppendText(&text, "{\"v\": ");
    AppendJsonString(&text, value.c_str());
    AppendText(&text, "}");
    EXPECT_STREQ(json, "{\"v\": \"a \\\"quoted\\\" back\\\\slash, tab\\t, line\\n\\r, "
                       "\\b\\f\\u0001\\u001f\x7f, caf\xC3\xA9 \xE6\x97\xA5\"}");
    EXPECT_EQ(ReadByPython(json, "d['v']"), value);
}

TEST(OptionReport, GetPrintsOneLine) {
    char text[256];
    FormatGetText(FindOptionField("screenPosition"), 4, text, sizeof(text));
    EXPECT_STREQ(text, "screenPosition 4 (upper left)\n");
    FormatGetJson(FindOptionField("switcherAlpha"), 120, false, text, sizeof(text));
    EXPECT_STREQ(text, "{\"in\": \"Options\", \"byte\": 5, \"name\": \"switcherAlpha\", \"value\": "
                       "120, \"default\": 255, \"meaning\": \"translucent, 120 of 255\", "
                       "\"defaults\": false}\n");
    EXPECT_EQ(ReadByPython(text, "d['value']"), "120");
    FormatGetJson(FindOptionField("openOn"), 2, true, text, sizeof(text));
    EXPECT_EQ(ReadByPython(text, "[d['in'], d['byte'], d['meaning'], d['defaults']]"),
              "['MoreOptions', 1, 'the monitor of the window in front', True]");
}

TEST(OptionReport, ShowFitsItsBuffer) {
    SettingsReport report = Report(STORE_STATE_SHORT_OPTIONS, 0xFFFFFFFFu, true);
    report.storedLength = 10;
    std::string text = ShowText(report);
    std::string json = ShowJson(report);
    EXPECT_LT(text.size() + 1, REPORT_TEXT_CAPACITY);
    EXPECT_LT(json.size() + 1, REPORT_TEXT_CAPACITY);
    EXPECT_TRUE(Contains(json, "]\n}\n"));
}
