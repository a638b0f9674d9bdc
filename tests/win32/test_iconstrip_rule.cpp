// The rule by which a window's icon is found, with large and with small icons.
#include <gtest/gtest.h>

#include <iterator>

#include "app/app_win.h"
#include "pixel_support_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"

namespace {

class IconRule : public InProcessSwitcherTest {
  public:
    void SetUp() override {
        windowBig = CreateSolidIcon(RGB(255, 0, 0));
        windowSmall = CreateSolidIcon(RGB(0, 255, 0), 16);
        classBig = CreateSolidIcon(RGB(0, 0, 255));
        classSmall = CreateSolidIcon(RGB(255, 255, 0), 16);
        defaultIcon = LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW));
        ASSERT_NE(defaultIcon, nullptr);
    }
    void TearDown() override {
        for (HWND window : windows)
            DestroyWindow(window);
        for (HICON icon : {windowBig, windowSmall, classBig, classSmall})
            DestroyIcon(icon);
        switcherOptions.smallIcons = 0;
    }

    // Window icons and class icons given by which of the four are present.
    HWND Window(bool hasWindowBig, bool hasWindowSmall, bool hasClassBig, bool hasClassSmall) {
        DisplayWindowSpec spec;
        spec.windowBig = hasWindowBig ? windowBig : nullptr;
        spec.windowSmall = hasWindowSmall ? windowSmall : nullptr;
        spec.classBig = hasClassBig ? classBig : nullptr;
        spec.classSmall = hasClassSmall ? classSmall : nullptr;
        HWND window = CreateDisplayWindow(spec);
        windows.push_back(window);
        return window;
    }

    HICON windowBig = nullptr, windowSmall = nullptr, classBig = nullptr, classSmall = nullptr;
    HICON defaultIcon = nullptr;
    std::vector<HWND> windows;
};

struct RuleCase {
    const char* name;
    bool windowBig, windowSmall, classBig, classSmall;
    enum Expected { WINDOW_BIG, WINDOW_SMALL, CLASS_BIG, CLASS_SMALL, DEFAULT } expected;
};

void CheckRule(IconRule* test, const RuleCase* cases, size_t count, HICON icons[5]) {
    for (size_t i = 0; i < count; ++i) {
        const RuleCase& c = cases[i];
        HWND window = test->Window(c.windowBig, c.windowSmall, c.classBig, c.classSmall);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(LookupWindowIcon(window), icons[c.expected]) << c.name;
    }
}

TEST_F(IconRule, LargeIconsAskTheWindowsBigIconThenTheClassIcon) {
    switcherOptions.smallIcons = 0;
    const RuleCase cases[] = {
        {"everything", true, true, true, true, RuleCase::WINDOW_BIG},
        {"window big only", true, false, false, false, RuleCase::WINDOW_BIG},
        {"class big beats window small", false, true, true, true, RuleCase::CLASS_BIG},
        {"window small", false, true, false, false, RuleCase::WINDOW_SMALL},
        {"window small beats class small", false, true, false, true, RuleCase::WINDOW_SMALL},
        {"class icons only", false, false, true, true, RuleCase::CLASS_BIG},
        {"class small only", false, false, false, true, RuleCase::CLASS_SMALL},
        {"nothing", false, false, false, false, RuleCase::DEFAULT},
    };
    HICON icons[] = {windowBig, windowSmall, classBig, classSmall, defaultIcon};
    CheckRule(this, cases, std::size(cases), icons);
}

TEST_F(IconRule, SmallIconsAskTheWindowsSmallIconThenTheClassLargeIcon) {
    switcherOptions.smallIcons = 1;
    const RuleCase cases[] = {
        {"everything", true, true, true, true, RuleCase::WINDOW_SMALL},
        {"window small only", false, true, false, false, RuleCase::WINDOW_SMALL},
        {"class big beats window big", true, false, true, true, RuleCase::CLASS_BIG},
        {"window big", true, false, false, false, RuleCase::WINDOW_BIG},
        {"window big beats class small", true, false, false, true, RuleCase::WINDOW_BIG},
        {"class icons only", false, false, true, true, RuleCase::CLASS_BIG},
        {"class small only", false, false, false, true, RuleCase::CLASS_SMALL},
        {"nothing", false, false, false, false, RuleCase::DEFAULT},
    };
    HICON icons[] = {windowBig, windowSmall, classBig, classSmall, defaultIcon};
    CheckRule(this, cases, std::size(cases), icons);
}

TEST_F(IconRule, AWindowThatIsGoneGetsTheDefaultIcon) {
    HWND window = Window(true, true, false, false);
    DestroyWindow(window);
    windows.clear();
    EXPECT_EQ(LookupWindowIcon(window), defaultIcon);
}

TEST_F(IconRule, DefaultIconIsAGenericWindowPicture) {
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(defaultIcon, &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    const COLORREF client = IconPixel(defaultIcon, 16, 20);
    const COLORREF titleBar = IconPixel(defaultIcon, 10, 6);
    const COLORREF closeBox = IconPixel(defaultIcon, 25, 6);
    const COLORREF frame = IconPixel(defaultIcon, 2, 20);
    const COLORREF corner = IconPixel(defaultIcon, 0, 0);

    EXPECT_TRUE(ColourNear(client, RGB(255, 255, 255)));
    EXPECT_LT(GetRValue(titleBar), 64);
    EXPECT_GT(GetBValue(titleBar), 96);
    EXPECT_GT(GetRValue(closeBox), 192);
    EXPECT_LT(GetBValue(closeBox), 64);
    EXPECT_GT(GetBValue(frame), GetRValue(frame) + 64);
    EXPECT_TRUE(ColourNear(corner, RGB(0, 0, 0))); // transparent outside the window
}

} // namespace
