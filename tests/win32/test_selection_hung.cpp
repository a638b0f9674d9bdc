// A hung application does not keep the switcher from opening: its window is
// listed with its program's icon or the fallback, and its preview keeps the icon; the toolbar and
// the activation do not wait for it either. Under Wine an
// icon query to another process is answered at once, so the icon time-out is
// shown with a window of another thread of this process; the capture guard
// with a window of a helper program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "actions/activation_win.h"
#include "actions/toolbar_win.h"
#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/switcher_commands_win.h"
#include "display/selection_texts.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/program_icons_win.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_probe_win.h"

namespace {

// A hung window stops answering for far longer: an open that waited for it would miss this.
constexpr DWORD kGenerousDeadlineMs = 10000;
// An action on a hung window returns in about the probe's time; one that waited would not.
constexpr DWORD kPromptMs = 5000;

bool Answers(HWND window, UINT timeoutMs) {
    DWORD_PTR result;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

// The open as a user starts it; returns how long it took.
DWORD TimedOpen() {
    const DWORD start = GetTickCount();
    RunSwitcherCommand(CMD_OPEN);
    return GetTickCount() - start;
}

// A window on a thread of its own that stops handling messages on WM_APP until
// released, or for kHangMs at most, so that code that waits for it is slow, not stuck.
constexpr DWORD kHangMs = 30000;

struct HungThread {
    HANDLE thread = nullptr;
    HANDLE release = nullptr;
    HANDLE ready = nullptr;
    HWND window = nullptr;
};

DWORD WINAPI HungThreadMain(void* parameter) {
    HungThread* hung = static_cast<HungThread*>(parameter);
    hung->window = CreateTestWindow(L"hung thread window");
    SetEvent(hung->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_APP) {
            WaitForSingleObject(hung->release, kHangMs);
            break;
        }
        DispatchMessageW(&message);
    }
    DestroyWindow(hung->window);
    return 0;
}

// Starts the thread, lets prepare run on its answering window, then hangs it.
template <typename Prepare> void StartHungThread(HungThread* hung, Prepare prepare) {
    hung->release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hung->ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hung->thread = CreateThread(nullptr, 0, HungThreadMain, hung, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(hung->ready, 5000), WAIT_OBJECT_0);
    ASSERT_TRUE(Answers(hung->window, 5000));
    prepare(hung->window);
    PostMessageW(hung->window, WM_APP, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Answers(hung->window, 200); }));
}

void StopHungThread(HungThread* hung) {
    SetEvent(hung->release);
    WaitForSingleObject(hung->thread, 5000);
    CloseHandle(hung->thread);
    CloseHandle(hung->release);
    CloseHandle(hung->ready);
}

// Milliseconds that action took.
template <typename Action> DWORD TimeOf(Action action) {
    const DWORD start = GetTickCount();
    action();
    return GetTickCount() - start;
}

class HungWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SwitcherOptions stored;
        SetDefaultOptions(&stored);
        stored.noAnimation = 1;
        stored.showProcessInfo = 1;
        stored.livePreview = 1;
        ASSERT_TRUE(StartSwitcherInProcess(stored));
        fallback = LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW));
    }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }
    void TearDown() override { RunSwitcherCommand(CMD_CANCEL); }

    static HICON fallback;
};
HICON HungWindow::fallback;

TEST_F(HungWindow, AThreadThatStopsAnsweringIconQueriesDoesNotHoldUpTheOpen) {
    HungThread hung;
    ASSERT_NO_FATAL_FAILURE(StartHungThread(&hung, [](HWND) {}));
    // Created after the hung one, so it is on top and becomes the selection.
    HWND answering = CreateTestWindow(L"answering window");

    const DWORD openMs = TimedOpen();
    std::printf("open with a hung window of this process took %lu ms\n", openMs);
    EXPECT_LT(openMs, kGenerousDeadlineMs);
    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
    ASSERT_GE(ListedIndexOf(hung.window), 0);
    EXPECT_EQ(ImageList_GetImageCount(StripImageList), listedCount);
    // Not its own icon, which it cannot give: its program's, read from the process.
    EXPECT_EQ(LookupWindowIcon(hung.window), ProgramFileIcon(hung.window, StripIconSize()));
    EXPECT_STREQ(SelectionTexts.titleText, L"answering window");

    StopHungThread(&hung);
    DestroyWindow(answering);
}

// Restyling, moving or restoring a window waits for its thread. Aimed at a hung,
// minimised window, the toolbar's buttons leave it alone and the activation only
// hands it the foreground, each without waiting for it.
TEST_F(HungWindow, ActionsOnAHungWindowReturnAtOnce) {
    HungThread hung;
    // Pinned before it hangs: the buttons read a window's real state.
    ASSERT_NO_FATAL_FAILURE(StartHungThread(&hung, [](HWND window) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(window, SW_MINIMIZE);
    }));
    const LONG exStyle = GetWindowLongW(hung.window, GWL_EXSTYLE);
    ReplaceWindowList({hung.window});
    for (int command : {IDC_TRANSPARENT, IDC_TOPMOST}) {
        SCOPED_TRACE(command);
        EXPECT_LT(TimeOf([&] { RunActionCommand(command); }), kPromptMs);
        EXPECT_EQ(GetWindowLongW(hung.window, GWL_EXSTYLE), exStyle);
    }
    EXPECT_EQ(pinnedWindow, nullptr);
    pinnedWindow = hung.window;
    EXPECT_LT(TimeOf([] { RunActionCommand(IDC_RESTORE_TOPMOST); }), kPromptMs);
    EXPECT_EQ(pinnedWindow, hung.window); // still to be undone once it answers
    // Pinning another window would unpin the hung one first, and wait for it.
    HWND answering = CreateTestWindow(L"answering window");
    ReplaceWindowList({answering});
    EXPECT_LT(TimeOf([] { RunActionCommand(IDC_TOPMOST); }), kPromptMs);
    EXPECT_EQ(pinnedWindow, hung.window);
    DestroyWindow(answering);
    pinnedWindow = nullptr;

    bool activated = false;
    EXPECT_LT(TimeOf([&] { activated = ActivateChosenWindow(hung.window); }), kPromptMs);
    EXPECT_TRUE(activated);
    EXPECT_EQ(GetForegroundWindow(), hung.window);
    StopHungThread(&hung);
}

TEST_F(HungWindow, TheProbeDoesNotAskAWindowTheSystemCallsHung) {
    HungThread hung;
    ASSERT_NO_FATAL_FAILURE(StartHungThread(&hung, [](HWND) {}));
    // The system calls it hung once its thread has taken no message for a few seconds.
    ASSERT_TRUE(
        WaitUntil([&] { return IsHungAppWindow(hung.window) != FALSE; }, kGenerousDeadlineMs));
    DWORD fastest = INFINITE;
    for (int probe = 0; probe < 5; ++probe) {
        const DWORD start = GetTickCount();
        EXPECT_FALSE(WindowAnswers(hung.window));
        fastest = std::min(fastest, GetTickCount() - start);
    }
    // Asking it would wait out the whole time-out each time.
    EXPECT_LT(fastest, WINDOW_ANSWER_TIMEOUT_MS / 2);
    StopHungThread(&hung);
}

TEST_F(HungWindow, AHungApplicationIsListedAndItsPreviewKeepsTheIcon) {
    HWND own = CreateTestWindow(L"answering window");
    StartedProgram helper = StartProgram(L"display_window.exe", L"hung-helper");
    ASSERT_TRUE(helper.started);
    HWND hung = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (hung = FindWindowW(L"ZephtabDisplayHelper", L"hung-helper")) != nullptr; }));
    ASSERT_TRUE(Answers(hung, 5000));
    PostMessageW(hung, WM_APP, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Answers(hung, 200); }));

    const DWORD openMs = TimedOpen();
    std::printf("open with a hung application took %lu ms\n", openMs);
    EXPECT_LT(openMs, kGenerousDeadlineMs);
    const int index = ListedIndexOf(hung);
    ASSERT_GE(index, 0);
    const HICON icon = LookupWindowIcon(hung);
    EXPECT_NE(icon, fallback); // its program file's, read without asking it

    // Its texts are read without asking it, and its icon shows at once; the
    // capture, due after the delay, would wait for it: the preview keeps the icon.
    const DWORD selectStart = GetTickCount();
    SelectEntry(index);
    EXPECT_STREQ(SelectionTexts.titleText, L"hung-helper");
    EXPECT_STRNE(SelectionTexts.modulePathText, L"");
    ASSERT_TRUE(previewPending);
    EXPECT_EQ(GetPixel(PreviewCanvas, 83 + 16, 83 + 20), IconPixel(icon, 16, 20));
    OnPreviewTimer(SwitcherWindow); // the delay is over
    EXPECT_LT(GetTickCount() - selectStart, kGenerousDeadlineMs);
    EXPECT_EQ(GetPixel(PreviewCanvas, 83 + 16, 83 + 20), IconPixel(icon, 16, 20));
    EXPECT_EQ(GetPixel(PreviewCanvas, 83 + 10, 83 + 6), IconPixel(icon, 10, 6));

    EndProgram(helper);
    DestroyWindow(own);
}

} // namespace
