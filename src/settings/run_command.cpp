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

namespace {

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 0x20) : c;
}

bool SamePath(const wchar_t* a, const wchar_t* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

} // namespace

bool IsRunCommandOfProgram(const wchar_t* command, const wchar_t* path) {
    const size_t pathLength = std::wcslen(path);
    const size_t length = std::wcslen(command);
    if (pathLength == 0)
        return false;
    if (length == pathLength)
        return SamePath(command, path, pathLength);
    return length == pathLength + 2 && command[0] == L'"' && command[length - 1] == L'"' &&
           SamePath(command + 1, path, pathLength);
}
