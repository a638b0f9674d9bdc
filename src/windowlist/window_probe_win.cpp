#include "windowlist/window_probe_win.h"

bool WindowAnswers(HWND window) {
    // IsHungAppWindow answers without asking the window; the message catches a
    // thread that stopped answering too recently for the system to say so. (It
    // does what SMTO_ABORTIFHUNG would, which makes every call slower.)
    if (IsHungAppWindow(window))
        return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, WINDOW_ANSWER_TIMEOUT_MS,
                               &result) != 0;
}
