#include "access/accessible_object_win.h"

#include "access/access_text.h"

namespace {

// COM is started on this thread at the first request and ended at shutdown.
bool comStarted;

} // namespace

HRESULT AnswerText(const wchar_t* text, BSTR* answer) {
    *answer = SysAllocString(text);
    return *answer ? S_OK : E_OUTOFMEMORY;
}

VARIANT ChildVariant(int index) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = index < 0 ? CHILDID_SELF : AccessChildIdOf(index);
    return child;
}

LRESULT AnswerGetObject(IAccessible* object, WPARAM flags) {
    if (!comStarted)
        comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return LresultFromObject(__uuidof(IAccessible), flags, object);
}

void ReleaseAccessObjects(IAccessible* const* objects, int count) {
    if (comStarted) {
        for (int i = 0; i < count; ++i)
            CoDisconnectObject(objects[i], 0);
        CoUninitialize();
    }
    comStarted = false;
}
