// Zephtab Settings driven from outside as a user would: check boxes clicked,
// the slider moved, a placement and the monitor choices chosen, then Apply, OK
// or Cancel; the registry and the running zephtab.exe show the result.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/settings_dialog_ids.h"
#include "settings/settings_store_win.h"
#include "input_support_win.h"
#include "registry_support_win.h"
#include "window_support_win.h"

namespace {

const std::vector<BYTE>& kDefaults = DefaultOptionsRecord();

HWND FindSettingsDialog() {
    return FindWindowW(L"#32770", L"Zephtab Settings");
}

// The dialog box shows its window only after it has set up its controls.
HWND FindReadySettingsDialog() {
    HWND dialog = FindSettingsDialog();
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetWindowTextW(GetDlgItem(dialog, id), text, 256);
    return text;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// As a user's drag ends: the position, then the notifications the slider sends its parent.
void MoveSlider(HWND dialog, int position) {
    HWND slider = GetDlgItem(dialog, IDC_OPACITY);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    LPARAM from = reinterpret_cast<LPARAM>(slider);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), from);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), from);
}

// The dialog is the active window of its thread and one of its controls has the keyboard focus.
bool HasKeyboardFocus(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    return GetForegroundWindow() == dialog && GetGUIThreadInfo(thread, &info) &&
           info.hwndActive == dialog && info.hwndFocus && IsChild(dialog, info.hwndFocus);
}

// Keys reach a window of another process only through its own X window, so that one
// gets the X input focus, as a window manager would give it.
void FocusDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return HasKeyboardFocus(dialog); }));
    ASSERT_TRUE(Xdotool("search --name \"^Zephtab Settings$\" windowfocus --sync"));
}

int SliderPosition(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPACITY, TBM_GETPOS, 0, 0));
}

int Selection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void StoreMoreOptions(const std::vector<BYTE>& bytes) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", REG_BINARY, bytes.data(),
                       static_cast<DWORD>(bytes.size()));
}

std::vector<BYTE> StoredMoreOptions() {
    DWORD type = 0;
    std::vector<BYTE> data;
    ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"MoreOptions", &type, &data);
    return data;
}

class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseRunningSwitcher();
        WaitUntil([] { return FindSettingsDialog() == nullptr; });
        DeleteSettingsKey();
    }
    void TearDown() override {
        if (dialog)
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        WaitForExit(settings, 5000);
        EndProgram(settings);
        CloseRunningSwitcher();
        if (zephtab.started) {
            WaitForExit(zephtab);
            EndProgram(zephtab);
        }
        DeleteSettingsKey();
    }
    void StartZephtab() {
        ASSERT_TRUE(StartSwitcherProgram(&zephtab));
        switcher = FindSwitcherWindow();
    }
    void OpenDialog() {
        EndProgram(settings);
        settings = StartProgram(L"zephtab-settings.exe");
        ASSERT_TRUE(settings.started);
        ASSERT_TRUE(WaitUntil([] { return FindReadySettingsDialog() != nullptr; }));
        dialog = FindReadySettingsDialog();
    }
    // The dialog ends with exit code 0 when closed by OK or Cancel.
    void ExpectDialogClosed() {
        EXPECT_EQ(WaitForExit(settings), 0u);
        EndProgram(settings);
        dialog = nullptr;
    }
    StartedProgram zephtab;
    StartedProgram settings;
    HWND switcher = nullptr;
    HWND dialog = nullptr;
};

TEST_F(SettingsDialog, ApplyStoresTheRecordAndTheRunningProgramReloadsIt) {
    StartZephtab();
    ASSERT_EQ(StoredOptionsBytes(), kDefaults);
    OpenDialog();
    EXPECT_TRUE(Contains(ControlText(dialog, IDC_RUNNING_STATE), L"Zephtab is running"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_APPLY)));

    Click(dialog, IDC_SHOW_TOOLBAR);
    Click(dialog, IDC_SHOW_PROCESS_INFO);
    Click(dialog, IDC_ANIMATION);
    Click(dialog, IDC_SMALL_ICONS);
    MoveSlider(dialog, 120);
    Click(dialog, IDC_PLACEMENT_FIRST); // upper left
    EXPECT_EQ(ControlText(dialog, IDC_OPACITY_VALUE), L"120");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_APPLY)));
    Click(dialog, IDC_APPLY);

    const std::vector<BYTE> expected = {1, 1, 0, 1, 1, 120, 4, 0, 1, 1, 1};
    EXPECT_TRUE(WaitUntil([&] { return StoredOptionsBytes() == expected; }));
    EXPECT_EQ(StoredVersion(), 258u);
    EXPECT_TRUE(WaitUntil([&] { return LayeredAlpha(switcher) == 120; }));
    EXPECT_EQ(ControlText(dialog, IDC_APPLY_RESULT), L"Saved. Zephtab reloaded the settings.");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_APPLY)));

    // A second change, not yet saved, leaves nothing said about it; Apply reaches the program
    // again.
    MoveSlider(dialog, 200);
    EXPECT_EQ(ControlText(dialog, IDC_APPLY_RESULT), L"");
    Click(dialog, IDC_APPLY);
    EXPECT_TRUE(WaitUntil([&] { return LayeredAlpha(switcher) == 200; }));
    EXPECT_EQ(StoredOptionsBytes()[5], 200);

    Click(dialog, IDCANCEL);
    ExpectDialogClosed();
    EXPECT_EQ(StoredOptionsBytes()[5], 200);
}

TEST_F(SettingsDialog, CancelWritesNothing) {
    const std::vector<BYTE> stored = {1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 0};
    StoreRawSettings(stored, 259);
    OpenDialog();
    Click(dialog, IDC_SHOW_TOOLBAR);
    Click(dialog, IDC_LIVE_PREVIEW);
    MoveSlider(dialog, 60);
    Click(dialog, IDC_PLACEMENT_LAST);
    Click(dialog, IDC_DEFAULTS);
    Click(dialog, IDCANCEL);
    ExpectDialogClosed();
    EXPECT_EQ(StoredOptionsBytes(), stored);
    EXPECT_EQ(StoredVersion(), 259u);
}

TEST_F(SettingsDialog, CancelOnAnEmptyStoreCreatesNothing) {
    OpenDialog();
    EXPECT_TRUE(Contains(ControlText(dialog, IDC_APPLY_RESULT), L"Nothing is stored yet"));
    EXPECT_TRUE(Contains(ControlText(dialog, IDC_RUNNING_STATE), L"Zephtab is not running"));
    Click(dialog, IDC_SMALL_ICONS);
    Click(dialog, IDCANCEL);
    ExpectDialogClosed();
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsDialog, ShowsTheStoredRecord) {
    StoreRawSettings({1, 0, 1, 1, 1, 180, 7, 1, 0, 1, 1});
    StoreMoreOptions({1, 2, 1});
    OpenDialog();
    EXPECT_EQ(Selection(dialog, IDC_OPEN_ON), 2);
    EXPECT_EQ(Selection(dialog, IDC_LIST_WINDOWS), 1);
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_PROCESS_INFO));
    EXPECT_FALSE(IsChecked(dialog, IDC_LIVE_PREVIEW));
    EXPECT_TRUE(IsChecked(dialog, IDC_STAY_OPEN));
    EXPECT_TRUE(IsChecked(dialog, IDC_SELECT_SECOND));
    EXPECT_FALSE(IsChecked(dialog, IDC_SMALL_ICONS));
    // Their size in pixels depends on the display scale: the label names none.
    EXPECT_EQ(ControlText(dialog, IDC_SMALL_ICONS), L"Small &icons");
    EXPECT_FALSE(IsChecked(dialog, IDC_ANIMATION)); // noAnimation is 1
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_TOOLBAR));
    EXPECT_EQ(SliderPosition(dialog), 180);
    EXPECT_EQ(ControlText(dialog, IDC_OPACITY_VALUE), L"180");
    for (int id = IDC_PLACEMENT_FIRST; id <= IDC_PLACEMENT_LAST; ++id)
        EXPECT_EQ(IsChecked(dialog, id), id == IDC_PLACEMENT_FIRST + 2) << id; // upper right
}

TEST_F(SettingsDialog, BytesTheControlsCannotShowStayAsStored) {
    // Opacity below the slider's 50, a placement code above 8, an "on" of 5, odd stored
    // flags, and choice codes past the last.
    StoreRawSettings({0, 5, 0, 7, 9, 40, 9, 0, 0, 0, 0});
    StoreMoreOptions({1, 7, 9});
    OpenDialog();
    EXPECT_EQ(Selection(dialog, IDC_OPEN_ON), 0);
    EXPECT_EQ(Selection(dialog, IDC_LIST_WINDOWS), 0);
    EXPECT_EQ(SliderPosition(dialog), 50);
    EXPECT_EQ(ControlText(dialog, IDC_OPACITY_VALUE), L"40 (below 50)");
    EXPECT_TRUE(IsChecked(dialog, IDC_PLACEMENT_FIRST + 4)); // centre
    EXPECT_TRUE(IsChecked(dialog, IDC_LIVE_PREVIEW));
    Click(dialog, IDC_SHOW_TOOLBAR);
    Click(dialog, IDC_APPLY);
    const std::vector<BYTE> expected = {0, 5, 0, 7, 9, 40, 9, 0, 0, 0, 1};
    EXPECT_TRUE(WaitUntil([&] { return StoredOptionsBytes() == expected; }));
    EXPECT_TRUE(Contains(ControlText(dialog, IDC_APPLY_RESULT), L"Zephtab is not running"));
    EXPECT_EQ(StoredMoreOptions(), (std::vector<BYTE>{1, 7, 9}));

    // Moving the slider, even to where it shows, sets the opacity it shows.
    MoveSlider(dialog, 50);
    Click(dialog, IDC_APPLY);
    EXPECT_TRUE(WaitUntil([&] { return StoredOptionsBytes()[5] == 50; }));
}

TEST_F(SettingsDialog, DefaultsKeepTheStoredFlags) {
    StoreRawSettings({1, 0, 1, 7, 9, 200, 4, 1, 1, 1, 1});
    StoreMoreOptions({1, 1, 1});
    OpenDialog();
    Click(dialog, IDC_DEFAULTS);
    EXPECT_EQ(SliderPosition(dialog), 255);
    EXPECT_TRUE(IsChecked(dialog, IDC_PLACEMENT_FIRST + 4));
    EXPECT_TRUE(IsChecked(dialog, IDC_ANIMATION));
    EXPECT_EQ(Selection(dialog, IDC_OPEN_ON), 0);
    Click(dialog, IDOK);
    ExpectDialogClosed();
    EXPECT_EQ(StoredOptionsBytes(), (std::vector<BYTE>{0, 1, 0, 7, 9, 255, 0, 0, 0, 0, 0}));
    EXPECT_EQ(StoredMoreOptions(), (std::vector<BYTE>{2, 0, 0, 1, 1, 0, 1, 1}));
}

TEST_F(SettingsDialog, OkStoresReloadsAndCloses) {
    StartZephtab();
    OpenDialog();
    MoveSlider(dialog, 90);
    Click(dialog, IDOK);
    ExpectDialogClosed();
    EXPECT_EQ(StoredOptionsBytes()[5], 90);
    EXPECT_EQ(LayeredAlpha(switcher), 90);
}

// A dialog left open does not undo what zephtab-config stored meanwhile.
TEST_F(SettingsDialog, ApplyKeepsAChangeMadeMeanwhileElsewhere) {
    StoreRawSettings(kDefaults);
    OpenDialog();
    ASSERT_EQ(RunCaptured(L"zephtab-config.exe", L"set livePreview=off order=zorder").exitCode, 0u);
    SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0); // as when the user comes back to it
    EXPECT_FALSE(IsChecked(dialog, IDC_LIVE_PREVIEW));
    EXPECT_EQ(Selection(dialog, IDC_ORDER), 1);
    ASSERT_EQ(RunCaptured(L"zephtab-config.exe", L"set smallIcons=on").exitCode, 0u);
    Click(dialog, IDC_SHOW_TOOLBAR);
    Click(dialog, IDC_APPLY);
    std::vector<BYTE> expected = kDefaults;
    expected[1] = 0;  // livePreview, by zephtab-config
    expected[8] = 1;  // smallIcons, by zephtab-config after the dialog last looked
    expected[10] = 1; // showToolbar, by the dialog
    EXPECT_TRUE(WaitUntil([&] { return StoredOptionsBytes() == expected; }));
    EXPECT_EQ(StoredMoreOptions()[5], ORDER_ZORDER);
    EXPECT_TRUE(IsChecked(dialog, IDC_SMALL_ICONS));
}

TEST_F(SettingsDialog, RunningStateFollowsTheProgram) {
    StartZephtab();
    OpenDialog();
    EXPECT_TRUE(Contains(ControlText(dialog, IDC_RUNNING_STATE), L"Zephtab is running"));
    CloseRunningSwitcher();
    EXPECT_TRUE(WaitUntil(
        [&] { return Contains(ControlText(dialog, IDC_RUNNING_STATE), L"not running"); }));
}

// Keys through the X server: an access key toggles its box, Enter is OK, Escape is Cancel.
TEST_F(SettingsDialog, KeyboardAloneChangesAndStores) {
    StoreRawSettings(kDefaults);
    OpenDialog();
    ASSERT_TRUE(Xdotool("mousemove 10 10"));
    FocusDialog(dialog);
    ASSERT_TRUE(Xdotool("key alt+t"));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_SHOW_TOOLBAR); }));
    ASSERT_TRUE(Xdotool("key alt+c")); // to the placement group, on the checked centre
    ASSERT_TRUE(Xdotool("key Right"));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_PLACEMENT_FIRST + 5); }));
    ASSERT_TRUE(Xdotool("key Return"));
    ExpectDialogClosed();
    std::vector<BYTE> expected = kDefaults;
    expected[6] = 6; // right
    expected[10] = 1;
    EXPECT_EQ(StoredOptionsBytes(), expected);

    OpenDialog();
    FocusDialog(dialog);
    ASSERT_TRUE(Xdotool("key alt+i"));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, IDC_SMALL_ICONS); }));
    ASSERT_TRUE(Xdotool("key Escape"));
    ExpectDialogClosed();
    EXPECT_EQ(StoredOptionsBytes(), expected);

    // The monitor choices by their access keys and the arrow keys; only their value is written.
    StoreMoreOptions({1, 0, 0});
    OpenDialog();
    FocusDialog(dialog);
    ASSERT_TRUE(Xdotool("key alt+m Down Down"));
    EXPECT_TRUE(WaitUntil([&] { return Selection(dialog, IDC_OPEN_ON) == 2; }));
    ASSERT_TRUE(Xdotool("key alt+w Down"));
    EXPECT_TRUE(WaitUntil([&] { return Selection(dialog, IDC_LIST_WINDOWS) == 1; }));
    DeleteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options");
    ASSERT_TRUE(Xdotool("key Return"));
    ExpectDialogClosed();
    EXPECT_EQ(StoredMoreOptions(), (std::vector<BYTE>{2, 2, 1, 1, 1, 0, 1, 1}));
    EXPECT_TRUE(StoredOptionsBytes().empty());
}

} // namespace

namespace {

std::vector<std::wstring> StoredPatterns(const wchar_t* value) {
    ProgramPatternList list = {};
    bool present = false;
    ReadStoredPatternList(value, &list, true, &present);
    return std::vector<std::wstring>(list.patterns, list.patterns + list.count);
}

TEST_F(SettingsDialog, TheProgramListsAreEditedInADialogOfTheirOwn) {
    ProgramPatternList exclude = {};
    AddPattern(&exclude, L"*overlay*.exe");
    ASSERT_EQ(WriteStoredPatternList(ZEPHTAB_EXCLUDE_VALUE, exclude), STORE_WRITTEN);
    OpenDialog();
    // Posted: the button's handler runs the lists' dialog, a modal loop of its own.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_LISTS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PROGRAM_LISTS)));
    HWND lists = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        lists = FindWindowW(L"#32770", L"Programs left alone");
        return lists && IsWindowVisible(lists);
    }));
    EXPECT_EQ(SendDlgItemMessageW(lists, IDC_EXCLUDE_LIST, LB_GETCOUNT, 0, 0), 1);
    SetDlgItemTextW(lists, IDC_PATTERN, L"mstsc.exe");
    Click(lists, IDC_ADD_PASS_THROUGH);
    EXPECT_EQ(SendDlgItemMessageW(lists, IDC_PASS_THROUGH_LIST, LB_GETCOUNT, 0, 0), 1);
    SendDlgItemMessageW(lists, IDC_EXCLUDE_LIST, LB_SETCURSEL, 0, 0);
    Click(lists, IDC_EXCLUDE_REMOVE);
    EXPECT_EQ(StoredPatterns(ZEPHTAB_EXCLUDE_VALUE).size(), 1u); // nothing stored before OK
    Click(lists, IDOK);
    ASSERT_TRUE(WaitUntil([] { return !FindWindowW(L"#32770", L"Programs left alone"); }));
    EXPECT_EQ(StoredPatterns(ZEPHTAB_EXCLUDE_VALUE), std::vector<std::wstring>{});
    EXPECT_EQ(StoredPatterns(ZEPHTAB_PASS_THROUGH_VALUE), std::vector<std::wstring>{L"mstsc.exe"});
    Click(dialog, IDCANCEL);
    ExpectDialogClosed();
}

} // namespace
