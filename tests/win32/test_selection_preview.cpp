// The live preview: the delay before the capture, the fitting and centring of
// the image, and that quick selections make one capture, of the last window.
// PrintWindow renders only this process's windows under Wine, so the captured
// windows are created here; they have no frame, so window and client agree.
#include <gtest/gtest.h>

#include <string>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "display/frame_win.h"
#include "display/preview_fit.h"
#include "display/selection_texts.h"
#include "display/selection_win.h"
#include "display/surfaces_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kIconColour = RGB(255, 0, 255);

class LivePreview : public InProcessSwitcherTest {
  protected:
    void SetUp() override {
        icon = CreateSolidIcon(kIconColour);
        switcherOptions.livePreview = 1;
        SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &savedDelay, 0);
    }
    void TearDown() override {
        KillTimer(SwitcherWindow, TIMER_PREVIEW);
        SystemParametersInfoW(SPI_SETKEYBOARDDELAY, savedDelay, nullptr, 0);
        ReplaceWindowList({});
        for (HWND window : windows)
            DestroyWindow(window);
        DestroyIcon(icon);
    }

    HWND Window(COLORREF colour, int width, int height) {
        DisplayWindowSpec spec;
        spec.title = L"live";
        spec.classBig = icon;
        spec.clientColour = colour;
        spec.style = WS_POPUP | WS_VISIBLE;
        spec.width = width;
        spec.height = height;
        windows.push_back(CreateDisplayWindow(spec));
        return windows.back();
    }

    HICON icon = nullptr;
    UINT savedDelay = 0;
    std::vector<HWND> windows;
};

bool IsPreview(int x, int y, COLORREF colour) {
    return ColourNear(GetPixel(PreviewCanvas, x, y), colour, 0);
}

// The delay from the selection to the capture, with the keyboard delay setting d.
DWORD CaptureDelay(HWND window, UINT d) {
    SystemParametersInfoW(SPI_SETKEYBOARDDELAY, d, nullptr, 0);
    UINT readBack = 99;
    SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &readBack, 0);
    EXPECT_EQ(readBack, d);
    const int before = RenderRequests(window);
    const DWORD start = GetTickCount();
    SelectEntry(0);
    EXPECT_TRUE(previewPending);
    EXPECT_TRUE(IsPreview(99, 99, kIconColour)); // the icon until the capture covers it
    EXPECT_TRUE(WaitUntil([&] { return RenderRequests(window) > before; }, 5000));
    return GetTickCount() - start;
}

TEST_F(LivePreview, TheCaptureWaitsFiftyMillisecondsPerDelayStepPlusFifty) {
    HWND window = Window(kRed, 400, 300);
    ReplaceWindowList({window, Window(kGreen, 300, 300)});
    // A busy machine only makes a capture late: the fastest of a few tries shows the delay.
    constexpr DWORD kLateMarginMs = 100;
    for (UINT d : {0u, 3u}) {
        DWORD fastest = MAXDWORD;
        for (int i = 0; i < 5 && fastest > PreviewDelayMs(d) + kLateMarginMs; ++i) {
            const DWORD elapsed = CaptureDelay(window, d);
            // Timers may fire a tick early on this system's clock: allow its 16 ms granularity.
            EXPECT_GE(elapsed + 16, PreviewDelayMs(d)) << "delay setting " << d;
            EXPECT_TRUE(IsPreview(99, 99, kRed));
            fastest = elapsed < fastest ? elapsed : fastest;
        }
        EXPECT_LE(fastest, PreviewDelayMs(d) + kLateMarginMs) << "delay setting " << d;
    }
}

TEST_F(LivePreview, AWideWindowIsScaledToTheSquaresWidthAndCentredVertically) {
    HWND wide = Window(kRed, 792, 396); // scale 0.25: image at (0,49.5)-(198,148.5)
    ReplaceWindowList({wide, Window(kGreen, 300, 300)});
    SelectEntry(0);
    ASSERT_TRUE(WaitUntil([&] { return RenderRequests(wide) > 0; }));
    EXPECT_TRUE(IsPreview(0, 51, kRed));
    EXPECT_TRUE(IsPreview(197, 51, kRed));
    EXPECT_TRUE(IsPreview(99, 99, kRed));
    EXPECT_TRUE(IsPreview(0, 147, kRed));
    EXPECT_TRUE(IsPreview(197, 147, kRed));
    EXPECT_TRUE(IsPreview(99, 48, BACKDROP));
    EXPECT_TRUE(IsPreview(99, 0, BACKDROP));
    EXPECT_TRUE(IsPreview(99, 150, BACKDROP));
    EXPECT_TRUE(IsPreview(99, 197, BACKDROP));
    // Nothing drawn beyond the square.
    EXPECT_FALSE(IsPreview(198, 99, kRed));
}

TEST_F(LivePreview, ATallWindowIsScaledToTheSquaresHeightAndCentredHorizontally) {
    HWND tall = Window(kYellow, 396, 792);
    ReplaceWindowList({Window(kGreen, 300, 300), tall});
    SelectEntry(1);
    ASSERT_TRUE(WaitUntil([&] { return RenderRequests(tall) > 0; }));
    EXPECT_TRUE(IsPreview(51, 0, kYellow));
    EXPECT_TRUE(IsPreview(147, 197, kYellow));
    EXPECT_TRUE(IsPreview(48, 99, BACKDROP));
    EXPECT_TRUE(IsPreview(150, 99, BACKDROP));
    EXPECT_FALSE(IsPreview(99, 198, kYellow));
}

// Under Wine the capture of another program's window succeeds and draws nothing:
// the icon drawn first stays. Around an image thinner than the icon, none of it stays.
TEST_F(LivePreview, TheIconIsDrawnFirstSoThatACaptureThatDrawsNothingLeavesIt) {
    const wchar_t title[] = L"Live preview of another program";
    StartedProgram helper =
        StartProgram(L"display_window.exe", L"\"" + std::wstring(title) + L"\"");
    HWND other = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (other = FindWindowW(L"ZephtabDisplayHelper", title)); }));
    HWND thin = Window(kRed, 990, 25); // image 198 x 5, at y 96.5
    ReplaceWindowList({other, thin});
    const HICON otherIcon = LookupWindowIcon(other);
    SelectEntry(0);
    ASSERT_TRUE(previewPending);
    OnPreviewTimer(SwitcherWindow); // the delay is over: the capture is made
    for (POINT p : {POINT{2, 2}, POINT{16, 16}, POINT{29, 29}})
        EXPECT_EQ(GetPixel(PreviewCanvas, 83 + p.x, 83 + p.y), IconPixel(otherIcon, p.x, p.y));

    SelectEntry(1);
    OnPreviewTimer(SwitcherWindow);
    EXPECT_EQ(RenderRequests(thin), 1);
    EXPECT_TRUE(IsPreview(99, 98, kRed));
    EXPECT_TRUE(IsPreview(99, 85, BACKDROP));
    PostMessageW(other, WM_CLOSE, 0, 0);
    WaitForExit(helper, 5000);
    EndProgram(helper);
}

TEST_F(LivePreview, TheComposedFrameShowsTheCaptureInThePreviewBox) {
    HWND square = Window(kGreen, 396, 396);
    ReplaceWindowList({square, Window(kRed, 300, 300)});
    SelectEntry(0);
    ASSERT_TRUE(WaitUntil([&] { return RenderRequests(square) > 0; }));
    MemoryCanvas frame(SWITCHER_WIDTH, SWITCHER_HEIGHT);
    const HDC dc = frame.dc;
    ComposeFrameInto(dc);
    EXPECT_TRUE(ColourNear(GetPixel(dc, 387, 69), kGreen, 0));
    EXPECT_TRUE(ColourNear(GetPixel(dc, 584, 266), kGreen, 0));
    EXPECT_FALSE(ColourNear(GetPixel(dc, 386, 68), kGreen));
    EXPECT_FALSE(ColourNear(GetPixel(dc, 585, 267), kGreen));
}

TEST_F(LivePreview, ThreeQuickSelectionsMakeOneCaptureOfTheThirdWindow) {
    SystemParametersInfoW(SPI_SETKEYBOARDDELAY, 3, nullptr, 0);
    HWND first = Window(kRed, 300, 300);
    HWND second = Window(kGreen, 300, 300);
    HWND third = Window(kYellow, 300, 300);
    ReplaceWindowList({first, second, third});
    SelectEntry(0);
    SelectEntry(1);
    SelectEntry(2);
    ASSERT_TRUE(WaitUntil([&] { return RenderRequests(third) > 0; }));
    EXPECT_EQ(RenderRequests(first), 0);
    EXPECT_EQ(RenderRequests(second), 0);
    EXPECT_EQ(RenderRequests(third), 1);
    EXPECT_TRUE(IsPreview(99, 99, kYellow));
    // The timer fired once and stopped itself: nothing else is due.
    EXPECT_FALSE(KillTimer(SwitcherWindow, TIMER_PREVIEW));
}

TEST_F(LivePreview, AnIconSelectionAfterALiveOneIsNotOverwrittenWhenTheTimerFires) {
    HWND live = Window(kRed, 300, 300);
    HWND minimised = Window(kGreen, 300, 300);
    ShowWindow(minimised, SW_MINIMIZE);
    ReplaceWindowList({live, minimised});
    SelectEntry(0);
    SelectEntry(1);
    EXPECT_FALSE(previewPending);
    OnPreviewTimer(SwitcherWindow); // the armed delay runs out
    EXPECT_EQ(RenderRequests(live), 0);
    EXPECT_TRUE(IsPreview(99, 99, kIconColour));
    EXPECT_FALSE(KillTimer(SwitcherWindow, TIMER_PREVIEW));
}

TEST_F(LivePreview, AWindowThatLosesItsAreaBeforeTheCaptureKeepsItsIcon) {
    HWND shrinking = Window(kRed, 300, 300);
    ReplaceWindowList({shrinking, Window(kGreen, 300, 300)});
    SelectEntry(0);
    ASSERT_TRUE(previewPending);
    SetWindowPos(shrinking, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    OnPreviewTimer(SwitcherWindow);
    EXPECT_EQ(RenderRequests(shrinking), 0);
    EXPECT_TRUE(IsPreview(99, 99, kIconColour));
    EXPECT_TRUE(IsPreview(50, 50, BACKDROP));
}

TEST_F(LivePreview, ACaptureForAnIndexOutsideTheListDoesNothing) {
    HWND window = Window(kRed, 300, 300);
    ReplaceWindowList({window, Window(kGreen, 300, 300)});
    FillRect(PreviewCanvas, &PreviewSquare, BackgroundBrush);
    for (int index : {-1, 2}) {
        selectedIndex = index;
        CaptureLivePreview();
    }
    EXPECT_EQ(RenderRequests(window), 0);
    EXPECT_TRUE(IsPreview(99, 99, BACKDROP));
}

TEST_F(LivePreview, TheCanvasIsLeftWithTheIdentityTransform) {
    HWND window = Window(kRed, 792, 396);
    ReplaceWindowList({window, Window(kGreen, 300, 300)});
    SelectEntry(0);
    ASSERT_TRUE(WaitUntil([&] { return RenderRequests(window) > 0; }));
    XFORM transform = {};
    ASSERT_TRUE(GetWorldTransform(PreviewCanvas, &transform));
    EXPECT_EQ(transform.eM11, 1.0f);
    EXPECT_EQ(transform.eM22, 1.0f);
    EXPECT_EQ(transform.eM12, 0.0f);
    EXPECT_EQ(transform.eM21, 0.0f);
    EXPECT_EQ(transform.eDx, 0.0f);
    EXPECT_EQ(transform.eDy, 0.0f);
}

} // namespace
