#include "settings/options.h"

SwitcherOptions switcherOptions;
MoreOptions moreOptions;

void SetDefaultOptions(SwitcherOptions* record) {
    *record = DEFAULT_OPTIONS;
}

uint8_t StartupAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? OPAQUE_ALPHA : storedAlpha;
}

bool IsUsableMoreOptions(const uint8_t* bytes, size_t size, bool binary) {
    return binary && size == sizeof(MoreOptions) && bytes[0] == MORE_OPTIONS_LAYOUT;
}

uint8_t OpenOnChoice(uint8_t storedOpenOn) {
    return storedOpenOn <= OPEN_ON_LAST ? storedOpenOn : OPEN_ON_PRIMARY;
}

bool ListsMonitorWindowsOnly(uint8_t storedListWindows) {
    return storedListWindows == LIST_MONITOR_WINDOWS;
}
