#include "option_fields.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <type_traits>

const OptionChoice openOnChoices[] = {
    {"primary", "the primary monitor", L"The primary monitor"},
    {"pointer", "the monitor under the mouse pointer", L"The monitor under the mouse pointer"},
    {"foreground", "the monitor of the window in front", L"The monitor of the window in front"},
};
static_assert(sizeof(openOnChoices) / sizeof(openOnChoices[0]) == OPEN_ON_LAST + 1,
              "a word for each openOn code");

const OptionChoice listWindowsChoices[] = {
    {"all", "every monitor's windows", L"Every monitor's windows"},
    {"monitor", "the windows on its monitor", L"Only the windows on that monitor"},
};
static_assert(sizeof(listWindowsChoices) / sizeof(listWindowsChoices[0]) == LIST_WINDOWS_LAST + 1,
              "a word for each listWindows code");

const OptionChoice orderChoices[] = {
    {"recent", "most recently used first", L"Most recently used first"},
    {"zorder", "stacking order, topmost first", L"Stacking order, topmost first"},
};
static_assert(sizeof(orderChoices) / sizeof(orderChoices[0]) == ORDER_LAST + 1,
              "a word for each order code");

const OptionField optionFields[OPTION_FIELD_COUNT] = {
    {"showProcessInfo", IN_OPTIONS, offsetof(SwitcherOptions, showProcessInfo), OPTION_ON_OFF,
     "process information panel", "no process panel", "process panel shown", nullptr, 0},
    {"livePreview", IN_OPTIONS, offsetof(SwitcherOptions, livePreview), OPTION_ON_OFF,
     "live image of the selected window", "icon only", "live preview", nullptr, 0},
    {"stayOpenAfterAlt", IN_OPTIONS, offsetof(SwitcherOptions, stayOpenAfterAlt), OPTION_ON_OFF,
     "the switcher stays open when Alt is released", "closes when Alt is released",
     "stays open after Alt", nullptr, 0},
    {"storedFlag3", IN_OPTIONS, offsetof(SwitcherOptions, storedFlag3), OPTION_STORED_FLAG,
     "kept in the record, not used", "", "", nullptr, 0},
    {"storedFlag4", IN_OPTIONS, offsetof(SwitcherOptions, storedFlag4), OPTION_STORED_FLAG,
     "kept in the record, not used", "", "", nullptr, 0},
    {"switcherAlpha", IN_OPTIONS, offsetof(SwitcherOptions, switcherAlpha), OPTION_ALPHA,
     "opacity; 255 opaque; below 50 opens opaque at\nstart-up but is applied as is on reload", "",
     "", nullptr, 0},
    {"screenPosition", IN_OPTIONS, offsetof(SwitcherOptions, screenPosition), OPTION_POSITION,
     "or code\n0-8 (above 8 opens centred)", "", "", nullptr, 0},
    {"selectSecondOnOpen", IN_OPTIONS, offsetof(SwitcherOptions, selectSecondOnOpen), OPTION_ON_OFF,
     "select the second window on opening", "first window selected", "second window selected",
     nullptr, 0},
    {"smallIcons", IN_OPTIONS, offsetof(SwitcherOptions, smallIcons), OPTION_ON_OFF,
     "16 x 16 icons instead of 32 x 32", "32 x 32 icons", "16 x 16 icons", nullptr, 0},
    {"noAnimation", IN_OPTIONS, offsetof(SwitcherOptions, noAnimation), OPTION_ON_OFF,
     "show and hide at once, without the animation", "animated", "no animation", nullptr, 0},
    {"showToolbar", IN_OPTIONS, offsetof(SwitcherOptions, showToolbar), OPTION_ON_OFF,
     "the window adjustment toolbar", "toolbar hidden", "toolbar shown", nullptr, 0},
    {"openOn", IN_MORE_OPTIONS, offsetof(MoreOptions, openOn), OPTION_CHOICE,
     "open on the primary\nmonitor, the one under the mouse pointer or the one\nof the window in "
     "front when Alt+Tab is pressed",
     "", "", openOnChoices, OPEN_ON_LAST + 1},
    {"listWindows", IN_MORE_OPTIONS, offsetof(MoreOptions, listWindows), OPTION_CHOICE,
     "list every monitor's windows, or only\nthose whose larger part lies on the monitor the "
     "switcher opens on",
     "", "", listWindowsChoices, LIST_WINDOWS_LAST + 1},
    {"typeToFilter", IN_MORE_OPTIONS, offsetof(MoreOptions, typeToFilter), OPTION_ON_OFF,
     "typed letters filter the shown switcher's list", "any other key cancels", "typing filters",
     nullptr, 0},
    {"sameProgramKey", IN_MORE_OPTIONS, offsetof(MoreOptions, sameProgramKey), OPTION_ON_OFF,
     "Alt with the key above Tab lists the windows\nof the program in front",
     "the key above Tab is passed on", "one program's windows", nullptr, 0},
    {"order", IN_MORE_OPTIONS, offsetof(MoreOptions, order), OPTION_CHOICE,
     "list the windows by their last use, or in\nstacking order, topmost first", "", "",
     orderChoices, ORDER_LAST + 1},
    {"trayIcon", IN_MORE_OPTIONS, offsetof(MoreOptions, trayIcon), OPTION_ON_OFF,
     "an icon in the notification area, with a menu", "no icon", "icon shown", nullptr, 0},
    {"startAtLogOn", IN_MORE_OPTIONS, offsetof(MoreOptions, startAtLogOn), OPTION_ON_OFF,
     "Zephtab starts when you log on", "not started at log-on", "starts at log-on", nullptr, 0},
};

const PlacementName placementNames[POSITION_LAST + 1] = {
    {"centre", "centre"},      {"upper", "upper middle"},      {"lower", "lower middle"},
    {"left", "left middle"},   {"upper-left", "upper left"},   {"lower-left", "lower left"},
    {"right", "right middle"}, {"upper-right", "upper right"}, {"lower-right", "lower right"},
};

TextSink StartText(char* out, size_t count) {
    if (count > 0)
        out[0] = '\0';
    return TextSink{out, count, 0};
}

void AppendText(TextSink* text, const char* format, ...) {
    if (text->count == 0 || text->length >= text->count - 1)
        return;
    va_list arguments;
    va_start(arguments, format);
    int written =
        std::vsnprintf(text->data + text->length, text->count - text->length, format, arguments);
    va_end(arguments);
    if (written < 0)
        return;
    size_t room = text->count - text->length - 1;
    text->length += static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room;
}

void SetDefaultSettings(StoredSettings* settings) {
    settings->options = DEFAULT_OPTIONS;
    settings->more = DEFAULT_MORE_OPTIONS;
}

namespace {

// The bytes of the value that holds a field, as stored.
template <typename Settings> auto StoredBytes(Settings* settings, OptionStore store) {
    using Byte = std::conditional_t<std::is_const_v<Settings>, const uint8_t, uint8_t>;
    return store == IN_OPTIONS ? reinterpret_cast<Byte*>(&settings->options)
                               : reinterpret_cast<Byte*>(&settings->more);
}

} // namespace

void MergeEditedSettings(const StoredSettings& startedFrom, const StoredSettings& edited,
                         StoredSettings* storedNow) {
    static_assert(std::is_trivially_copyable<StoredSettings>::value, "compared byte by byte");
    const uint8_t* from = reinterpret_cast<const uint8_t*>(&startedFrom);
    const uint8_t* to = reinterpret_cast<const uint8_t*>(&edited);
    uint8_t* now = reinterpret_cast<uint8_t*>(storedNow);
    for (size_t i = 0; i < sizeof(StoredSettings); ++i)
        if (to[i] != from[i])
            now[i] = to[i];
}

uint8_t GetOptionByte(const StoredSettings* settings, int field) {
    return StoredBytes(settings, optionFields[field].store)[optionFields[field].offset];
}

void SetOptionByte(StoredSettings* settings, int field, uint8_t value) {
    StoredBytes(settings, optionFields[field].store)[optionFields[field].offset] = value;
}

uint8_t DefaultOptionByte(int field) {
    StoredSettings defaults;
    SetDefaultSettings(&defaults);
    return GetOptionByte(&defaults, field);
}

const char* StoredValueName(OptionStore store) {
    return store == IN_OPTIONS ? "Options" : "MoreOptions";
}

namespace {

constexpr int kBandCount = 3;

} // namespace

const PlacementName& PlacementNameOf(uint8_t positionCode) {
    return placementNames[positionCode <= POSITION_LAST ? positionCode : POSITION_CENTRE];
}

// Row by row from the upper left, as the bands lie on the screen.
int PlacementCell(uint8_t positionCode) {
    const ScreenPosition& position = ScreenPositionOf(positionCode);
    return position.row * kBandCount + position.column;
}

uint8_t PlacementCode(int cell) {
    for (uint8_t code = 0; code <= POSITION_LAST; ++code)
        if (PlacementCell(code) == cell)
            return code;
    return POSITION_CENTRE;
}

void FormatPlacementLabel(uint8_t positionCode, wchar_t* out, size_t count) {
    if (count == 0)
        return;
    const char* word = PlacementNameOf(positionCode).word;
    size_t length = 0;
    for (; word[length] && length + 1 < count; ++length) {
        char c = word[length] == '-' ? ' ' : word[length];
        if (length == 0 && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        out[length] = static_cast<wchar_t>(c);
    }
    out[length] = L'\0';
}

uint8_t SliderAlpha(uint8_t storedAlpha) {
    return storedAlpha < MIN_STARTUP_ALPHA ? MIN_STARTUP_ALPHA : storedAlpha;
}

void FormatOptionMeaning(int field, uint8_t value, char* out, size_t count) {
    TextSink text = StartText(out, count);
    const OptionField& row = optionFields[field];
    switch (row.kind) {
    case OPTION_ON_OFF:
        AppendText(&text, value ? "on: %s" : "off: %s", value ? row.onMeaning : row.offMeaning);
        break;
    case OPTION_ALPHA:
        if (value == OPAQUE_ALPHA)
            AppendText(&text, "opaque");
        else if (value < MIN_STARTUP_ALPHA)
            AppendText(&text, "below 50: opaque at start-up, applied as is on reload");
        else
            AppendText(&text, "translucent, %u of 255", static_cast<unsigned>(value));
        break;
    case OPTION_POSITION:
        if (value <= POSITION_LAST)
            AppendText(&text, "%s", placementNames[value].meaning);
        else
            AppendText(&text, "above 8: centre");
        break;
    case OPTION_STORED_FLAG:
        AppendText(&text, "kept, not used");
        break;
    case OPTION_CHOICE:
        if (value < row.choiceCount)
            AppendText(&text, "%s", row.choices[value].meaning);
        else
            AppendText(&text, "above %d: %s", row.choiceCount - 1, row.choices[0].meaning);
        break;
    }
}

void FormatOptionLine(int field, uint8_t value, char* out, size_t count) {
    char meaning[128];
    FormatOptionMeaning(field, value, meaning, sizeof(meaning));
    TextSink text = StartText(out, count);
    AppendText(&text, "%s %u (%s)", optionFields[field].name, static_cast<unsigned>(value),
               meaning);
}
