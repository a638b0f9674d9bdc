// The switcher commands posted from another process to a running zephtab.exe,
// with test windows of this process as the windows to switch between.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/identifiers.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

namespace {

struct Options {
    BYTE screenPosition = 0;
    BYTE selectSecondOnOpen = 0;
    BYTE noAnimation = 0;
};

void StoreOptions(const Options& options) {
    SwitcherOptions record;
    SetDefaultOptions(&record);
    record.livePreview = 0; // this test is about switching, not drawing
    record.screenPosition = options.screenPosition;
    record.selectSecondOnOpen = options.selectSecondOnOpen;
    record.noAnimation = options.noAnimation;
    const DWORD version = OPTIONS_VERSION;
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_DWORD, &version, sizeof(version));
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", REG_BINARY, &record, sizeof(record));
    StoreMoreOptions(MoreOptionsAsBefore());
}

class SwitcherCommandsEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
        // Not listed (a tool window) but able to take the foreground: it is what the
        // system activates when the switcher hides, so that only the switch itself
        // brings a listed window forward.
        decoy = CreateTestWindow(L"decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        for (int i = 0; i < 3; ++i)
            windows.push_back(CreateTestWindow(L"switch target"));
    }
    void TearDown() override {
        if (switcher)
            PostMessageW(switcher, WM_CLOSE, 0, 0);
        // Pumping meanwhile: closing may activate one of this process's windows.
        WaitUntil([this] { return WaitForSingleObject(program.info.hProcess, 0) == WAIT_OBJECT_0; },
                  kProgramEndDeadlineMs);
        EXPECT_EQ(WaitForExit(program, 0), 0u);
        EndProgram(program);
        windows.push_back(decoy);
        DestroyWindows(&windows);
        DeleteSettingsKey();
    }

    void Start(const Options& options) {
        StoreOptions(options);
        ASSERT_TRUE(StartSwitcherProgram(&program));
        switcher = FindSwitcherWindow();
    }

    void Reload(const Options& options) {
        StoreOptions(options);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(switcher, WM_RELOAD_OPTIONS, 0, 0, SMTO_NORMAL, 5000, &result);
    }

    void Post(WPARAM code) { PostMessageW(switcher, WM_SWITCHER_COMMAND, code, 0); }

    // Waits until the program has handled what was posted before: a sent message is
    // taken before posted ones, so the second one waits for the next turn of its loop.
    void Settle() {
        for (int i = 0; i < 2; ++i) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(switcher, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        }
        PumpMessages();
    }

    // The windows in list order (top first), the decoy holding the foreground.
    void Arrange() {
        StackWindows(windows);
        ASSERT_TRUE(BringToForeground(decoy));
        ASSERT_EQ(StackingOrderOf(windows), windows);
    }

    bool SwitcherShown() { return IsWindowVisible(switcher) != 0; }

    void OpenAndExpectShown() {
        Post(CMD_OPEN);
        ASSERT_TRUE(WaitUntil([this] { return SwitcherShown(); }));
        EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == switcher; }));
    }

    // Opens, steps, activates; returns which test window ends in the foreground.
    int ActivateAfter(const std::vector<WPARAM>& steps) {
        Arrange();
        OpenAndExpectShown();
        for (WPARAM step : steps)
            Post(step);
        Post(CMD_ACTIVATE);
        HWND foreground = nullptr;
        WaitUntil([&] {
            foreground = GetForegroundWindow();
            return !SwitcherShown() &&
                   std::find(windows.begin(), windows.end(), foreground) != windows.end();
        });
        Settle();
        EXPECT_FALSE(SwitcherShown());
        auto it = std::find(windows.begin(), windows.end(), GetForegroundWindow());
        return it == windows.end() ? -1 : static_cast<int>(it - windows.begin());
    }

    struct StepCase {
        std::vector<WPARAM> steps;
        int chosen;
    };

    // Starts with these options and, with and without animation, expects each
    // case's steps to activate its chosen window.
    void ExpectChosenWindows(Options options, const std::vector<StepCase>& cases) {
        ASSERT_NO_FATAL_FAILURE(Start(options));
        for (BYTE noAnimation : {0, 1}) {
            options.noAnimation = noAnimation;
            Reload(options);
            for (const auto& c : cases) {
                SCOPED_TRACE(testing::Message() << "noAnimation " << int(noAnimation) << ", "
                                                << c.steps.size() << " steps to " << c.chosen);
                EXPECT_EQ(ActivateAfter(c.steps), c.chosen);
            }
        }
    }

    HWND decoy = nullptr;
    std::vector<HWND> windows;
    StartedProgram program;
    HWND switcher = nullptr;
};

TEST_F(SwitcherCommandsEndToEnd, OpenWithNoWindowShowsNothing) {
    for (HWND window : windows)
        ShowWindow(window, SW_HIDE);
    Start({});
    ASSERT_TRUE(BringToForeground(decoy));
    Post(CMD_OPEN);
    Settle();
    EXPECT_FALSE(SwitcherShown());
    EXPECT_EQ(GetForegroundWindow(), decoy);
}

TEST_F(SwitcherCommandsEndToEnd, OpenWithOneWindowActivatesItWithoutShowing) {
    ShowWindow(windows[1], SW_HIDE);
    ShowWindow(windows[2], SW_HIDE);
    ShowWindow(windows[0], SW_MINIMIZE);
    Start({});
    ASSERT_TRUE(BringToForeground(decoy));
    Post(CMD_OPEN);
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[0]; }));
    EXPECT_FALSE(IsIconic(windows[0]));
    Settle();
    EXPECT_FALSE(SwitcherShown());
}

TEST_F(SwitcherCommandsEndToEnd, OpenPlacesTheSwitcherAtEveryScreenPosition) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    const struct {
        BYTE position;
        POINT corner;
    } cases[] = {{0, {212, 197}}, {1, {212, 43}},  {2, {212, 350}},  {3, {7, 197}},
                 {4, {7, 43}},    {5, {7, 350}},   {6, {416, 197}},  {7, {416, 43}},
                 {8, {416, 350}}, {9, {212, 197}}, {255, {212, 197}}};
    Start({});
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.position));
        Options options;
        options.screenPosition = c.position;
        options.noAnimation = c.position & 1;
        Reload(options);
        Arrange();
        OpenAndExpectShown();
        RECT rect = {};
        GetWindowRect(switcher, &rect);
        EXPECT_EQ(rect.left, c.corner.x);
        EXPECT_EQ(rect.top, c.corner.y);
        EXPECT_EQ(rect.right - rect.left, 600);
        EXPECT_EQ(rect.bottom - rect.top, 375);
        Post(CMD_CANCEL);
        EXPECT_TRUE(WaitUntil([this] { return !SwitcherShown(); }));
    }
}

TEST_F(SwitcherCommandsEndToEnd, StepsWrapAndActivateBringsTheChosenWindowForward) {
    ExpectChosenWindows({}, {
                                {{}, 0},
                                {{CMD_NEXT}, 1},
                                {{CMD_NEXT, CMD_NEXT}, 2},
                                {{CMD_NEXT, CMD_NEXT, CMD_NEXT}, 0},
                                {{CMD_PREV}, 2},
                                {{CMD_PREV, CMD_PREV}, 1},
                                {{CMD_LAST}, 2},
                                {{CMD_LAST, CMD_NEXT}, 0},
                                {{CMD_NEXT, CMD_FIRST}, 0},
                            });
}

TEST_F(SwitcherCommandsEndToEnd, SelectSecondOnOpenStartsAtTheSecondEntry) {
    Options options;
    options.selectSecondOnOpen = 1;
    ExpectChosenWindows(options,
                        {{{}, 1}, {{CMD_PREV}, 0}, {{CMD_PREV, CMD_PREV}, 2}, {{CMD_NEXT}, 2}});
}

TEST_F(SwitcherCommandsEndToEnd, CommandsQueuedBehindOpenActOnTheListItBuilds) {
    Start({});
    Arrange();
    for (WPARAM code : {CMD_OPEN, CMD_NEXT, CMD_NEXT, CMD_ACTIVATE})
        Post(code);
    EXPECT_TRUE(WaitUntil([this] { return GetForegroundWindow() == windows[2]; }));
    Settle();
    EXPECT_FALSE(SwitcherShown());
    EXPECT_EQ(GetForegroundWindow(), windows[2]);
}

TEST_F(SwitcherCommandsEndToEnd, CancelOnlyHides) {
    Start({});
    for (BYTE noAnimation : {0, 1}) {
        SCOPED_TRACE(int(noAnimation));
        Options options;
        options.noAnimation = noAnimation;
        Reload(options);
        Arrange();
        OpenAndExpectShown();
        Post(CMD_NEXT);
        Post(CMD_CANCEL);
        EXPECT_TRUE(WaitUntil([this] { return !SwitcherShown(); }));
        Settle();
        HWND foreground = GetForegroundWindow();
        EXPECT_EQ(std::find(windows.begin(), windows.end(), foreground), windows.end());
        EXPECT_EQ(StackingOrderOf(windows), windows);
    }
}

TEST_F(SwitcherCommandsEndToEnd, CancelAndActivateWhileHiddenAreHarmless) {
    Start({});
    Arrange();
    OpenAndExpectShown();
    for (int i = 0; i < 4; ++i)
        Post(CMD_CANCEL); // the first hides, the others find it hidden
    EXPECT_TRUE(WaitUntil([this] { return !SwitcherShown(); }));

    // With an empty list the selection steps to -1: each ACTIVATE then only hides again.
    for (HWND window : windows)
        ShowWindow(window, SW_HIDE);
    Post(CMD_OPEN);
    Post(CMD_PREV);
    for (int i = 0; i < 3; ++i) {
        Post(CMD_ACTIVATE);
        Post(CMD_CANCEL);
    }
    Settle();
    EXPECT_FALSE(SwitcherShown());
    EXPECT_EQ(GetForegroundWindow(), decoy);

    // Still alive and working.
    for (HWND window : windows)
        ShowWindow(window, SW_SHOWNA);
    EXPECT_EQ(ActivateAfter({CMD_LAST}), 2);
    EXPECT_EQ(ActivateAfter({}), 0);
    DWORD code = 0;
    GetExitCodeProcess(program.info.hProcess, &code);
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
}

} // namespace
