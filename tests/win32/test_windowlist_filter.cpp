// Which windows the list takes, case by case, against real windows of this process.
#include <gtest/gtest.h>

#include <dwmapi.h>

#include "base/program_handles_win.h"
#include "windowlist/cloaked_window_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

constexpr DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

class WindowListFilter : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartSwitcherInProcess()); }
    static void TearDownTestSuite() { StopSwitcherInProcess(); }

    void TearDown() override {
        DestroyWindows(&windows);
        DestroyStripImageList();
    }

    HWND Make(const wchar_t* title, DWORD style = kVisible, DWORD exStyle = 0,
              HWND owner = nullptr) {
        HWND window = CreateTestWindow(title, style, exStyle, owner);
        EXPECT_TRUE(window);
        windows.push_back(window);
        return window;
    }

    HWND OwnerOf(HWND window) {
        int index = ListedIndexOf(window);
        return index < 0 ? nullptr : WindowList[index].owner;
    }

    std::vector<HWND> windows;
};

TEST_F(WindowListFilter, InvisibleWindowsAreSkippedMinimisedAndUntitledOnesListed) {
    HWND hidden = Make(L"hidden", WS_OVERLAPPEDWINDOW);
    HWND minimised = Make(L"minimised");
    ShowWindow(minimised, SW_MINIMIZE);
    HWND untitled = Make(L"");
    HWND disabled = Make(L"disabled", kVisible | WS_DISABLED);
    HWND topmost = Make(L"topmost", kVisible, WS_EX_TOPMOST);
    ASSERT_TRUE(IsIconic(minimised));

    RefreshWindowList();
    EXPECT_EQ(ListedIndexOf(hidden), -1);
    EXPECT_GE(ListedIndexOf(minimised), 0);
    EXPECT_GE(ListedIndexOf(untitled), 0);
    EXPECT_GE(ListedIndexOf(disabled), 0);
    EXPECT_GE(ListedIndexOf(topmost), 0);
    EXPECT_EQ(OwnerOf(untitled), nullptr);
}

TEST_F(WindowListFilter, ToolWindowsAreListedOnlyWithAppWindowStyle) {
    HWND tool = Make(L"tool", kVisible, WS_EX_TOOLWINDOW);
    HWND toolApp = Make(L"tool app", kVisible, WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
    HWND app = Make(L"app", kVisible, WS_EX_APPWINDOW);

    RefreshWindowList();
    EXPECT_EQ(ListedIndexOf(tool), -1);
    EXPECT_GE(ListedIndexOf(toolApp), 0);
    EXPECT_GE(ListedIndexOf(app), 0);
}

TEST_F(WindowListFilter, OwnedWindowsNeedControlParentOrAnAppWindowOwner) {
    HWND plainOwner = Make(L"plain owner");
    HWND plainOwned = Make(L"plain owned", kVisible, 0, plainOwner);
    HWND owner = Make(L"owner");
    HWND controlParent = Make(L"control parent", kVisible, WS_EX_CONTROLPARENT, owner);
    HWND appOwner = Make(L"app owner", kVisible, WS_EX_APPWINDOW);
    HWND ownedByApp = Make(L"owned by app", kVisible, 0, appOwner);

    RefreshWindowList();
    // Not listed, so it does not stand in for its owner: the owner is listed.
    EXPECT_EQ(ListedIndexOf(plainOwned), -1);
    EXPECT_GE(ListedIndexOf(plainOwner), 0);
    // Listed owned windows stand in for their owners, which are dropped.
    EXPECT_GE(ListedIndexOf(controlParent), 0);
    EXPECT_EQ(OwnerOf(controlParent), owner);
    EXPECT_EQ(ListedIndexOf(owner), -1);
    EXPECT_GE(ListedIndexOf(ownedByApp), 0);
    EXPECT_EQ(OwnerOf(ownedByApp), appOwner);
    EXPECT_EQ(ListedIndexOf(appOwner), -1);
}

TEST_F(WindowListFilter, TwoListedWindowsWithOneOwnerAreBothListedWithoutTheOwner) {
    HWND owner = Make(L"owner");
    HWND first = Make(L"first", kVisible, WS_EX_CONTROLPARENT, owner);
    HWND second = Make(L"second", kVisible, WS_EX_CONTROLPARENT, owner);

    RefreshWindowList();
    EXPECT_GE(ListedIndexOf(first), 0);
    EXPECT_GE(ListedIndexOf(second), 0);
    EXPECT_EQ(OwnerOf(first), owner);
    EXPECT_EQ(OwnerOf(second), owner);
    EXPECT_EQ(ListedIndexOf(owner), -1);
}

TEST_F(WindowListFilter, OwnerStackedAboveItsOwnedWindowIsListedWithIt) {
    // The system keeps owned windows above their owners; a window that gets its
    // owner afterwards (GWLP_HWNDPARENT) keeps its place below it.
    HWND owned = Make(L"owned", kVisible, WS_EX_CONTROLPARENT);
    HWND owner = Make(L"owner");
    SetWindowLongPtrW(owned, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ASSERT_EQ(GetWindow(owned, GW_OWNER), owner);
    ASSERT_EQ(StackingOrderOf({owner, owned}), (std::vector<HWND>{owner, owned}));

    RefreshWindowList();
    ASSERT_GE(ListedIndexOf(owner), 0);
    EXPECT_GT(ListedIndexOf(owned), ListedIndexOf(owner));
    EXPECT_EQ(OwnerOf(owned), owner);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowListFilter, TooltipClassesAreExcludedOnlyInTheirExactSpelling) {
    const struct {
        const wchar_t* className;
        bool listed;
    } cases[] = {{L"tooltips_class32", false},
                 {L"OfficeTooltip", false},
                 {L"Tooltips_Class32", true},
                 {L"officetooltip", true},
                 {L"OfficeTooltips", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.className);
        // Class names are registered without regard to case: one at a time.
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = c.className;
        ASSERT_TRUE(RegisterClassW(&windowClass));
        HWND window = CreateWindowExW(0, c.className, L"tip", WS_POPUP | WS_VISIBLE, 10, 10, 100,
                                      20, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window);
        wchar_t readBack[64] = {};
        GetClassNameW(window, readBack, 64);
        EXPECT_STREQ(readBack, c.className);

        RefreshWindowList();
        EXPECT_EQ(ListedIndexOf(window) >= 0, c.listed);
        DestroyWindow(window);
        UnregisterClassW(c.className, GetModuleHandleW(nullptr));
    }
}

TEST_F(WindowListFilter, SwitcherWindowIsNeverListedEvenWhenVisible) {
    Make(L"one");
    Make(L"two");
    ShowWindow(SwitcherWindow, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(IsWindowVisible(SwitcherWindow));
    RefreshWindowList();
    EXPECT_EQ(ListedIndexOf(SwitcherWindow), -1);
    ShowWindow(SwitcherWindow, SW_HIDE);
}

TEST_F(WindowListFilter, EntriesStandInStackingOrderTopmostFirst) {
    HWND a = Make(L"a");
    HWND b = Make(L"b");
    HWND c = Make(L"c");
    const std::vector<HWND> orders[] = {{a, b, c}, {c, a, b}, {b, c, a}};
    for (const std::vector<HWND>& order : orders) {
        StackWindows(order);
        ASSERT_EQ(StackingOrderOf(windows), order);
        RefreshWindowList();
        std::vector<HWND> listed;
        for (HWND window : ListedWindows())
            if (window == a || window == b || window == c)
                listed.push_back(window);
        EXPECT_EQ(listed, order);
    }
}

// Wine's window manager cloaks nothing: a stand-in cloaks one window.
HWND cloakedWindow;
HRESULT WINAPI CloakOneWindow(HWND window, DWORD attribute, void* value, DWORD size) {
    if (attribute != DWMWA_CLOAKED || size != sizeof(DWORD))
        return E_INVALIDARG;
    *static_cast<DWORD*>(value) = window == cloakedWindow ? DWM_CLOAKED_SHELL : 0;
    return S_OK;
}

TEST_F(WindowListFilter, WindowsTheWindowManagerCloaksAreSkipped) {
    cloakedWindow = Make(L"cloaked");
    HWND shown = Make(L"shown");
    const WindowAttributeQuery system = windowAttributeQuery;
    windowAttributeQuery = CloakOneWindow;
    RefreshWindowList();
    windowAttributeQuery = system;
    EXPECT_EQ(ListedIndexOf(cloakedWindow), -1);
    EXPECT_GE(ListedIndexOf(shown), 0);
}

TEST_F(WindowListFilter, ShutDownUnloadsTheWindowManagerLibrary) {
    Make(L"one");
    RefreshWindowList(); // the first query loads it
    ASSERT_NE(GetModuleHandleW(L"dwmapi.dll"), nullptr);
    DestroyWindow(SwitcherWindow);
    EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr);
    ASSERT_TRUE(StartSwitcherInProcess()); // for the tests after this one
}

TEST_F(WindowListFilter, EveryListedWindowPassesAndEveryVisibleOneIsAccountedFor) {
    Make(L"one");
    Make(L"two");
    RefreshWindowList();
    // The whole desktop: each listed window is visible, and nothing is listed twice.
    std::vector<HWND> listed = ListedWindows();
    for (size_t i = 0; i < listed.size(); ++i) {
        EXPECT_TRUE(IsWindowVisible(listed[i]));
        for (size_t j = i + 1; j < listed.size(); ++j)
            EXPECT_NE(listed[i], listed[j]);
    }
    EXPECT_EQ(windowCount, listedCount);
}

} // namespace
