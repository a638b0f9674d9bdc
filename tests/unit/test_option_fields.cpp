#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config_command_line.h"
#include "option_fields.h"

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

} // namespace

TEST(OptionFields, TableFollowsTheRecordInByteOrderThenTheSecondValue) {
    const char* const names[] = {
        "showProcessInfo", "livePreview",    "stayOpenAfterAlt",   "storedFlag3",  "storedFlag4",
        "switcherAlpha",   "screenPosition", "selectSecondOnOpen", "smallIcons",   "noAnimation",
        "showToolbar",     "openOn",         "listWindows",        "typeToFilter", "sameProgramKey",
        "order",           "trayIcon",       "startAtLogOn"};
    static_assert(sizeof(names) / sizeof(names[0]) == OPTION_FIELD_COUNT, "a name for each field");
    const uint8_t offsets[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i) {
        EXPECT_STREQ(optionFields[i].name, names[i]);
        EXPECT_EQ(optionFields[i].store, i < 11 ? IN_OPTIONS : IN_MORE_OPTIONS);
        EXPECT_EQ(optionFields[i].offset, offsets[i]);
        EXPECT_EQ(FindOptionField(names[i]), i);
    }
    EXPECT_EQ(optionFields[3].kind, OPTION_STORED_FLAG);
    EXPECT_EQ(optionFields[5].kind, OPTION_ALPHA);
    EXPECT_EQ(optionFields[6].kind, OPTION_POSITION);
    EXPECT_EQ(optionFields[10].kind, OPTION_ON_OFF);
    EXPECT_EQ(optionFields[11].kind, OPTION_CHOICE);
    EXPECT_EQ(optionFields[12].kind, OPTION_CHOICE);
    EXPECT_EQ(optionFields[15].kind, OPTION_CHOICE);
}

TEST(OptionFields, BytesAreReadAndWrittenAtTheirOffsets) {
    StoredSettings settings;
    std::memset(&settings, 0, sizeof(settings));
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        SetOptionByte(&settings, i, static_cast<uint8_t>(10 + i));
    EXPECT_EQ(settings.options.showProcessInfo, 10);
    EXPECT_EQ(settings.options.switcherAlpha, 15);
    EXPECT_EQ(settings.options.showToolbar, 20);
    EXPECT_EQ(settings.more.layout, 0);
    EXPECT_EQ(settings.more.openOn, 21);
    EXPECT_EQ(settings.more.listWindows, 22);
    EXPECT_EQ(settings.more.startAtLogOn, 27);
    for (int i = 0; i < OPTION_FIELD_COUNT; ++i)
        EXPECT_EQ(GetOptionByte(&settings, i), 10 + i);
}

TEST(OptionFields, DefaultsComeFromTheProgramsDefaultValues) {
    const uint8_t expected[OPTION_FIELD_COUNT] = {0, 1, 0, 1, 1, 255, 0, 0, 0,
                                                  0, 0, 0, 0, 1, 1,   0, 1, 1};
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
    EXPECT_EQ(Line("openOn", 1), "openOn 1 (the monitor under the mouse pointer)");
}

TEST(OptionFields, EveryChoiceCodeHasItsMeaningAndCodesPastTheLastMeanTheFirst) {
    const struct {
        const char* name;
        uint8_t value;
        const char* meaning;
    } cases[] = {
        {"openOn", 0, "the primary monitor"},
        {"openOn", 1, "the monitor under the mouse pointer"},
        {"openOn", 2, "the monitor of the window in front"},
        {"openOn", 3, "above 2: the primary monitor"},
        {"openOn", 255, "above 2: the primary monitor"},
        {"listWindows", 0, "every monitor's windows"},
        {"listWindows", 1, "the windows on its monitor"},
        {"listWindows", 2, "above 1: every monitor's windows"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Meaning(c.name, c.value), c.meaning) << c.name << " " << int(c.value);
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

TEST(OptionFields, PlacementGridMapsTheNineCodesWithTheirLabels) {
    const uint8_t rowByRow[PLACEMENT_CELL_COUNT] = {4, 1, 7, 3, 0, 6, 5, 2, 8};
    const wchar_t* const labels[PLACEMENT_CELL_COUNT] = {L"Upper left", L"Upper",  L"Upper right",
                                                         L"Left",       L"Centre", L"Right",
                                                         L"Lower left", L"Lower",  L"Lower right"};
    wchar_t label[32];
    for (int cell = 0; cell < PLACEMENT_CELL_COUNT; ++cell) {
        EXPECT_EQ(PlacementCode(cell), rowByRow[cell]);
        EXPECT_EQ(PlacementCell(rowByRow[cell]), cell);
        FormatPlacementLabel(rowByRow[cell], label, 32);
        EXPECT_STREQ(label, labels[cell]);
    }
    EXPECT_EQ(PlacementCell(9), 4);
    EXPECT_EQ(PlacementCell(255), 4);
    EXPECT_EQ(PlacementCode(-1), 0);
    EXPECT_EQ(PlacementCode(9), 0);
    FormatPlacementLabel(255, label, 32);
    EXPECT_STREQ(label, L"Centre");
    FormatPlacementLabel(7, label, 6);
    EXPECT_STREQ(label, L"Upper");
}

TEST(OptionFields, SliderShowsLowOpacityAtItsMinimum) {
    EXPECT_EQ(SliderAlpha(0), 50);
    EXPECT_EQ(SliderAlpha(49), 50);
    EXPECT_EQ(SliderAlpha(50), 50);
    EXPECT_EQ(SliderAlpha(200), 200);
    EXPECT_EQ(SliderAlpha(255), 255);
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
