// Releasing the surfaces and drawing objects: each exactly once, and nothing left
// behind; and the hook, the clock timer and the hot keys released at shutdown.
#include <gtest/gtest.h>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/hooks_win.h"
#include "display/surfaces_win.h"
#include "process_support_win.h"
#include "switcher_support_win.h"
#include "window_support_win.h"

namespace {

TEST(BackgroundRelease, ReleaseDeletesEverySurfaceAndObjectOnceAndNullsThem) {
    ASSERT_TRUE(StartSwitcherInProcess());
    const HDC dcs[] = {BackgroundBuffer, FrameBuffer, PreviewCanvas};
    HGDIOBJ bitmaps[3];
    for (int i = 0; i < 3; ++i)
        bitmaps[i] = GetCurrentObject(dcs[i], OBJ_BITMAP);
    const HGDIOBJ objects[] = {BannerFont, TextFont, ClockFont, SeparatorPen, BackgroundBrush};
    for (HDC dc : dcs)
        ASSERT_NE(GetObjectType(dc), 0u);
    for (HGDIOBJ object : objects)
        ASSERT_NE(GetObjectType(object), 0u);
    const int before = CountGdiObjects();

    ReleaseSwitcherDisplay();

    for (HDC dc : dcs)
        EXPECT_EQ(GetObjectType(dc), 0u);
    for (HGDIOBJ bitmap : bitmaps)
        EXPECT_EQ(GetObjectType(bitmap), 0u);
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u);
    EXPECT_EQ(CountGdiObjects(), before - 11);
    EXPECT_EQ(BackgroundBuffer, nullptr);
    EXPECT_EQ(FrameBuffer, nullptr);
    EXPECT_EQ(PreviewCanvas, nullptr);
    EXPECT_EQ(BannerFont, nullptr);
    EXPECT_EQ(TextFont, nullptr);
    EXPECT_EQ(ClockFont, nullptr);
    EXPECT_EQ(SeparatorPen, nullptr);
    EXPECT_EQ(BackgroundBrush, nullptr);

    // A second release (the window's destruction runs one) deletes nothing more.
    const int after = CountGdiObjects();
    DestroyWindow(SwitcherWindow);
    PumpMessages();
    EXPECT_LE(CountGdiObjects(), after);
    RemoveSwitcherRegistryTraces();
}

// What the window still held once its WM_DESTROY handling had run.
struct HeldAtDestroy {
    bool handled = false;
    bool clockTimer = false;
    bool keyboardHook = false;
    int hotKeys = 0;
};
HeldAtDestroy heldAtDestroy;
WNDPROC switcherProc;
HHOOK hookBeforeShutdown;

// Whether another registration of the key fails because someone holds it.
bool HotKeyIsHeld(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 1, modifiers, key))
        return true;
    UnregisterHotKey(nullptr, 1);
    return false;
}

LRESULT CALLBACK WatchDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(switcherProc, window, message, wParam, lParam);
    if (message == WM_DESTROY) {
        heldAtDestroy.handled = true;
        heldAtDestroy.clockTimer = KillTimer(window, TIMER_CLOCK) != 0;
        heldAtDestroy.keyboardHook = UnhookWindowsHookEx(hookBeforeShutdown) != 0;
        heldAtDestroy.hotKeys = HotKeyIsHeld(MOD_ALT, VK_TAB) +
                                HotKeyIsHeld(MOD_ALT | MOD_SHIFT, VK_TAB) +
                                HotKeyIsHeld(MOD_WIN, VK_F12);
    }
    return result;
}

// The window still exists when its destruction releases them: nothing is left to
// the end of the process.
TEST(Shutdown, TheHookTheClockAndTheHotKeysAreReleasedWhileTheWindowIsDestroyed) {
    ASSERT_TRUE(StartSwitcherInProcess());
    ASSERT_TRUE(HotKeyIsHeld(MOD_WIN, VK_F12));
    hookBeforeShutdown = keyboardHook;
    ASSERT_NE(hookBeforeShutdown, nullptr);
    switcherProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(SwitcherWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDestroy)));
    DestroyWindow(SwitcherWindow);
    PumpMessages();
    ASSERT_TRUE(heldAtDestroy.handled);
    EXPECT_FALSE(heldAtDestroy.clockTimer);
    EXPECT_FALSE(heldAtDestroy.keyboardHook);
    EXPECT_EQ(heldAtDestroy.hotKeys, 0);
    RemoveSwitcherRegistryTraces();
}

} // namespace
