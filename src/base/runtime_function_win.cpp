#include "base/runtime_function_win.h"

FARPROC ResolveRuntimeFunction(RuntimeFunction* entry) {
    if (entry->resolved)
        return entry->function;
    entry->resolved = true;
    entry->module = LoadLibraryExW(entry->library, nullptr, entry->loadFlags);
    if (entry->module)
        entry->function = GetProcAddress(entry->module, entry->name);
    return entry->function;
}

void ReleaseRuntimeFunction(RuntimeFunction* entry) {
    if (entry->module)
        FreeLibrary(entry->module);
    entry->module = nullptr;
    entry->function = nullptr;
    entry->resolved = false;
}
