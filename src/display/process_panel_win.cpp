#include "display/process_panel_win.h"

#include <psapi.h>

#include "base/count_of.h"
#include "base/runtime_function_win.h"
#include "display/process_text.h"
#include "display/selection_texts.h"

static_assert(PRIORITY_NORMAL == NORMAL_PRIORITY_CLASS, "priority class");
static_assert(PRIORITY_IDLE == IDLE_PRIORITY_CLASS, "priority class");
static_assert(PRIORITY_HIGH == HIGH_PRIORITY_CLASS, "priority class");
static_assert(PRIORITY_REALTIME == REALTIME_PRIORITY_CLASS, "priority class");
static_assert(PRIORITY_BELOW_NORMAL == BELOW_NORMAL_PRIORITY_CLASS, "priority class");
static_assert(PRIORITY_ABOVE_NORMAL == ABOVE_NORMAL_PRIORITY_CLASS, "priority class");

namespace {

using GuiResourcesProc = DWORD(WINAPI*)(HANDLE, DWORD);
// Resolved at run time: some systems (Wine among them) do not provide it.
RuntimeFunction getGuiResources = {L"user32.dll", "GetGuiResources", 0, nullptr, nullptr, false};

// A missing function counts as no objects.
DWORD GuiObjectCount(HANDLE process, DWORD kind) {
    const auto query = RuntimeFunctionAs<GuiResourcesProc>(&getGuiResources);
    return query ? query(process, kind) : 0;
}

void FillIoTexts(HANDLE process) {
    IO_COUNTERS counters = {};
    IoOperationCounts counts = {};
    const bool known = GetProcessIoCounters(process, &counters) != 0;
    counts.reads = counters.ReadOperationCount;
    counts.writes = counters.WriteOperationCount;
    FormatIoTexts(SelectionTexts.ioReadsText, CountOf(SelectionTexts.ioReadsText),
                  SelectionTexts.ioWritesText, CountOf(SelectionTexts.ioWritesText),
                  known ? &counts : nullptr);
}

void FillGuiObjectTexts(HANDLE process) {
    const DWORD gdiObjects = GuiObjectCount(process, GR_GDIOBJECTS);
    const DWORD userObjects = GuiObjectCount(process, GR_USEROBJECTS);
    FormatGuiObjectTexts({SelectionTexts.handlesText, CountOf(SelectionTexts.handlesText),
                          SelectionTexts.gdiObjectsText, CountOf(SelectionTexts.gdiObjectsText),
                          SelectionTexts.userObjectsText, CountOf(SelectionTexts.userObjectsText)},
                         gdiObjects, userObjects);
}

void FillPriorityText(HANDLE process) {
    CopyText(SelectionTexts.priorityText, CountOf(SelectionTexts.priorityText),
             PriorityClassText(GetPriorityClass(process)));
}

void FillMemoryText(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        return;
    FormatMemoryText(SelectionTexts.memoryText, CountOf(SelectionTexts.memoryText),
                     counters.WorkingSetSize);
}

void FillModulePath(HANDLE process) {
    // No module handle names the process's own program. Asking for the main module by
    // its handle from EnumProcessModules first walked the other process's whole module
    // list, most of a step's time under Wine.
    if (!GetModuleFileNameExW(process, nullptr, SelectionTexts.modulePathText,
                              CountOf(SelectionTexts.modulePathText))) {
        SelectionTexts.modulePathText[0] = L'\0';
        return;
    }
    // Older systems leave a cut path unterminated.
    SelectionTexts.modulePathText[CountOf(SelectionTexts.modulePathText) - 1] = 0;
}

} // namespace

void UpdateProcessInfo(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    FormatColonDecimal(SelectionTexts.processIdText, CountOf(SelectionTexts.processIdText),
                       static_cast<int32_t>(processId));
    FormatColonHex(SelectionTexts.windowHandleText, CountOf(SelectionTexts.windowHandleText),
                   reinterpret_cast<ULONG_PTR>(window));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) {
        CopyText(SelectionTexts.processIdText, CountOf(SelectionTexts.processIdText),
                 PROCESS_FAILURE_MARK);
        return;
    }
    FillIoTexts(process);
    FillGuiObjectTexts(process);
    FillPriorityText(process);
    FillMemoryText(process);
    FillModulePath(process);
    CloseHandle(process);
}

void ReleaseProcessPanel() {
    ReleaseRuntimeFunction(&getGuiResources);
}
