#include "app/program_win.h"
#include "app/app_win.h"
#include "control/hooks_win.h"

#include <cstdlib>

#include "base/identifiers.h"

namespace {

// How long a second start waits for a copy that is starting or ending to settle.
constexpr DWORD kRunningCopyDeadlineMs = 5000;
constexpr DWORD kRunningCopyPollMs = 50;
constexpr UINT kRunningCopyAnswerMs = 2000;

HANDLE singleInstanceMutex;
DWORD mutexCreateError; // GetLastError of the creation: ERROR_ALREADY_EXISTS in a second instance

void CloseSingleInstanceMutex() {
    if (singleInstanceMutex) {
        CloseHandle(singleInstanceMutex);
        singleInstanceMutex = nullptr;
    }
}

// Created before the entry function runs, so that a second instance ends
// before it registers or creates anything.
struct SingleInstanceGuard {
    SingleInstanceGuard() {
        singleInstanceMutex = CreateMutexW(nullptr, FALSE, ZEPHTAB_SINGLE_INSTANCE_NAME);
        mutexCreateError = GetLastError();
        atexit(CloseSingleInstanceMutex);
    }
} singleInstanceGuard;

// Whether the copy that holds the mutex runs on and has shown itself to the user.
bool RunningCopyShowedItself() {
    HWND running = FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr);
    DWORD_PTR answer = 0;
    return running &&
           SendMessageTimeoutW(running, WM_ANOTHER_START, 0, 0, SMTO_ABORTIFHUNG,
                               kRunningCopyAnswerMs, &answer) != 0 &&
           answer == 1;
}

// A second start tells the running copy, which shows itself, and ends. A copy that is
// still ending (just after Win+F12) holds the mutex a moment longer without its
// window: this start waits for it to go and then runs, so the user is not left with
// no Zephtab at all. True when this start is to run.
bool TakeOverFromEndingCopy() {
    const DWORD start = GetTickCount();
    do {
        if (RunningCopyShowedItself())
            return false;
        CloseSingleInstanceMutex();
        singleInstanceMutex = CreateMutexW(nullptr, FALSE, ZEPHTAB_SINGLE_INSTANCE_NAME);
        if (singleInstanceMutex && GetLastError() != ERROR_ALREADY_EXISTS)
            return true;
        Sleep(kRunningCopyPollMs);
    } while (GetTickCount() - start < kRunningCopyDeadlineMs);
    return false;
}

} // namespace

int RunSwitcherProgram(HINSTANCE instance) {
    if (mutexCreateError == ERROR_ALREADY_EXISTS && !TakeOverFromEndingCopy())
        return 0;
    RegisterSwitcherClass(instance);
    if (!InitSwitcher(instance))
        return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TakeKeyTheHookMissed(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
