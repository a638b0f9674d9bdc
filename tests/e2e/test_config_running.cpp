// zephtab-config with zephtab.exe running: a stored change reaches the
// program through the reload message, which it answers with 1.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "process_support_win.h"
#include "registry_support_win.h"

namespace {

class ConfigWithZephtab : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
        ASSERT_TRUE(StartSwitcherProgram(&program));
        switcher = FindSwitcherWindow();
    }
    void TearDown() override {
        CloseRunningSwitcher();
        EXPECT_EQ(WaitForExit(program), 0u);
        EndProgram(program);
        DeleteSettingsKey();
    }
    StartedProgram program;
    HWND switcher = nullptr;
};

TEST_F(ConfigWithZephtab, AlphaMakesTheSwitcherLayered) {
    ASSERT_EQ(LayeredAlpha(switcher), -1);
    CapturedRun run = RunConfig(L"set switcherAlpha=120");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(Contains(run.out, "Zephtab reloaded the settings.")) << run.out;
    EXPECT_EQ(LayeredAlpha(switcher), 120);
    EXPECT_EQ(StoredOptionsBytes()[5], 120);
}

TEST_F(ConfigWithZephtab, LowAlphaIsAppliedAsIsAndOpaqueRemovesTheLayering) {
    EXPECT_EQ(RunConfig(L"set switcherAlpha=20").exitCode, 0u);
    EXPECT_EQ(LayeredAlpha(switcher), 20);
    EXPECT_EQ(RunConfig(L"set switcherAlpha=255").exitCode, 0u);
    EXPECT_EQ(GetWindowLongW(switcher, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(ConfigWithZephtab, ToolbarSettingReachesTheProgram) {
    HWND toolbar = FindWindowExW(switcher, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_FALSE(GetWindowLongW(toolbar, GWL_STYLE) & WS_VISIBLE);
    CapturedRun run = RunConfig(L"set showToolbar=on");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(Contains(run.out, "Stored showToolbar 1 (on: toolbar shown)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Zephtab reloaded the settings.")) << run.out;
    EXPECT_EQ(StoredOptionsBytes()[10], 1);
    // The reload shows the toolbar (within the hidden switcher).
    EXPECT_TRUE(GetWindowLongW(toolbar, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ConfigWithZephtab, NoReloadStoresOnlyAndReloadSendsOnly) {
    CapturedRun set = RunConfig(L"set switcherAlpha=100 --no-reload");
    EXPECT_EQ(set.exitCode, 0u) << set.err;
    EXPECT_TRUE(Contains(set.out, "--no-reload")) << set.out;
    EXPECT_EQ(StoredOptionsBytes()[5], 100);
    EXPECT_EQ(LayeredAlpha(switcher), -1);

    CapturedRun reload = RunConfig(L"reload");
    EXPECT_EQ(reload.exitCode, 0u) << reload.err;
    EXPECT_TRUE(Contains(reload.out, "Zephtab reloaded the settings.")) << reload.out;
    EXPECT_EQ(LayeredAlpha(switcher), 100);
}

TEST_F(ConfigWithZephtab, ResetReachesTheProgram) {
    EXPECT_EQ(RunConfig(L"set switcherAlpha=90").exitCode, 0u);
    EXPECT_EQ(LayeredAlpha(switcher), 90);
    CapturedRun run = RunConfig(L"reset");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(Contains(run.out, "Zephtab reloaded the settings.")) << run.out;
    EXPECT_EQ(GetWindowLongW(switcher, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(ConfigWithZephtab, ShowSaysItRuns) {
    CapturedRun text = RunConfig(L"show");
    EXPECT_TRUE(Contains(text.out, "Zephtab: running\n")) << text.out;
    // The program stored the defaults when it started.
    EXPECT_TRUE(Contains(text.out, "Store:   present, \"Version\" 258\n")) << text.out;
    CapturedRun json = RunConfig(L"show --json");
    EXPECT_TRUE(Contains(json.out, "\"running\": true")) << json.out;
}

TEST_F(ConfigWithZephtab, ReloadAfterTheProgramEndedSaysSo) {
    CloseRunningSwitcher();
    CapturedRun run = RunConfig(L"reload");
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(
        Contains(run.err, "zephtab-config: Zephtab is not running (no window of class gZephtab)"))
        << run.err;
    EXPECT_TRUE(run.out.empty());
}

} // namespace
