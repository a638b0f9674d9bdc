#include "windowlist/program_icons_win.h"

#include <cwchar>

#include "base/count_of.h"
#include "windowlist/icon_group.h"
#include "windowlist/program_icon_table.h"
#include "windowlist/program_paths_win.h"

static_assert(PROGRAM_PATH_LENGTH == MAX_PATH, "paths as the system gives them");

namespace {

ProgramIconSlot programIcons[PROGRAM_ICON_SLOTS];
// Counts lookups; slots used at or after protectedSince may be on screen now.
uint64_t lookupCount;
uint64_t protectedSince = 1;

HICON SlotIcon(int slot) {
    return static_cast<HICON>(const_cast<void*>(programIcons[slot].icon));
}

void EmptySlot(int slot) {
    if (SlotIcon(slot))
        DestroyIcon(SlotIcon(slot));
    programIcons[slot] = ProgramIconSlot{};
}

// Whether each picture the directory names is in the file, at a size in reason.
bool IconEntriesPresent(HMODULE module, const uint8_t* group, int count) {
    for (int index = 0; index < count; ++index) {
        HRSRC icon =
            FindResourceW(module, MAKEINTRESOURCEW(IconGroupEntryAt(group, index).id), RT_ICON);
        const DWORD bytes = icon ? SizeofResource(module, icon) : 0;
        if (bytes == 0 || bytes > ICON_MAX_BYTES)
            return false;
    }
    return true;
}

// The system reads a file's first icon directory, so that one is checked.
BOOL CALLBACK CheckFirstIconGroup(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR sound) {
    HRSRC group = FindResourceW(module, name, type);
    HGLOBAL loaded = group ? LoadResource(module, group) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    const int count = CheckedIconGroupCount(data, group ? SizeofResource(module, group) : 0);
    *reinterpret_cast<bool*>(sound) = count > 0 && IconEntriesPresent(module, data, count);
    return FALSE;
}

// Any program's file can be read here (that of every window on the desktop),
// and the system's icon reader trusts what the file says about its icons.
bool HasSoundIconGroup(const wchar_t* path) {
    HMODULE module =
        LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return false;
    bool sound = false;
    EnumResourceNamesW(module, RT_GROUP_ICON, CheckFirstIconGroup,
                       reinterpret_cast<LONG_PTR>(&sound));
    FreeLibrary(module);
    return sound;
}

// A file without icons, or with a malformed icon directory, is remembered too:
// it is not read again, and its windows show the generic icon.
void FillSlot(int slot, const wchar_t* path, int size) {
    EmptySlot(slot);
    HICON icon = nullptr;
    UINT id = 0;
    // Asks for the size itself, where ExtractIconEx gives only the system's two sizes.
    if (!HasSoundIconGroup(path) ||
        PrivateExtractIconsW(path, 0, size, size, &icon, &id, 1, LR_DEFAULTCOLOR) != 1)
        icon = nullptr;
    ProgramIconSlot& filled = programIcons[slot];
    filled.filled = true;
    filled.iconSize = size;
    filled.icon = icon;
    std::wcscpy(filled.path, path);
}

bool ReadProgramPath(HWND window, wchar_t* path, DWORD count) {
    DWORD processId = 0;
    return GetWindowThreadProcessId(window, &processId) &&
           ReadProcessProgramPath(processId, path, count);
}

} // namespace

HICON ProgramFileIconOfPath(const wchar_t* path, int size) {
    if (!path || wcsnlen(path, PROGRAM_PATH_LENGTH) >= PROGRAM_PATH_LENGTH)
        return nullptr;
    int slot = FindProgramIconSlot(programIcons, CountOf(programIcons), path, size);
    if (slot < 0) {
        slot = ChooseProgramIconSlot(programIcons, CountOf(programIcons), protectedSince);
        if (slot < 0)
            return nullptr;
        FillSlot(slot, path, size);
    }
    programIcons[slot].lastUse = ++lookupCount;
    return SlotIcon(slot);
}

HICON ProgramFileIcon(HWND window, int size) {
    wchar_t path[PROGRAM_PATH_LENGTH] = {};
    if (!ReadProgramPath(window, path, CountOf(path)))
        return nullptr;
    return ProgramFileIconOfPath(path, size);
}

void EndProgramIconUse() {
    protectedSince = lookupCount + 1;
}

void ReleaseProgramIcons() {
    for (int slot = 0; slot < static_cast<int>(CountOf(programIcons)); ++slot)
        EmptySlot(slot);
    lookupCount = 0;
    protectedSince = 1;
}
