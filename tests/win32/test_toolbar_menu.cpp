// The context menu: its default item across reloads, no leak per reload,
// where a right click opens it, and what its two commands open.
#include <gtest/gtest.h>

#include "base/posted_message_filter_win.h"

#include <windows.h>

#include <string>

#include "actions/toolbar_win.h"
#include "base/program_handles_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "control/hooks_win.h"
#include "input_support_win.h"
#include "resources/resource_ids.h"
#include "resources/vendor.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"

namespace {

// While it lives, watches the menus of this thread from inside their modal loop: a
// thread timer that, once a popup menu window is visible, records it, counts the
// opening, runs onOpening (when given) and then the reaction.
enum class MenuReaction {
    Dismiss,         // EndMenu
    ChooseFirstItem, // Down, Return
    ChooseLastItem,  // Up, Return
};
class MenuWatch {
  public:
    explicit MenuWatch(MenuReaction reaction = MenuReaction::Dismiss,
                       void (*onOpening)() = nullptr);
    ~MenuWatch();
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;
    int openings = 0;
    RECT menuRect = {};
    POINT cursorAtOpening = {};
    const MenuReaction reaction;
    void (*const onOpening)();
};

MenuWatch* activeMenuWatch;
UINT_PTR menuWatchTimer;
// The menu window recorded and reacted to. Told apart by its handle, not by a
// moment without a menu: the next menu can open before this timer runs again.
HWND handledMenuWindow;

void PostKeys(HWND menuWindow, WPARAM first, WPARAM second) {
    for (WPARAM key : {first, second}) {
        PostMessageW(menuWindow, WM_KEYDOWN, key, 1);
        PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000001);
    }
}

void CALLBACK MenuWatchTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND menuWindow = FindOpenMenuWindow();
    MenuWatch* watch = activeMenuWatch;
    if (!menuWindow || menuWindow == handledMenuWindow || !watch)
        return;
    handledMenuWindow = menuWindow;
    ++watch->openings;
    GetWindowRect(menuWindow, &watch->menuRect);
    GetCursorPos(&watch->cursorAtOpening);
    if (watch->onOpening)
        watch->onOpening();
    if (watch->reaction == MenuReaction::Dismiss)
        EndMenu();
    else
        PostKeys(menuWindow, watch->reaction == MenuReaction::ChooseFirstItem ? VK_DOWN : VK_UP,
                 VK_RETURN);
}

MenuWatch::MenuWatch(MenuReaction reactionToOpening, void (*runOnOpening)())
    : reaction(reactionToOpening), onOpening(runOnOpening) {
    activeMenuWatch = this;
    handledMenuWindow = nullptr;
    menuWatchTimer = SetTimer(nullptr, 0, 20, MenuWatchTimerProc);
    AcceptTimerCallback(menuWatchTimer); // the gate for posted messages lets our own through
}

MenuWatch::~MenuWatch() {
    KillTimer(nullptr, menuWatchTimer);
    activeMenuWatch = nullptr;
}

const std::wstring kVendorRoot = L"http://" ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_HOST);

// Wine 8 looks up document handlers in HKEY_CLASSES_ROOT alone (the machine's
// classes); per-user classes are not merged in.
const wchar_t kHttpCommandKey[] = L"http\\shell\\open\\command";
bool httpHandlerInstalled;
bool hadHttpHandler;
std::vector<BYTE> previousHttpHandler; // the REG_SZ with its terminating zero

bool WriteHttpHandler(const void* command, size_t size) {
    return WriteRegistryValue(kHttpCommandKey, nullptr, REG_SZ, command, static_cast<DWORD>(size),
                              HKEY_CLASSES_ROOT);
}

// Makes a program in this test's folder the handler of http addresses (in the
// test's private prefix); it gets the record file and the address as its two
// arguments. RestoreHttpHandler puts the previous handler back.
bool InstallHttpHandler(const std::wstring& exeName, const std::wstring& recordFile) {
    DWORD type = 0;
    if (!httpHandlerInstalled)
        hadHttpHandler = ReadRegistryValue(kHttpCommandKey, nullptr, &type, &previousHttpHandler,
                                           HKEY_CLASSES_ROOT) &&
                         type == REG_SZ;
    std::wstring command =
        L"\"" + ExecutableFolder() + exeName + L"\" \"" + recordFile + L"\" \"%1\"";
    httpHandlerInstalled =
        WriteHttpHandler(command.c_str(), (command.size() + 1) * sizeof(wchar_t));
    return httpHandlerInstalled;
}

void RestoreHttpHandler() {
    if (!httpHandlerInstalled)
        return;
    if (hadHttpHandler)
        WriteHttpHandler(previousHttpHandler.data(), previousHttpHandler.size());
    else
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kHttpCommandKey);
    httpHandlerInstalled = false;
}

// The value of a "name=value" line of the UTF-16 record file url_recorder wrote; empty when absent.
std::wstring ReadRecordValue(const std::wstring& recordFile, const std::wstring& name) {
    HANDLE file = CreateFileW(recordFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"";
    std::wstring text(8192, L'\0');
    DWORD read = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    const std::wstring line = L"\n" + name + L"=";
    size_t start = (L"\n" + text).find(line);
    if (start == std::wstring::npos)
        return L"";
    start += line.size() - 1;
    return text.substr(start, text.find(L"\r\n", start) - start);
}

bool FirstItemIsDefault() {
    if (!IsMenu(contextMenu))
        return false;
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    return GetMenuDefaultItem(contextMenu, TRUE, 0) == 0 &&
           GetMenuItemInfoW(contextMenu, 0, TRUE, &item) && (item.fState & MFS_DEFAULT);
}

std::wstring ItemText(int position) {
    wchar_t text[64] = {};
    GetMenuStringW(contextMenu, position, text, CountOf(text), MF_BYPOSITION);
    return text;
}

// A point of the switcher's own area, outside its child controls.
POINT SwitcherOwnPoint() {
    const POINT candidates[] = {{20, 350}, {580, 350}, {300, 360}, {20, 20}, {580, 20}};
    for (POINT client : candidates) {
        const POINT screen = ClientPointOnScreen(SwitcherWindow, client.x, client.y);
        if (WindowFromPoint(screen) == SwitcherWindow)
            return screen;
    }
    ADD_FAILURE() << "no point of the switcher's own area is free of controls";
    return ClientPointOnScreen(SwitcherWindow, 20, 350);
}

// The centre of a child control, on screen.
POINT CentreOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The toolbar's top button on screen (a right click there must not open the menu).
POINT TopButtonOf(HWND toolbar) {
    RECT rect;
    SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return ClientPointOnScreen(toolbar, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

class ContextMenu : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SwitcherOptions options = DefaultSwitcherOptions();
        options.showToolbar = 1;
        ASSERT_TRUE(StartSwitcherInProcess(options));
        // The menu watch drives menus with posts of this very process, which the
        // gate for other programs' posts is not about (it has tests of its own).
        RemovePostedMessageFilter();
        Xdotool("mousemove 512 384"); // the X pointer on the Wine desktop
        // Two windows to switch between, so that an opening shows the switcher.
        CreateTestWindow(L"Menu test window 1");
        CreateTestWindow(L"Menu test window 2");
    }
    void SetUp() override {
        recordFile_ = ExecutableFolder() + L"toolbar_menu_url_record.txt";
        DeleteFileW(recordFile_.c_str());
    }
    void TearDown() override {
        RestoreHttpHandler();
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        DeleteFileW(recordFile_.c_str());
        PumpMessages();
    }

    // Right-clicks at a screen point and waits until the click has been handled.
    bool RightClickHandled(POINT screen) {
        int before = queue_.rightButtonUps;
        return MouseAt(screen, "click 3") &&
               WaitUntil([&] { return queue_.rightButtonUps > before; });
    }

    void ChooseAndExpectPage(MenuReaction choice, const std::wstring& address) {
        ASSERT_TRUE(InstallHttpHandler(L"url_recorder.exe", recordFile_));
        OpenSwitcherAndWait();
        switcherActive = 1;
        MenuWatch watch(choice);
        ASSERT_TRUE(RightClickHandled(SwitcherOwnPoint()));
        ASSERT_EQ(watch.openings, 1);
        ASSERT_TRUE(WaitUntil([&] { return !queue_.switcherCommands.empty(); }));
        EXPECT_EQ(switcherActive, 0);
        EXPECT_EQ(queue_.switcherCommands, std::vector<WPARAM>{CMD_CANCEL});
        EXPECT_FALSE(IsWindowVisible(SwitcherWindow));
        ASSERT_TRUE(WaitUntil([&] { return !ReadRecordValue(recordFile_, L"show").empty(); }));
        EXPECT_EQ(ReadRecordValue(recordFile_, L"address"), address);
        EXPECT_EQ(ReadRecordValue(recordFile_, L"useShow"), L"1");
        EXPECT_EQ(ReadRecordValue(recordFile_, L"show"), std::to_wstring(SW_SHOWMAXIMIZED));
    }

    QueueWatch queue_;
    std::wstring recordFile_;
};

TEST_F(ContextMenu, HoldsTheTwoLinksAndTheFirstIsTheDefault) {
    ASSERT_TRUE(IsMenu(contextMenu));
    ASSERT_EQ(GetMenuItemCount(contextMenu), 3);
    EXPECT_EQ(GetMenuItemID(contextMenu, 0), static_cast<UINT>(IDM_VENDOR_SITE));
    EXPECT_EQ(ItemText(0), ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_BANNER));
    EXPECT_EQ(GetMenuState(contextMenu, 1, MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(contextMenu, 2), static_cast<UINT>(IDM_PRODUCT_SITE));
    EXPECT_EQ(ItemText(2), L"Zephtab website");
    EXPECT_TRUE(FirstItemIsDefault());
}

TEST_F(ContextMenu, EveryReloadKeepsTheDefaultItemAndLeaksNothing) {
    SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0); // settle any first-use allocation
    const int menus = CountMenus();
    const int userObjects = CountUserObjects();
    for (int reload = 0; reload < 100; ++reload) {
        ASSERT_EQ(SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0), 1);
        ASSERT_TRUE(FirstItemIsDefault()) << "after reload " << reload;
    }
    EXPECT_EQ(CountMenus(), menus);
    EXPECT_EQ(CountUserObjects(), userObjects);
}

TEST_F(ContextMenu, RightClickOnTheSwitcherOpensTheMenuAtTheCursor) {
    OpenSwitcherAndWait();
    MenuWatch watch;
    POINT point = SwitcherOwnPoint();
    ASSERT_TRUE(RightClickHandled(point));
    EXPECT_EQ(queue_.lastRightButtonUpWindow, SwitcherWindow);
    ASSERT_EQ(watch.openings, 1);
    EXPECT_EQ(watch.cursorAtOpening.x, point.x);
    EXPECT_EQ(watch.cursorAtOpening.y, point.y);
    EXPECT_NEAR(watch.menuRect.left, point.x, 4);
    EXPECT_NEAR(watch.menuRect.top, point.y, 4);
    EXPECT_EQ(FindOpenMenuWindow(), nullptr);
}

// Anywhere on the switcher: its children pass the right click up to it.
TEST_F(ContextMenu, RightClickOnTheToolbarOrTheStripOpensTheMenuToo) {
    OpenSwitcherAndWait();
    MenuWatch watch;
    ASSERT_TRUE(IsWindowVisible(ActionToolbar));
    ASSERT_TRUE(RightClickHandled(TopButtonOf(ActionToolbar)));
    EXPECT_EQ(queue_.lastRightButtonUpWindow, ActionToolbar);
    EXPECT_TRUE(WaitUntil([&] { return watch.openings == 1; }));
    ASSERT_TRUE(IconStrip && IsWindowVisible(IconStrip));
    ASSERT_TRUE(RightClickHandled(CentreOf(IconStrip)));
    EXPECT_TRUE(WaitUntil([&] { return watch.openings == 2; }));
}

bool menuOnScreenSurvivedReload;

void ReloadWhileTheMenuIsOpen() {
    SendMessageW(SwitcherWindow, WM_RELOAD_OPTIONS, 0, 0);
    HWND menuWindow = FindOpenMenuWindow();
    menuOnScreenSurvivedReload =
        menuWindow && IsMenu(reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0)));
}

TEST_F(ContextMenu, AReloadWhileTheMenuIsOpenReplacesItSafely) {
    OpenSwitcherAndWait();
    const int menus = CountMenus();
    MenuWatch watch(MenuReaction::Dismiss, ReloadWhileTheMenuIsOpen);
    ASSERT_TRUE(RightClickHandled(SwitcherOwnPoint()));
    ASSERT_EQ(watch.openings, 1);
    EXPECT_TRUE(menuOnScreenSurvivedReload); // destroyed only once it has closed
    EXPECT_TRUE(FirstItemIsDefault());
    EXPECT_EQ(CountMenus(), menus);
    // The replacement opens as well.
    ASSERT_TRUE(RightClickHandled(SwitcherOwnPoint()));
    EXPECT_EQ(watch.openings, 2);
}

// A click outside the switcher as the mouse hook sees it; whether it posted a command.
bool ClickOutsidePostsACommand() {
    MSLLHOOKSTRUCT event = {};
    event.pt = {1, 1};
    MouseHookProc(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
    MSG message;
    return PeekMessageW(&message, SwitcherWindow, WM_SWITCHER_COMMAND, WM_SWITCHER_COMMAND,
                        PM_REMOVE) != 0;
}

bool clickInMenuPostedCommand;

void ClickOutsideTheSwitcher() {
    clickInMenuPostedCommand = ClickOutsidePostsACommand();
}

// The menu may reach beyond the switcher. While it is open a click is the
// menu's (an item chosen, or the menu dismissed), not a cancel, which would now
// close the menu before the item is chosen.
TEST_F(ContextMenu, AClickWhileTheMenuIsOpenIsTheMenusNotACancel) {
    OpenSwitcherAndWait();
    switcherActive = 1;
    MenuWatch watch(MenuReaction::Dismiss, ClickOutsideTheSwitcher);
    ASSERT_TRUE(RightClickHandled(SwitcherOwnPoint()));
    ASSERT_EQ(watch.openings, 1);
    EXPECT_FALSE(clickInMenuPostedCommand);
    EXPECT_TRUE(ClickOutsidePostsACommand()); // the menu closed: the same click cancels
}

TEST_F(ContextMenu, VendorItemOpensItsPageMaximisedAndClosesTheSwitcher) {
    ChooseAndExpectPage(MenuReaction::ChooseFirstItem, kVendorRoot + L"/?id=zephtab&v=1");
}

TEST_F(ContextMenu, ProductItemOpensItsPageMaximisedAndClosesTheSwitcher) {
    ChooseAndExpectPage(MenuReaction::ChooseLastItem, kVendorRoot + L"/go/?id=zephtab&v=1");
}

TEST_F(ContextMenu, APageThatCannotOpenStillClosesTheSwitcher) {
    ASSERT_TRUE(InstallHttpHandler(L"no_such_program.exe", recordFile_));
    switcherActive = 1;
    SendMessageW(SwitcherWindow, WM_COMMAND, IDM_PRODUCT_SITE, 0);
    EXPECT_EQ(switcherActive, 0);
    ASSERT_TRUE(WaitUntil([&] { return !queue_.switcherCommands.empty(); }));
    EXPECT_EQ(queue_.switcherCommands.back(), static_cast<WPARAM>(CMD_CANCEL));
}

} // namespace
