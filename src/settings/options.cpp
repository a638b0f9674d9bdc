#include "settings/options.h"

SwitcherOptions switcherOptions;

void SetDefaultOptions(SwitcherOptions* record) {
    record->showProcessInfo = 0;
    record->livePreview = 1;
    record->stayOpenAfterAlt = 0;
    record->storedFlag3 = 1;
    record->storedFlag4 = 1;
    record->switcherAlpha = OPAQUE_ALPHA;
    record->screenPosition = 0;
    record->selectSecondOnOpen = 0;
    record->smallIcons = 0;
    record->noAnimation = 0;
    record->showToolbar = 0;
}

uint8_t StartupAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? OPAQUE_ALPHA : storedAlpha;
}
