#include "settings/options.h"

SwitcherOptions switcherOptions;

void SetDefaultOptions(SwitcherOptions* record) {
    *record = DEFAULT_OPTIONS;
}

uint8_t StartupAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? OPAQUE_ALPHA : storedAlpha;
}
