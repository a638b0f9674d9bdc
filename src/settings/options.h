// The 11-byte options record: one byte per setting, stored raw in the
// registry. Portable.
#pragma once
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

// The settings key under HKEY_CURRENT_USER; the store widens it, the tools name it in full.
#define ZEPHTAB_SETTINGS_SUBKEY "Software\\Varnok\\Toolvex\\Zephtab"
#define ZEPHTAB_SETTINGS_KEY_NAME "HKEY_CURRENT_USER\\" ZEPHTAB_SETTINGS_SUBKEY

// The one process-wide record. Zero until the first load.
extern SwitcherOptions switcherOptions;

void SetDefaultOptions(SwitcherOptions* record);

// Opacity used at start-up: values below 50 would make the switcher nearly
// invisible, so they are replaced by 255 in memory (the stored value stays).
uint8_t StartupAlpha(uint8_t storedAlpha);
