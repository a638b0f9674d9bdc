#include "access/switcher_access_win.h"

#include <commctrl.h>

#include "access/access_text.h"
#include "access/accessible_object_win.h"
#include "access/toolbar_access_win.h"
#include "base/count_of.h"
#include "base/program_handles_win.h"
#include "base/runtime_function_win.h"
#include "display/selection_texts.h"
#include "display/surfaces_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/program_paths_win.h"
#include "windowlist/window_list_win.h"

static_assert(CHILDID_SELF == 0, "child id 0 is the list itself");

namespace {

constexpr int kFigureCount = static_cast<int>(CountOf(kPanelRows));

bool SwitcherShown() {
    return SwitcherWindow && IsWindowVisible(SwitcherWindow);
}

// The panel's figures are children only while the panel is drawn.
int ShownFigureCount() {
    return switcherOptions.showProcessInfo ? kFigureCount : 0;
}

int ChildCount() {
    return listedCount + ShownFigureCount();
}

// An entry whose window has closed is not answered for; the list drops it soon.
AccessChild ResolveVariant(const VARIANT& child) {
    if (child.vt != VT_I4)
        return {ACCESS_NO_SUCH, -1};
    AccessChild resolved =
        ResolveAccessChild(child.lVal, listedCount, ShownFigureCount(), SwitcherShown());
    if (resolved.target == ACCESS_ENTRY && !IsWindow(WindowList[resolved.index].window))
        return {ACCESS_NO_SUCH, -1};
    return resolved;
}

HRESULT FailureOf(const AccessChild& child) {
    return child.target == ACCESS_DISCONNECTED ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
}

void ReadProgramName(HWND window, wchar_t* name, DWORD count) {
    name[0] = 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t path[MAX_PATH];
    if (ReadProcessProgramPath(processId, path, CountOf(path)))
        lstrcpynW(name, ProgramNameOfPath(path), static_cast<int>(count));
}

// The selected window and the title its selection showed, taken when it was
// announced: an assistive program asks for it at every step, and the step has
// read it already (a window of this process would be asked again by a message).
HWND announcedWindow;
wchar_t announcedTitle[CountOf(SelectionTexts.titleText)];

// The window's title, or for a window without one its program's name.
void ReadEntryName(int index, wchar_t* name, int count) {
    HWND window = WindowList[index].window;
    if (index == selectedIndex && window == announcedWindow && announcedTitle[0]) {
        lstrcpynW(name, announcedTitle, count);
        return;
    }
    if (GetWindowTextW(window, name, count) == 0)
        ReadProgramName(window, name, static_cast<DWORD>(count));
}

bool EntryIconOnScreen(int index, RECT* rect) {
    rect->left = LVIR_ICON;
    if (!SendMessageW(IconStrip, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(rect)))
        return false;
    MapWindowPoints(IconStrip, nullptr, reinterpret_cast<POINT*>(rect), 2);
    return true;
}

// A figure is where its row is drawn: from its label to the end of its value.
void FigureOnScreen(int row, RECT* rect) {
    const PanelRow& place = kPanelRows[row];
    const wchar_t* value = PanelValueText(place.value);
    SIZE extent = {};
    HDC dc = GetDC(SwitcherWindow);
    HGDIOBJ previous = SelectObject(dc, TextFont);
    GetTextExtentPoint32W(dc, value, lstrlenW(value), &extent);
    SelectObject(dc, previous);
    ReleaseDC(SwitcherWindow, dc);
    rect->left = ScaledForDisplay(place.labelX);
    rect->top = ScaledForDisplay(place.y);
    rect->right = ScaledForDisplay(place.valueX) + extent.cx;
    rect->bottom = rect->top + extent.cy;
    MapWindowPoints(SwitcherWindow, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

// Whether the child is the list or one of its children.
bool Answers(const AccessChild& child) {
    return child.target == ACCESS_SWITCHER || child.target == ACCESS_ENTRY ||
           child.target == ACCESS_FIGURE;
}

// One object for the program's life: it holds no state of its own and reads the
// list at every call, so a reference kept past the switcher's hiding, or past a
// change of the list, answers an error instead of reaching freed memory.
struct SwitcherAccessible : ProgramAccessible {

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (!SwitcherShown())
            return CO_E_OBJNOTCONNECTED;
        return AccessibleObjectFromWindow(SwitcherWindow, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        if (!SwitcherShown())
            return CO_E_OBJNOTCONNECTED;
        *count = ChildCount();
        return S_OK;
    }
    // The entries and figures are simple elements, answered by this object with their child id.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** child) override {
        *child = nullptr;
        const AccessChild resolved = ResolveVariant(childId);
        return resolved.target == ACCESS_ENTRY || resolved.target == ACCESS_FIGURE
                   ? S_FALSE
                   : FailureOf(resolved);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override {
        *name = nullptr;
        const AccessChild resolved = ResolveVariant(childId);
        if (resolved.target == ACCESS_SWITCHER)
            return AnswerText(kSwitcherAccessName, name);
        wchar_t text[1024];
        if (resolved.target == ACCESS_FIGURE) {
            FigureNameOf(text, CountOf(text), kPanelRows[resolved.index].label);
            return AnswerText(text, name);
        }
        if (resolved.target != ACCESS_ENTRY)
            return FailureOf(resolved);
        ReadEntryName(resolved.index, text, CountOf(text));
        return AnswerText(text, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override {
        *value = nullptr;
        const AccessChild resolved = ResolveVariant(childId);
        if (resolved.target == ACCESS_FIGURE)
            return AnswerText(FigureValueOf(PanelValueText(kPanelRows[resolved.index].value)),
                              value);
        return Answers(resolved) ? S_FALSE : FailureOf(resolved);
    }
    // "3 of 12, notepad.exe": its place, and whose window it is.
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT childId, BSTR* description) override {
        *description = nullptr;
        const AccessChild resolved = ResolveVariant(childId);
        if (resolved.target == ACCESS_SWITCHER || resolved.target == ACCESS_FIGURE)
            return S_FALSE;
        if (resolved.target != ACCESS_ENTRY)
            return FailureOf(resolved);
        wchar_t program[MAX_PATH];
        ReadProgramName(WindowList[resolved.index].window, program, CountOf(program));
        wchar_t text[64 + MAX_PATH];
        FormatEntryDescription(text, CountOf(text), resolved.index + 1, listedCount, program);
        return AnswerText(text, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override {
        VariantInit(role);
        const AccessChild resolved = ResolveVariant(childId);
        if (!Answers(resolved))
            return FailureOf(resolved);
        role->vt = VT_I4;
        role->lVal = resolved.target == ACCESS_ENTRY    ? ROLE_SYSTEM_LISTITEM
                     : resolved.target == ACCESS_FIGURE ? ROLE_SYSTEM_STATICTEXT
                                                        : ROLE_SYSTEM_LIST;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override {
        VariantInit(state);
        const AccessChild resolved = ResolveVariant(childId);
        if (!Answers(resolved))
            return FailureOf(resolved);
        state->vt = VT_I4;
        state->lVal =
            resolved.target == ACCESS_FIGURE ? STATE_SYSTEM_READONLY : STATE_SYSTEM_FOCUSABLE;
        if (resolved.target == ACCESS_ENTRY) {
            state->lVal |= STATE_SYSTEM_SELECTABLE;
            if (resolved.index == selectedIndex)
                state->lVal |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT childId, BSTR* help) override {
        *help = nullptr;
        const AccessChild resolved = ResolveVariant(childId);
        return Answers(resolved) ? S_FALSE : FailureOf(resolved);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT childId, BSTR* shortcut) override {
        return get_accHelp(childId, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return get_accSelection(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        VariantInit(selection);
        if (!SwitcherShown())
            return CO_E_OBJNOTCONNECTED;
        if (selectedIndex < 0 || selectedIndex >= listedCount)
            return S_FALSE;
        *selection = ChildVariant(selectedIndex);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override {
        return get_accHelp(childId, action);
    }
    // An entry is where its icon is, so that a magnifier moves to it.
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT childId) override {
        *left = *top = *width = *height = 0;
        const AccessChild resolved = ResolveVariant(childId);
        RECT rect = {};
        if (resolved.target == ACCESS_SWITCHER)
            GetWindowRect(SwitcherWindow, &rect);
        else if (resolved.target == ACCESS_FIGURE)
            FigureOnScreen(resolved.index, &rect);
        else if (resolved.target != ACCESS_ENTRY)
            return FailureOf(resolved);
        else if (!EntryIconOnScreen(resolved.index, &rect))
            return S_FALSE;
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        VariantInit(end);
        const AccessChild from = ResolveVariant(start);
        if (!Answers(from))
            return FailureOf(from);
        // Children in id order: the entries, then the figures.
        const int at = from.target == ACCESS_FIGURE ? listedCount + from.index : from.index;
        int index = -1;
        if (from.target == ACCESS_SWITCHER && direction == NAVDIR_FIRSTCHILD)
            index = 0;
        else if (from.target == ACCESS_SWITCHER && direction == NAVDIR_LASTCHILD)
            index = ChildCount() - 1;
        else if (from.target != ACCESS_SWITCHER && direction == NAVDIR_NEXT)
            index = at + 1;
        else if (from.target != ACCESS_SWITCHER && direction == NAVDIR_PREVIOUS)
            index = at - 1;
        if (index < 0 || index >= ChildCount())
            return S_FALSE;
        *end = ChildVariant(index);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        VariantInit(hit);
        if (!SwitcherShown())
            return CO_E_OBJNOTCONNECTED;
        LVHITTESTINFO test = {};
        test.pt = {x, y};
        ScreenToClient(IconStrip, &test.pt);
        const int item = static_cast<int>(
            SendMessageW(IconStrip, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test)));
        if (item >= 0 && item < listedCount) {
            *hit = ChildVariant(item);
            return S_OK;
        }
        RECT rect = {};
        GetWindowRect(SwitcherWindow, &rect);
        if (!PtInRect(&rect, POINT{x, y}))
            return S_FALSE;
        *hit = ChildVariant(-1);
        return S_OK;
    }
};

SwitcherAccessible switcherAccessible;

// UI Automation's announcement, where the system has it (Windows 10 1709 on).
using ClientsListeningProc = BOOL(WINAPI*)();
using HostProviderProc = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationProc = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
constexpr int kNotificationActionCompleted = 2;
constexpr int kNotificationMostRecent = 3;
RuntimeFunction uiaClientsListening = {
    L"uiautomationcore.dll", "UiaClientsAreListening", 0, nullptr, nullptr, false};
RuntimeFunction uiaHostProvider = {
    L"uiautomationcore.dll", "UiaHostProviderFromHwnd", 0, nullptr, nullptr, false};
RuntimeFunction uiaRaiseNotification = {
    L"uiautomationcore.dll", "UiaRaiseNotificationEvent", 0, nullptr, nullptr, false};

void AnnounceTitle(int index) {
    auto raise = RuntimeFunctionAs<RaiseNotificationProc>(&uiaRaiseNotification);
    auto listening = RuntimeFunctionAs<ClientsListeningProc>(&uiaClientsListening);
    auto hostProvider = RuntimeFunctionAs<HostProviderProc>(&uiaHostProvider);
    if (!raise || !listening || !hostProvider || !listening())
        return;
    IUnknown* provider = nullptr;
    if (FAILED(hostProvider(SwitcherWindow, &provider)) || !provider)
        return;
    wchar_t title[1024];
    ReadEntryName(index, title, CountOf(title));
    BSTR text = SysAllocString(title);
    BSTR activity = SysAllocString(L"ZephtabSelection");
    if (text && activity)
        raise(provider, kNotificationActionCompleted, kNotificationMostRecent, text, activity);
    SysFreeString(text);
    SysFreeString(activity);
    provider->Release();
}

} // namespace

LRESULT OnGetObject(HWND window, WPARAM flags, LPARAM objectId) {
    // The id is compared as the 32-bit value the system sends.
    if (static_cast<LONG>(objectId) != static_cast<LONG>(OBJID_CLIENT) || !SwitcherShown())
        return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    return AnswerGetObject(&switcherAccessible, flags);
}

void AnnounceSelection(int index) {
    if (index < 0 || index >= listedCount)
        return;
    announcedWindow = WindowList[index].window;
    lstrcpynW(announcedTitle, SelectionTexts.titleText, CountOf(announcedTitle));
    const LONG child = AccessChildIdOf(index);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, SwitcherWindow, OBJID_CLIENT, child);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, SwitcherWindow, OBJID_CLIENT, child);
    AnnounceTitle(index);
}

void ReleaseSwitcherAccess() {
    IAccessible* const objects[] = {&switcherAccessible, ToolbarAccessible()};
    ReleaseAccessObjects(objects, static_cast<int>(CountOf(objects)));
    ReleaseRuntimeFunction(&uiaClientsListening);
    ReleaseRuntimeFunction(&uiaHostProvider);
    ReleaseRuntimeFunction(&uiaRaiseNotification);
}
