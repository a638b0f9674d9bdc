// The process texts for windows of this process, of another process and of a
// closed window, and that nothing is gathered while the panel is off.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "display/process_panel_win.h"
#include "display/selection_texts.h"
#include "display/selection_win.h"
#include "process_support_win.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/window_list_win.h"

namespace {

class ProcessPanel : public InProcessSwitcherTest {
  protected:
    void SetUp() override { EmptySelectionTexts(); }
    void TearDown() override {
        for (HWND window : windows)
            DestroyWindow(window);
        switcherOptions.showProcessInfo = 0;
    }

    HWND Window(const wchar_t* title) {
        windows.push_back(CreateTestWindow(title));
        return windows.back();
    }

    std::vector<HWND> windows;
};

std::wstring Expected(const wchar_t* format, unsigned value) {
    wchar_t text[64];
    wsprintfW(text, format, value);
    return text;
}

unsigned HandleValue(HWND window) {
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(window);
    EXPECT_EQ(static_cast<unsigned long long>(value) >> 32, 0u) << "handle wider than 32 bits";
    return static_cast<unsigned>(value);
}

// ": " followed by decimal digits only.
bool IsColonNumber(const wchar_t* text) {
    if (text[0] != L':' || text[1] != L' ' || !text[2])
        return false;
    for (const wchar_t* digit = text + 2; *digit; ++digit)
        if (!std::iswdigit(*digit))
            return false;
    return true;
}

unsigned NumberOf(const wchar_t* text) {
    return static_cast<unsigned>(std::wcstoul(text + 2, nullptr, 10));
}

// ": 999", or ": " digits "." three digits " " and k, M or G.
bool IsMemoryText(const std::wstring& text) {
    if (IsColonNumber(text.c_str()))
        return NumberOf(text.c_str()) < 1000;
    const size_t point = text.find(L'.');
    if (text.compare(0, 2, L": ") != 0 || point == std::wstring::npos || point < 3)
        return false;
    if (text.size() != point + 6 || text[point + 4] != L' ')
        return false;
    const wchar_t unit = text[point + 5];
    return unit == L'k' || unit == L'M' || unit == L'G';
}

void ExpectFiguresOfAnOpenProcess() {
    EXPECT_TRUE(IsColonNumber(SelectionTexts.gdiObjectsText)) << SelectionTexts.gdiObjectsText;
    EXPECT_TRUE(IsColonNumber(SelectionTexts.userObjectsText)) << SelectionTexts.userObjectsText;
    EXPECT_TRUE(IsColonNumber(SelectionTexts.handlesText)) << SelectionTexts.handlesText;
    EXPECT_EQ(NumberOf(SelectionTexts.handlesText),
              NumberOf(SelectionTexts.gdiObjectsText) + NumberOf(SelectionTexts.userObjectsText));
    EXPECT_TRUE(IsColonNumber(SelectionTexts.ioReadsText)) << SelectionTexts.ioReadsText;
    EXPECT_TRUE(IsColonNumber(SelectionTexts.ioWritesText)) << SelectionTexts.ioWritesText;
    EXPECT_TRUE(IsMemoryText(SelectionTexts.memoryText)) << SelectionTexts.memoryText;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

TEST_F(ProcessPanel, AWindowOfThisProcess) {
    HWND window = Window(L"own window");
    UpdateProcessInfo(window);
    EXPECT_EQ(std::wstring(SelectionTexts.processIdText), Expected(L": %u", GetCurrentProcessId()));
    EXPECT_EQ(std::wstring(SelectionTexts.windowHandleText),
              Expected(L": %X", HandleValue(window)));
    EXPECT_STREQ(SelectionTexts.priorityText, L": Normal");
    ExpectFiguresOfAnOpenProcess();
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(Lower(SelectionTexts.modulePathText), Lower(path));
    // Texts not of the panel are left alone.
    EXPECT_STREQ(SelectionTexts.titleText, L"");
    EXPECT_STREQ(SelectionTexts.positionText, L"");
}

TEST_F(ProcessPanel, AWindowOfAnotherProcessWithEachPriorityClass) {
    StartedProgram helper = StartProgram(L"display_window.exe", L"panel-helper");
    ASSERT_TRUE(helper.started);
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (window = FindWindowW(L"ZephtabDisplayHelper", L"panel-helper")) != nullptr;
    }));
    struct Case {
        DWORD priorityClass;
        const wchar_t* text;
    };
    const Case cases[] = {
        {IDLE_PRIORITY_CLASS, L": Idle"},     {BELOW_NORMAL_PRIORITY_CLASS, L": Below Normal"},
        {NORMAL_PRIORITY_CLASS, L": Normal"}, {ABOVE_NORMAL_PRIORITY_CLASS, L": Above Normal"},
        {HIGH_PRIORITY_CLASS, L": High"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetPriorityClass(helper.info.hProcess, c.priorityClass));
        EmptySelectionTexts();
        UpdateProcessInfo(window);
        EXPECT_STREQ(SelectionTexts.priorityText, c.text);
    }
    EXPECT_EQ(std::wstring(SelectionTexts.processIdText),
              Expected(L": %u", helper.info.dwProcessId));
    EXPECT_EQ(std::wstring(SelectionTexts.windowHandleText),
              Expected(L": %X", HandleValue(window)));
    ExpectFiguresOfAnOpenProcess();
    EXPECT_EQ(Lower(SelectionTexts.modulePathText),
              Lower(ExecutableFolder() + L"display_window.exe"));
    EndProgram(helper);
}

TEST_F(ProcessPanel, AClosedWindowShowsOnlyItsHandleAndTheFailureMark) {
    HWND window = CreateTestWindow(L"closed");
    DestroyWindow(window);
    UpdateProcessInfo(window);
    EXPECT_EQ(std::wstring(SelectionTexts.windowHandleText),
              Expected(L": %X", HandleValue(window)));
    EXPECT_STREQ(SelectionTexts.processIdText, L"- -");
    for (const wchar_t* text :
         {SelectionTexts.handlesText, SelectionTexts.gdiObjectsText, SelectionTexts.userObjectsText,
          SelectionTexts.ioReadsText, SelectionTexts.ioWritesText, SelectionTexts.priorityText,
          SelectionTexts.modulePathText, SelectionTexts.memoryText})
        EXPECT_STREQ(text, L"");
}

TEST_F(ProcessPanel, WithThePanelOffASelectionGathersNothing) {
    HWND first = Window(L"first");
    HWND second = Window(L"second");
    ReplaceWindowList({first, second});
    switcherOptions.showProcessInfo = 0;
    ShowSelection(1);
    EXPECT_STREQ(SelectionTexts.titleText, L"second");
    EXPECT_STREQ(SelectionTexts.positionText, L": 2/2");
    // The handle text is written first by every gathering, so empty proves none ran.
    for (const wchar_t* text :
         {SelectionTexts.windowHandleText, SelectionTexts.processIdText, SelectionTexts.handlesText,
          SelectionTexts.gdiObjectsText, SelectionTexts.userObjectsText, SelectionTexts.ioReadsText,
          SelectionTexts.ioWritesText, SelectionTexts.priorityText, SelectionTexts.modulePathText,
          SelectionTexts.memoryText})
        EXPECT_STREQ(text, L"");

    switcherOptions.showProcessInfo = 1;
    ShowSelection(0);
    EXPECT_EQ(std::wstring(SelectionTexts.windowHandleText), Expected(L": %X", HandleValue(first)));
    EXPECT_STREQ(SelectionTexts.priorityText, L": Normal");
}

TEST_F(ProcessPanel, EachSelectionEmptiesTheTextsOfThePreviousOne) {
    HWND window = Window(L"alive");
    HWND closed = CreateTestWindow(L"closed");
    DestroyWindow(closed);
    ReplaceWindowList({window, closed});
    switcherOptions.showProcessInfo = 1;
    ShowSelection(0);
    ASSERT_STRNE(SelectionTexts.modulePathText, L"");
    ShowSelection(1);
    EXPECT_STREQ(SelectionTexts.modulePathText, L"");
    EXPECT_STREQ(SelectionTexts.memoryText, L"");
    EXPECT_STREQ(SelectionTexts.titleText, L"");
    EXPECT_STREQ(SelectionTexts.processIdText, L"- -");
}

} // namespace
