// zephtab-config against the real (Wine) registry: every field and every
// value form goes in and comes back out, and looking writes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"

namespace {

const std::vector<BYTE>& kDefaults = DefaultOptionsRecord();

// The stored "MoreOptions" bytes, or an empty vector when there are none.
std::vector<BYTE> StoredMoreOptionsBytes() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", &type, &data))
        return {};
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    return data;
}

class ConfigRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
    }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(ConfigRoundTrip, EveryFieldAndValueFormIsStoredAndReadBack) {
    const struct {
        const wchar_t* assignment;
        const wchar_t* name;
        int byte;
        BYTE value;
        const char* getLine;
    } cases[] = {
        {L"showProcessInfo=on", L"showProcessInfo", 0, 1,
         "showProcessInfo 1 (on: process panel shown)"},
        {L"showProcessInfo=off", L"showProcessInfo", 0, 0,
         "showProcessInfo 0 (off: no process panel)"},
        {L"livePreview=OFF", L"livePreview", 1, 0, "livePreview 0 (off: icon only)"},
        {L"livePreview=7", L"livePreview", 1, 7, "livePreview 7 (on: live preview)"},
        {L"stayOpenAfterAlt=On", L"stayOpenAfterAlt", 2, 1, "stayOpenAfterAlt 1 (on: stays open"},
        {L"stayOpenAfterAlt=0x0", L"stayOpenAfterAlt", 2, 0, "stayOpenAfterAlt 0 (off:"},
        {L"storedFlag3=0", L"storedFlag3", 3, 0, "storedFlag3 0 (kept, not used)"},
        {L"storedFlag3=0xAB", L"storedFlag3", 3, 0xAB, "storedFlag3 171 (kept, not used)"},
        {L"storedFlag4=255", L"storedFlag4", 4, 255, "storedFlag4 255 (kept, not used)"},
        {L"storedFlag4=0x07", L"storedFlag4", 4, 7, "storedFlag4 7 (kept, not used)"},
        {L"switcherAlpha=120", L"switcherAlpha", 5, 120,
         "switcherAlpha 120 (translucent, 120 of 255)"},
        {L"switcherAlpha=0", L"switcherAlpha", 5, 0, "switcherAlpha 0 (below 50: opaque at"},
        {L"switcherAlpha=40", L"switcherAlpha", 5, 40,
         "switcherAlpha 40 (below 50: opaque at start-up, applied as is on reload)"},
        {L"switcherAlpha=0x32", L"switcherAlpha", 5, 50, "switcherAlpha 50 (translucent"},
        {L"switcherAlpha=0XFF", L"switcherAlpha", 5, 255, "switcherAlpha 255 (opaque)"},
        {L"screenPosition=upper", L"screenPosition", 6, 1, "screenPosition 1 (upper middle)"},
        {L"screenPosition=lower", L"screenPosition", 6, 2, "screenPosition 2 (lower middle)"},
        {L"screenPosition=left", L"screenPosition", 6, 3, "screenPosition 3 (left middle)"},
        {L"screenPosition=upper-left", L"screenPosition", 6, 4, "screenPosition 4 (upper left)"},
        {L"screenPosition=lower-left", L"screenPosition", 6, 5, "screenPosition 5 (lower left)"},
        {L"screenPosition=right", L"screenPosition", 6, 6, "screenPosition 6 (right middle)"},
        {L"screenPosition=upper-right", L"screenPosition", 6, 7, "screenPosition 7 (upper right)"},
        {L"screenPosition=lower-right", L"screenPosition", 6, 8, "screenPosition 8 (lower right)"},
        {L"screenPosition=9", L"screenPosition", 6, 9, "screenPosition 9 (above 8: centre)"},
        {L"screenPosition=centre", L"screenPosition", 6, 0, "screenPosition 0 (centre)"},
        {L"selectSecondOnOpen=on", L"selectSecondOnOpen", 7, 1, "selectSecondOnOpen 1 (on:"},
        {L"selectSecondOnOpen=0", L"selectSecondOnOpen", 7, 0, "selectSecondOnOpen 0 (off:"},
        {L"smallIcons=on", L"smallIcons", 8, 1, "smallIcons 1 (on: 16 x 16 icons)"},
        {L"smallIcons=0xff", L"smallIcons", 8, 255, "smallIcons 255 (on: 16 x 16 icons)"},
        {L"noAnimation=on", L"noAnimation", 9, 1, "noAnimation 1 (on: no animation)"},
        {L"noAnimation=off", L"noAnimation", 9, 0, "noAnimation 0 (off: animated)"},
        {L"showToolbar=on", L"showToolbar", 10, 1, "showToolbar 1 (on: toolbar shown)"},
        {L"SHOWTOOLBAR=2", L"showToolbar", 10, 2, "showToolbar 2 (on: toolbar shown)"},
    };
    std::vector<BYTE> expected = kDefaults;
    for (const auto& c : cases) {
        std::string label(c.getLine);
        CapturedRun set = RunConfig(std::wstring(L"set ") + c.assignment);
        ASSERT_TRUE(set.finished) << label;
        EXPECT_EQ(set.exitCode, 0u) << label << set.err;
        EXPECT_TRUE(Contains(set.out, "Stored " + label.substr(0, label.find(' ') + 1))) << set.out;
        expected[c.byte] = c.value;
        DWORD type = 0;
        EXPECT_EQ(StoredOptionsBytes(), expected) << label;
        EXPECT_EQ(StoredVersion(&type), 258u) << label;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << label;

        CapturedRun get = RunConfig(std::wstring(L"get ") + c.name);
        EXPECT_EQ(get.exitCode, 0u) << label;
        EXPECT_EQ(get.out.rfind(label, 0), 0u) << get.out;
        EXPECT_EQ(get.out.back(), '\n') << label;
    }
}

TEST_F(ConfigRoundTrip, SeveralSettingsAtOnceKeepTheOtherStoredBytes) {
    StoreRawSettings({1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 0});
    CapturedRun run = RunConfig(L"set showToolbar=on switcherAlpha=0x80 screenPosition=right");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(StoredOptionsBytes(), (std::vector<BYTE>{1, 0, 1, 7, 9, 128, 6, 1, 1, 1, 1}));
    EXPECT_TRUE(Contains(run.out, "Stored switcherAlpha 128"));
    EXPECT_TRUE(Contains(run.out, "Stored screenPosition 6 (right middle)"));
    EXPECT_TRUE(Contains(run.out, "Stored showToolbar 1"));
    EXPECT_TRUE(Contains(run.out, "Zephtab is not running"));
}

TEST_F(ConfigRoundTrip, UnusableStoreStartsFromTheDefaults) {
    StoreRawSettings({1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 0}, 257);
    CapturedRun run = RunConfig(L"set smallIcons=on");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    std::vector<BYTE> expected = kDefaults;
    expected[8] = 1;
    EXPECT_EQ(StoredOptionsBytes(), expected);
    EXPECT_EQ(StoredVersion(), 258u);
}

TEST_F(ConfigRoundTrip, ShortStoredRecordKeepsItsBytesAndGetsDefaultsForTheRest) {
    StoreRawSettings({1, 0, 1, 7, 9});
    CapturedRun show = RunConfig(L"show");
    EXPECT_TRUE(Contains(show.out, "only 5 of 11 bytes")) << show.out;
    EXPECT_EQ(StoredOptionsBytes().size(), 5u);
    CapturedRun run = RunConfig(L"set showToolbar=on");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(StoredOptionsBytes(), (std::vector<BYTE>{1, 0, 1, 7, 9, 255, 0, 0, 0, 0, 1}));
}

TEST_F(ConfigRoundTrip, ResetStoresTheDefaults) {
    StoreRawSettings({1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 1}, 300);
    const BYTE more[] = {1, 2, 1};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, more, 3);
    CapturedRun run = RunConfig(L"reset");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(Contains(run.out, "Stored the defaults"));
    EXPECT_EQ(StoredOptionsBytes(), kDefaults);
    EXPECT_EQ(StoredVersion(), 258u);
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 0, 0, 1, 1, 0, 1, 1}));
}

// A set writes only the value that holds what it changes.
TEST_F(ConfigRoundTrip, MonitorSettingsGoToTheSecondValueAlone) {
    CapturedRun set = RunConfig(L"set openOn=pointer listWindows=Monitor");
    EXPECT_EQ(set.exitCode, 0u) << set.err;
    EXPECT_TRUE(Contains(set.out, "Stored openOn 1 (the monitor under the mouse pointer)"))
        << set.out;
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 1, 1, 1, 1, 0, 1, 1}));
    EXPECT_TRUE(StoredOptionsBytes().empty());
    EXPECT_EQ(RunConfig(L"get listWindows").out, "listWindows 1 (the windows on its monitor)\n");

    StoreRawSettings({1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 0});
    EXPECT_EQ(RunConfig(L"set smallIcons=off openOn=foreground").exitCode, 0u);
    EXPECT_EQ(StoredOptionsBytes(), (std::vector<BYTE>{1, 0, 1, 7, 9, 200, 4, 1, 0, 1, 0}));
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 2, 1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(RunConfig(L"set showToolbar=on").exitCode, 0u);
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 2, 1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(RunConfig(L"set typeToFilter=off sameProgramKey=off order=zorder trayIcon=off "
                        L"startAtLogOn=off")
                  .exitCode,
              0u);
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 2, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(RunConfig(L"get order").out, "order 1 (stacking order, topmost first)\n");

    // A malformed second value is shown as its defaults and left alone by show.
    const BYTE malformed[] = {0, 2};
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, malformed, 2);
    CapturedRun show = RunConfig(L"show");
    EXPECT_TRUE(Contains(show.out, "not a value of a layout Zephtab writes")) << show.out;
    EXPECT_TRUE(
        Contains(show.out, "   1  openOn                  0        0  the primary monitor\n"))
        << show.out;
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{0, 2}));
    EXPECT_EQ(RunConfig(L"set listWindows=monitor").exitCode, 0u);
    EXPECT_EQ(StoredMoreOptionsBytes(), (std::vector<BYTE>{2, 0, 1, 1, 1, 0, 1, 1}));
}

TEST_F(ConfigRoundTrip, ShowOnAnEmptyStoreWritesNothingAndSaysSo) {
    ASSERT_FALSE(SettingsKeyExists());
    CapturedRun text = RunConfig(L"show");
    EXPECT_EQ(text.exitCode, 0u) << text.err;
    EXPECT_TRUE(text.err.empty()) << text.err;
    EXPECT_TRUE(Contains(text.out, "nothing stored yet; these are the defaults")) << text.out;
    EXPECT_TRUE(Contains(text.out, "Zephtab: not running"));
    EXPECT_TRUE(Contains(text.out, "   5  switcherAlpha         255      255  opaque\n"));
    CapturedRun json = RunConfig(L"show --json");
    EXPECT_EQ(json.exitCode, 0u);
    EXPECT_TRUE(Contains(json.out, "\"store\": \"absent\""));
    EXPECT_TRUE(Contains(json.out, "\"defaults\": true"));
    CapturedRun get = RunConfig(L"get livePreview --json");
    EXPECT_TRUE(Contains(get.out, "\"value\": 1")) << get.out;
    EXPECT_TRUE(Contains(get.out, "\"defaults\": true")) << get.out;
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(ConfigRoundTrip, ShowOnAnUnusableStoreLeavesItAsItWas) {
    const std::vector<BYTE> twelve = {1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 1, 1};
    StoreRawSettings(twelve);
    CapturedRun run = RunConfig(L"show");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(Contains(run.out, "\"Options\" is missing or wider than 11 bytes")) << run.out;
    EXPECT_TRUE(Contains(run.out, "   0  showProcessInfo         0        0")) << run.out;
    EXPECT_EQ(StoredOptionsBytes(), twelve);
}

TEST_F(ConfigRoundTrip, ShowListsEveryFieldInByteOrder) {
    StoreRawSettings({1, 0, 1, 7, 9, 40, 4, 1, 1, 1, 1}, 259);
    CapturedRun run = RunConfig(L"show");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(Contains(run.out, "Store:   present, \"Version\" 259\n")) << run.out;
    const char* const lines[] = {
        "   0  showProcessInfo         1        0  on: process panel shown\n",
        "   1  livePreview             0        1  off: icon only\n",
        "   2  stayOpenAfterAlt        1        0  on: stays open after Alt\n",
        "   3  storedFlag3             7        1  kept, not used\n",
        "   4  storedFlag4             9        1  kept, not used\n",
        "   5  switcherAlpha          40      255  below 50: opaque at start-up, applied as is on "
        "reload\n",
        "   6  screenPosition          4        0  upper left\n",
        "   7  selectSecondOnOpen      1        0  on: second window selected\n",
        "   8  smallIcons              1        0  on: 16 x 16 icons\n",
        "   9  noAnimation             1        0  on: no animation\n",
        "  10  showToolbar             1        0  on: toolbar shown\n",
    };
    size_t previous = 0;
    for (const char* line : lines) {
        size_t at = run.out.find(line);
        ASSERT_NE(at, std::string::npos) << line << run.out;
        EXPECT_GT(at, previous) << line;
        previous = at;
    }
}

TEST_F(ConfigRoundTrip, PipedOutputIsUtf8WithWindowsLineEnds) {
    CapturedRun run = RunConfig(L"get screenPosition");
    EXPECT_EQ(run.rawOut, "screenPosition 0 (centre)\r\n");
}

TEST_F(ConfigRoundTrip, HelpListsEverything) {
    CapturedRun run = RunConfig(L"--help");
    EXPECT_EQ(run.exitCode, 0u);
    for (const char* part : {"show", "get NAME", "set NAME=VALUE", "reset", "reload", "--json",
                             "--no-reload", "showProcessInfo", "showToolbar", "upper-right",
                             "openOn", "foreground", "listWindows", "0x00 to 0xFF", "Exit status"})
        EXPECT_TRUE(Contains(run.out, part)) << part;
    EXPECT_FALSE(SettingsKeyExists());
}

} // namespace
