#include "program_lists_dialog_win.h"

#include <cwchar>

#include "settings/settings_store_win.h"
#include "settings_dialog_ids.h"
#include "settings_tool_win.h"

namespace {

constexpr wchar_t kCaption[] = L"Programs left alone";

struct EditedList {
    const wchar_t* value; // the registry value
    int listId;
    int removeId;
    int addId;
    ProgramPatternList patterns;
    ProgramPatternList stored; // as read, to store only what changed
};
EditedList editedLists[] = {
    {ZEPHTAB_EXCLUDE_VALUE, IDC_EXCLUDE_LIST, IDC_EXCLUDE_REMOVE, IDC_ADD_EXCLUDE, {}, {}},
    {ZEPHTAB_PASS_THROUGH_VALUE,
     IDC_PASS_THROUGH_LIST,
     IDC_PASS_THROUGH_REMOVE,
     IDC_ADD_PASS_THROUGH,
     {},
     {}},
};
bool storedAny;

void ShowList(HWND dialog, const EditedList& list) {
    HWND box = GetDlgItem(dialog, list.listId);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list.patterns.count; ++i)
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.patterns.patterns[i]));
}

void OnAdd(HWND dialog, EditedList& list) {
    wchar_t pattern[MAX_PATTERN_LENGTH + 2] = {};
    GetDlgItemTextW(dialog, IDC_PATTERN, pattern, static_cast<int>(MAX_PATTERN_LENGTH + 2));
    if (!IsStorablePattern(pattern)) {
        MessageBoxW(dialog, L"A pattern has 1 to 260 characters.", kCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (FindPattern(list.patterns, pattern) < 0 && !AddPattern(&list.patterns, pattern)) {
        MessageBoxW(dialog, L"A list holds at most 64 patterns.", kCaption, MB_OK | MB_ICONERROR);
        return;
    }
    SetDlgItemTextW(dialog, IDC_PATTERN, L"");
    ShowList(dialog, list);
}

void OnRemove(HWND dialog, EditedList& list) {
    const LRESULT index = SendDlgItemMessageW(dialog, list.listId, LB_GETCURSEL, 0, 0);
    if (index < 0 || index >= list.patterns.count)
        return;
    wchar_t pattern[MAX_PATTERN_LENGTH + 1];
    std::wcscpy(pattern, list.patterns.patterns[index]);
    RemovePattern(&list.patterns, pattern);
    ShowList(dialog, list);
}

bool SameList(const ProgramPatternList& a, const ProgramPatternList& b) {
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count; ++i)
        if (std::wcscmp(a.patterns[i], b.patterns[i]) != 0)
            return false;
    return true;
}

void OnOk(HWND dialog) {
    for (EditedList& list : editedLists) {
        if (SameList(list.patterns, list.stored))
            continue;
        if (WriteStoredPatternList(list.value, list.patterns) != STORE_WRITTEN) {
            MessageBoxW(dialog, L"The lists could not be saved to the registry.", kCaption,
                        MB_OK | MB_ICONERROR);
            return;
        }
        list.stored = list.patterns;
        storedAny = true;
    }
    if (storedAny)
        SendReloadToZephtab();
    EndDialog(dialog, IDOK);
}

BOOL OnInitDialog(HWND dialog) {
    for (EditedList& list : editedLists) {
        bool present = false;
        ReadStoredPatternList(list.value, &list.stored, true, &present);
        list.patterns = list.stored;
        ShowList(dialog, list);
    }
    SendDlgItemMessageW(dialog, IDC_PATTERN, EM_LIMITTEXT, MAX_PATTERN_LENGTH, 0);
    return TRUE;
}

void OnCommand(HWND dialog, int id) {
    for (EditedList& list : editedLists) {
        if (id == list.addId)
            OnAdd(dialog, list);
        else if (id == list.removeId)
            OnRemove(dialog, list);
    }
    if (id == IDOK)
        OnOk(dialog);
    else if (id == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK ProgramListsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool EditProgramLists(HWND owner) {
    storedAny = false;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRAM_LISTS), owner,
                    ProgramListsDialogProc, 0);
    return storedAny;
}
