#include "access/toolbar_access_win.h"

#include <commctrl.h>

#include "access/access_text.h"
#include "access/accessible_object_win.h"
#include "actions/toolbar_win.h"

namespace {

constexpr UINT_PTR kAccessSubclass = 1;

bool ToolbarShown() {
    return ActionToolbar && IsWindowVisible(ActionToolbar);
}

int ButtonCount() {
    return static_cast<int>(SendMessageW(ActionToolbar, TB_BUTTONCOUNT, 0, 0));
}

// Child ids are button indexes plus one, checked against the toolbar at every call.
AccessChild ResolveButton(const VARIANT& child) {
    if (child.vt != VT_I4)
        return {ACCESS_NO_SUCH, -1};
    return ResolveAccessChild(child.lVal, ButtonCount(), 0, ToolbarShown());
}

HRESULT FailureOf(const AccessChild& child) {
    return child.target == ACCESS_DISCONNECTED ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
}

bool Answers(const AccessChild& child) {
    return child.target == ACCESS_SWITCHER || child.target == ACCESS_ENTRY;
}

int CommandOf(int index) {
    TBBUTTON button = {};
    SendMessageW(ActionToolbar, TB_GETBUTTON, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&button));
    return button.idCommand;
}

struct ToolbarAccessibleObject : ProgramAccessible {
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (!ToolbarShown())
            return CO_E_OBJNOTCONNECTED;
        return AccessibleObjectFromWindow(ActionToolbar, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        if (!ToolbarShown())
            return CO_E_OBJNOTCONNECTED;
        *count = ButtonCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** child) override {
        *child = nullptr;
        const AccessChild resolved = ResolveButton(childId);
        return resolved.target == ACCESS_ENTRY ? S_FALSE : FailureOf(resolved);
    }
    // The toolbar itself has no name, as the system's toolbars have none.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override {
        *name = nullptr;
        const AccessChild resolved = ResolveButton(childId);
        if (resolved.target == ACCESS_SWITCHER)
            return S_FALSE;
        if (resolved.target != ACCESS_ENTRY)
            return FailureOf(resolved);
        return AnswerText(ToolbarButtonText(CommandOf(resolved.index)), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override {
        return get_accHelp(childId, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT childId, BSTR* description) override {
        return get_accHelp(childId, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override {
        VariantInit(role);
        const AccessChild resolved = ResolveButton(childId);
        if (!Answers(resolved))
            return FailureOf(resolved);
        role->vt = VT_I4;
        role->lVal = resolved.target == ACCESS_ENTRY ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_TOOLBAR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override {
        VariantInit(state);
        const AccessChild resolved = ResolveButton(childId);
        if (!Answers(resolved))
            return FailureOf(resolved);
        state->vt = VT_I4;
        state->lVal = resolved.target == ACCESS_SWITCHER && GetFocus() == ActionToolbar
                          ? STATE_SYSTEM_FOCUSED
                          : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT childId, BSTR* help) override {
        *help = nullptr;
        const AccessChild resolved = ResolveButton(childId);
        return Answers(resolved) ? S_FALSE : FailureOf(resolved);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT childId, BSTR* shortcut) override {
        return get_accHelp(childId, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        VariantInit(focus);
        return ToolbarShown() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return get_accFocus(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override {
        return get_accHelp(childId, action);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT childId) override {
        *left = *top = *width = *height = 0;
        const AccessChild resolved = ResolveButton(childId);
        RECT rect = {};
        if (resolved.target == ACCESS_SWITCHER) {
            GetWindowRect(ActionToolbar, &rect);
        } else if (resolved.target != ACCESS_ENTRY) {
            return FailureOf(resolved);
        } else {
            SendMessageW(ActionToolbar, TB_GETITEMRECT, static_cast<WPARAM>(resolved.index),
                         reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(ActionToolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        }
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        VariantInit(end);
        const AccessChild from = ResolveButton(start);
        if (!Answers(from))
            return FailureOf(from);
        int index = -1;
        if (from.target == ACCESS_SWITCHER && direction == NAVDIR_FIRSTCHILD)
            index = 0;
        else if (from.target == ACCESS_SWITCHER && direction == NAVDIR_LASTCHILD)
            index = ButtonCount() - 1;
        else if (from.target == ACCESS_ENTRY && direction == NAVDIR_NEXT)
            index = from.index + 1;
        else if (from.target == ACCESS_ENTRY && direction == NAVDIR_PREVIOUS)
            index = from.index - 1;
        if (index < 0 || index >= ButtonCount())
            return S_FALSE;
        *end = ChildVariant(index);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        VariantInit(hit);
        if (!ToolbarShown())
            return CO_E_OBJNOTCONNECTED;
        POINT point = {x, y};
        ScreenToClient(ActionToolbar, &point);
        const int index = static_cast<int>(
            SendMessageW(ActionToolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
        RECT rect = {};
        GetClientRect(ActionToolbar, &rect);
        if (!PtInRect(&rect, point))
            return S_FALSE;
        *hit = ChildVariant(index >= 0 && index < ButtonCount() ? index : -1);
        return S_OK;
    }
};

ToolbarAccessibleObject toolbarAccessible;

LRESULT CALLBACK ToolbarAccessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, ToolbarAccessProc, kAccessSubclass);
    // The id is compared as the 32-bit value the system sends.
    else if (message == WM_GETOBJECT &&
             static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT) && ToolbarShown())
        return AnswerGetObject(&toolbarAccessible, wParam);
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void ServeToolbarAccess(HWND toolbar) {
    if (toolbar)
        SetWindowSubclass(toolbar, ToolbarAccessProc, kAccessSubclass, 0);
}

IAccessible* ToolbarAccessible() {
    return &toolbarAccessible;
}
