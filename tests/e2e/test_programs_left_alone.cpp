// zephtab.exe with the "Exclude" and "PassThrough" lists and paused from its
// icon, driven through the X server: the programs are copies of a helper under
// file names of their own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/identifiers.h"
#include "input_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

namespace {

struct KeyWindow {
    StartedProgram program;
    HWND window = nullptr;
    std::wstring title;
};

void StorePatterns(const wchar_t* value, std::initializer_list<const wchar_t*> patterns) {
    ProgramPatternList list = {};
    for (const wchar_t* pattern : patterns)
        AddPattern(&list, pattern);
    ASSERT_EQ(WriteStoredPatternList(value, list), STORE_WRITTEN);
}

class ProgramsLeftAlone : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        DeleteSettingsKey();
        ASSERT_TRUE(Xdotool("mousemove 512 384"));
        for (const wchar_t* name : {L"mygame.exe", L"Excluded_Tool.exe"})
            ASSERT_TRUE(CopyFileW((ExecutableFolder() + L"key_window.exe").c_str(),
                                  (ExecutableFolder() + name).c_str(), FALSE));
    }
    void TearDown() override {
        ReleaseKeysAndCloseSwitcher();
        CloseRunningSwitcher();
        WaitForExit(zephtab);
        EndProgram(zephtab);
        for (KeyWindow& other : windows) {
            if (IsWindow(other.window))
                PostMessageW(other.window, WM_CLOSE, 0, 0);
            WaitForExit(other.program);
            EndProgram(other.program);
        }
        RemoveSwitcherRegistryTraces();
        for (const wchar_t* name : {L"mygame.exe", L"Excluded_Tool.exe"})
            DeleteFileW((ExecutableFolder() + name).c_str());
    }

    void Start() {
        SwitcherOptions options = DefaultSwitcherOptions();
        options.livePreview = 0;
        options.noAnimation = 1;
        WriteStoredOptions(&options);
        ASSERT_TRUE(StartSwitcherProgram(&zephtab));
        switcher = FindSwitcherWindow();
        ASSERT_NE(switcher, nullptr);
    }

    HWND StartKeyWindow(const wchar_t* exeName, const wchar_t* title) {
        windows.emplace_back();
        KeyWindow& other = windows.back();
        other.title = title;
        other.program = StartProgram(exeName, L"\"" + other.title + L"\"");
        EXPECT_TRUE(other.program.started);
        EXPECT_TRUE(WaitUntil([&] {
            other.window = FindWindowW(L"ZephtabKeyHelper", title);
            return other.window != nullptr;
        }));
        // Shown, it takes the foreground: only then may a test give it to another.
        EXPECT_TRUE(WaitForForeground(other.window));
        return other.window;
    }

    static std::wstring TitleOf(HWND window) {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);
        return title;
    }

    // Whether Zephtab holds Alt+Tab as a hot key: it lets go while it stands aside.
    static bool AltTabHotKeyFree() {
        HWND probe = CreateTestWindow(L"Hot key probe", WS_OVERLAPPEDWINDOW);
        const bool free = RegisterHotKey(probe, 1, MOD_ALT, VK_TAB) != 0;
        if (free)
            UnregisterHotKey(probe, 1);
        DestroyWindow(probe);
        return free;
    }

    // Alt+Tab through the X server with window in front; whether the window got it.
    // expectStandingAside: first wait until Zephtab has judged the window and let go.
    bool AltTabReaches(HWND window, bool expectStandingAside = false) {
        EXPECT_TRUE(BringToForeground(window));
        EXPECT_TRUE(WaitForForeground(window));
        if (expectStandingAside) {
            EXPECT_TRUE(WaitUntil(AltTabHotKeyFree));
        }
        const std::wstring before = TitleOf(window);
        EXPECT_TRUE(Xdotool("keydown Alt_L"));
        EXPECT_TRUE(Xdotool("key Tab"));
        const bool reached = WaitUntil([&] { return TitleOf(window) != before; }, 3000);
        EXPECT_TRUE(Xdotool("keyup Alt_L"));
        return reached;
    }

    // Alt+Tab through the X server with window in front; whether Zephtab's switcher
    // took it (the hook sees every key, wherever the keyboard's focus is).
    bool AltTabOpensSwitcher(HWND window) {
        EXPECT_TRUE(BringToForeground(window));
        EXPECT_TRUE(WaitForForeground(window));
        EXPECT_TRUE(Xdotool("keydown Alt_L"));
        EXPECT_TRUE(Xdotool("key Tab"));
        const bool shown = WaitForSwitcherShown(true);
        EXPECT_TRUE(Xdotool("key Escape"));
        EXPECT_TRUE(Xdotool("keyup Alt_L"));
        EXPECT_TRUE(WaitForSwitcherShown(false));
        return shown;
    }

    // A click on the index-th of the menu's four items, as the user makes it.
    void ChooseTrayItem(int index) {
        PostMessageW(switcher, WM_TRAY_CALLBACK, 1, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = FindOpenMenuWindow()) != nullptr; }));
        RECT rect = {};
        GetWindowRect(menu, &rect);
        const POINT item = {(rect.left + rect.right) / 2,
                            rect.top + (rect.bottom - rect.top) * (2 * index + 1) / 8};
        ASSERT_TRUE(MouseAt(item, "click 1"));
        ASSERT_TRUE(WaitUntil([] { return FindOpenMenuWindow() == nullptr; }));
    }

    int OpenAndCount() {
        EXPECT_TRUE(Xdotool("keydown Alt_L"));
        EXPECT_TRUE(Xdotool("key Tab"));
        EXPECT_TRUE(WaitForSwitcherShown(true));
        HWND strip = FindWindowExW(switcher, nullptr, WC_LISTVIEWW, nullptr);
        const int count = static_cast<int>(SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_TRUE(Xdotool("key Escape"));
        EXPECT_TRUE(Xdotool("keyup Alt_L"));
        EXPECT_TRUE(WaitForSwitcherShown(false));
        return count;
    }

    StartedProgram zephtab;
    HWND switcher = nullptr;
    std::vector<KeyWindow> windows;
};

TEST_F(ProgramsLeftAlone, AnExcludedProgramsWindowsAreNotListed) {
    ASSERT_NO_FATAL_FAILURE(StorePatterns(ZEPHTAB_EXCLUDE_VALUE, {L"EXCLUDED_*.exe"}));
    ASSERT_NO_FATAL_FAILURE(Start());
    StartKeyWindow(L"key_window.exe", L"Plain one");
    StartKeyWindow(L"key_window.exe", L"Plain two");
    StartKeyWindow(L"Excluded_Tool.exe", L"Excluded tool");
    const int withExclusion = OpenAndCount();
    ASSERT_NO_FATAL_FAILURE(StorePatterns(ZEPHTAB_EXCLUDE_VALUE, {}));
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(switcher, WM_RELOAD_OPTIONS, 0, 0, SMTO_NORMAL, 5000, &answer);
    EXPECT_EQ(OpenAndCount(), withExclusion + 1);
}

// The game is started last, so that it takes the foreground (and the keyboard) itself:
// under Wine, a window another process brings forward may not get the X server's keys.
TEST_F(ProgramsLeftAlone, APassThroughProgramKeepsAltTabAndOthersDoNot) {
    ASSERT_NO_FATAL_FAILURE(
        StorePatterns(ZEPHTAB_PASS_THROUGH_VALUE, {L"mstsc.exe", L"MyGame.exe"}));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND plain = StartKeyWindow(L"key_window.exe", L"Plain");
    HWND game = StartKeyWindow(L"mygame.exe", L"Game");
    EXPECT_TRUE(AltTabReaches(game, true));
    EXPECT_FALSE(IsSwitcherShown());
    EXPECT_TRUE(AltTabOpensSwitcher(plain));
}

TEST_F(ProgramsLeftAlone, PausedFromTheIconAltTabReachesTheProgramUntilResumed) {
    ASSERT_NO_FATAL_FAILURE(Start());
    StartKeyWindow(L"key_window.exe", L"Plain two");
    HWND plain = StartKeyWindow(L"key_window.exe", L"Plain");
    ASSERT_NO_FATAL_FAILURE(ChooseTrayItem(1)); // Pause
    EXPECT_TRUE(AltTabReaches(plain, true));
    EXPECT_FALSE(IsSwitcherShown());
    ASSERT_NO_FATAL_FAILURE(ChooseTrayItem(1)); // Resume
    EXPECT_TRUE(AltTabOpensSwitcher(plain));
}

} // namespace
