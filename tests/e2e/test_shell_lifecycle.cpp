// The program's life as other programs see it: first start, the registry,
// the hidden window, a second instance, reload, hot keys and the end.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/identifiers.h"
#include "input_support_win.h"
#include "registry_support_win.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

namespace {

const std::vector<BYTE>& kDefaults = DefaultOptionsRecord();

std::vector<BYTE> RecordWithAlpha(BYTE alpha) {
    std::vector<BYTE> record = kDefaults;
    record[5] = alpha;
    return record;
}

std::wstring RunValue() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, &type, &data) || type != REG_SZ)
        return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
}

std::wstring ExpectedRunValue() {
    // The full path in quotes and its terminating zero, as stored.
    std::wstring path = ExecutableFolder() + L"zephtab.exe";
    wchar_t full[MAX_PATH];
    GetLongPathNameW(path.c_str(), full, MAX_PATH);
    return L"\"" + std::wstring(full) + L"\"" + L'\0';
}

bool IsLayered(HWND window) {
    return GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED;
}

// A running zephtab.exe that the test ends in its tear-down whatever happened.
class RunningSwitcher : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
    }
    void TearDown() override {
        CloseRunningSwitcher();
        EndProgram(program);
        DeleteSettingsKey();
    }
    HWND Start() {
        EXPECT_TRUE(StartSwitcherProgram(&program));
        return FindSwitcherWindow();
    }
    StartedProgram program;
};

TEST_F(RunningSwitcher, FirstStartStoresTheDefaultRecordAndItsPath) {
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
    ASSERT_NE(Start(), nullptr);
    ASSERT_NO_FATAL_FAILURE(ExpectStoredRecord(kDefaults));
    EXPECT_EQ(RunValue(), ExpectedRunValue());
}

TEST_F(RunningSwitcher, RunValueComesBackOnEveryReload) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    for (int reload = 0; reload < 2; ++reload) {
        DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(
            SendMessageTimeoutW(window, WM_RELOAD_OPTIONS, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
        EXPECT_EQ(answer, 1u);
        EXPECT_EQ(RunValue(), ExpectedRunValue());
    }
}

TEST_F(RunningSwitcher, WindowIsHiddenUntitledAndShapedAsDesigned) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"gZephtab");
    EXPECT_EQ(GetWindowTextLengthW(window), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) &
                  (WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CAPTION),
              static_cast<DWORD>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) &
                  (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_APPWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetClassLongW(window, GCL_STYLE), CS_VREDRAW | CS_HREDRAW | CS_DROPSHADOW);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 600);
    EXPECT_EQ(rect.bottom - rect.top, 375);
}

TEST_F(RunningSwitcher, StartupOpacityBelowFiftyIsOpaque) {
    const struct {
        BYTE stored;
        bool layered;
    } cases[] = {{49, false}, {50, true}, {255, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreRawSettings(RecordWithAlpha(c.stored));
        HWND window = Start();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsLayered(window), c.layered);
        if (c.layered) {
            EXPECT_EQ(LayeredAlpha(window), c.stored);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(program), 0u);
        EndProgram(program);
    }
}

TEST_F(RunningSwitcher, ReloadAppliesOpacityAsStoredAndBackToOpaque) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(IsLayered(window));

    StoreRawSettings(RecordWithAlpha(20));
    EXPECT_EQ(SendMessageW(window, WM_RELOAD_OPTIONS, 0, 0), 1);
    EXPECT_TRUE(IsLayered(window));
    EXPECT_EQ(LayeredAlpha(window), 20);

    StoreRawSettings(RecordWithAlpha(255));
    EXPECT_EQ(SendMessageW(window, WM_RELOAD_OPTIONS, 0, 0), 1);
    EXPECT_FALSE(IsLayered(window));
    EXPECT_EQ(SendMessageW(window, WM_RELOAD_OPTIONS, 0, 0), 1);
    EXPECT_FALSE(IsLayered(window));
}

BOOL CALLBACK CountSwitcherWindow(HWND window, LPARAM counter) {
    wchar_t className[64];
    if (GetClassNameW(window, className, 64) && wcscmp(className, L"gZephtab") == 0)
        ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountSwitcherWindows() {
    int count = 0;
    EnumWindows(CountSwitcherWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(RunningSwitcher, SecondInstanceEndsAtOnceWithoutWindowOrMessage) {
    ASSERT_NE(Start(), nullptr);
    StartedProgram second = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(second.started);
    EXPECT_EQ(WaitForExit(second), 0u);
    EXPECT_EQ(FindVisibleDialogOf(second.info.dwProcessId), nullptr);
    EndProgram(second);
    EXPECT_EQ(CountSwitcherWindows(), 1);
    // The first instance still holds its hot keys.
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_WIN, VK_F12));
}

TEST_F(RunningSwitcher, TakenAltTabGivesOneMessageAndTheProgramRunsOn) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_TAB));
    program = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(program.started);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (dialog = FindVisibleDialogOf(program.info.dwProcessId)) != nullptr; }));
    EXPECT_EQ(GetWindowTextLengthW(dialog), 0);
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 512);
    EXPECT_STREQ(text, L"Cannot Register all Alt+Tab Keys. Please Unload any other application\n"
                       L"(if any) that is also providing Alt+Tab functionality. Zephtab will\n"
                       L"run but other applications might interfear in its proper functionality.");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    // Start-up went on after the message: the window exists and no second message came.
    ASSERT_TRUE(WaitUntil([] { return FindSwitcherWindow() != nullptr; }));
    EXPECT_EQ(FindVisibleDialogOf(program.info.dwProcessId), nullptr);
    // The keys after the failed one were not registered.
    EXPECT_TRUE(RegisterHotKey(nullptr, 2, MOD_ALT | MOD_SHIFT, VK_TAB));
    EXPECT_TRUE(RegisterHotKey(nullptr, 3, MOD_WIN, VK_F12));
    UnregisterHotKey(nullptr, 1);
    UnregisterHotKey(nullptr, 2);
    UnregisterHotKey(nullptr, 3);
    PostMessageW(FindSwitcherWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
}

TEST_F(RunningSwitcher, CloseAndWinF12EndWithCodeZeroAndFreeTheInstance) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
    EndProgram(program);

    // The mutex went with the first instance: a new one starts.
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Xdotool("mousemove 512 384"));
    ASSERT_TRUE(Xdotool("key super+F12"));
    EXPECT_EQ(WaitForExit(program), 0u);
    EXPECT_EQ(FindSwitcherWindow(), nullptr);
    // Its hot keys were unregistered.
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_TAB));
    UnregisterHotKey(nullptr, 1);
}

TEST_F(RunningSwitcher, IgnoredMessagesAnswerZeroAndChangeNothing) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    for (WPARAM code : {120, 200, 114, 123})
        EXPECT_EQ(SendMessageW(window, WM_SWITCHER_COMMAND, code, 0), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindow(window));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// The switcher's windows: itself (also the menus' owner), its children (the
// strip, the toolbar) and the toolbar's tooltip.
std::vector<HWND> SwitcherWindows(HWND switcher) {
    std::vector<HWND> all = {switcher};
    EnumChildWindows(switcher, CollectWindow, reinterpret_cast<LPARAM>(&all));
    HWND toolbar = FindWindowExW(switcher, nullptr, TOOLBARCLASSNAMEW, nullptr);
    all.push_back(reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)));
    return all;
}

// Any program on the desktop can post any message to the switcher and its
// controls; a pointer it carries points into that program, or nowhere. With
// the switcher shown, the control messages, WM_NOTIFY and WM_DPICHANGED with
// bad pointers to each of its windows leave it running, answering, unchanged.
TEST_F(RunningSwitcher, ForeignPostedMessagesLeaveItRunningAndUnchanged) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    // Windows of programs that keep answering while this driver posts.
    StartedProgram first = StartProgram(L"display_window.exe", L"first");
    StartedProgram second = StartProgram(L"display_window.exe", L"second");
    ASSERT_TRUE(WaitForProgramIdle(first) && WaitForProgramIdle(second));
    PostMessageW(window, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
    ASSERT_TRUE(WaitForSwitcherShown(true));
    const std::vector<HWND> targets = SwitcherWindows(window);
    ASSERT_EQ(targets.size(), 4u);
    ASSERT_NE(targets.back(), nullptr);

    std::vector<UINT> messages = {WM_NOTIFY, WM_DPICHANGED};
    for (UINT message = WM_USER; message <= WM_USER + 0x400; ++message)
        messages.push_back(message);
    for (UINT message = LVM_FIRST; message < LVM_FIRST + 0x100; ++message)
        messages.push_back(message);
    // After each window's messages, a posted reload: handled only when they were.
    for (HWND target : targets) {
        DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
        for (UINT message : messages)
            for (LPARAM lParam : {LPARAM(0), LPARAM(0xDEAD0000)})
                PostMessageW(target, message, 0x00900090, lParam);
        PostMessageW(window, WM_RELOAD_OPTIONS, 0, 0);
        ASSERT_TRUE(WaitUntil([] { return RunValue() == ExpectedRunValue(); }, 60000))
            << "after the messages posted to " << target;
    }
    // Sent from another process: Windows delivers it as it is (Wine refuses it).
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_NOTIFY, 0, 0x10, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_TRUE(IsSwitcherShown());
    PostMessageW(window, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_TRUE(WaitForSwitcherShown(false));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0u);
    EndProgram(first);
    EndProgram(second);
}

} // namespace
