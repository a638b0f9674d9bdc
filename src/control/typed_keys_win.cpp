#include "control/typed_keys_win.h"

namespace {

void MarkDown(BYTE* state, int key) {
    state[key] = 0x80;
}

} // namespace

int CharactersOfKey(const TypedKey& key, HKL layout, wchar_t* characters, int capacity) {
    BYTE state[256] = {};
    if (key.shift) {
        MarkDown(state, VK_SHIFT);
        MarkDown(state, VK_LSHIFT);
    }
    // AltGr is Ctrl and Alt together for the layout.
    if (key.altGr) {
        MarkDown(state, VK_CONTROL);
        MarkDown(state, VK_LCONTROL);
        MarkDown(state, VK_MENU);
        MarkDown(state, VK_RMENU);
    }
    wchar_t typed[8] = {};
    const int result = ToUnicodeEx(key.key, key.scanCode | (key.extended ? 0x100 : 0), state, typed,
                                   static_cast<int>(sizeof(typed) / sizeof(typed[0])), 0, layout);
    int count = 0;
    for (int i = 0; i < result && count < capacity; ++i)
        if (typed[i] >= 0x20 && typed[i] != 0x7F)
            characters[count++] = typed[i];
    return count;
}

void ForgetDeadKey(HKL layout) {
    BYTE state[256] = {};
    wchar_t typed[8] = {};
    const UINT spaceScan = MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, layout);
    // A waiting dead key combines with the space and is used up; a few tries
    // are enough for any layout's chain of dead keys.
    for (int i = 0; i < 4; ++i)
        if (ToUnicodeEx(VK_SPACE, spaceScan, state, typed, 8, 0, layout) >= 0)
            return;
}
