// zephtab.exe among windows of other programs, as a user meets it: where the
// foreground goes after a cancel, the context menu when the switcher hides,
// pinning from the toolbar, and a listed window that closes while the switcher
// is shown. Keys and clicks go through the X server.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "../helpers/helper_window.h"
#include "base/identifiers.h"
#include "input_support_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "registry_support_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

namespace {

// A window of another program: display_window.exe with this title.
struct OtherWindow {
    StartedProgram program;
    HWND window = nullptr;
};

// program: display_window.exe or a copy of it.
void StartOtherWindow(const wchar_t* title, OtherWindow* other, const wchar_t* how = L"",
                      const std::wstring& program = L"display_window.exe") {
    other->program = StartProgram(program, L"\"" + std::wstring(title) + L"\" " + how);
    ASSERT_TRUE(other->program.started);
    ASSERT_TRUE(WaitUntil([&] {
        other->window = FindWindowW(L"ZephtabDisplayHelper", title);
        return other->window != nullptr;
    }));
}

void CloseOtherWindow(OtherWindow* other) {
    if (IsWindow(other->window))
        PostMessageW(other->window, WM_CLOSE, 0, 0);
    WaitForExit(other->program);
    EndProgram(other->program);
}

std::string Describe(HWND window) {
    wchar_t className[64] = {}, title[64] = {};
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 64);
    char text[200];
    std::snprintf(text, sizeof(text), "foreground %p %ls \"%ls\"", static_cast<void*>(window),
                  className, title);
    return text;
}

// A control's text as its program holds it (GetWindowText would not ask another process).
std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             5000, &copied) ||
        copied >= 256)
        return L"";
    return std::wstring(text, copied);
}

// The windows whose buttons Wine's taskbar shows: each button's id is its window.
std::vector<HWND> TaskbarWindows() {
    std::vector<HWND> windows;
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (HWND button = FindWindowExW(tray, nullptr, L"Button", nullptr); button;
         button = FindWindowExW(tray, button, L"Button", nullptr))
        if (IsWindowVisible(button))
            windows.push_back(reinterpret_cast<HWND>(GetWindowLongPtrW(button, GWLP_ID)));
    return windows;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class AmongOtherPrograms : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteSettingsKey();
        // The X pointer over the Wine desktop gives it the keyboard focus.
        ASSERT_TRUE(Xdotool("mousemove 512 384"));
    }
    void TearDown() override {
        ReleaseKeysAndCloseSwitcher();
        EndZephtab();
        for (OtherWindow& other : others)
            CloseOtherWindow(&other);
        for (HWND window : ownWindows)
            DestroyWindow(window);
    }

    void Start(BYTE showToolbar = 0, BYTE selectSecond = 0) {
        SwitcherOptions options = DefaultSwitcherOptions();
        options.selectSecondOnOpen = selectSecond;
        options.livePreview = 0;
        options.noAnimation = 1;
        options.showToolbar = showToolbar;
        CloseRunningSwitcher();
        WriteStoredOptions(&options);
        ASSERT_TRUE(StartSwitcherProgram(&zephtab));
        switcher = FindSwitcherWindow();
        strip = FindWindowExW(switcher, nullptr, WC_LISTVIEWW, nullptr);
        toolbar = FindWindowExW(switcher, nullptr, TOOLBARCLASSNAMEW, nullptr);
    }

    void EndZephtab() {
        CloseRunningSwitcher();
        WaitForExit(zephtab);
        EndProgram(zephtab);
        RemoveSwitcherRegistryTraces();
    }

    void Restart(BYTE showToolbar) {
        EndZephtab();
        ASSERT_NO_FATAL_FAILURE(Start(showToolbar));
    }

    // Windows of other programs, stacked so that the first is on top.
    void StartOthers(std::initializer_list<const wchar_t*> titles) {
        others.resize(titles.size());
        size_t i = 0;
        for (const wchar_t* title : titles)
            ASSERT_NO_FATAL_FAILURE(StartOtherWindow(title, &others[i++]));
        std::vector<HWND> topFirst;
        for (const OtherWindow& other : others)
            topFirst.push_back(other.window);
        ASSERT_TRUE(StackWindows(topFirst));
    }

    // Until zephtab has handled what was sent or posted to it before.
    void Settle() {
        for (int i = 0; i < 2; ++i) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(switcher, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        }
    }

    void OpenWithAltTab() {
        ASSERT_TRUE(Xdotool("keydown Alt_L"));
        ASSERT_TRUE(Xdotool("key Tab"));
        ASSERT_TRUE(WaitForSwitcherShown(true));
    }

    void OpenByCommand() {
        PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_OPEN, 0);
        ASSERT_TRUE(WaitForSwitcherShown(true));
        Settle();
    }

    void Press(int command) { PostMessageW(switcher, WM_COMMAND, command, 0); }

    // True when zephtab answers within half a second: nothing it does waits on a hung window.
    bool AnswersAtOnce() {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(switcher, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result) != 0;
    }

    // An item's icon in the strip's first row. The strip's item rectangles cannot be
    // asked across processes (the message's pointer is not carried over); the
    // spacing comes back in the result.
    POINT StripItemOnScreen(int item) {
        const LRESULT spacing = SendMessageW(strip, LVM_GETITEMSPACING, FALSE, 0);
        const int across = LOWORD(spacing), down = HIWORD(spacing);
        return ClientPointOnScreen(strip, item * across + across / 2, down / 2);
    }

    int StripCount() { return static_cast<int>(SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0)); }
    int StripSelection() {
        return static_cast<int>(
            SendMessageW(strip, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    HWND FocusOfSwitcherThread() {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(switcher, nullptr), &info);
        return info.hwndFocus;
    }

    StartedProgram zephtab;
    HWND switcher = nullptr;
    HWND strip = nullptr;
    HWND toolbar = nullptr;
    std::vector<OtherWindow> others;
    std::vector<HWND> ownWindows;
};

// Hidden without more, the switcher leaves the choice to the system, which takes
// the next window in z-order: an always-on-top one before any other. (A click
// outside cancels the same way, and then gives the foreground to what it hits.)
TEST_F(AmongOtherPrograms, ACancelGivesTheForegroundBackToTheWindowThatHadIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program, in front", L"Other program, behind"}));
    HWND inFront = others[0].window;
    ownWindows.push_back(
        CreateTestWindow(L"Always on top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOPMOST));
    ASSERT_TRUE(StackWindows({inFront}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(inFront)) << Describe(GetForegroundWindow());

    // A window hidden meanwhile is not given the foreground: keys would go to a window out of
    // sight.
    ASSERT_NO_FATAL_FAILURE(OpenByCommand());
    ShowWindowAsync(inFront, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(inFront); }));
    PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_TRUE(WaitForSwitcherShown(false));
    Settle();
    EXPECT_NE(GetForegroundWindow(), inFront);
}

TEST_F(AmongOtherPrograms, TheContextMenuClosesWhenTheSwitcherHides) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program 1", L"Other program 2"}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    // The banner at the top is the switcher's own area, where a right click opens the menu.
    ASSERT_TRUE(MouseAt(ClientPointOnScreen(FindSwitcherWindow(), 20, 20), "click 3"));
    ASSERT_TRUE(WaitUntil([] { return FindOpenMenuWindow() != nullptr; }));
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitUntil([] { return FindOpenMenuWindow() == nullptr; }));
    ASSERT_TRUE(Xdotool("keyup Alt_L mousemove 512 384"));
}

// A real click on the pin button, as the user makes it: the switcher stays in
// front, above the pinned window, with the strip focused and highlighted.
TEST_F(AmongOtherPrograms, PinningFromTheToolbarLeavesTheSwitcherInFrontAndFocused) {
    ASSERT_NO_FATAL_FAILURE(Start(1));
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program to pin", L"Other program 2"}));
    HWND target = others[0].window;
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 0; }));
    // The pin button is the toolbar's first.
    RECT rect = {};
    GetWindowRect(toolbar, &rect);
    const LRESULT buttonSize = SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
    const POINT pin = {rect.left + LOWORD(buttonSize) / 2, rect.top + HIWORD(buttonSize) / 2};
    for (bool pinned : {true, false}) {
        SCOPED_TRACE(pinned ? "pinning" : "unpinning");
        ASSERT_TRUE(MouseAt(pin, "click 1"));
        ASSERT_TRUE(WaitUntil([&] { return IsTopmost(target) == pinned; }));
        Settle();
        EXPECT_EQ(GetForegroundWindow(), switcher) << Describe(GetForegroundWindow());
        EXPECT_TRUE(WaitUntil([&] {
            return StackingOrderOf({switcher, target}) == std::vector<HWND>{switcher, target};
        }));
        EXPECT_EQ(FocusOfSwitcherThread(), strip);
        EXPECT_EQ(StripSelection(), 0);
    }
}

// What the buttons act on is read from the window at the press, not remembered:
// a window pinned by an earlier run of the program is unpinned by one press.
TEST_F(AmongOtherPrograms, ThePinButtonsReadTheWindowsRealStateAfterARestart) {
    ASSERT_NO_FATAL_FAILURE(Start(1));
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program pinned earlier", L"Other program 2"}));
    HWND target = others[0].window;
    // In front, it is the first entry and the one a cancel gives the foreground back to.
    auto openOnTarget = [&] {
        ASSERT_TRUE(StackWindows({target}));
        ASSERT_NO_FATAL_FAILURE(OpenByCommand());
        ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 0; }));
    };
    for (int undo : {IDC_TOPMOST, IDC_RESTORE_TOPMOST}) {
        SCOPED_TRACE(undo);
        ASSERT_NO_FATAL_FAILURE(openOnTarget());
        Press(IDC_TOPMOST);
        ASSERT_TRUE(WaitUntil([&] { return IsTopmost(target); }));
        ASSERT_NO_FATAL_FAILURE(Restart(1));
        ASSERT_NO_FATAL_FAILURE(openOnTarget());
        Press(undo);
        EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(target); }));
        PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        ASSERT_TRUE(WaitForSwitcherShown(false));
    }
}

// The window in front when an Alt+Tab begins sees a key after Alt goes down (the
// switcher's mask key, which no program acts on): a later Alt release reaching it
// is then not a lone Alt tap, which would put it into menu mode.
TEST_F(AmongOtherPrograms, TheWindowInFrontSeesAKeyBetweenAltDownAndAltUp) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program"}));
    others.resize(2);
    others[1].program = StartProgram(L"key_window.exe", L"\"Keys seen\"");
    ASSERT_TRUE(others[1].program.started);
    HWND keys = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (keys = FindWindowW(L"ZephtabKeyHelper", L"Keys seen")) != nullptr; }));
    others[1].window = keys;
    ASSERT_TRUE(StackWindows({keys, others[0].window}));
    ASSERT_TRUE(WaitForForeground(keys));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    EXPECT_TRUE(WaitUntil([&] { return GetPropW(keys, KEY_AFTER_ALT_PROPERTY) != nullptr; }, 3000));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropW(keys, KEY_AFTER_ALT_PROPERTY)), 0xE8u);
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
}

// A window in front when an Alt+Tab began saw Alt go down and then, without the
// switcher's mask key, no other key: a later Alt release reaching it would open its
// menu, and the next typed letter would choose a menu item. The window switched back
// to must also keep the foreground and the keyboard focus.
// The letters are typed with SendInput: under Wine, the X focus does not follow a
// window of another program activated while the switcher's X window holds it. When
// the switcher hides, the X focus falls to the desktop, and letters typed through X
// reach no window (a window recording its keys got none; SendInput letters arrive).
// The Alt+Tabs go through X, as the user's do.
TEST_F(AmongOtherPrograms, AWindowSwitchedBackToTakesTheNextTypedKeys) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program"}));
    others.resize(2);
    others[1].program = StartSystemProgram(L"notepad.exe");
    HWND notepad = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (notepad = FindVisibleWindow(L"Notepad")) != nullptr; }));
    others[1].window = notepad;
    HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(StackWindows({notepad, others[0].window}));
    ASSERT_TRUE(WaitForForeground(notepad));
    RECT editRect = {};
    GetWindowRect(edit, &editRect);
    ASSERT_TRUE(MouseAt(
        {(editRect.left + editRect.right) / 2, (editRect.top + editRect.bottom) / 2}, "click 1"));
    // Whether the Alt release reaches the window switched back to depends on timing:
    // three round trips, each followed by typing.
    std::wstring typed;
    for (const wchar_t* word : {L"one", L"two", L"six"}) {
        for (HWND reached : {others[0].window, notepad}) {
            ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
            ASSERT_TRUE(Xdotool("key Tab"));
            ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 1; }));
            ASSERT_TRUE(Xdotool("keyup Alt_L"));
            ASSERT_TRUE(WaitForForeground(reached)) << Describe(GetForegroundWindow());
            ASSERT_TRUE(WaitForSwitcherShown(false));
        }
        // Notepad gives its edit control the focus when it has handled its activation,
        // a moment after it came in front; keys typed before that go nowhere.
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(notepad, nullptr), &info) &&
                   info.hwndActive == notepad && info.hwndFocus == edit;
        }));
        EXPECT_FALSE(info.flags & GUI_INMENUMODE);
        for (const wchar_t* letter = word; *letter; ++letter) {
            InjectKey(static_cast<WORD>(towupper(*letter)), true);
            InjectKey(static_cast<WORD>(towupper(*letter)), false);
        }
        typed += word;
        ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == typed; }))
            << "notepad holds " << WindowText(edit).size() << " letters";
    }
    EndProgram(others[1].program); // it would ask whether to save
}

// An icon picture of one colour, 32 pixels square: the colour rows, then the mask's
// (opaque everywhere).
std::vector<BYTE> SolidIconPicture(COLORREF colour) {
    constexpr int kSize = 32;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = kSize;
    header.biHeight = 2 * kSize;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const BYTE* start = reinterpret_cast<const BYTE*>(&header);
    std::vector<BYTE> bytes(start, start + sizeof(header));
    for (int pixel = 0; pixel < kSize * kSize; ++pixel)
        bytes.insert(bytes.end(), {GetBValue(colour), GetGValue(colour), GetRValue(colour), 255});
    bytes.resize(bytes.size() + kSize * kSize / 8);
    return bytes;
}

// An icon group of that one picture: the directory's header, then its entry.
std::vector<BYTE> OneIconGroup(WORD id, size_t pictureBytes) {
    std::vector<BYTE> group = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0};
    for (int shift = 0; shift < 32; shift += 8)
        group.push_back(static_cast<BYTE>(pictureBytes >> shift));
    group.push_back(static_cast<BYTE>(id));
    group.push_back(static_cast<BYTE>(id >> 8));
    return group;
}

// A window that closes while the switcher is shown takes its icon with it: every
// remaining entry shows its own program's icon, in order, with no place left
// empty. Each program is a copy of the display helper whose icon is one colour.
TEST_F(AmongOtherPrograms, AfterAWindowClosesEachEntryShowsItsOwnIconInOrder) {
    const COLORREF colours[] = {RGB(230, 0, 0), RGB(0, 190, 0), RGB(240, 240, 0), RGB(200, 0, 200)};
    constexpr WORD kPicture = 100;
    std::vector<std::wstring> titles, files;
    others.resize(std::size(colours));
    for (size_t i = 0; i < others.size(); ++i) {
        const std::vector<BYTE> picture = SolidIconPicture(colours[i]);
        files.push_back(L"coloured_icon_" + std::to_wstring(i) + L".exe");
        ASSERT_TRUE(WriteDisplayHelperCopy(files[i], OneIconGroup(kPicture, picture.size()),
                                           {{kPicture, picture}}));
        titles.push_back(L"Coloured icon " + std::to_wstring(i));
        ASSERT_NO_FATAL_FAILURE(StartOtherWindow(titles[i].c_str(), &others[i], L"", files[i]));
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenByCommand());
    const int count = StripCount();
    PostMessageW(others[1].window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return StripCount() == count - 1; }));
    // Each entry's icon where the accessible entry says it is, the places one after
    // the other along the strip's first row.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* list = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(switcher, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&list)),
              S_OK);
    const int across = LOWORD(SendMessageW(strip, LVM_GETITEMSPACING, FALSE, 0));
    HDC screen = GetDC(nullptr);
    LONG firstLeft = 0, firstTop = 0;
    int coloured = 0;
    for (LONG child = 1; child < count; ++child) {
        VARIANT entry;
        VariantInit(&entry);
        entry.vt = VT_I4;
        entry.lVal = child;
        BSTR name = nullptr;
        list->get_accName(entry, &name);
        const std::wstring title = name ? name : L"";
        SysFreeString(name);
        LONG left = 0, top = 0, width = 0, height = 0;
        EXPECT_EQ(list->accLocation(&left, &top, &width, &height, entry), S_OK);
        if (child == 1) {
            firstLeft = left;
            firstTop = top;
        }
        EXPECT_EQ(top, firstTop) << child;
        EXPECT_EQ(left, firstLeft + (child - 1) * across) << child;
        const auto at = std::find(titles.begin(), titles.end(), title);
        if (at == titles.end())
            continue;
        ++coloured;
        const COLORREF colour = colours[at - titles.begin()];
        const POINT centre = {left + width / 2, top + height / 2};
        EXPECT_TRUE(WaitUntil(
            [&] { return ColourNear(GetPixel(screen, centre.x, centre.y), colour, 8); }, 3000))
            << "entry " << child << ": "
            << ColourNear(GetPixel(screen, centre.x, centre.y), colour, 8).message();
    }
    EXPECT_EQ(coloured, 3);
    ReleaseDC(nullptr, screen);
    list->Release();
    CoUninitialize();
    for (size_t i = 0; i < others.size(); ++i) {
        CloseOtherWindow(&others[i]);
        DeleteFileW((ExecutableFolder() + files[i]).c_str());
    }
}

// Hidden before the chosen window was activated, the switcher let the system activate
// the window left, which then took the foreground back over the chosen one.
TEST_F(AmongOtherPrograms, TheChosenWindowEndsOnTopOfTheOneItWasUnder) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program 1", L"Other program 2"}));
    ASSERT_TRUE(WaitForForeground(others[0].window));
    for (int turn = 0; turn < 6; ++turn) {
        HWND left = others[turn % 2].window;
        HWND reached = others[(turn + 1) % 2].window;
        ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
        ASSERT_TRUE(Xdotool("key Tab"));
        ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 1; }));
        ASSERT_TRUE(Xdotool("keyup Alt_L"));
        ASSERT_TRUE(WaitForForeground(reached)) << turn << Describe(GetForegroundWindow());
        EXPECT_TRUE(WaitUntil([&] {
            return StackingOrderOf({reached, left}) == std::vector<HWND>{reached, left};
        })) << turn;
    }
}

// Wine's taskbar, shown once it holds an icon, has a button for every shown
// window without an owner, tool windows too: the switcher has an owner.
TEST_F(AmongOtherPrograms, OpeningTheSwitcherAddsNoTaskbarButton) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program 1", L"Other program 2"}));
    ownWindows.push_back(CreateTestWindow(L"Tray icon owner", WS_POPUP));
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = ownWindows.back();
    icon.uFlags = NIF_ICON;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &icon));
    ASSERT_TRUE(WaitUntil([&] { return TaskbarWindows().size() >= 3; })); // Start and the two
    const std::vector<HWND> before = TaskbarWindows();
    ASSERT_NO_FATAL_FAILURE(OpenByCommand());
    // The taskbar has handled what the switcher's showing told it once it answers.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(FindWindowW(L"Shell_TrayWnd", nullptr), WM_NULL, 0, 0, SMTO_NORMAL, 5000,
                        &result);
    EXPECT_EQ(TaskbarWindows(), before);
    Shell_NotifyIconW(NIM_DELETE, &icon);
}

// While Alt is held, a program that starts puts an always-on-top window in front
// and takes the foreground: the switcher takes back the top and the keyboard.
TEST_F(AmongOtherPrograms, AProgramStartedWhileTheSwitcherIsShownGetsNeitherTheTopNorTheKeys) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other program 1", L"Other program 2"}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    others.emplace_back();
    ASSERT_NO_FATAL_FAILURE(StartOtherWindow(L"Program started late", &others.back(), L"front"));
    HWND late = others.back().window;
    EXPECT_TRUE(WaitUntil([&] {
        return GetForegroundWindow() == switcher && FocusOfSwitcherThread() == strip &&
               StackingOrderOf({switcher, late}) == std::vector<HWND>{switcher, late};
    })) << Describe(GetForegroundWindow());
    EXPECT_TRUE(IsWindowVisible(switcher));
}

TEST_F(AmongOtherPrograms, AWindowThatClosesLeavesTheShownSwitcher) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(
        StartOthers({L"Other program 1", L"Other program 2", L"Other program 3"}));
    ASSERT_NO_FATAL_FAILURE(OpenByCommand());
    ASSERT_EQ(StripCount(), 3);
    PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_NEXT, 0);
    ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 1; }));

    // The selected window closes: the one behind it takes its place and the selection.
    CloseOtherWindow(&others[1]);
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 2 && StripSelection() == 1; }));
    EXPECT_TRUE(IsWindowVisible(switcher));

    // One window left: as an open with one window, the switcher hides and activates it.
    CloseOtherWindow(&others[0]);
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(others[2].window));
}

// Delete posts the close request and waits for nothing: a hung window stays
// listed and the switcher answers at once; a healthy one leaves the list.
TEST_F(AmongOtherPrograms, DeleteAsksTheSelectedWindowToCloseWithoutWaitingOnIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other hung", L"Other closing", L"Other staying"}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    ASSERT_TRUE(WaitUntil([&] { return StripCount() == 3 && StripSelection() == 0; }));
    PostMessageW(others[0].window, WM_APP, 0, 0); // its thread stops answering
    ASSERT_TRUE(WaitUntil([&] {
        DWORD_PTR result = 0;
        return !SendMessageTimeoutW(others[0].window, WM_NULL, 0, 0, SMTO_NORMAL, 50, &result);
    }));
    ASSERT_TRUE(Xdotool("key Delete"));
    EXPECT_TRUE(AnswersAtOnce());
    EXPECT_TRUE(IsWindowVisible(switcher));
    ASSERT_TRUE(Xdotool("key Tab"));
    ASSERT_TRUE(WaitUntil([&] { return StripSelection() == 1; }));
    ASSERT_TRUE(Xdotool("key Delete"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(others[1].window); }));
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 2; }));
    EXPECT_TRUE(IsWindowVisible(switcher));
    EXPECT_TRUE(AnswersAtOnce());
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EndProgram(others[0].program); // rather than wait for the hang to end
}

TEST_F(AmongOtherPrograms, AMiddleClickClosesTheClickedWindowNotTheSelectedOne) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Other 1", L"Other 2", L"Other 3"}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    ASSERT_TRUE(WaitUntil([&] { return StripCount() == 3 && StripSelection() == 0; }));
    ASSERT_TRUE(MouseAt(StripItemOnScreen(2), "click 2"));
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 2; }));
    EXPECT_TRUE(IsWindow(others[0].window));
    EXPECT_TRUE(IsWindow(others[1].window));
    EXPECT_FALSE(IsWindow(others[2].window));
    EXPECT_EQ(StripSelection(), 0);
    ASSERT_TRUE(Xdotool("keyup Alt_L mousemove 512 384"));
    EXPECT_TRUE(WaitForForeground(others[0].window));
}

// Letters typed with Alt held narrow the list; releasing Alt activates the match.
TEST_F(AmongOtherPrograms, TypingNarrowsTheListAndAltReleaseActivatesTheMatch) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Alpha notes", L"Beta mail", L"Gamma mail"}));
    ASSERT_NO_FATAL_FAILURE(OpenWithAltTab());
    ASSERT_TRUE(WaitUntil([&] { return StripCount() == 3; }));
    ASSERT_TRUE(Xdotool("key m a i l"));
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 2; }));
    ASSERT_TRUE(Xdotool("key BackSpace BackSpace BackSpace BackSpace G A M"));
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 1; }));
    EXPECT_TRUE(IsWindowVisible(switcher));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(others[2].window)) << Describe(GetForegroundWindow());
}

// Alt with the key above Tab: only the front window's program, its next window
// selected, and a release goes there.
TEST_F(AmongOtherPrograms, AltAndTheKeyAboveTabListOneProgramsWindows) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Program window 1", L"Program window 2"}));
    ownWindows.push_back(CreateTestWindow(L"Window of the driver"));
    ASSERT_TRUE(StackWindows({others[0].window, ownWindows[0], others[1].window}));
    ASSERT_TRUE(Xdotool("keydown Alt_L"));
    ASSERT_TRUE(Xdotool("key grave"));
    ASSERT_TRUE(WaitForSwitcherShown(true));
    EXPECT_TRUE(WaitUntil([&] { return StripCount() == 2 && StripSelection() == 1; }));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(WaitForSwitcherShown(false));
    EXPECT_TRUE(WaitForForeground(others[1].window)) << Describe(GetForegroundWindow());
}

// The order is that of use: a window always on top that was never used follows
// the used ones, and quick Alt+Tabs alternate between the last two.
TEST_F(AmongOtherPrograms, QuickAltTabsAlternateBetweenTheLastTwoWindowsUsed) {
    ASSERT_NO_FATAL_FAILURE(Start(0, 1));
    ASSERT_NO_FATAL_FAILURE(StartOthers({L"Used first", L"Used second", L"Never used"}));
    ownWindows.push_back(
        CreateTestWindow(L"Pinned, never used", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOPMOST));
    // The switcher sees the window in front at each opening.
    for (HWND used : {others[0].window, others[1].window}) {
        ASSERT_TRUE(StackWindows({used}));
        ASSERT_TRUE(WaitForForeground(used));
        ASSERT_NO_FATAL_FAILURE(OpenByCommand());
        PostMessageW(switcher, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        ASSERT_TRUE(WaitForSwitcherShown(false));
        ASSERT_TRUE(WaitForForeground(used));
    }
    for (HWND expected : {others[0].window, others[1].window, others[0].window}) {
        ASSERT_TRUE(Xdotool("keydown Alt_L"));
        ASSERT_TRUE(Xdotool("key Tab"));
        ASSERT_TRUE(Xdotool("keyup Alt_L"));
        EXPECT_TRUE(WaitForForeground(expected)) << Describe(GetForegroundWindow());
        ASSERT_TRUE(WaitForSwitcherShown(false));
    }
}

} // namespace
