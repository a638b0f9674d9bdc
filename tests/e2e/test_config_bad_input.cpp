// zephtab-config refuses bad input of every kind: a message on standard
// error that names the problem, a non-zero exit, and not one stored byte
// changed. Registry failures are reported the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_support_win.h"
#include "registry_support_win.h"

namespace {

const std::vector<BYTE> kCustom = {1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 0};
constexpr wchar_t kVendorKey[] = L"Software\\Varnok";

struct BadInput {
    const wchar_t* arguments;
    const char* message;
};

const BadInput kBadInputs[] = {
    {L"", "no command given"},
    {L"--json", "no command given"},
    {L"shwo", "unknown command 'shwo'. Commands: show, get NAME, set NAME=VALUE"},
    {L"show --verbose", "unknown option '--verbose'"},
    {L"set smallIcons=on --json", "option '--json' does not go with 'set'"},
    {L"reload --no-reload", "option '--no-reload' does not go with 'reload'"},
    {L"get", "get needs one setting name. Settings: showProcessInfo, livePreview"},
    {L"get alpha", "unknown setting 'alpha'. Settings: showProcessInfo"},
    {L"get smallIcons showToolbar", "unexpected argument 'showToolbar'"},
    {L"show everything", "unexpected argument 'everything'"},
    {L"reset all", "unexpected argument 'all'"},
    {L"set", "nothing to set: give one or more NAME=VALUE"},
    {L"set --no-reload", "nothing to set"},
    {L"set showToolbar", "'showToolbar' is not NAME=VALUE"},
    {L"set =5", "'=5' is not NAME=VALUE"},
    {L"set toolbar=on", "unknown setting 'toolbar'. Settings: showProcessInfo"},
    {L"set smallIcons=on toolbar=on", "unknown setting 'toolbar'"},
    {L"set switcherAlpha=256", "bad value '256' for switcherAlpha. Values: 0 to 255"},
    {L"set switcherAlpha=-1", "bad value '-1' for switcherAlpha"},
    {L"set switcherAlpha=0x100", "bad value '0x100' for switcherAlpha"},
    {L"set switcherAlpha=12a", "bad value '12a' for switcherAlpha"},
    {L"set switcherAlpha=", "bad value '' for switcherAlpha"},
    {L"set switcherAlpha=on", "bad value 'on' for switcherAlpha"},
    {L"set showToolbar=yes", "bad value 'yes' for showToolbar. Values: on, off"},
    {L"set screenPosition=top", "bad value 'top' for screenPosition. Values: centre, upper, "
                                "lower, left, upper-left, lower-left, right, upper-right, "
                                "lower-right"},
    {L"set storedFlag3=on", "bad value 'on' for storedFlag3"},
    {L"set smallIcons=on smallIcons=off", "smallIcons is given twice"},
    {L"set smallIcons=on SMALLICONS=on", "smallIcons is given twice"},
    {L"set \"switcherAlpha=1 0\"", "bad value '1 0' for switcherAlpha"},
};

class ConfigBadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
    }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(ConfigBadInput, EveryKindLeavesTheStoredBytesAsTheyWere) {
    StoreRawSettings(kCustom, 259);
    for (const BadInput& bad : kBadInputs) {
        CapturedRun run = RunConfig(bad.arguments);
        std::string label = bad.message;
        ASSERT_TRUE(run.finished) << label;
        EXPECT_EQ(run.exitCode, 1u) << label;
        EXPECT_TRUE(Contains(run.err, std::string("zephtab-config: ") + bad.message))
            << label << "\n"
            << run.err;
        EXPECT_TRUE(Contains(run.err, "Nothing was written.")) << label;
        EXPECT_TRUE(run.out.empty()) << label << "\n" << run.out;
        EXPECT_EQ(StoredOptionsBytes(), kCustom) << label;
        EXPECT_EQ(StoredVersion(), 259u) << label;
    }
}

TEST_F(ConfigBadInput, NothingIsCreatedWhenNothingWasStored) {
    for (const wchar_t* arguments :
         {L"set switcherAlpha=300", L"set smallIcons=on smallIcons=on", L"set", L"reset now"}) {
        CapturedRun run = RunConfig(arguments);
        EXPECT_EQ(run.exitCode, 1u);
        EXPECT_FALSE(SettingsKeyExists());
    }
}

TEST_F(ConfigBadInput, ReloadWithoutARunningProgramSaysSo) {
    StoreRawSettings(kCustom);
    CapturedRun run = RunConfig(L"reload");
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(Contains(run.err, "Zephtab is not running")) << run.err;
    EXPECT_EQ(StoredOptionsBytes(), kCustom);
}

// A volatile parent key refuses a lasting child key: the store cannot be created for real.
class ConfigStoreFailure : public ConfigBadInput {
  protected:
    void SetUp() override {
        ConfigBadInput::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey); }
};

TEST_F(ConfigStoreFailure, SetAndResetReportThatNothingCouldBeStored) {
    for (const wchar_t* arguments : {L"set showToolbar=on", L"reset"}) {
        CapturedRun run = RunConfig(arguments);
        EXPECT_EQ(run.exitCode, 2u) << run.out;
        EXPECT_TRUE(Contains(run.err, "zephtab-config: cannot store the settings: the key cannot "
                                      "be opened or created: HKEY_CURRENT_USER\\Software\\Varnok"))
            << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(SettingsKeyExists());
    }
}

} // namespace
