// A function of a system library that the program finds at run time: one that
// MinGW's import libraries lack (DrawShadowText) or one that some systems do
// not have (DwmGetWindowAttribute). The library is loaded at the first use and
// held until the owner releases it.
#pragma once
#include <windows.h>

struct RuntimeFunction {
    const wchar_t* library;
    const char* name;
    DWORD loadFlags; // for LoadLibraryExW
    HMODULE module;
    FARPROC function;
    bool resolved;
};

// The function, or null when the library or the function is missing.
FARPROC ResolveRuntimeFunction(RuntimeFunction* entry);
// Drops the library; the next use loads it again.
void ReleaseRuntimeFunction(RuntimeFunction* entry);

// The address as a function pointer of the caller's type.
template <typename Function> Function RuntimeFunctionAs(RuntimeFunction* entry) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(ResolveRuntimeFunction(entry)));
}
