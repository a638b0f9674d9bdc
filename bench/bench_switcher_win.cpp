// Time of the switcher's open, steps and cancel with many windows, measured in
// process on the real code, against the bare pass over the same windows that
// any switcher must make. Also a reload, a live capture, the process panel and
// the working set over many openings. Run with `make bench`; it reports, it
// never fails.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <cstdio>
#include <vector>

#include "app/app_win.h"
#include "control/hook_decisions.h"
#include "control/switcher_commands_win.h"
#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "display/dpi_win.h"
#include "display/process_panel_win.h"
#include "display/selection_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "settings/options.h"
#include "settings/program_patterns.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/program_icons_win.h"
#include "windowlist/program_match.h"
#include "windowlist/program_paths_win.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_view_win.h"

namespace {

constexpr int kCounts[] = {10, 50, 100, 200};
constexpr int kRuns = 9;
constexpr int kIconKinds = 8; // the windows of a few programs share their program's icon
constexpr int kCycleWindows = 100;
constexpr int kCycles = 300;
constexpr wchar_t kHostClass[] = L"ZephtabBenchWindow";
constexpr int kScaledWindows = 200;
constexpr int kScaledDpi = 144;

double NowMs() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figure {
    double median;
    double worst;
};

Figure Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return Figure{times[times.size() / 2], times.back()};
}

// ---- Windows of a helper thread that keeps answering, as real programs' windows do.

struct WindowHost {
    int count = 0;
    HICON* icons = nullptr;
    HANDLE ready = nullptr;
    DWORD threadId = 0;
    HANDLE thread = nullptr;
};

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI HostWindows(void* parameter) {
    WindowHost* host = static_cast<WindowHost*>(parameter);
    std::vector<HWND> windows;
    for (int i = 0; i < host->count; ++i) {
        wchar_t title[64];
        wsprintfW(title, L"Sample document %d - Editor", i + 1);
        HWND window = CreateWindowExW(0, kHostClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      20 + (i % 40) * 8, 20 + (i % 30) * 8, 320, 240, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(host->icons[i % kIconKinds]));
        windows.push_back(window);
    }
    SetEvent(host->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (HWND window : windows)
        DestroyWindow(window);
    return 0;
}

void StartHost(WindowHost* host, int count, HICON* icons) {
    host->count = count;
    host->icons = icons;
    host->ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    host->thread = CreateThread(nullptr, 0, HostWindows, host, 0, &host->threadId);
    WaitForSingleObject(host->ready, INFINITE);
    CloseHandle(host->ready);
    PumpMessages();
}

void StopHost(WindowHost* host) {
    PostThreadMessageW(host->threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(host->thread, INFINITE);
    CloseHandle(host->thread);
    PumpMessages();
}

// ---- What is measured.

BOOL CALLBACK BarePassProc(HWND window, LPARAM) {
    if (!IsWindowVisible(window))
        return TRUE;
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    GetWindowInfo(window, &info);
    wchar_t className[256];
    GetClassNameW(window, className, 256);
    wchar_t title[256];
    GetWindowTextW(window, title, 256);
    GetWindow(window, GW_OWNER);
    return TRUE;
}

double TimeBarePass() {
    const double start = NowMs();
    EnumWindows(BarePassProc, 0);
    return NowMs() - start;
}

// A command as the hooks deliver it, until the switcher and its children are painted.
double TimeCommand(WPARAM code) {
    const double start = NowMs();
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, code, 0);
    RedrawWindow(SwitcherWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return NowMs() - start;
}

// Messages the switcher's thread handles during one command, counted by a hook:
// a deterministic measure of the work a step does, unlike its time on a shared machine.
int handledMessages;
int handledByNumber[0x10000];

LRESULT CALLBACK CountSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        ++handledMessages;
        ++handledByNumber[reinterpret_cast<const CWPSTRUCT*>(lParam)->message & 0xFFFF];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountPostedMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        ++handledMessages;
        ++handledByNumber[reinterpret_cast<const MSG*>(lParam)->message & 0xFFFF];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double TimeCommandWith(WPARAM code, LPARAM detail);

int CountCommandMessages(WPARAM code, LPARAM detail = 0) {
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, CountSentMessage, nullptr, GetCurrentThreadId());
    HHOOK posted =
        SetWindowsHookExW(WH_GETMESSAGE, CountPostedMessage, nullptr, GetCurrentThreadId());
    handledMessages = 0;
    std::fill(std::begin(handledByNumber), std::end(handledByNumber), 0);
    TimeCommandWith(code, detail);
    PumpMessages();
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(posted);
    return handledMessages;
}

void PrintMostHandled(const char* what, int count) {
    std::printf("  %s with %d windows: %d messages;", what, count, handledMessages);
    for (int shown = 0; shown < 6; ++shown) {
        int* most = std::max_element(std::begin(handledByNumber), std::end(handledByNumber));
        if (*most == 0)
            break;
        std::printf(" 0x%04X x%d", static_cast<unsigned>(most - handledByNumber), *most);
        *most = 0;
    }
    std::printf("\n");
}

struct CountFigures {
    int count;
    int listed;
    Figure bare, open, next, prev, first, last, cancel;
    Figure closedCheck;             // one look for closed windows while shown, none closed
    int nextMessages, lastMessages; // handled by the switcher's thread during one command
};

CountFigures MeasureCount(int count, HICON* icons) {
    WindowHost host;
    StartHost(&host, count, icons);
    TimeCommand(CMD_OPEN); // warm-up: first use of the list view and the image list code
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    std::vector<double> bare, open, next, prev, first, last, cancel, closedCheck;
    CountFigures figures = {};
    figures.count = count;
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(TimeBarePass());
        open.push_back(TimeCommand(CMD_OPEN));
        figures.listed = listedCount;
        const double checkStart = NowMs();
        RemoveClosedWindows();
        closedCheck.push_back(NowMs() - checkStart);
        next.push_back(TimeCommand(CMD_NEXT));
        next.push_back(TimeCommand(CMD_NEXT));
        prev.push_back(TimeCommand(CMD_PREV));
        last.push_back(TimeCommand(CMD_LAST));
        first.push_back(TimeCommand(CMD_FIRST));
        cancel.push_back(TimeCommand(CMD_CANCEL));
        PumpMessages();
    }
    TimeCommand(CMD_OPEN);
    figures.nextMessages = CountCommandMessages(CMD_NEXT);
    PrintMostHandled("CMD_NEXT", count);
    figures.lastMessages = CountCommandMessages(CMD_LAST);
    PrintMostHandled("CMD_LAST", count);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    StopHost(&host);
    figures.bare = Summarise(bare);
    figures.open = Summarise(open);
    figures.next = Summarise(next);
    figures.prev = Summarise(prev);
    figures.first = Summarise(first);
    figures.last = Summarise(last);
    figures.cancel = Summarise(cancel);
    figures.closedCheck = Summarise(closedCheck);
    return figures;
}

void PrintFigure(Figure figure) {
    std::printf(" %7.1f %7.1f |", figure.median, figure.worst);
}

void PrintTable(const std::vector<CountFigures>& all) {
    std::printf("\nOpen, steps and cancel in ms (median and worst of %d runs), windows of a "
                "helper thread\n\n",
                kRuns);
    std::printf("windows listed |   bare pass     |      open       | open/bare |"
                "    CMD_NEXT     |    CMD_PREV     |    CMD_FIRST    |    CMD_LAST     |"
                "   CMD_CANCEL    |\n");
    for (const CountFigures& row : all) {
        std::printf("%7d %6d |", row.count, row.listed);
        PrintFigure(row.bare);
        PrintFigure(row.open);
        std::printf(" %9.1f |", row.open.median / row.bare.median);
        PrintFigure(row.next);
        PrintFigure(row.prev);
        PrintFigure(row.first);
        PrintFigure(row.last);
        PrintFigure(row.cancel);
        std::printf("\n");
    }
    const CountFigures& few = all.front();
    const CountFigures& many = all.back();
    std::printf("\n%d windows against %d (medians): open/bare %.1f; CMD_NEXT %.2fx, CMD_PREV "
                "%.2fx, CMD_FIRST %.2fx, CMD_LAST %.2fx, CMD_CANCEL %.2fx\n",
                many.count, few.count, many.open.median / many.bare.median,
                many.next.median / few.next.median, many.prev.median / few.prev.median,
                many.first.median / few.first.median, many.last.median / few.last.median,
                many.cancel.median / few.cancel.median);
    std::printf("Messages the switcher's thread handles in one CMD_NEXT / CMD_LAST:");
    for (const CountFigures& row : all)
        std::printf("  %d: %d / %d", row.count, row.nextMessages, row.lastMessages);
    std::printf("\n");
    std::printf("Look for closed windows (every 50 ms while shown), none closed, ms:");
    for (const CountFigures& row : all)
        std::printf("  %d: %.2f %.2f", row.count, row.closedCheck.median, row.closedCheck.worst);
    std::printf("\n");
}

// ---- Where an open's time goes: its parts, each taken alone, against the bare pass.

double TimeAction(void (*action)()) {
    const double start = NowMs();
    action();
    return NowMs() - start;
}

void RefreshOnce() {
    RefreshWindowList();
}

void RetakeOnce() {
    RetakeWindowList();
}

// The question an open asks each listed window, alone: its icon.
void AskIconsOnce() {
    for (int i = 0; i < listedCount; ++i)
        LookupWindowIcon(WindowList[i].owner ? WindowList[i].owner : WindowList[i].window);
}

void PaintAllOnce() {
    InvalidateRect(SwitcherWindow, nullptr, TRUE);
    RedrawWindow(SwitcherWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A page of the strip drawn again, alone: what a page jump draws.
void PaintStripOnce() {
    RedrawWindow(IconStrip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The strip's frame, its scroll bar, drawn again with the page: what a page jump's
// scroll draws besides the page.
void PaintStripFrameOnce() {
    RedrawWindow(IconStrip, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void MeasureOpenParts(HICON* icons) {
    WindowHost host;
    StartHost(&host, kScaledWindows, icons);
    TimeCommand(CMD_OPEN);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    std::vector<double> bare, hiddenRefresh, shownRefresh, retake, questions, paint, stripPaint,
        framePaint, open;
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(TimeBarePass());
        // Hidden, the strip has no image list: the refresh fills it, as an open's first one does.
        hiddenRefresh.push_back(TimeAction(RefreshOnce));
        PumpMessages();
        open.push_back(TimeCommand(CMD_OPEN));
        // Shown, the same windows keep the strip, as an open's second listing finds them;
        // that listing asks no icon again, a refresh asks every window.
        retake.push_back(TimeAction(RetakeOnce));
        shownRefresh.push_back(TimeAction(RefreshOnce));
        questions.push_back(TimeAction(AskIconsOnce));
        paint.push_back(TimeAction(PaintAllOnce));
        stripPaint.push_back(TimeAction(PaintStripOnce));
        framePaint.push_back(TimeAction(PaintStripFrameOnce));
        TimeCommand(CMD_CANCEL);
        PumpMessages();
    }
    StopHost(&host);
    const double base = Summarise(bare).median;
    std::printf("\nParts of an open of %d windows, ms (medians of %d) and times the bare pass:\n",
                kScaledWindows, kRuns);
    const struct {
        const char* what;
        const std::vector<double>* times;
    } parts[] = {{"bare pass", &bare},
                 {"refresh while hidden (fills the strip)", &hiddenRefresh},
                 {"refresh while shown (keeps the strip)", &shownRefresh},
                 {"second listing of an open (no icon asked)", &retake},
                 {"the icon questions alone", &questions},
                 {"paint of the whole switcher", &paint},
                 {"paint of the strip's page alone", &stripPaint},
                 {"the same with its frame (scroll bar)", &framePaint},
                 {"open", &open}};
    for (const auto& part : parts) {
        const double median = Summarise(*part.times).median;
        std::printf("  %-42s %7.1f %5.2f\n", part.what, median, median / base);
    }
}

// ---- The same commands sent to a running zephtab.exe, as another program would send them.

double TimeCommandOf(HWND switcher, WPARAM code) {
    const double start = NowMs();
    SendMessageW(switcher, WM_SWITCHER_COMMAND, code, 0);
    RedrawWindow(switcher, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return NowMs() - start;
}

void MeasureFromAnotherProcess(HICON* icons) {
    StartedProgram program;
    if (!StartSwitcherProgram(&program)) {
        std::printf("\nbench: zephtab.exe did not start\n");
        EndProgram(program);
        return;
    }
    HWND switcher = FindSwitcherWindow();
    std::printf("\nzephtab.exe driven from this process, ms (median and worst of %d):\n\n",
                2 * kRuns);
    std::printf("windows |   bare pass     | open + shown    | open/bare |    CMD_NEXT     |"
                "    CMD_FIRST    |    CMD_LAST     |\n");
    const int counts[] = {kCounts[0], kScaledWindows};
    struct Times {
        std::vector<double> bare, open, next, first, last;
    } times[2];
    // Two blocks of each count in turn, so that a machine that slows down or speeds
    // up during the run weighs on both alike.
    for (int block = 0; block < 2; ++block) {
        for (int i = 0; i < 2; ++i) {
            WindowHost host;
            StartHost(&host, counts[i], icons);
            TimeCommandOf(switcher, CMD_OPEN);
            TimeCommandOf(switcher, CMD_CANCEL);
            Times& t = times[i];
            for (int run = 0; run < kRuns; ++run) {
                t.bare.push_back(TimeBarePass());
                t.open.push_back(TimeCommandOf(switcher, CMD_OPEN));
                t.next.push_back(TimeCommandOf(switcher, CMD_NEXT));
                t.next.push_back(TimeCommandOf(switcher, CMD_NEXT));
                t.last.push_back(TimeCommandOf(switcher, CMD_LAST));
                t.first.push_back(TimeCommandOf(switcher, CMD_FIRST));
                TimeCommandOf(switcher, CMD_CANCEL);
                PumpMessages();
            }
            StopHost(&host);
        }
    }
    Figure steps[2] = {};
    for (int i = 0; i < 2; ++i) {
        const Figure bareFigure = Summarise(times[i].bare), openFigure = Summarise(times[i].open);
        steps[i] = Summarise(times[i].next);
        std::printf("%7d |", counts[i]);
        PrintFigure(bareFigure);
        PrintFigure(openFigure);
        std::printf(" %9.1f |", openFigure.median / bareFigure.median);
        PrintFigure(steps[i]);
        PrintFigure(Summarise(times[i].first));
        PrintFigure(Summarise(times[i].last));
        std::printf("\n");
    }
    std::printf("\nCMD_NEXT with %d windows against %d: %.2fx\n", counts[1], counts[0],
                steps[1].median / steps[0].median);
    CloseRunningSwitcher();
    EndProgram(program);
}

// ---- The keys of the shown switcher: typing, and Alt with the key above Tab.

double TimeCommandWith(WPARAM code, LPARAM detail) {
    const double start = NowMs();
    SendMessageW(SwitcherWindow, WM_SWITCHER_COMMAND, code, detail);
    RedrawWindow(SwitcherWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return NowMs() - start;
}

LPARAM KeyParam(UINT key) {
    const TypedKey typed = {key, MapVirtualKeyW(key, MAPVK_VK_TO_VSC), false, false, false};
    return static_cast<LPARAM>(PackTypedKey(typed));
}

void PrintMove(const char* what, const std::vector<double>& times, Figure step) {
    const Figure figure = Summarise(times);
    std::printf("  %-44s %7.1f %7.1f | %5.2f x CMD_NEXT\n", what, figure.median, figure.worst,
                figure.median / step.median);
}

// The windows of another program: a copy of this bench under another name, run
// with kOtherProgramArgument, hosts the windows numbered from its first to 200.
constexpr wchar_t kOtherProgramName[] = L"zephtab_bench_other_program.exe";
constexpr wchar_t kOtherProgramArgument[] = L"--host-windows-from";

struct ProcessWindowCount {
    DWORD processId;
    int windows;
};

// A function of its own: a lambda has no stdcall conversion on 32-bit x86.
BOOL CALLBACK CountProcessWindow(HWND window, LPARAM counted) {
    ProcessWindowCount* seen = reinterpret_cast<ProcessWindowCount*>(counted);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == seen->processId && IsWindowVisible(window))
        ++seen->windows;
    return TRUE;
}

int WindowsOfProcess(DWORD processId) {
    ProcessWindowCount count = {processId, 0};
    EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// Started and waited for until all its windows are shown; not started (and
// reported) when the copy cannot be made.
StartedProgram StartOtherProgram(int first, int windows) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = ExecutableFolder() + kOtherProgramName;
    if (!CopyFileW(self, copy.c_str(), FALSE)) {
        std::printf("bench: no copy of the bench for the other program's windows\n");
        return StartedProgram{};
    }
    wchar_t arguments[64];
    wsprintfW(arguments, L"%s %d", kOtherProgramArgument, first);
    StartedProgram other = StartProgram(kOtherProgramName, arguments);
    const DWORD deadline = GetTickCount() + 60000;
    while (other.started && WindowsOfProcess(other.info.dwProcessId) < windows &&
           GetTickCount() < deadline)
        Sleep(50);
    return other;
}

// The other program's side: windows first..kWindows titled as the bench's own,
// until it is ended.
int HostOtherProgramWindows(int first, int last) {
    HICON icon = CreateSolidIcon(RGB(200, 60, 60));
    for (int i = first; i <= last; ++i) {
        wchar_t title[64];
        wsprintfW(title, L"Sample document %d - Editor", i);
        HWND window = CreateWindowExW(0, kHostClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      20 + (i % 40) * 8, 20 + (i % 30) * 8, 320, 240, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

constexpr int kMoveWindows = 200;
constexpr int kFrontProgramWindows = 20;

// 200 windows titled "Sample document N - Editor", 20 of this program and 180 of
// another: "e" keeps them all, "e 1" about 120, Backspace gives all back. Alt with
// the key above Tab lists the 20 of the front window's program.
void MeasureMoves(HICON* icons) {
    WindowHost host;
    StartHost(&host, kFrontProgramWindows, icons);
    StartedProgram other =
        StartOtherProgram(kFrontProgramWindows + 1, kMoveWindows - kFrontProgramWindows);
    HWND front = FindWindowW(kHostClass, L"Sample document 1 - Editor");
    TimeCommand(CMD_OPEN);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    std::vector<double> open, next, first, last, firstKey, keptAll, narrowing, back, openProgram,
        programNext;
    int listedForAll = 0, narrowedTo = 0, listedForProgram = 0;
    for (int run = 0; run < kRuns; ++run) {
        SetForegroundWindow(front);
        PumpMessages();
        open.push_back(TimeCommand(CMD_OPEN));
        listedForAll = listedCount;
        next.push_back(TimeCommand(CMD_NEXT));
        last.push_back(TimeCommand(CMD_LAST));
        first.push_back(TimeCommand(CMD_FIRST));
        // A user's pause before typing: the watch reads the list ahead meanwhile.
        WaitUntil(IsListTakenAhead, 3000);
        firstKey.push_back(TimeCommandWith(CMD_TYPE_KEY, KeyParam('E')));
        keptAll.push_back(TimeCommandWith(CMD_TYPE_KEY, KeyParam(VK_SPACE)));
        narrowing.push_back(TimeCommandWith(CMD_TYPE_KEY, KeyParam('1')));
        narrowedTo = listedCount;
        back.push_back(TimeCommandWith(CMD_TYPE_KEY, KeyParam(VK_BACK)));
        TimeCommand(CMD_CANCEL);
        PumpMessages();
        SetForegroundWindow(front);
        PumpMessages();
        openProgram.push_back(TimeCommandWith(CMD_OPEN_PROGRAM, KeyParam(VK_OEM_3)));
        listedForProgram = listedCount;
        programNext.push_back(TimeCommand(CMD_NEXT));
        TimeCommand(CMD_CANCEL);
        PumpMessages();
    }
    // The same keys once more, their messages counted.
    SetForegroundWindow(front);
    PumpMessages();
    TimeCommand(CMD_OPEN);
    TimeCommand(CMD_FIRST);
    WaitUntil(IsListTakenAhead, 3000);
    CountCommandMessages(CMD_TYPE_KEY, KeyParam('E'));
    PrintMostHandled("first typed key", listedCount);
    CountCommandMessages(CMD_TYPE_KEY, KeyParam(VK_SPACE));
    PrintMostHandled("typed key that keeps all", listedCount);
    CountCommandMessages(CMD_TYPE_KEY, KeyParam('1'));
    PrintMostHandled("typed key that narrows", listedCount);
    CountCommandMessages(CMD_TYPE_KEY, KeyParam(VK_BACK));
    PrintMostHandled("Backspace", listedCount);
    CountCommandMessages(CMD_NEXT);
    PrintMostHandled("CMD_NEXT", listedCount);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    EndProgram(other);
    StopHost(&host);
    DeleteFileW((ExecutableFolder() + kOtherProgramName).c_str());
    const Figure step = Summarise(next);
    std::printf("\nKeys of the shown switcher, %d windows listed, %d of them of the front "
                "window's program, ms (median and worst of %d):\n\n",
                listedForAll, kFrontProgramWindows, kRuns);
    PrintMove("CMD_NEXT", next, step);
    PrintMove("CMD_LAST", last, step);
    PrintMove("CMD_FIRST", first, step);
    PrintMove("first typed key after a pause (keeps all)", firstKey, step);
    PrintMove("typed key that keeps all", keptAll, step);
    PrintMove("typed key that narrows", narrowing, step);
    PrintMove("Backspace (all again)", back, step);
    PrintMove("open by Alt+Tab", open, step);
    PrintMove("open by Alt with the key above Tab", openProgram, step);
    PrintMove("step in that list", programNext, step);
    std::printf("  (the narrowing key listed %d; the key above Tab listed %d windows; open by "
                "it / by Alt+Tab: %.2f)\n",
                narrowedTo, listedForProgram,
                Summarise(openProgram).median / Summarise(open).median);
}

// ---- The same at another DPI (every monitor of Wine has one DPI: the program is told).

struct DpiTimes {
    std::vector<double> change; // the first open at this DPI, which makes the surfaces again
    std::vector<double> open, next, prev, cancel;
};

void MeasureAtDpi(int dpi, DpiTimes* times) {
    dpiOverride = dpi;
    times->change.push_back(TimeCommand(CMD_OPEN));
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    for (int run = 0; run < kRuns; ++run) {
        times->open.push_back(TimeCommand(CMD_OPEN));
        times->next.push_back(TimeCommand(CMD_NEXT));
        times->prev.push_back(TimeCommand(CMD_PREV));
        times->cancel.push_back(TimeCommand(CMD_CANCEL));
        PumpMessages();
    }
}

// Two blocks at each DPI in turn, so that a machine that slows down or speeds up
// during the run weighs on both alike.
void MeasureScaled(HICON* icons) {
    WindowHost host;
    StartHost(&host, kScaledWindows, icons);
    const int dpis[] = {96, kScaledDpi};
    DpiTimes times[2];
    for (int block = 0; block < 2; ++block)
        for (int i = 0; i < 2; ++i)
            MeasureAtDpi(dpis[i], &times[i]);
    dpiOverride = 0;
    StopHost(&host);
    std::printf("\nAt %d DPI against 96 DPI, %d windows, ms (median and worst of %d, in two "
                "blocks each):\n\n",
                kScaledDpi, kScaledWindows, 2 * kRuns);
    std::printf("    DPI |      open       |    CMD_NEXT     |    CMD_PREV     |   CMD_CANCEL    |"
                " first open after the change of DPI\n");
    Figure open[2];
    for (int i = 0; i < 2; ++i) {
        open[i] = Summarise(times[i].open);
        std::printf("%7d |", dpis[i]);
        PrintFigure(open[i]);
        PrintFigure(Summarise(times[i].next));
        PrintFigure(Summarise(times[i].prev));
        PrintFigure(Summarise(times[i].cancel));
        std::printf(" %7.1f %7.1f\n", times[i].change[0], times[i].change[1]);
    }
    std::printf("\nOpen at %d DPI: %.2f times the open at 96 DPI (medians; at most 1.3 wanted)\n",
                kScaledDpi, open[1].median / open[0].median);
}

Figure TimeRepeated(void (*action)()) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        action();
        times.push_back(NowMs() - start);
        PumpMessages();
    }
    return Summarise(times);
}

void ReloadOnce() {
    ReloadOptions(SwitcherWindow);
}

void CaptureOnce() {
    CaptureLivePreview();
}

void ProcessPanelOnce() {
    UpdateProcessInfo(WindowList[selectedIndex].window);
}

// What a fill pays for each window that gives no icon: its program's path and the table.
void ProgramIconOnce() {
    ProgramFileIcon(WindowList[selectedIndex].window, StripIconSize());
}

void MeasureElsewhere(HICON* icons) {
    WindowHost host;
    StartHost(&host, 10, icons);
    TimeCommand(CMD_OPEN);
    const Figure reload = TimeRepeated(ReloadOnce);
    const Figure capture = TimeRepeated(CaptureOnce);
    const Figure panel = TimeRepeated(ProcessPanelOnce);
    const Figure programIcon = TimeRepeated(ProgramIconOnce);
    TimeCommand(CMD_CANCEL);
    StopHost(&host);
    std::printf("\nElsewhere, ms (median and worst of %d):\n", kRuns);
    std::printf("  reload of the settings       %7.1f %7.1f\n", reload.median, reload.worst);
    std::printf("  live capture of a window     %7.1f %7.1f\n", capture.median, capture.worst);
    std::printf("  process panel of a window    %7.1f %7.1f\n", panel.median, panel.worst);
    std::printf("  program-file icon, kept      %7.2f %7.2f\n", programIcon.median,
                programIcon.worst);
}

// The open of 200 windows with 64 exclusion patterns that match none of them (each
// window is tested against every pattern), against the open without a list; the two
// are taken in turns so that both meet the same desktop.
void MeasureExclusion(HICON* icons) {
    WindowHost host;
    StartHost(&host, kScaledWindows, icons);
    ProgramPatternList patterns = {};
    for (int i = 0; i < MAX_PROGRAM_PATTERNS; ++i) {
        wchar_t pattern[32];
        wsprintfW(pattern, L"*game%d*.exe", i);
        AddPattern(&patterns, pattern);
    }
    TimeCommand(CMD_OPEN);
    TimeCommand(CMD_CANCEL);
    std::vector<double> without, with;
    // Each pair in the other order than the last, so that neither always goes first.
    for (int run = 0; run < 2 * kRuns; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool excluding = (run + turn) % 2 == 1;
            excludePatterns.count = 0;
            if (excluding)
                excludePatterns = patterns;
            (excluding ? with : without).push_back(TimeCommand(CMD_OPEN));
            TimeCommand(CMD_CANCEL);
            PumpMessages();
        }
    }
    excludePatterns.count = 0;
    // The check alone, as a refresh makes it: the program paths read afresh, then
    // every listed window against every pattern.
    std::vector<double> checks;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        ForgetProgramPaths();
        int excluded = 0;
        for (int i = 0; i < listedCount; ++i)
            excluded += ProgramMatchesAny(ProgramPathOfWindow(WindowList[i].window), patterns);
        checks.push_back(NowMs() - start + excluded);
    }
    StopHost(&host);
    const Figure plain = Summarise(without);
    const Figure excluding = Summarise(with);
    const Figure check = Summarise(checks);
    std::printf("\nOpen of %d windows, ms (median and worst of %d): %7.1f %7.1f; with %d "
                "exclusion patterns matching none: %7.1f %7.1f (%+.1f %%; at most +5 %% wanted)\n",
                kScaledWindows, 2 * kRuns, plain.median, plain.worst, MAX_PROGRAM_PATTERNS,
                excluding.median, excluding.worst,
                (excluding.median - plain.median) * 100.0 / plain.median);
    std::printf(
        "  the exclusion check alone, %d windows against %d patterns: %.2f %.2f ms (%.2f %% "
        "of the open; taken twice an open)\n",
        listedCount, MAX_PROGRAM_PATTERNS, check.median, check.worst,
        2 * check.median * 100.0 / plain.median);
}

// ---- A screen reader listening: CMD_NEXT while another process's WinEvent hook
// takes every event and reads the name of each focus, as a screen reader does.

constexpr wchar_t kNameReadEvent[] = L"ZephtabBenchNameRead";
constexpr int kReaderSteps = 10;
constexpr DWORD kNameDeadlineMs = 2000;

// Handles this thread's messages (the reader's requests among them) until the
// reader has read a name or the deadline has passed. Whether it read one.
bool WaitForNameRead(HANDLE nameRead) {
    const double deadline = NowMs() + kNameDeadlineMs;
    for (;;) {
        PumpMessages();
        const double left = deadline - NowMs();
        if (left <= 0)
            return false;
        const DWORD waited =
            MsgWaitForMultipleObjects(1, &nameRead, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0)
            return true;
    }
}

struct ReaderTimes {
    std::vector<double> step;  // the step, as measured everywhere above
    std::vector<double> heard; // from the step's start until the reader has its name
    int unheard = 0;           // steps whose name the reader did not read in time
};

// Opens, steps and cancels kRuns times; with a reader, also waits after each step
// until it has read the name, so that its requests are answered between steps.
void MeasureSteps(HANDLE nameRead, ReaderTimes* times) {
    for (int run = 0; run < kRuns; ++run) {
        TimeCommand(CMD_OPEN);
        if (nameRead)
            WaitForNameRead(nameRead);
        PumpMessages();
        for (int step = 0; step < kReaderSteps; ++step) {
            if (nameRead)
                ResetEvent(nameRead);
            const double start = NowMs();
            times->step.push_back(TimeCommand(CMD_NEXT));
            if (nameRead && WaitForNameRead(nameRead))
                times->heard.push_back(NowMs() - start);
            else if (nameRead)
                ++times->unheard;
            PumpMessages();
        }
        TimeCommand(CMD_CANCEL);
        PumpMessages();
    }
}

// The events one step raises, counted by a hook of this thread as a listener's
// would be: each is delivered to every assistive program listening.
int raisedEvents;
int raisedByEvent[3];

void CALLBACK CountRaisedEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    ++raisedEvents;
    if (event == EVENT_OBJECT_FOCUS)
        ++raisedByEvent[0];
    else if (event == EVENT_OBJECT_SELECTION)
        ++raisedByEvent[1];
    else
        ++raisedByEvent[2];
}

void CountEventsOfStep() {
    TimeCommand(CMD_OPEN);
    PumpMessages();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, CountRaisedEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    raisedEvents = 0;
    std::fill(std::begin(raisedByEvent), std::end(raisedByEvent), 0);
    TimeCommand(CMD_NEXT);
    PumpMessages();
    UnhookWinEvent(hook);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
}

// Two blocks each, with and without the reader in turn, so that a machine that
// slows down or speeds up during the run weighs on both alike.
void MeasureWithReader(HICON* icons) {
    WindowHost host;
    StartHost(&host, kScaledWindows, icons);
    HANDLE nameRead = CreateEventW(nullptr, FALSE, FALSE, kNameReadEvent);
    TimeCommand(CMD_OPEN);
    TimeCommand(CMD_CANCEL);
    PumpMessages();
    ReaderTimes without, with;
    DWORD namesRead = 0;
    bool readerStarted = true;
    for (int block = 0; block < 2; ++block) {
        MeasureSteps(nullptr, &without);
        StartedProgram reader = StartProgram(L"screen_reader_listener.exe", kNameReadEvent);
        readerStarted = readerStarted && reader.started && WaitForProgramIdle(reader);
        MeasureSteps(nameRead, &with);
        PostThreadMessageW(reader.info.dwThreadId, WM_QUIT, 0, 0);
        const DWORD exitCode = WaitForExit(reader, 10000);
        namesRead += exitCode == STILL_ACTIVE ? 0 : exitCode;
    }
    CloseHandle(nameRead);
    CountEventsOfStep();
    StopHost(&host);
    const Figure plain = Summarise(without.step);
    const Figure heard = Summarise(with.step);
    std::printf("\nCMD_NEXT with %d windows and a screen reader in another process (a WinEvent "
                "hook on every event, reading the name of each focus), ms (median and worst of "
                "%d):\n\n",
                kScaledWindows, static_cast<int>(without.step.size()));
    std::printf("  without a reader               %7.1f %7.1f\n", plain.median, plain.worst);
    std::printf("  with the reader                %7.1f %7.1f (%+.1f %%; at most +5 %% wanted)\n",
                heard.median, heard.worst, (heard.median - plain.median) * 100.0 / plain.median);
    if (!with.heard.empty()) {
        const Figure untilRead = Summarise(with.heard);
        std::printf("  step until the reader has the name %7.1f %7.1f\n", untilRead.median,
                    untilRead.worst);
    }
    std::printf("  (the reader %s; it read %lu names, %d steps unheard within %lu ms)\n",
                readerStarted ? "started" : "DID NOT START", static_cast<unsigned long>(namesRead),
                with.unheard, static_cast<unsigned long>(kNameDeadlineMs));
    std::printf("  events one step raises: %d (focus %d, selection %d, others %d)\n", raisedEvents,
                raisedByEvent[0], raisedByEvent[1], raisedByEvent[2]);
}

// ---- Memory over many openings.

SIZE_T WorkingSetKb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize / 1024;
}

SIZE_T HeapBusyKb() {
    SIZE_T busy = 0;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    HeapUnlock(heap);
    return busy / 1024;
}

void PrintMemory(const char* when) {
    std::printf("  %-34s working set %7lu KB, heap in use %6lu KB, GDI objects %5d\n", when,
                static_cast<unsigned long>(WorkingSetKb()),
                static_cast<unsigned long>(HeapBusyKb()), CountGdiObjects());
}

void MeasureMemory(HICON* icons, SIZE_T startKb) {
    std::printf("\nMemory, open/step/cancel cycles with %d windows:\n", kCycleWindows);
    std::printf("  %-34s working set %7lu KB\n", "after start",
                static_cast<unsigned long>(startKb));
    WindowHost host;
    StartHost(&host, kCycleWindows, icons);
    PrintMemory("windows made, before the cycles");
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        TimeCommand(CMD_OPEN);
        TimeCommand(CMD_NEXT);
        TimeCommand(CMD_CANCEL);
        PumpMessages();
        if (cycle == kCycles / 2)
            PrintMemory("after 150 cycles");
    }
    PrintMemory("after 300 cycles");
    StopHost(&host);
}

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RunValueExists() {
    return RegGetValueW(HKEY_CURRENT_USER, ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, RRF_RT_ANY, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace

// With the argument "exclusion", only the open with and without exclusion patterns;
// with kOtherProgramArgument FIRST: hosts the other program's windows; with "keys":
// only the keys of the shown switcher are measured; with "reader", only steps with
// and without a screen reader listening; with --table, only the table of counts
// and the parts of an open (a quicker look while working on a step); with
// --other, only the commands sent to a running zephtab.exe.
int wmain(int argc, wchar_t** argv) {
    const bool exclusionOnly = argc > 1 && lstrcmpW(argv[1], L"exclusion") == 0;
    const bool tableOnly = argc > 1 && lstrcmpW(argv[1], L"--table") == 0;
    const bool otherOnly = argc > 1 && lstrcmpW(argv[1], L"--other") == 0;
    // The start-up stores the settings and the Run value; what was not there before goes again.
    const bool hadSettings = KeyExists(ZEPHTAB_SETTINGS_KEY);
    const bool hadRunValue = RunValueExists();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW hostClass = {};
    hostClass.cbSize = sizeof(hostClass);
    hostClass.lpfnWndProc = HostWindowProc;
    hostClass.hInstance = instance;
    hostClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    hostClass.lpszClassName = kHostClass;
    RegisterClassExW(&hostClass);

    if (argc > 2 && lstrcmpW(argv[1], kOtherProgramArgument) == 0)
        return HostOtherProgramWindows(_wtoi(argv[2]), kMoveWindows);
    if (FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr)) {
        std::printf("bench: a Zephtab runs in this desktop; end it first\n");
        return 0;
    }
    const bool keysOnly = argc > 1 && lstrcmpW(argv[1], L"keys") == 0;
    const bool readerOnly = argc > 1 && lstrcmpW(argv[1], L"reader") == 0;

    RegisterSwitcherClass(instance);
    if (!InitSwitcher(instance)) {
        std::printf("bench: the switcher did not start\n");
        return 0;
    }
    PumpMessages();
    const SIZE_T startKb = WorkingSetKb();
    // As a user with many windows would run it: no animation, process panel on.
    switcherOptions.noAnimation = 1;
    switcherOptions.showProcessInfo = 1;
    switcherOptions.livePreview = 1;

    HICON icons[kIconKinds];
    for (int i = 0; i < kIconKinds; ++i)
        icons[i] = CreateSolidIcon(RGB(30 * i, 255 - 30 * i, 128));

    if (otherOnly) {
        // Only zephtab.exe driven from this process, below.
    } else if (keysOnly) {
        MeasureMoves(icons);
    } else if (readerOnly) {
        MeasureWithReader(icons);
    } else if (exclusionOnly) {
        MeasureExclusion(icons);
    } else {
        std::vector<CountFigures> all;
        for (int count : kCounts) {
            all.push_back(MeasureCount(count, icons));
            std::fprintf(stderr, "bench: %d windows measured\n", count);
        }
        PrintTable(all);
        MeasureOpenParts(icons);
        if (!tableOnly) {
            MeasureMoves(icons);
            MeasureScaled(icons);
            MeasureElsewhere(icons);
            MeasureExclusion(icons);
            MeasureWithReader(icons);
            MeasureMemory(icons, startKb);
        }
    }
    std::fflush(stdout);

    DestroyWindow(SwitcherWindow);
    PumpMessages();
    if (!keysOnly && !exclusionOnly && !readerOnly)
        MeasureFromAnotherProcess(icons);
    std::fflush(stdout);
    for (HICON icon : icons)
        DestroyIcon(icon);
    if (!hadSettings)
        RegDeleteTreeW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY);
    if (!hadRunValue)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
    return 0;
}
