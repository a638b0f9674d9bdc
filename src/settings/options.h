// The 11-byte options record and the second stored value for the settings
// that came later: one byte per setting, stored raw in the registry. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

struct SwitcherOptions {
    uint8_t showProcessInfo;
    uint8_t livePreview;
    uint8_t stayOpenAfterAlt;
    uint8_t storedFlag3; // kept and written back, read by nothing
    uint8_t storedFlag4; // kept and written back, read by nothing
    uint8_t switcherAlpha;
    uint8_t screenPosition;
    uint8_t selectSecondOnOpen;
    uint8_t smallIcons;
    uint8_t noAnimation;
    uint8_t showToolbar;
};
static_assert(sizeof(SwitcherOptions) == 11, "the stored record is exactly 11 bytes");

constexpr uint32_t OPTIONS_VERSION = 258;
constexpr uint8_t OPAQUE_ALPHA = 255;
// Below this, start-up treats the stored opacity as a mistake and shows the switcher opaque.
constexpr uint8_t MIN_STARTUP_ALPHA = 50;

// What the program stores when nothing usable is stored: 00 01 00 01 01 FF 00 00 00 00 00.
constexpr SwitcherOptions DEFAULT_OPTIONS = {
    0,            // showProcessInfo
    1,            // livePreview
    0,            // stayOpenAfterAlt
    1,            // storedFlag3
    1,            // storedFlag4
    OPAQUE_ALPHA, // switcherAlpha
    0,            // screenPosition: centre
    0,            // selectSecondOnOpen
    0,            // smallIcons
    0,            // noAnimation
    0,            // showToolbar
};

// The settings that came after the record, in a value of their own, "MoreOptions", since
// older copies of the program and its tools read the 11-byte record alone: a layout
// number, then one byte per setting.
// Layout 1 held the first three bytes; layout 2 added the rest. A later layout only
// adds bytes, so this program reads the ones it knows and leaves the value alone.
struct MoreOptions {
    uint8_t layout; // MORE_OPTIONS_LAYOUT, or the later layout that was read
    uint8_t openOn;
    uint8_t listWindows;
    uint8_t typeToFilter;   // typed letters filter the shown switcher's list
    uint8_t sameProgramKey; // Alt with the key above Tab lists one program's windows
    uint8_t order;          // ORDER_RECENT or ORDER_ZORDER
    uint8_t trayIcon;       // an icon in the notification area
    uint8_t startAtLogOn;   // the program keeps its start-at-log-on value
};
static_assert(sizeof(MoreOptions) == 8, "the second value is exactly 8 bytes");

constexpr uint8_t MORE_OPTIONS_LAYOUT = 2;
constexpr uint8_t MORE_OPTIONS_FIRST_LAYOUT = 1;
constexpr size_t MORE_OPTIONS_FIRST_LAYOUT_SIZE = 3;

// openOn: the monitor the switcher opens on. Codes above 2 open on the primary one.
constexpr uint8_t OPEN_ON_PRIMARY = 0;
constexpr uint8_t OPEN_ON_POINTER = 1;    // the monitor under the mouse pointer
constexpr uint8_t OPEN_ON_FOREGROUND = 2; // the monitor of the window that had the foreground
constexpr uint8_t OPEN_ON_LAST = OPEN_ON_FOREGROUND;

// listWindows: which windows the list holds. Codes above 1 list them all.
constexpr uint8_t LIST_ALL_WINDOWS = 0;
constexpr uint8_t LIST_MONITOR_WINDOWS = 1; // only those on the monitor the switcher opens on
constexpr uint8_t LIST_WINDOWS_LAST = LIST_MONITOR_WINDOWS;

// order: how the list is sorted. Codes above 1 sort by recent use.
constexpr uint8_t ORDER_RECENT = 0; // the window last in front first
constexpr uint8_t ORDER_ZORDER = 1; // stacking order, topmost first
constexpr uint8_t ORDER_LAST = ORDER_ZORDER;

// What the program stores when nothing usable is stored: 02 00 00 01 01 00 01 01.
constexpr MoreOptions DEFAULT_MORE_OPTIONS = {
    MORE_OPTIONS_LAYOUT, OPEN_ON_PRIMARY, LIST_ALL_WINDOWS, 1, 1, ORDER_RECENT, 1, 1};

// The settings key under HKEY_CURRENT_USER; the store widens it, the tools name it in full.
#define ZEPHTAB_SETTINGS_SUBKEY "Software\\Varnok\\Toolvex\\Zephtab"
#define ZEPHTAB_SETTINGS_KEY_NAME "HKEY_CURRENT_USER\\" ZEPHTAB_SETTINGS_SUBKEY

// The one process-wide record and second value. Zero until the first load.
extern SwitcherOptions switcherOptions;
extern MoreOptions moreOptions;

void SetDefaultOptions(SwitcherOptions* record);

// Opacity used at start-up: values below 50 would make the switcher nearly
// invisible, so they are replaced by 255 in memory (the stored value stays).
uint8_t StartupAlpha(uint8_t storedAlpha);

// What stored bytes of the second value hold, as this program reads them.
enum MoreOptionsLayoutRead {
    MORE_LAYOUT_CURRENT,  // this program's layout: read as it is
    MORE_LAYOUT_OLDER,    // layout 1: its bytes read, the rest defaults; rewritten in this layout
    MORE_LAYOUT_NEWER,    // a later layout: the bytes this program knows read, never rewritten
    MORE_LAYOUT_UNUSABLE, // another type, or a size its layout does not have: defaults
};

// Reads stored bytes of "MoreOptions" into more: binary data of layout 1 (3 bytes),
// of this program's layout (its exact size), or of a later layout (whose bytes this
// program knows keep their meaning; missing ones take their defaults). Anything else
// leaves the defaults in more.
MoreOptionsLayoutRead ReadMoreOptionsBytes(const uint8_t* bytes, size_t size, bool binary,
                                           MoreOptions* more);

// The monitor choice a stored openOn code stands for.
uint8_t OpenOnChoice(uint8_t storedOpenOn);
// Whether a stored listWindows code limits the list to the switcher's monitor.
bool ListsMonitorWindowsOnly(uint8_t storedListWindows);
// Whether a stored order code sorts the list by stacking order rather than by recent use.
bool OrdersByStacking(uint8_t storedOrder);
