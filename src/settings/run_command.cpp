#include "settings/run_command.h"

#include <cwchar>

size_t QuoteProgramPath(wchar_t* buffer, size_t count, const wchar_t* path) {
    if (count == 0)
        return 0;
    buffer[0] = L'\0';
    const size_t length = std::wcslen(path);
    // Two quotes and the terminator.
    if (length == 0 || length + 3 > count)
        return 0;
    buffer[0] = L'"';
    std::wmemcpy(buffer + 1, path, length);
    buffer[length + 1] = L'"';
    buffer[length + 2] = L'\0';
    return length + 2;
}
