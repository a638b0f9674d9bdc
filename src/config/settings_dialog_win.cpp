// Zephtab Settings: one dialog for every setting a user can change. The
// controls only edit a copy of the record and the second value, so bytes a
// control cannot show (an opacity below 50, a placement code above 8, the two
// stored flags, an on/off byte other than 1, a choice code past the last) stay
// as stored until the user changes that setting. Apply and OK store what
// changed through the program's own store and ask the running program to
// reload it.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "actions/opacity_steps.h"
#include "base/count_of.h"
#include "base/posted_message_filter_win.h"
#include "option_fields.h"
#include "program_lists_dialog_win.h"
#include "settings/settings_store_win.h"
#include "settings_dialog_ids.h"
#include "settings_tool_win.h"

namespace {

constexpr UINT_PTR TIMER_RUNNING_STATE = 1;
constexpr UINT kRunningStateIntervalMs = 1000;
constexpr int kOpacityTickStep = 25;
constexpr wchar_t kDialogCaption[] = L"Zephtab Settings";

struct CheckBoxField {
    int controlId;
    size_t field; // its index in optionFields: the record's byte, or MoreField of the second's
    bool inverted;
};

// The index in optionFields of a byte of the second value, whose fields follow the record's.
constexpr size_t MoreField(size_t offset) {
    return sizeof(SwitcherOptions) + offset - offsetof(MoreOptions, openOn);
}

// A drop-down list of a choice field's values, labelled from the settings table.
struct ChoiceListField {
    int controlId;
    const char* name; // the field in optionFields
};

const ChoiceListField kChoiceLists[] = {
    {IDC_OPEN_ON, "openOn"},
    {IDC_LIST_WINDOWS, "listWindows"},
    {IDC_ORDER, "order"},
};

const CheckBoxField kCheckBoxes[] = {
    {IDC_SHOW_PROCESS_INFO, offsetof(SwitcherOptions, showProcessInfo), false},
    {IDC_LIVE_PREVIEW, offsetof(SwitcherOptions, livePreview), false},
    {IDC_STAY_OPEN, offsetof(SwitcherOptions, stayOpenAfterAlt), false},
    {IDC_SELECT_SECOND, offsetof(SwitcherOptions, selectSecondOnOpen), false},
    {IDC_SMALL_ICONS, offsetof(SwitcherOptions, smallIcons), false},
    {IDC_ANIMATION, offsetof(SwitcherOptions, noAnimation), true},
    {IDC_SHOW_TOOLBAR, offsetof(SwitcherOptions, showToolbar), false},
    {IDC_TYPE_TO_FILTER, MoreField(offsetof(MoreOptions, typeToFilter)), false},
    {IDC_SAME_PROGRAM_KEY, MoreField(offsetof(MoreOptions, sameProgramKey)), false},
    {IDC_TRAY_ICON, MoreField(offsetof(MoreOptions, trayIcon)), false},
    {IDC_START_AT_LOG_ON, MoreField(offsetof(MoreOptions, startAtLogOn)), false},
};
static_assert(IDC_PLACEMENT_LAST - IDC_PLACEMENT_FIRST + 1 == PLACEMENT_CELL_COUNT,
              "one radio button per placement");

// The dialog's state: both values as the controls edit them, and as last stored or read.
StoredSettings editedSettings;
StoredSettings storedSettings;

bool RecordChanged() {
    return std::memcmp(&editedSettings.options, &storedSettings.options, sizeof(SwitcherOptions)) !=
           0;
}

bool MoreOptionsChanged() {
    return std::memcmp(&editedSettings.more, &storedSettings.more, sizeof(MoreOptions)) != 0;
}

// Both values are arrays of bytes: the struct has no padding to compare.
static_assert(sizeof(StoredSettings) == sizeof(SwitcherOptions) + sizeof(MoreOptions),
              "the two values, byte for byte");
bool SameSettings(const StoredSettings& a, const StoredSettings& b) {
    return std::memcmp(&a, &b, sizeof(StoredSettings)) == 0;
}

bool HasChanges() {
    return !SameSettings(editedSettings, storedSettings);
}

// The command line's FindOptionField would do, but would bring its whole parser
// (11 KB) into this program.
int ChoiceField(const ChoiceListField& list) {
    for (int field = 0; field < OPTION_FIELD_COUNT; ++field)
        if (std::strcmp(optionFields[field].name, list.name) == 0)
            return field;
    return -1;
}

// What is stored now, as the dialog reads it when it starts.
void ReadStoredSettings(StoredSettings* settings, StoreState* state, MoreStoreState* moreState) {
    DWORD version = 0;
    DWORD storedLength = 0;
    *state = ReadOptionsForEditing(&settings->options, &version, &storedLength);
    *moreState = ReadMoreOptionsForEditing(&settings->more);
}

void UpdateApplyButton(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_APPLY), HasChanges());
}

// After an edit the line about the last Apply, or about the record as it was
// read, no longer tells the state of what the dialog shows.
void NoteEdit(HWND dialog, const StoredSettings& before) {
    if (!SameSettings(before, editedSettings))
        SetDlgItemTextW(dialog, IDC_APPLY_RESULT, L"");
    UpdateApplyButton(dialog);
}

void ShowOpacityValue(HWND dialog) {
    unsigned alpha = editedSettings.options.switcherAlpha;
    wchar_t text[32];
    if (alpha == OPAQUE_ALPHA)
        wsprintfW(text, L"%u (opaque)", alpha);
    else if (alpha < MIN_STARTUP_ALPHA)
        wsprintfW(text, L"%u (below 50)", alpha);
    else
        wsprintfW(text, L"%u", alpha);
    SetDlgItemTextW(dialog, IDC_OPACITY_VALUE, text);
}

// Tab and the group's access key land on the checked placement, not on the first one.
void MarkCheckedPlacementAsTabStop(HWND dialog) {
    for (int id = IDC_PLACEMENT_FIRST; id <= IDC_PLACEMENT_LAST; ++id) {
        HWND button = GetDlgItem(dialog, id);
        LONG style = GetWindowLongW(button, GWL_STYLE);
        bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        SetWindowLongW(button, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

// A code past the last shows as the first value, which is what the program does with it.
void ShowChoice(HWND dialog, const ChoiceListField& list) {
    const int field = ChoiceField(list);
    int code = GetOptionByte(&editedSettings, field);
    if (code >= optionFields[field].choiceCount)
        code = 0;
    SendDlgItemMessageW(dialog, list.controlId, CB_SETCURSEL, code, 0);
}

void ShowOptions(HWND dialog) {
    for (const ChoiceListField& list : kChoiceLists)
        ShowChoice(dialog, list);
    for (const CheckBoxField& box : kCheckBoxes) {
        bool on = GetOptionByte(&editedSettings, static_cast<int>(box.field)) != 0;
        CheckDlgButton(dialog, box.controlId, on != box.inverted ? BST_CHECKED : BST_UNCHECKED);
    }
    SendDlgItemMessageW(dialog, IDC_OPACITY, TBM_SETPOS, TRUE,
                        SliderAlpha(editedSettings.options.switcherAlpha));
    ShowOpacityValue(dialog);
    CheckRadioButton(dialog, IDC_PLACEMENT_FIRST, IDC_PLACEMENT_LAST,
                     IDC_PLACEMENT_FIRST + PlacementCell(editedSettings.options.screenPosition));
    MarkCheckedPlacementAsTabStop(dialog);
    UpdateApplyButton(dialog);
}

void ShowRunningState(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_RUNNING_STATE,
                    FindRunningZephtab() ? L"Zephtab is running: Apply and OK update it at once."
                                         : L"Zephtab is not running: it uses these settings when "
                                           L"it starts.");
}

const wchar_t* StoreNote(StoreState state, MoreStoreState moreState) {
    switch (state) {
    case STORE_STATE_VALID:
        return moreState == MORE_STATE_MALFORMED
                   ? L"The stored monitor settings are not usable: Zephtab replaces them with "
                     L"these defaults."
                   : L"";
    case STORE_STATE_SHORT_OPTIONS:
        return L"Part of the stored record is missing: those settings show their defaults.";
    case STORE_STATE_ABSENT:
        return L"Nothing is stored yet: these are the defaults.";
    case STORE_STATE_UNREADABLE:
        return L"The stored settings cannot be read: these are the defaults.";
    case STORE_STATE_NO_VERSION:
    case STORE_STATE_OLD_VERSION:
    case STORE_STATE_NO_OPTIONS:
        break;
    }
    return L"The stored settings are not usable: Zephtab replaces them with these defaults.";
}

const wchar_t* ReloadNote(ReloadOutcome outcome) {
    switch (outcome) {
    case RELOAD_ANSWERED:
        return L"Saved. Zephtab reloaded the settings.";
    case RELOAD_NOT_RUNNING:
        return L"Saved. Zephtab is not running: it uses them when it starts.";
    case RELOAD_NO_ANSWER:
        break;
    }
    return L"Saved, but Zephtab did not answer the reload: it uses them at its next start.";
}

void SetUpOpacitySlider(HWND dialog) {
    HWND slider = GetDlgItem(dialog, IDC_OPACITY);
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(MIN_STARTUP_ALPHA, OPAQUE_ALPHA));
    // Page Up and Page Down move it as far as one press of the toolbar's opacity buttons.
    SendMessageW(slider, TBM_SETPAGESIZE, 0, OPACITY_STEP);
    SendMessageW(slider, TBM_SETTICFREQ, kOpacityTickStep, 0);
}

void FillChoiceLists(HWND dialog) {
    for (const ChoiceListField& list : kChoiceLists) {
        const OptionField& row = optionFields[ChoiceField(list)];
        for (int code = 0; code < row.choiceCount; ++code)
            SendDlgItemMessageW(dialog, list.controlId, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(row.choices[code].label));
    }
}

// The placements are labelled with the words zephtab-config takes for them.
void LabelPlacements(HWND dialog) {
    for (int cell = 0; cell < PLACEMENT_CELL_COUNT; ++cell) {
        wchar_t label[32];
        FormatPlacementLabel(PlacementCode(cell), label, CountOf(label));
        SetDlgItemTextW(dialog, IDC_PLACEMENT_FIRST + cell, label);
    }
}

void SetDialogIcon(HWND dialog) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Shared icons from LoadImage need no release.
    HANDLE big = LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETTINGS), IMAGE_ICON, 0, 0,
                            LR_DEFAULTSIZE | LR_SHARED);
    HANDLE small =
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETTINGS), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

BOOL OnInitDialog(HWND dialog) {
    SetDialogIcon(dialog);
    LabelPlacements(dialog);
    FillChoiceLists(dialog);
    SetUpOpacitySlider(dialog);
    StoreState state;
    MoreStoreState moreState;
    ReadStoredSettings(&storedSettings, &state, &moreState);
    editedSettings = storedSettings;
    ShowOptions(dialog);
    SetDlgItemTextW(dialog, IDC_APPLY_RESULT, StoreNote(state, moreState));
    ShowRunningState(dialog);
    SetTimer(dialog, TIMER_RUNNING_STATE, kRunningStateIntervalMs, nullptr);
    return TRUE; // the first tab stop gets the focus
}

void OnCheckBox(HWND dialog, const CheckBoxField& box) {
    const StoredSettings before = editedSettings;
    bool checked = IsDlgButtonChecked(dialog, box.controlId) == BST_CHECKED;
    SetOptionByte(&editedSettings, static_cast<int>(box.field), checked != box.inverted ? 1 : 0);
    NoteEdit(dialog, before);
}

void OnChoice(HWND dialog, const ChoiceListField& list) {
    LRESULT code = SendDlgItemMessageW(dialog, list.controlId, CB_GETCURSEL, 0, 0);
    if (code == CB_ERR)
        return;
    const StoredSettings before = editedSettings;
    SetOptionByte(&editedSettings, ChoiceField(list), static_cast<uint8_t>(code));
    NoteEdit(dialog, before);
}

void OnPlacement(HWND dialog, int controlId) {
    if (IsDlgButtonChecked(dialog, controlId) != BST_CHECKED)
        return;
    const StoredSettings before = editedSettings;
    editedSettings.options.screenPosition = PlacementCode(controlId - IDC_PLACEMENT_FIRST);
    MarkCheckedPlacementAsTabStop(dialog);
    NoteEdit(dialog, before);
}

// Any move of the slider, by mouse, keyboard or program, sets the opacity it shows.
void OnOpacityScroll(HWND dialog, HWND slider) {
    if (slider != GetDlgItem(dialog, IDC_OPACITY))
        return;
    LRESULT position = SendMessageW(slider, TBM_GETPOS, 0, 0);
    const StoredSettings before = editedSettings;
    editedSettings.options.switcherAlpha = static_cast<uint8_t>(position);
    ShowOpacityValue(dialog);
    NoteEdit(dialog, before);
}

// The stored flags are not shown, so the defaults leave them as they are.
void OnDefaults(HWND dialog) {
    const StoredSettings before = editedSettings;
    StoredSettings defaults;
    SetDefaultSettings(&defaults);
    defaults.options.storedFlag3 = editedSettings.options.storedFlag3;
    defaults.options.storedFlag4 = editedSettings.options.storedFlag4;
    editedSettings = defaults;
    ShowOptions(dialog);
    NoteEdit(dialog, before);
}

// The values stored now with this dialog's edits over them: a setting changed meanwhile
// by zephtab-config (or another dialog) and not here keeps its new value.
void TakeStoredSettings() {
    StoredSettings storedNow;
    StoreState state;
    MoreStoreState moreState;
    ReadStoredSettings(&storedNow, &state, &moreState);
    StoredSettings merged = storedNow;
    MergeEditedSettings(storedSettings, editedSettings, &merged);
    storedSettings = storedNow;
    editedSettings = merged;
}

// Writes the values that hold an edit: the record with "Version", the second value, or
// both, each as stored now with the edits laid over it.
bool StoreChangedValues() {
    TakeStoredSettings();
    if (RecordChanged() && WriteStoredOptions(&editedSettings.options) != STORE_WRITTEN)
        return false;
    return !MoreOptionsChanged() || WriteStoredMoreOptions(&editedSettings.more) == STORE_WRITTEN;
}

// Coming back to the dialog shows what is stored now, with the edits not yet applied.
void OnActivate(HWND dialog, WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE)
        return;
    const StoredSettings before = editedSettings;
    TakeStoredSettings();
    if (!SameSettings(before, editedSettings))
        ShowOptions(dialog);
}

// Stores what changed and asks Zephtab to reload it; false when it could not be stored.
bool ApplyChanges(HWND dialog, ReloadOutcome* outcome) {
    if (!StoreChangedValues()) {
        MessageBoxW(dialog,
                    L"The settings could not be saved to the registry "
                    L"(" ZEPHTAB_WIDEN(ZEPHTAB_SETTINGS_KEY_NAME) L").",
                    kDialogCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    storedSettings = editedSettings;
    ShowOptions(dialog);
    *outcome = SendReloadToZephtab();
    SetDlgItemTextW(dialog, IDC_APPLY_RESULT, ReloadNote(*outcome));
    UpdateApplyButton(dialog);
    return true;
}

void OnApply(HWND dialog) {
    ReloadOutcome outcome;
    ApplyChanges(dialog, &outcome);
}

// The dialog closes only when the record is stored; a reload without answer is said before.
void OnOk(HWND dialog) {
    ReloadOutcome outcome = RELOAD_ANSWERED;
    if (HasChanges() && !ApplyChanges(dialog, &outcome))
        return;
    if (outcome == RELOAD_NO_ANSWER)
        MessageBoxW(dialog, ReloadNote(outcome), kDialogCaption, MB_OK | MB_ICONWARNING);
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int code) {
    for (const CheckBoxField& box : kCheckBoxes) {
        if (box.controlId == id && code == BN_CLICKED) {
            OnCheckBox(dialog, box);
            return;
        }
    }
    if (id >= IDC_PLACEMENT_FIRST && id <= IDC_PLACEMENT_LAST && code == BN_CLICKED) {
        OnPlacement(dialog, id);
        return;
    }
    for (const ChoiceListField& list : kChoiceLists) {
        if (list.controlId == id && code == CBN_SELCHANGE) {
            OnChoice(dialog, list);
            return;
        }
    }
    switch (id) {
    case IDC_DEFAULTS:
        OnDefaults(dialog);
        break;
    case IDC_APPLY:
        OnApply(dialog);
        break;
    case IDC_PROGRAM_LISTS:
        EditProgramLists(dialog);
        break;
    case IDOK:
        OnOk(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_ACTIVATE:
        OnActivate(dialog, wParam);
        return FALSE;
    case WM_HSCROLL:
        OnOpacityScroll(dialog, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == TIMER_RUNNING_STATE)
            ShowRunningState(dialog);
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, TIMER_RUNNING_STATE);
        return FALSE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // Other programs may post to the dialog and its controls as they may to the switcher's.
    InstallPostedMessageFilter();
    INT_PTR result =
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
    RemovePostedMessageFilter();
    return result == IDOK || result == IDCANCEL ? 0 : 1;
}
