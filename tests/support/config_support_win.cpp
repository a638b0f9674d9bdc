#include "config_support_win.h"

#include <cstring>

#include "settings/settings_store_win.h"
#include "test_support_win.h"

namespace {

// Moves what a pipe holds now into text, without blocking.
void DrainPipe(HANDLE pipe, std::string* text) {
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return;
        char buffer[4096];
        DWORD read = 0;
        DWORD wanted = available < sizeof(buffer) ? available : sizeof(buffer);
        if (!ReadFile(pipe, buffer, wanted, &read, nullptr) || read == 0)
            return;
        text->append(buffer, read);
    }
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string result;
    for (char c : text)
        if (c != '\r')
            result += c;
    return result;
}

} // namespace

CapturedRun RunCaptured(const std::wstring& exeName, const std::wstring& arguments,
                        DWORD deadlineMs) {
    CapturedRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0))
        return run;
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return run;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    std::wstring path = ExecutableFolder() + exeName;
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr; // the test's own input carries the runner's answers
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info = {};
    run.started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info) != 0;
    // Only the child keeps the write ends, so the pipes end when it does.
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (run.started) {
        const DWORD start = GetTickCount();
        for (;;) {
            DrainPipe(outRead, &run.rawOut);
            DrainPipe(errRead, &run.err);
            if (WaitForSingleObject(info.hProcess, 5) == WAIT_OBJECT_0) {
                run.finished = true;
                break;
            }
            if (GetTickCount() - start > deadlineMs) {
                TerminateProcess(info.hProcess, 1);
                break;
            }
        }
        // The exit code is read once the process has ended, terminated or not.
        WaitForSingleObject(info.hProcess, kProgramEndDeadlineMs);
        DrainPipe(outRead, &run.rawOut);
        DrainPipe(errRead, &run.err);
        if (!run.finished)
            run.err += "(still running after the deadline: terminated)\n";
        GetExitCodeProcess(info.hProcess, &run.exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    run.out = WithoutCarriageReturns(run.rawOut);
    run.err = WithoutCarriageReturns(run.err);
    return run;
}

CapturedRun RunConfig(const std::wstring& arguments) {
    return RunCaptured(L"zephtab-config.exe", arguments);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<BYTE> StoredOptionsBytes() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", &type, &data))
        data.clear();
    return data;
}

DWORD StoredVersion(DWORD* type) {
    DWORD storedType = 0;
    std::vector<BYTE> data;
    DWORD version = 0;
    if (ReadRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", &storedType, &data))
        std::memcpy(&version, data.data(), data.size() < 4 ? data.size() : 4);
    if (type)
        *type = storedType;
    return version;
}

bool SettingsKeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ZEPHTAB_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void StoreRawSettings(const std::vector<BYTE>& options, DWORD version) {
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Version", REG_DWORD, &version, sizeof(version));
    WriteRegistryValue(ZEPHTAB_SETTINGS_KEY, L"Options", REG_BINARY, options.data(),
                       static_cast<DWORD>(options.size()));
}

int LayeredAlpha(HWND window) {
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED))
        return -1;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}
