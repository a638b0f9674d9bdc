#include "settings/settings_program_win.h"

#include <windows.h>

#include <cwchar>

#include "base/count_of.h"

namespace {

constexpr wchar_t kSettingsProgram[] = L"zephtab-settings.exe";

// The path of the settings program beside this one's file, or false when it does not fit.
bool SettingsProgramPath(wchar_t* path, size_t count) {
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(count));
    if (length == 0 || length >= count)
        return false;
    wchar_t* name = std::wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    const size_t room = count - static_cast<size_t>(name - path);
    if (CountOf(kSettingsProgram) > room)
        return false;
    std::wmemcpy(name, kSettingsProgram, CountOf(kSettingsProgram));
    return true;
}

} // namespace

bool OpenSettingsProgram() {
    wchar_t path[MAX_PATH];
    if (!SettingsProgramPath(path, CountOf(path)))
        return false;
    wchar_t commandLine[MAX_PATH + 2];
    wsprintfW(commandLine, L"\"%s\"", path);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}
