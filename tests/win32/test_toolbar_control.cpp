// The toolbar control on the switcher: its buttons and icons, its tooltips,
// when it is visible, that a click on it keeps the switcher open, and what
// shutdown releases.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "actions/toolbar_win.h"
#include "base/count_of.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "input_support_win.h"
#include "pixel_support_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/window_list_win.h"

namespace {

struct ButtonCase {
    int command;
    int image;
};
// Top to bottom.
const ButtonCase kButtons[] = {
    {IDC_TOPMOST, 3}, {IDC_RESTORE_TOPMOST, 0}, {IDC_OPAQUE, 2}, {IDC_TRANSPARENT, 1}};

POINT ButtonCentre(int command) {
    RECT rect = {};
    SendMessageW(ActionToolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
    return ClientPointOnScreen(ActionToolbar, (rect.left + rect.right) / 2,
                               (rect.top + rect.bottom) / 2);
}

// The live top-level menu whose first item is this popup.
HMENU MenuHolding(HMENU popup) {
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        HMENU menu = reinterpret_cast<HMENU>(index);
        if (IsMenu(menu) && GetSubMenu(menu, 0) == popup)
            return menu;
    }
    return nullptr;
}

SwitcherOptions WithToolbar(BYTE shown) {
    SwitcherOptions options = DefaultSwitcherOptions();
    options.showToolbar = shown;
    return options;
}

class ToolbarControl : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSwitcherInProcess(WithToolbar(1)));
        Xdotool("mousemove 512 384"); // the X pointer on the Wine desktop
        // Two windows to switch between, so that an opening shows the switcher.
        first = CreateTestWindow(L"Toolbar test window 1");
        second = CreateTestWindow(L"Toolbar test window 2");
    }
    void TearDown() override {
        if (!IsWindow(SwitcherWindow))
            return;
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        ASSERT_TRUE(ReloadSwitcherWith(WithToolbar(1)));
        for (HWND window : {first, second}) {
            LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
            SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        }
        RunActionCommand(IDC_RESTORE_TOPMOST);
        PumpMessages();
    }

    static HWND first;
    static HWND second;
};

HWND ToolbarControl::first;
HWND ToolbarControl::second;

TEST_F(ToolbarControl, IsAFixedColumnOfFourIconButtonsOnTheSwitcher) {
    ASSERT_TRUE(IsWindow(ActionToolbar));
    wchar_t className[32];
    GetClassNameW(ActionToolbar, className, CountOf(className));
    EXPECT_STREQ(className, TOOLBARCLASSNAMEW);
    EXPECT_EQ(GetParent(ActionToolbar), SwitcherWindow);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(ActionToolbar, GWL_STYLE)), 0x54018BC5u);
    const RECT rect = RectInParent(ActionToolbar);
    EXPECT_EQ(rect.left, 343);
    EXPECT_EQ(rect.top, 75);
    EXPECT_EQ(rect.right - rect.left, 40);
    EXPECT_EQ(rect.bottom - rect.top, 200);

    EXPECT_EQ(SendMessageW(ActionToolbar, TB_GETIMAGELIST, 0, 0),
              reinterpret_cast<LRESULT>(ToolbarImageList));
    EXPECT_EQ(ImageList_GetImageCount(ToolbarImageList), 4);
    int width = 0, height = 0;
    ImageList_GetIconSize(ToolbarImageList, &width, &height);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 32);

    ASSERT_EQ(SendMessageW(ActionToolbar, TB_BUTTONCOUNT, 0, 0), 4);
    LONG previousTop = -1;
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        TBBUTTON button = {};
        SendMessageW(ActionToolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, kButtons[index].command);
        EXPECT_EQ(button.iBitmap, kButtons[index].image);
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
        EXPECT_EQ(button.fsStyle, BTNS_AUTOSIZE);
        EXPECT_EQ(button.dwData, 0u);
        EXPECT_EQ(button.iString, -1);
        RECT item;
        SendMessageW(ActionToolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
        EXPECT_GT(item.top, previousTop); // one column: each button below the one before
        EXPECT_LT(item.left, 8);
        previousTop = item.top;
    }
}

TEST_F(ToolbarControl, IconsAreWhiteFramesOnPaleBlue) {
    MemoryCanvas canvas(32, 32);
    const HDC memory = canvas.dc;
    for (int image = 0; image < 4; ++image) {
        SCOPED_TRACE(image);
        ImageList_Draw(ToolbarImageList, image, memory, 0, 0, ILD_NORMAL);
        int paleBlue = 0, white = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                COLORREF pixel = GetPixel(memory, x, y);
                // The image list keeps 16-bit colour: up to 8 off in a channel.
                if (ColourNear(pixel, RGB(146, 176, 244), 8))
                    ++paleBlue;
                else if (pixel == RGB(255, 255, 255))
                    ++white;
            }
        }
        EXPECT_EQ(paleBlue + white, 32 * 32);
        EXPECT_GT(white, 60);
        EXPECT_GT(paleBlue, 400);
    }

    for (int id : {IDI_TOOL_RESTORE, IDI_TOOL_TRANSPARENT, IDI_TOOL_OPAQUE, IDI_TOOL_TOPMOST}) {
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        ASSERT_NE(icon, nullptr) << id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, 32) << id;
        EXPECT_EQ(colour.bmHeight, 32) << id;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(ToolbarControl, TooltipOfEachButtonComesFromTheSwitcher) {
    HWND tooltips = reinterpret_cast<HWND>(SendMessageW(ActionToolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltips, nullptr);
    const struct {
        int command;
        const wchar_t* text;
    } cases[] = {
        {IDC_TOPMOST, L"Make Current Window Always on Top"},
        {IDC_RESTORE_TOPMOST, L"Restore Always on Top"},
        {IDC_OPAQUE, L"Make Current Window Opaque"},
        {IDC_TRANSPARENT, L"Make Current Window Transparent"},
    };
    for (const auto& c : cases) {
        wchar_t text[80] = {};
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = ActionToolbar;
        tool.uId = c.command;
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, CountOf(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, c.text) << c.command;
    }
}

TEST_F(ToolbarControl, VisibleOnlyWhileTheSwitcherIsShownWithTheOptionSet) {
    ASSERT_FALSE(IsWindowVisible(SwitcherWindow));
    EXPECT_FALSE(IsWindowVisible(ActionToolbar));
    OpenSwitcherAndWait();
    EXPECT_TRUE(IsWindowVisible(ActionToolbar));

    ASSERT_TRUE(ReloadSwitcherWith(WithToolbar(0)));
    EXPECT_FALSE(IsWindowVisible(ActionToolbar)); // at once, while shown
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    OpenSwitcherAndWait();
    EXPECT_FALSE(IsWindowVisible(ActionToolbar));

    ASSERT_TRUE(ReloadSwitcherWith(WithToolbar(1)));
    EXPECT_TRUE(IsWindowVisible(ActionToolbar));
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(SwitcherWindow));
    EXPECT_FALSE(IsWindowVisible(ActionToolbar));
}

TEST_F(ToolbarControl, AClickOnAButtonActsAndLeavesTheSwitcherOpen) {
    OpenSwitcherAndWait();
    ASSERT_GE(selectedIndex, 0);
    HWND target = WindowList[selectedIndex].window;
    ASSERT_FALSE(GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_LAYERED);
    QueueWatch queue;

    ASSERT_TRUE(MouseAt(ButtonCentre(IDC_TRANSPARENT), "click 1"));
    ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_LAYERED); }));
    ASSERT_TRUE(MouseAt(ButtonCentre(IDC_TOPMOST), "click 1"));
    ASSERT_TRUE(WaitUntil([&] { return pinnedWindow == target; }));
    PumpMessages();

    EXPECT_TRUE(IsWindowVisible(SwitcherWindow));
    EXPECT_TRUE(queue.switcherCommands.empty());
}

// A button is drawn framed only while it is hot (under the mouse) or pressed. The
// focus the toolbar is given at start-up and at every reload marks none.
TEST_F(ToolbarControl, NoButtonIsHotWithoutTheMouseOverIt) {
    ASSERT_TRUE(MouseAt({5, 5}, ""));
    for (bool reloaded : {false, true}) {
        SCOPED_TRACE(reloaded ? "after a reload" : "after start-up");
        if (reloaded) {
            ASSERT_TRUE(ReloadSwitcherWith(WithToolbar(1)));
        }
        OpenSwitcherAndWait();
        EXPECT_EQ(SendMessageW(ActionToolbar, TB_GETHOTITEM, 0, 0), -1);
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    }
}

// Last: it ends the switcher of this test program.
TEST_F(ToolbarControl, ShutdownReleasesTheImageListAndTheMenu) {
    HMENU popup = contextMenu;
    ASSERT_TRUE(IsMenu(popup));
    HMENU loaded = MenuHolding(popup);
    ASSERT_NE(loaded, nullptr);
    DestroyWindow(SwitcherWindow);
    EXPECT_EQ(ToolbarImageList, nullptr);
    EXPECT_EQ(contextMenu, nullptr);
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_FALSE(IsMenu(loaded));
}

} // namespace
