// What a screen reader in another process hears from zephtab.exe: an
// out-of-context WinEvent hook (as Narrator or NVDA set) takes each focus event
// and asks the object it names through AccessibleObjectFromEvent.
#include <gtest/gtest.h>

#include <ole2.h>
#include <oleacc.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "input_support_win.h"
#include "registry_support_win.h"
#include "window_support_win.h"

namespace {

struct FocusEvent {
    HWND window;
    LONG object;
    LONG child;
};
std::vector<FocusEvent> focusEvents;

void CALLBACK RecordFocus(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
    if (window == FindSwitcherWindow())
        focusEvents.push_back({window, object, child});
}

// What the object named by an event answers; the reference is kept to ask it again later.
struct Heard {
    IAccessible* object = nullptr;
    VARIANT child = {};
    std::wstring name, description;
    LONG role = 0, state = 0;
    RECT location = {};
    ~Heard() {
        if (object)
            object->Release();
    }
};

// A text property's value, or "" when the call fails.
template <typename Ask> std::wstring TextFrom(Ask ask) {
    BSTR text = nullptr;
    const HRESULT result = ask(&text);
    std::wstring value = SUCCEEDED(result) && text ? text : L"";
    SysFreeString(text);
    return value;
}

class ScreenReader : public SwitcherKeyboardTest {
  protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SwitcherOptions options = DefaultSwitcherOptions();
        options.showToolbar = 1;
        options.showProcessInfo = 1;
        StartSession(options);
        // Every process's events: Wine passes none to a hook limited to one process.
        hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordFocus, 0, 0,
                               WINEVENT_OUTOFCONTEXT);
    }
    static void TearDownTestSuite() {
        if (hook)
            UnhookWinEvent(hook);
        EndSession();
        CoUninitialize();
    }
    void SetUp() override {
        SwitcherKeyboardTest::SetUp();
        ASSERT_TRUE(hook);
        focusEvents.clear();
        heardEvents = 0;
    }

    // Waits for the next focus event and asks its object what a screen reader reads.
    void HearNextFocus(Heard* heard) {
        ASSERT_TRUE(WaitUntil([&] { return focusEvents.size() > heardEvents; }, 5000));
        const FocusEvent event = focusEvents[heardEvents++];
        ASSERT_EQ(event.window, FindSwitcherWindow());
        ASSERT_EQ(AccessibleObjectFromEvent(event.window, static_cast<DWORD>(event.object),
                                            static_cast<DWORD>(event.child), &heard->object,
                                            &heard->child),
                  S_OK);
        IAccessible* object = heard->object;
        const VARIANT child = heard->child;
        heard->name = TextFrom([&](BSTR* text) { return object->get_accName(child, text); });
        heard->description =
            TextFrom([&](BSTR* text) { return object->get_accDescription(child, text); });
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(heard->object->get_accRole(heard->child, &value)) && value.vt == VT_I4)
            heard->role = value.lVal;
        VariantInit(&value);
        if (SUCCEEDED(heard->object->get_accState(heard->child, &value)) && value.vt == VT_I4)
            heard->state = value.lVal;
        LONG left = 0, top = 0, width = 0, height = 0;
        if (SUCCEEDED(heard->object->accLocation(&left, &top, &width, &height, heard->child)))
            heard->location = {left, top, left + width, top + height};
    }

    static void ExpectEntry(const Heard& heard, const wchar_t* title, const wchar_t* place) {
        EXPECT_EQ(heard.name, title);
        EXPECT_EQ(heard.description.rfind(place, 0), 0u) << "place first: " << heard.description;
        EXPECT_NE(heard.description.find(L"e2e_test_screen_reader.exe"), std::wstring::npos)
            << "the program's name: " << heard.description;
        EXPECT_EQ(heard.role, ROLE_SYSTEM_LISTITEM);
        const LONG selectedFocused = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        EXPECT_EQ(heard.state & selectedFocused, selectedFocused);
        RECT switcher = {};
        GetWindowRect(FindSwitcherWindow(), &switcher);
        RECT inside = {};
        EXPECT_FALSE(IsRectEmpty(&heard.location)) << "where the icon is";
        EXPECT_TRUE(IntersectRect(&inside, &heard.location, &switcher) &&
                    EqualRect(&inside, &heard.location))
            << "inside the switcher";
    }

    static HWINEVENTHOOK hook;
    size_t heardEvents = 0;
};
HWINEVENTHOOK ScreenReader::hook;

TEST_F(ScreenReader, EachStepIsReadAndAHeldEntryAnswersAnErrorAfterTheSwitcherHides) {
    OpenWithAltTab();
    Heard first;
    HearNextFocus(&first);
    ExpectEntry(first, L"Switch target C", L"1 of 3");
    ASSERT_TRUE(Xdotool("key Tab"));
    Heard second;
    HearNextFocus(&second);
    ExpectEntry(second, L"Switch target B", L"2 of 3");
    EXPECT_TRUE(IntersectRect(&second.location, &second.location, &first.location) == FALSE)
        << "each entry where its own icon is";
    // The list itself, and its children.
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    EXPECT_EQ(TextFrom([&](BSTR* text) { return second.object->get_accName(self, text); }),
              L"Window switcher");
    LONG count = 0;
    EXPECT_EQ(second.object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3 + 10) << "the entries, then the process panel's figures";
    VARIANT figure = self;
    figure.lVal = 4;
    EXPECT_EQ(TextFrom([&](BSTR* text) { return second.object->get_accName(figure, text); }),
              L"Window Handle");
    const std::wstring handle =
        TextFrom([&](BSTR* text) { return second.object->get_accValue(figure, text); });
    EXPECT_EQ(std::wcstoull(handle.c_str(), nullptr, 16),
              reinterpret_cast<ULONG_PTR>(FindWindowW(nullptr, L"Switch target B")))
        << "the selected window's handle: " << handle;
    figure.lVal = 13;
    EXPECT_EQ(TextFrom([&](BSTR* text) { return second.object->get_accValue(figure, text); }),
              L"2/3");
    VARIANT beyond = self;
    beyond.lVal = 14;
    BSTR text = nullptr;
    EXPECT_EQ(second.object->get_accName(beyond, &text), E_INVALIDARG);
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(WaitForSwitcherShown(false));
    // A reader that kept its reference gets an error, not a crash.
    text = nullptr;
    EXPECT_TRUE(FAILED(second.object->get_accName(second.child, &text)));
    VARIANT role;
    VariantInit(&role);
    EXPECT_TRUE(FAILED(second.object->get_accRole(second.child, &role)));
    ASSERT_TRUE(Xdotool("keyup Alt_L"));
    EXPECT_TRUE(IsWindow(FindSwitcherWindow())) << "zephtab still runs";
}

// The toolbar's buttons show only icons; a reader gets what their tooltips say.
TEST_F(ScreenReader, TheToolbarsButtonsAreNamedAsTheirTooltips) {
    OpenWithAltTab();
    HWND toolbar = FindWindowExW(FindSwitcherWindow(), nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_TRUE(toolbar);
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(toolbar, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
              S_OK);
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);
    std::vector<std::wstring> names;
    VARIANT button;
    VariantInit(&button);
    button.vt = VT_I4;
    for (button.lVal = 1; button.lVal <= count; ++button.lVal)
        names.push_back(TextFrom([&](BSTR* text) { return object->get_accName(button, text); }));
    const std::vector<std::wstring> expected = {
        L"Make Current Window Always on Top", L"Restore Always on Top",
        L"Make Current Window Opaque", L"Make Current Window Transparent"};
    EXPECT_EQ(names, expected);
    ReleaseAltAndExpectForeground(windowC);
    object->Release();
}

TEST_F(ScreenReader, StepsBackAndWithTheWheelAreReadToo) {
    OpenWithAltTab();
    Heard opened;
    HearNextFocus(&opened);
    ASSERT_TRUE(Xdotool("click 4")); // the wheel away from the user: one step back
    Heard last;
    HearNextFocus(&last);
    ExpectEntry(last, L"Switch target A", L"3 of 3");
    ReleaseAltAndExpectForeground(windowA);
}

} // namespace
