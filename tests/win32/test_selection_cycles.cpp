// Many openings leave nothing behind: live GDI and USER objects and the working
// set stay where they were; the program can end while the switcher is shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "base/program_handles_win.h"
#include "base/identifiers.h"
#include "control/switcher_commands_win.h"
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

constexpr int kCycles = 200;
// An image list left behind per opening would add several megabytes over the run.
constexpr SIZE_T kWorkingSetSlack = 1024 * 1024;

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// Committed private memory, which Wine reports as the pagefile usage.
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

// Blocks in use on the process heap, where the program keeps its lists.
int CountProcessHeapBlocks() {
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry = {};
    int count = 0;
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            ++count;
    HeapUnlock(heap);
    return count;
}

int TotalRenderRequests(const std::vector<HWND>& windows) {
    int total = 0;
    for (HWND window : windows)
        total += RenderRequests(window);
    return total;
}

// Open, step (waiting for the live capture of the new selection), step back, hide.
void Cycle(const std::vector<HWND>& windows) {
    RunSwitcherCommand(CMD_OPEN);
    const int captures = TotalRenderRequests(windows);
    RunSwitcherCommand(CMD_NEXT);
    WaitUntil([&] { return TotalRenderRequests(windows) > captures; }, 2000);
    RunSwitcherCommand(CMD_PREV);
    RunSwitcherCommand(CMD_CANCEL);
    PumpMessages();
}

class SwitcherCycles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &savedDelay, 0);
        SystemParametersInfoW(SPI_SETKEYBOARDDELAY, 0, nullptr, 0);
    }
    static void TearDownTestSuite() {
        SystemParametersInfoW(SPI_SETKEYBOARDDELAY, savedDelay, nullptr, 0);
    }
    // The switcher in this process, shown and hidden at once.
    static void StartWithoutAnimation(bool livePreview, bool showProcessInfo) {
        SwitcherOptions stored;
        SetDefaultOptions(&stored);
        stored.noAnimation = 1;
        stored.livePreview = livePreview ? 1 : 0;
        stored.showProcessInfo = showProcessInfo ? 1 : 0;
        ASSERT_TRUE(StartSwitcherInProcess(stored));
    }
    static UINT savedDelay;
};
UINT SwitcherCycles::savedDelay;

std::vector<HWND> MakeWindows(std::vector<HICON>* icons) {
    std::vector<HWND> windows;
    for (int i = 0; i < 4; ++i) {
        icons->push_back(CreateSolidIcon(RGB(60 * i, 200, 100)));
        DisplayWindowSpec spec;
        spec.title = L"cycle window " + std::to_wstring(i);
        spec.windowBig = icons->back();
        spec.clientColour = RGB(0, 60 * i, 200);
        windows.push_back(CreateDisplayWindow(spec));
    }
    return windows;
}

TEST_F(SwitcherCycles, TwoHundredOpeningsLeaveObjectCountsAndWorkingSetFlat) {
    StartWithoutAnimation(true, true);
    std::vector<HICON> icons;
    const std::vector<HWND> windows = MakeWindows(&icons);

    for (int i = 0; i < 5; ++i) // let caches of the system settle
        Cycle(windows);
    const int gdiBefore = CountGdiObjects();
    const int userBefore = CountUserObjects();
    const SIZE_T workingSetBefore = WorkingSet();
    const int capturesBefore = TotalRenderRequests(windows);
    for (int i = 0; i < kCycles; ++i)
        Cycle(windows);
    const int gdiAfter = CountGdiObjects();
    const int userAfter = CountUserObjects();
    const SIZE_T workingSetAfter = WorkingSet();
    std::printf("GDI objects %d -> %d, USER objects %d -> %d, working set %lu -> %lu KB\n",
                gdiBefore, gdiAfter, userBefore, userAfter,
                static_cast<unsigned long>(workingSetBefore / 1024),
                static_cast<unsigned long>(workingSetAfter / 1024));
    EXPECT_EQ(gdiAfter, gdiBefore);
    EXPECT_EQ(userAfter, userBefore);
    EXPECT_LT(workingSetAfter, workingSetBefore + kWorkingSetSlack);
    EXPECT_GE(TotalRenderRequests(windows) - capturesBefore, kCycles) << "live captures ran";
    EXPECT_EQ(StripImageList, nullptr);

    for (HWND window : windows)
        DestroyWindow(window);
    for (HICON icon : icons)
        DestroyIcon(icon);
    StopSwitcherInProcess();
}

// Windows without an icon of their own show the program's fallback, a shared
// resource icon. Wine keeps about 80 bytes each time an image list converts such
// an icon: converted for every window at every fill, 91 windows made the program
// grow by some 16 KB an opening.
TEST_F(SwitcherCycles, ManyOpeningsWithManyWindowsKeepThePrivateMemoryAndTheHeapFlat) {
    StartWithoutAnimation(false, false);
    std::vector<HWND> windows;
    for (int i = 0; i < 60; ++i)
        windows.push_back(CreateTestWindow(L"window without an icon"));
    const auto cycle = [] {
        RunSwitcherCommand(CMD_OPEN);
        RunSwitcherCommand(CMD_NEXT);
        RunSwitcherCommand(CMD_CANCEL);
        PumpMessages();
    };
    for (int i = 0; i < 20; ++i)
        cycle();
    constexpr int kOpenings = 150;
    const SIZE_T before = PrivateBytes();
    const int blocksBefore = CountProcessHeapBlocks();
    for (int i = 0; i < kOpenings; ++i)
        cycle();
    const int blocksAfter = CountProcessHeapBlocks();
    const SIZE_T after = PrivateBytes();
    std::printf("private memory %lu -> %lu KB, heap blocks %d -> %d\n",
                static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024),
                blocksBefore, blocksAfter);
    // Converted for every window at every fill, the icons would add about 2 MB here.
    EXPECT_LT(after, before + 768 * 1024);
    // A list left behind by each opening would add a block each time.
    EXPECT_LT(blocksAfter - blocksBefore, kOpenings / 3);

    for (HWND window : windows)
        DestroyWindow(window);
    StopSwitcherInProcess();
}

TEST_F(SwitcherCycles, EndingWhileShownDestroysTheImageListOnce) {
    const int gdiAtStart = CountGdiObjects();
    StartWithoutAnimation(false, false);
    std::vector<HICON> icons;
    const std::vector<HWND> windows = MakeWindows(&icons);
    RunSwitcherCommand(CMD_OPEN);
    ASSERT_TRUE(IsWindowVisible(SwitcherWindow));
    ASSERT_NE(StripImageList, nullptr);

    // The shutdown detaches the list before destroying it, so the strip, destroyed
    // after its parent's WM_DESTROY, finds none to destroy a second time.
    DestroyWindow(SwitcherWindow);
    SwitcherWindow = nullptr;
    EXPECT_EQ(StripImageList, nullptr);
    EXPECT_FALSE(IsWindow(IconStrip));

    for (HWND window : windows)
        DestroyWindow(window);
    for (HICON icon : icons)
        DestroyIcon(icon);
    StopSwitcherInProcess();
    // The list's images went with everything else the program made.
    EXPECT_LE(CountGdiObjects(), gdiAtStart);
}

} // namespace
