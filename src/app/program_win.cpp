#include "app/program_win.h"
#include "app/app_win.h"
#include "control/hooks_win.h"

#include <cstdlib>

namespace {

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
        singleInstanceMutex =
            CreateMutexW(nullptr, FALSE, L"{{7759C0CB-AA7C-402f-8384-E11D0272D084}}");
        mutexCreateError = GetLastError();
        atexit(CloseSingleInstanceMutex);
    }
} singleInstanceGuard;

} // namespace

int RunSwitcherProgram(HINSTANCE instance) {
    if (mutexCreateError == ERROR_ALREADY_EXISTS)
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
