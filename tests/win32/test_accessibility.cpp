// What the switcher follows from the system (high contrast, no animations) and
// what its accessible object answers when the entry asked about is gone, in this process.
#include <gtest/gtest.h>

#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/switcher_commands_win.h"
#include "display/frame_win.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/window_list_win.h"

namespace {

bool highContrastStandIn;
bool StandInHighContrast() {
    return highContrastStandIn;
}

int animations;
BOOL WINAPI CountAnimation(HWND window, DWORD, DWORD flags) {
    ++animations;
    return ShowWindow(window, (flags & AW_HIDE) ? SW_HIDE : SW_SHOW);
}

// The composed frame's pixel, as the screen gets it.
COLORREF FramePixel(int x, int y) {
    MemoryCanvas canvas(WidthOf(switcherLayout.window), HeightOf(switcherLayout.window));
    ComposeFrameInto(canvas.dc);
    return GetPixel(canvas.dc, x, y);
}

COLORREF ScreenPixel(int x, int y) {
    const POINT point = ClientPointOnScreen(SwitcherWindow, x, y);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

class SystemSettings : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(StartSwitcherInProcess());
        queryHighContrast = StandInHighContrast;
        animateSwitcherWindow = CountAnimation;
        SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &systemAnimated, 0);
    }
    static void TearDownTestSuite() {
        SetSystemAnimation(systemAnimated);
        StopSwitcherInProcess();
        CoUninitialize();
    }
    void SetUp() override {
        for (const wchar_t* title : {L"Accessible one", L"Accessible two", L"Accessible three"})
            windows.push_back(CreateTestWindow(title));
    }
    void TearDown() override {
        SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
        DestroyWindows(&windows);
        SetHighContrast(false);
    }
    static void SetHighContrast(bool on) {
        highContrastStandIn = on;
        SendMessageW(SwitcherWindow, on ? WM_SYSCOLORCHANGE : WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST,
                     0);
    }
    static void SetSystemAnimation(BOOL on) {
        SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(on ? 1 : 0),
                              0);
    }
    std::vector<HWND> windows;
    static BOOL systemAnimated;
};
BOOL SystemSettings::systemAnimated = TRUE;

TEST_F(SystemSettings, HighContrastDrawsInTheSystemColoursAndBackWithoutARestartOrALeak) {
    OpenSwitcherAndWait();
    const COLORREF band = RGB(153, 183, 247); // the main band's lightest column
    ASSERT_TRUE(ColourNear(FramePixel(400, 60), band));
    const int objects = CountGdiObjects();
    SetHighContrast(true);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    // The shown switcher changes at once, on screen too.
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(400, 60) == window; }, 3000));
    EXPECT_EQ(FramePixel(400, 60), window) << "the band gives way to the window colour";
    EXPECT_EQ(FramePixel(595, 300), window) << "the panel";
    EXPECT_EQ(FramePixel(578, 48), GetSysColor(COLOR_HIGHLIGHT)) << "the title line";
    EXPECT_EQ(FramePixel(386, 150), text) << "the frame around the preview";
    SetHighContrast(false);
    EXPECT_TRUE(WaitUntil([&] { return ColourNear(ScreenPixel(400, 60), band); }, 3000));
    EXPECT_TRUE(ColourNear(FramePixel(578, 48), RGB(0, 51, 153))) << "the title's backdrop";
    for (int round = 0; round < 5; ++round) {
        SetHighContrast(true);
        SetHighContrast(false);
    }
    EXPECT_EQ(CountGdiObjects(), objects);
}

TEST_F(SystemSettings, AHiddenSwitcherOpensInTheColoursOfTheModeNowOn) {
    SetHighContrast(true);
    OpenSwitcherAndWait();
    EXPECT_EQ(FramePixel(400, 60), GetSysColor(COLOR_WINDOW));
}

TEST_F(SystemSettings, TheSystemsNoAnimationsShowsAndHidesWithoutAnimating) {
    SetSystemAnimation(FALSE);
    animations = 0;
    OpenSwitcherAndWait();
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(SwitcherWindow));
    EXPECT_EQ(animations, 0);
    SetSystemAnimation(TRUE);
    OpenSwitcherAndWait();
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_EQ(animations, 2) << "the option's animation, once shown and once hidden";
}

IAccessible* SwitcherObject() {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(SwitcherWindow, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

HRESULT NameOf(IAccessible* object, LONG id) {
    BSTR name = nullptr;
    const HRESULT result = object->get_accName(Child(id), &name);
    SysFreeString(name);
    return result;
}

std::wstring NameText(IAccessible* object, LONG id) {
    BSTR name = nullptr;
    std::wstring text = SUCCEEDED(object->get_accName(Child(id), &name)) && name ? name : L"";
    SysFreeString(name);
    return text;
}

// The selected entry is named by the title its step showed, not asked of its window
// again at each question; the other entries are read as they are now.
TEST_F(SystemSettings, TheSelectedEntryIsNamedByTheTitleItsSelectionShowed) {
    OpenSwitcherAndWait();
    IAccessible* object = SwitcherObject();
    ASSERT_TRUE(object);
    ASSERT_GE(selectedIndex, 0);
    const int other = selectedIndex == 0 ? 1 : 0;
    const std::wstring shown = SelectionTexts.titleText;
    SetWindowTextW(WindowList[selectedIndex].window, L"Renamed after the step");
    SetWindowTextW(WindowList[other].window, L"Another renamed");
    EXPECT_EQ(NameText(object, selectedIndex + 1), shown);
    EXPECT_EQ(NameText(object, other + 1), L"Another renamed");
    // Selected again, it is read again.
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_NEXT, 0);
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_PREV, 0);
    EXPECT_EQ(NameText(object, selectedIndex + 1), L"Renamed after the step");
    object->Release();
}

TEST_F(SystemSettings, AnEntryThatIsGoneAnswersAnErrorAndAFloodOfRequestsLeaksNothing) {
    OpenSwitcherAndWait();
    IAccessible* object = SwitcherObject();
    ASSERT_TRUE(object);
    const int index = ListedIndexOf(windows[1]);
    ASSERT_GE(index, 0);
    EXPECT_EQ(NameOf(object, index + 1), S_OK);
    // Closed, and not yet dropped from the list (no message has run since).
    DestroyWindow(windows[1]);
    EXPECT_EQ(NameOf(object, index + 1), E_INVALIDARG);
    EXPECT_EQ(NameOf(object, listedCount + 1), E_INVALIDARG);
    // Requests that no one collects, as another program could send them.
    const DWORD handles = [] {
        DWORD count = 0;
        GetProcessHandleCount(GetCurrentProcess(), &count);
        return count;
    }();
    for (int request = 0; request < 200; ++request)
        SendFromAnotherThread(SwitcherWindow, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LT(handlesAfter, handles + 50);
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, CMD_CANCEL, 0);
    EXPECT_EQ(NameOf(object, CHILDID_SELF), CO_E_OBJNOTCONNECTED);
    object->Release();
}

} // namespace
