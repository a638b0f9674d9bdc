#include "settings/options.h"

#include <cstring>

SwitcherOptions switcherOptions;
MoreOptions moreOptions;

void SetDefaultOptions(SwitcherOptions* record) {
    *record = DEFAULT_OPTIONS;
}

uint8_t StartupAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? OPAQUE_ALPHA : storedAlpha;
}

MoreOptionsLayoutRead ReadMoreOptionsBytes(const uint8_t* bytes, size_t size, bool binary,
                                           MoreOptions* more) {
    *more = DEFAULT_MORE_OPTIONS;
    if (!binary || size == 0)
        return MORE_LAYOUT_UNUSABLE;
    const uint8_t layout = bytes[0];
    MoreOptionsLayoutRead found;
    if (layout == MORE_OPTIONS_FIRST_LAYOUT && size == MORE_OPTIONS_FIRST_LAYOUT_SIZE)
        found = MORE_LAYOUT_OLDER;
    else if (layout == MORE_OPTIONS_LAYOUT && size == sizeof(MoreOptions))
        found = MORE_LAYOUT_CURRENT;
    else if (layout > MORE_OPTIONS_LAYOUT)
        found = MORE_LAYOUT_NEWER;
    else
        return MORE_LAYOUT_UNUSABLE;
    std::memcpy(more, bytes, size < sizeof(*more) ? size : sizeof(*more));
    if (found == MORE_LAYOUT_OLDER)
        more->layout = MORE_OPTIONS_LAYOUT;
    return found;
}

uint8_t OpenOnChoice(uint8_t storedOpenOn) {
    return storedOpenOn <= OPEN_ON_LAST ? storedOpenOn : OPEN_ON_PRIMARY;
}

bool ListsMonitorWindowsOnly(uint8_t storedListWindows) {
    return storedListWindows == LIST_MONITOR_WINDOWS;
}

bool OrdersByStacking(uint8_t storedOrder) {
    return storedOrder == ORDER_ZORDER;
}
