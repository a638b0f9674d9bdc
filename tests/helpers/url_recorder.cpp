// Stands in for a web browser: registered as the handler of http addresses,
// it writes how it was started to the file named by its first argument.
// Usage: url_recorder.exe RECORD_FILE ADDRESS
// The record is UTF-16 text, one "name=value" per line: show (the show
// command from STARTUPINFO), useShow (1 when STARTF_USESHOWWINDOW is set),
// address and commandLine.
#include <windows.h>

#include <cwchar>

#include "base/count_of.h"

namespace {

void Append(wchar_t* text, size_t capacity, const wchar_t* name, const wchar_t* value) {
    size_t used = wcslen(text);
    _snwprintf(text + used, capacity - used - 1, L"%ls=%ls\r\n", name, value);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);

    static wchar_t record[8192];
    wchar_t number[16];
    _snwprintf(number, 15, L"%u", static_cast<unsigned>(startup.wShowWindow));
    Append(record, CountOf(record), L"show", number);
    Append(record, CountOf(record), L"useShow",
           (startup.dwFlags & STARTF_USESHOWWINDOW) ? L"1" : L"0");
    Append(record, CountOf(record), L"address", argv[2]);
    Append(record, CountOf(record), L"commandLine", GetCommandLineW());

    // Written aside and renamed, so that a reader never sees half a record.
    wchar_t partial[MAX_PATH + 8];
    _snwprintf(partial, CountOf(partial) - 1, L"%ls.part", argv[1]);
    HANDLE file = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, record, static_cast<DWORD>(wcslen(record) * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    return MoveFileExW(partial, argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
