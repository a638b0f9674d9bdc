#include "process_support_win.h"

#include <algorithm>
#include <utility>

#include "base/identifiers.h"
#include "window_support_win.h"

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

namespace {

constexpr wchar_t kDisplayHelper[] = L"display_window.exe";

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR taken) {
    *reinterpret_cast<WORD*>(taken) = language;
    return FALSE;
}

// The group's bytes and language: a picture replaces one only in the same language.
std::vector<BYTE> ReadDisplayHelperIconGroup(WORD* language) {
    const std::wstring source = ExecutableFolder() + kDisplayHelper;
    HMODULE module = LoadLibraryExW(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC group = module ? FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON) : nullptr;
    std::vector<BYTE> data;
    if (group) {
        EnumResourceLanguagesW(module, RT_GROUP_ICON, MAKEINTRESOURCEW(1), TakeLanguage,
                               reinterpret_cast<LONG_PTR>(language));
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
        data.assign(bytes, bytes + SizeofResource(module, group));
    }
    if (module)
        FreeLibrary(module);
    return data;
}

} // namespace

std::vector<BYTE> DisplayHelperIconGroup() {
    WORD language = 0;
    return ReadDisplayHelperIconGroup(&language);
}

bool WriteDisplayHelperCopy(const std::wstring& copyName, const std::vector<BYTE>& group,
                            const std::vector<IconPicture>& pictures) {
    WORD language = 0;
    const std::wstring copy = ExecutableFolder() + copyName;
    if (ReadDisplayHelperIconGroup(&language).empty() ||
        !CopyFileW((ExecutableFolder() + kDisplayHelper).c_str(), copy.c_str(), FALSE))
        return false;
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update)
        return false;
    bool written =
        UpdateResourceW(update, RT_GROUP_ICON, MAKEINTRESOURCEW(1), language,
                        const_cast<BYTE*>(group.data()), static_cast<DWORD>(group.size())) != FALSE;
    for (const IconPicture& picture : pictures)
        written = written && UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(picture.id),
                                             language, const_cast<BYTE*>(picture.bytes.data()),
                                             static_cast<DWORD>(picture.bytes.size()));
    return EndUpdateResourceW(update, !written) && written;
}

StartedProgram& StartedProgram::operator=(StartedProgram&& other) noexcept {
    std::swap(info, other.info);
    std::swap(started, other.started);
    return *this;
}

StartedProgram::~StartedProgram() {
    EndProgram(*this);
}

namespace {

// Starts a program beside the test executable, with its output and errors on these
// handles when given (and no input: the test's own carries the runner's answers).
StartedProgram StartAt(const std::wstring& path, const std::wstring& arguments, HANDLE output,
                       HANDLE errors) {
    StartedProgram program;
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = output ? STARTF_USESTDHANDLES : 0;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    program.started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr,
                                     output != nullptr, output ? CREATE_NO_WINDOW : 0, nullptr,
                                     nullptr, &startup, &program.info) != 0;
    return program;
}

// Moves what a pipe holds now into text, without blocking.
void DrainPipe(HANDLE pipe, std::string* text) {
    DWORD available = 0, read = 0;
    char buffer[4096];
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available &&
           ReadFile(pipe, buffer, available < sizeof(buffer) ? available : sizeof(buffer), &read,
                    nullptr) &&
           read)
        text->append(buffer, read);
}

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

} // namespace

StartedProgram StartProgram(const std::wstring& exeName, const std::wstring& arguments) {
    return StartAt(ExecutableFolder() + exeName, arguments, nullptr, nullptr);
}

StartedProgram StartSystemProgram(const std::wstring& exeName) {
    wchar_t folder[MAX_PATH] = L"";
    GetSystemDirectoryW(folder, MAX_PATH);
    return StartAt(std::wstring(folder) + L"\\" + exeName, L"", nullptr, nullptr);
}

DWORD WaitForExit(const StartedProgram& program, DWORD deadlineMs) {
    DWORD code = STILL_ACTIVE;
    if (program.started && WaitForSingleObject(program.info.hProcess, deadlineMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.info.hProcess, &code);
    return code;
}

void EndProgram(StartedProgram& program) {
    if (!program.started)
        return;
    if (WaitForSingleObject(program.info.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(program.info.hProcess, 1);
        WaitForSingleObject(program.info.hProcess, 5000);
    }
    CloseHandle(program.info.hThread);
    CloseHandle(program.info.hProcess);
    program.started = false;
}

CapturedRun RunCaptured(const std::wstring& exeName, const std::wstring& arguments) {
    CapturedRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    StartedProgram program = StartAt(ExecutableFolder() + exeName, arguments, outWrite, errWrite);
    // Only the child keeps the write ends, so the pipes end when it does.
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    const DWORD start = GetTickCount();
    while (program.started && !run.finished && GetTickCount() - start <= kProgramEndDeadlineMs) {
        DrainPipe(outRead, &run.rawOut);
        DrainPipe(errRead, &run.err);
        run.finished = WaitForSingleObject(program.info.hProcess, 5) == WAIT_OBJECT_0;
    }
    if (program.started && !run.finished)
        TerminateProcess(program.info.hProcess, 1);
    // The exit code is read once the process has ended, terminated or not.
    run.exitCode = WaitForExit(program);
    DrainPipe(outRead, &run.rawOut);
    DrainPipe(errRead, &run.err);
    CloseHandle(outRead);
    CloseHandle(errRead);
    run.out = WithoutCarriageReturns(run.rawOut);
    run.err = WithoutCarriageReturns(run.err);
    if (program.started && !run.finished)
        run.err += "(still running after the deadline: terminated)\n";
    return run;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool WaitForProgramIdle(const StartedProgram& program, DWORD deadlineMs) {
    return program.started && WaitForInputIdle(program.info.hProcess, deadlineMs) == 0;
}

bool StartSwitcherProgram(StartedProgram* program) {
    const DWORD deadlineMs = 15000;
    *program = StartProgram(L"zephtab.exe");
    if (!WaitForProgramIdle(*program, deadlineMs))
        return false;
    // The window is made before the loop runs; a sent message is answered only by the loop.
    HWND window = nullptr;
    DWORD_PTR answer = 0;
    return WaitUntil([&] { return (window = FindSwitcherWindow()) != nullptr; }, deadlineMs) &&
           SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, deadlineMs, &answer) != 0;
}

HWND FindSwitcherWindow() {
    return FindWindowW(ZEPHTAB_WINDOW_CLASS, nullptr);
}

// Waits for the process to end, not only its window to go: until then it holds the
// single-instance mutex, and a copy started meanwhile would find it.
void CloseRunningSwitcher() {
    HWND window = FindSwitcherWindow();
    if (!window)
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    } else {
        WaitUntil([] { return FindSwitcherWindow() == nullptr; }, 10000);
    }
}

bool IsSwitcherShown() {
    HWND switcher = FindSwitcherWindow();
    return switcher && IsWindowVisible(switcher);
}

bool WaitForSwitcherShown(bool shown) {
    return WaitUntil([shown] { return IsSwitcherShown() == shown; }, 5000);
}

int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) ||
        !GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

namespace {

// Handles of one table, found by their 16-bit index alone (Wine accepts it). The
// probe takes seconds on a loaded machine: it keeps looking at the thread's queue
// (dispatching nothing), or the test's windows would look hung to the code under test.
template <typename Live> int CountLive(Live live) {
    int count = 0;
    MSG message;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        count += live(reinterpret_cast<void*>(index)) ? 1 : 0;
        if (index % 4096 == 0)
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    return count;
}

} // namespace

int CountGdiObjects() {
    return CountLive([](void* handle) { return GetObjectType(handle) != 0; });
}

int CountUserObjects() {
    return CountLive([](void* handle) {
        return IsWindow(static_cast<HWND>(handle)) || IsMenu(static_cast<HMENU>(handle));
    });
}

int CountMenus() {
    return CountLive([](void* handle) { return IsMenu(static_cast<HMENU>(handle)) != 0; });
}

int CountKernelHandles() {
    int count = 0;
    DWORD flags = 0;
    for (UINT_PTR value = 4; value <= 0x4000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}
