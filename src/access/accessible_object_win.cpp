#include "access/accessible_object_win.h"

#include "access/access_text.h"

namespace {

// COM is started on this thread at the first request and ended at shutdown.
bool comStarted;

// The objects whose stubs are held by a lock until shutdown.
constexpr int kMaxKeptObjects = 4;
IAccessible* keptObjects[kMaxKeptObjects];
int keptCount;

bool ObjectKeptAlive(IAccessible* object) {
    for (int i = 0; i < keptCount; ++i)
        if (keptObjects[i] == object)
            return true;
    return false;
}

void KeepObjectAlive(IAccessible* object) {
    if (keptCount < kMaxKeptObjects && SUCCEEDED(CoLockObjectExternal(object, TRUE, FALSE)))
        keptObjects[keptCount++] = object;
}

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
    // The object's stub stays while the program runs: made again for every caller,
    // and torn down at each caller's last release, it made each question of an
    // assistive program cost several times its answer.
    if (comStarted && !ObjectKeptAlive(object))
        KeepObjectAlive(object);
    return LresultFromObject(__uuidof(IAccessible), flags, object);
}

void ReleaseAccessObjects(IAccessible* const* objects, int count) {
    if (comStarted) {
        for (int i = 0; i < keptCount; ++i)
            CoLockObjectExternal(keptObjects[i], FALSE, FALSE);
        for (int i = 0; i < count; ++i)
            CoDisconnectObject(objects[i], 0);
        CoUninitialize();
    }
    keptCount = 0;
    comStarted = false;
}
