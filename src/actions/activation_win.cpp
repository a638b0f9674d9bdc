#include "actions/activation_win.h"

bool ActivateChosenWindow(HWND) {
    return false;
}
