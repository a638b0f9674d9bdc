// The installer and uninstaller as a user meets them: a silent install into a
// folder of its own (with spaces and letters beyond ASCII, to catch quoting and
// encoding), what it leaves on the system, a reinstall over a running Zephtab,
// silent uninstalls with and without /PURGE and from a damaged install folder,
// the folders it refuses, and the programs it leaves running. Each build tests
// its own setup: the 32-bit one, or the 64-bit one.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "process_support_win.h"
#include "registry_support_win.h"
#include "resources/vendor.h"
#include "resources/version.h"
#include "settings/settings_store_win.h"
#include "window_support_win.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zephtab";
const wchar_t* const kPackagedFiles[] = {L"zephtab.exe", L"zephtab-config.exe",
                                         L"zephtab-settings.exe", L"README.txt", L"LICENSE.txt"};
const wchar_t kRecord[] = L"install-record.txt";
const DWORD kSetupDeadlineMs = 30000;
const DWORD kLeftoverExitCode = 2;
const DWORD kRefusedFolderExitCode = 2;
// Not the defaults, so that a rewrite of the record would show.
const std::vector<BYTE> kUserRecord = {0x01, 0x00, 0x01, 0x01, 0x01, 0xC8,
                                       0x07, 0x01, 0x00, 0x01, 0x01};

std::wstring InstallFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"Zephtab setup t\u00e9st \u00c5\u00f1";
}

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

std::wstring InFolder(const wchar_t* name) {
    return InstallFolder() + L"\\" + name;
}

std::wstring StartMenuFolder() {
    wchar_t programs[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::wstring(programs) + L"\\Zephtab";
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a folder of files (a test's own), and what a failed run left in it.
void RemoveFolderOfFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring path = folder + L"\\" + found.cFileName;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void WriteFileBytes(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::vector<char> FileBytes(const std::wstring& path) {
    std::vector<char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

// Runs a program by its full path and waits; the exit code, or STILL_ACTIVE when it hung.
DWORD RunAndWait(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return GetLastError();
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, kSetupDeadlineMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

DWORD RunSetup(const std::wstring& folder = InstallFolder()) {
    return RunAndWait(ExecutableFolder() + L"zephtab-setup.exe", L"/S /D=" + folder);
}

std::wstring RegistryText(const wchar_t* key, const wchar_t* name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(key, name, &type, &data) || type != REG_SZ)
        return L"(missing)";
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
    return text.substr(0, text.find(L'\0'));
}

DWORD RegistryNumber(const wchar_t* key, const wchar_t* name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    DWORD number = 0xFFFFFFFF;
    if (ReadRegistryValue(key, name, &type, &data) && type == REG_DWORD && data.size() == 4)
        std::memcpy(&number, data.data(), 4);
    return number;
}

bool KeyExists(const wchar_t* key) {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::wstring RunValue() {
    return RegistryText(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

void StoreRunValue(const std::wstring& path) {
    WriteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE, REG_SZ, path.c_str(),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// The installed program runs: its window is there and it wrote its own path to the Run key.
bool InstalledZephtabRuns() {
    return FindSwitcherWindow() != nullptr && RunValue() == Quoted(InFolder(L"zephtab.exe"));
}

HANDLE OpenSwitcherProcess() {
    DWORD processId = 0;
    GetWindowThreadProcessId(FindSwitcherWindow(), &processId);
    return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
}

struct SwitcherWindowSearch {
    DWORD processId;
    bool ofThatProcess; // or of any other one
    HWND found;
};

BOOL CALLBACK FindSwitcherWindowBy(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<SwitcherWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16];
    if ((owner == search->processId) == search->ofThatProcess &&
        GetClassNameW(window, className, 16) && wcscmp(className, L"gZephtab") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A window of class "gZephtab" of that process, or of any other; or null.
HWND SwitcherWindowBy(DWORD processId, bool ofThatProcess) {
    SwitcherWindowSearch search = {processId, ofThatProcess, nullptr};
    EnumWindows(FindSwitcherWindowBy, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND SwitcherWindowOf(DWORD processId) {
    return SwitcherWindowBy(processId, true);
}

// A visible top-level dialog of that process other than except, or null.
HWND DialogOf(DWORD processId, HWND except = nullptr) {
    return FindVisibleWindow(L"#32770", processId, except);
}

bool Running(const StartedProgram& program) {
    return WaitForSingleObject(program.info.hProcess, 0) == WAIT_TIMEOUT;
}

std::wstring ShortcutTarget(const std::wstring& link) {
    wchar_t target[MAX_PATH] = L"(unreadable)";
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
            shellLink->GetPath(target, MAX_PATH, nullptr, 0);
        file->Release();
    }
    shellLink->Release();
    return target;
}

// The fixed version numbers of a program's version resource, as "1.2.3.4".
std::wstring FileVersion(const std::wstring& path) {
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (block.empty() ||
        !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size))
        return L"(none)";
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

void ExpectInstalled() {
    const std::wstring package = ExecutableFolder() + L"package\\";
    DWORD totalBytes = 0;
    for (const wchar_t* name : kPackagedFiles) {
        SCOPED_TRACE(testing::Message() << name);
        std::vector<char> installed = FileBytes(InFolder(name));
        EXPECT_FALSE(installed.empty());
        EXPECT_TRUE(installed == FileBytes(package + name));
        totalBytes += static_cast<DWORD>(installed.size());
    }
    for (const wchar_t* name : {L"uninstall.exe", kRecord})
        totalBytes += static_cast<DWORD>(FileBytes(InFolder(name)).size());

    const std::wstring version = ZEPHTAB_WIDEN(ZEPHTAB_VERSION_TEXT);
    for (const std::wstring& program :
         {InFolder(L"zephtab.exe"), InFolder(L"zephtab-config.exe"),
          InFolder(L"zephtab-settings.exe"), ExecutableFolder() + L"zephtab-setup.exe"})
        EXPECT_EQ(FileVersion(program), version + L".0") << program;

    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + L"\\Zephtab.lnk"), InFolder(L"zephtab.exe"));
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + L"\\Zephtab Settings.lnk"),
              InFolder(L"zephtab-settings.exe"));

    const std::wstring uninstaller = L"\"" + InFolder(L"uninstall.exe") + L"\"";
    const struct {
        const wchar_t* name;
        std::wstring text;
    } texts[] = {
        {L"DisplayName", L"Zephtab"},
        {L"DisplayVersion", version},
        {L"Publisher", ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_BANNER)},
        {L"DisplayIcon", InFolder(L"zephtab.exe")},
        {L"InstallLocation", InstallFolder()},
        {L"UninstallString", uninstaller},
        {L"QuietUninstallString", uninstaller + L" /S"},
    };
    for (const auto& value : texts)
        EXPECT_EQ(RegistryText(kUninstallKey, value.name), value.text) << value.name;
    EXPECT_EQ(RegistryNumber(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(RegistryNumber(kUninstallKey, L"NoRepair"), 1u);
    EXPECT_NEAR(RegistryNumber(kUninstallKey, L"EstimatedSize"), totalBytes / 1024.0, 1.0);
}

void ExpectUninstalled() {
    EXPECT_FALSE(Exists(InstallFolder()));
    EXPECT_FALSE(Exists(StartMenuFolder()));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_EQ(FindSwitcherWindow(), nullptr);
}

// Every test starts without Zephtab, an install or settings, and leaves none behind.
class Installer : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitialize(nullptr);
        RemoveEverything();
        DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
    }
    void TearDown() override {
        RemoveEverything();
        CoUninitialize();
    }
    static void RemoveEverything() {
        // Its files can be deleted once its process has ended, not when its window has.
        HANDLE running = OpenSwitcherProcess();
        CloseRunningSwitcher();
        if (running) {
            WaitForSingleObject(running, kSetupDeadlineMs);
            CloseHandle(running);
        }
        for (const wchar_t* name : kPackagedFiles) {
            SetFileAttributesW(InFolder(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(InFolder(name).c_str());
        }
        DeleteFileW(InFolder(L"uninstall.exe").c_str());
        DeleteFileW(InFolder(kRecord).c_str());
        RemoveDirectoryW(InstallFolder().c_str());
        DeleteFileW((StartMenuFolder() + L"\\Zephtab.lnk").c_str());
        DeleteFileW((StartMenuFolder() + L"\\Zephtab Settings.lnk").c_str());
        RemoveDirectoryW(StartMenuFolder().c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        DeleteSettingsKey();
    }
};

TEST_F(Installer, InstallsStartsReinstallsOverARunningZephtabAndUninstalls) {
    StoreRawSettings(kUserRecord);
    ASSERT_EQ(RunSetup(), 0u);
    ExpectInstalled();
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();

    // Again over the running program, with one of its files spoilt: it is
    // ended (as Win+F12 would, exit code 0), replaced and started anew.
    HANDLE first = OpenSwitcherProcess();
    ASSERT_NE(first, nullptr);
    HANDLE spoilt = CreateFileW(InFolder(L"README.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    CloseHandle(spoilt);
    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(WaitForSingleObject(first, kProgramEndDeadlineMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD firstExit = STILL_ACTIVE;
    GetExitCodeProcess(first, &firstExit);
    CloseHandle(first);
    EXPECT_EQ(firstExit, 0u);
    ExpectInstalled();
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
    EXPECT_EQ(StoredOptionsBytes(), kUserRecord);

    // The uninstaller returns at once and goes on from a copy of itself; the
    // uninstall entry goes last.
    HANDLE second = OpenSwitcherProcess();
    ASSERT_EQ(RunAndWait(InFolder(L"uninstall.exe"), L"/S"), 0u);
    ASSERT_TRUE(WaitUntil([] { return !KeyExists(kUninstallKey); }, kSetupDeadlineMs));
    EXPECT_EQ(WaitForSingleObject(second, kProgramEndDeadlineMs),
              static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(second);
    ExpectUninstalled();
    EXPECT_EQ(RunValue(), L"(missing)");
    EXPECT_EQ(StoredOptionsBytes(), kUserRecord);
}

// The uninstaller removes the Run value that points into its folder, quoted
// as the program writes it or bare as older versions did, and keeps another
// copy's, also one in a sibling folder whose name begins with its own, and one
// that leaves its folder through "..".
TEST_F(Installer, PurgeRemovesTheSettingsAndTheRunValueOnlyWhenItIsItsOwn) {
    const std::wstring sibling = InstallFolder() + L" 2\\zephtab.exe";
    const struct {
        std::wstring value;
        bool removed;
    } cases[] = {
        {InFolder(L"zephtab.exe"), true},
        {Quoted(sibling), false},
        {sibling, false},
        {Quoted(InFolder(L"..\\other\\tool.exe")), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value.c_str());
        ASSERT_EQ(RunSetup(), 0u);
        ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
        ASSERT_TRUE(SettingsKeyExists());
        StoreRunValue(c.value);

        ASSERT_EQ(RunAndWait(InFolder(L"uninstall.exe"), L"/S /PURGE"), 0u);
        ASSERT_TRUE(WaitUntil([] { return !KeyExists(kUninstallKey); }, kSetupDeadlineMs));
        ExpectUninstalled();
        EXPECT_FALSE(SettingsKeyExists());
        EXPECT_FALSE(KeyExists(L"Software\\Varnok"));
        EXPECT_EQ(RunValue(), c.removed ? L"(missing)" : c.value);
        DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
    }
}

// A file missing and a read-only one are no obstacle; a file in use stays,
// is reported by the exit code, and keeps the uninstall entry so that a
// second run finishes the job. Run in place (_?=) to see the exit code.
TEST_F(Installer, UninstallerFinishesOnADamagedFolderAndReportsWhatStays) {
    const struct {
        bool licenceInUse;
        DWORD exitCode;
    } cases[] = {{false, 0}, {true, kLeftoverExitCode}};
    const std::wstring inPlace = L"/S _?=" + InstallFolder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.licenceInUse);
        ASSERT_EQ(RunSetup(), 0u);
        ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
        ASSERT_TRUE(DeleteFileW(InFolder(L"zephtab-config.exe").c_str()));
        ASSERT_TRUE(SetFileAttributesW(InFolder(L"README.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        HANDLE held = c.licenceInUse ? CreateFileW(InFolder(L"LICENSE.txt").c_str(), GENERIC_READ,
                                                   0, nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;

        EXPECT_EQ(RunAndWait(InFolder(L"uninstall.exe"), inPlace), c.exitCode);
        EXPECT_FALSE(Exists(InFolder(L"zephtab.exe")));
        EXPECT_FALSE(Exists(InFolder(L"README.txt")));
        EXPECT_FALSE(Exists(StartMenuFolder()));
        EXPECT_EQ(FindSwitcherWindow(), nullptr);
        EXPECT_EQ(Exists(InFolder(L"LICENSE.txt")), c.licenceInUse);
        EXPECT_EQ(KeyExists(kUninstallKey), c.licenceInUse);

        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
            EXPECT_EQ(RunAndWait(InFolder(L"uninstall.exe"), inPlace), 0u);
            EXPECT_FALSE(Exists(InFolder(L"LICENSE.txt")));
            EXPECT_FALSE(KeyExists(kUninstallKey));
        }
        RemoveEverything();
    }
}

// A folder that holds files of its own is refused, whatever they are: setup
// would replace some and the uninstaller delete them. So are a file, a
// drive's root, and the Windows and Program Files folders. Silently, setup
// then ends with exit status 2 and changes nothing: not even a running
// Zephtab is ended. A new, an empty, and a Zephtab folder are taken.
TEST_F(Installer, RefusesFoldersNotItsOwnAndChangesNothing) {
    const std::wstring foreign = TempFolder(L"Zephtab foreign folder");
    const std::wstring aFile = TempFolder(L"Zephtab a file");
    RemoveFolderOfFiles(foreign);
    ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));
    const struct {
        const wchar_t* name;
        std::string text;
    } files[] = {{L"README.txt", "the user's notes"},
                 {L"LICENSE.txt", "another licence"},
                 {L"uninstall.exe", "another program's uninstaller"}};
    for (const auto& file : files)
        WriteFileBytes(foreign + L"\\" + file.name, file.text);
    WriteFileBytes(aFile, "a file");
    wchar_t windowsFolder[MAX_PATH];
    GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    wchar_t programFiles[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    StartedProgram running = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(WaitForProgramIdle(running));
    const std::wstring runValue = RunValue();

    for (const std::wstring& folder : {foreign, aFile, std::wstring(L"C:\\"),
                                       std::wstring(windowsFolder), std::wstring(programFiles)}) {
        SCOPED_TRACE(testing::Message() << folder.c_str());
        EXPECT_EQ(RunSetup(folder), kRefusedFolderExitCode);
    }
    // NSIS ignores a quoted /D= and would install into its default folder.
    const std::wstring quoted = TempFolder(L"Zephtab quoted folder");
    EXPECT_EQ(RunAndWait(ExecutableFolder() + L"zephtab-setup.exe", L"/S \"/D=" + quoted + L"\""),
              kRefusedFolderExitCode);
    EXPECT_FALSE(Exists(quoted));
    for (const auto& file : files) {
        const std::vector<char> bytes = FileBytes(foreign + L"\\" + file.name);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), file.text) << file.name;
    }
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(Exists(StartMenuFolder()));
    EXPECT_FALSE(Exists(InFolder(L"zephtab.exe")));
    EXPECT_TRUE(Running(running));
    EXPECT_EQ(RunValue(), runValue);
    PostMessageW(SwitcherWindowOf(running.info.dwProcessId), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(running), 0u);
    EndProgram(running);
    RemoveFolderOfFiles(foreign);
    DeleteFileW(aFile.c_str());

    // An empty folder is taken; a Zephtab folder whose uninstall entry is
    // lost is not: only the entry and the folder's record together tell.
    ASSERT_TRUE(CreateDirectoryW(InstallFolder().c_str(), nullptr));
    EXPECT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
    EXPECT_EQ(RunSetup(), 0u);
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey), ERROR_SUCCESS);
    EXPECT_EQ(RunSetup(), kRefusedFolderExitCode);

    // An older setup wrote no record and no token: its entry, in the user's own
    // registry, vouches for its folder, which setup takes and records.
    ASSERT_TRUE(DeleteFileW(InFolder(kRecord).c_str()));
    const std::wstring folder = InstallFolder();
    ASSERT_TRUE(WriteRegistryValue(kUninstallKey, L"InstallLocation", REG_SZ, folder.c_str(),
                                   DWORD((folder.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
    ExpectInstalled();
    const std::wstring token = RegistryText(kUninstallKey, L"InstallRecord");
    const std::vector<char> record = FileBytes(InFolder(kRecord));
    EXPECT_FALSE(token.empty());
    EXPECT_NE(
        std::string(record.begin(), record.end()).find(std::string(token.begin(), token.end())),
        std::string::npos);
}

// A folder of the user's files with copies of Zephtab's uninstaller and
// record in it (whose version strings and token are genuine) is not an
// installation: the uninstaller run for it removes nothing there, and setup
// refuses it. The real installation is untouched.
TEST_F(Installer, CopiesOfItsUninstallerAndRecordDoNotMakeAFolderItsOwn) {
    ASSERT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
    const std::wstring docs = TempFolder(L"Zephtab user docs");
    RemoveFolderOfFiles(docs);
    ASSERT_TRUE(CreateDirectoryW(docs.c_str(), nullptr));
    for (const wchar_t* name : {L"README.txt", L"LICENSE.txt", L"zephtab.exe"})
        WriteFileBytes(docs + L"\\" + name, "the user's own");
    for (const wchar_t* name : {L"uninstall.exe", kRecord})
        CopyFileW(InFolder(name).c_str(), (docs + L"\\" + name).c_str(), FALSE);
    ASSERT_TRUE(Exists(docs + L"\\uninstall.exe"));

    EXPECT_EQ(RunAndWait(docs + L"\\uninstall.exe", L"/S _?=" + docs), kRefusedFolderExitCode);
    EXPECT_EQ(RunSetup(docs), kRefusedFolderExitCode);
    for (const wchar_t* name : {L"README.txt", L"LICENSE.txt", L"zephtab.exe"}) {
        const std::vector<char> bytes = FileBytes(docs + L"\\" + name);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the user's own") << name;
    }
    EXPECT_TRUE(InstalledZephtabRuns());
    ExpectInstalled();
    RemoveFolderOfFiles(docs);
}

// A window of the switcher's class is no proof that its program is Zephtab:
// setup ends any zephtab.exe (a running one would keep the new one from
// starting), the uninstaller only the one in its folder, and both leave any
// other program alone.
TEST_F(Installer, EndsOnlyAZephtabOfItsOwn) {
    StartedProgram stranger = StartProgram(L"stranger_window.exe");
    ASSERT_TRUE(WaitForProgramIdle(stranger));
    StartedProgram elsewhere = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(WaitForProgramIdle(elsewhere));

    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(WaitForExit(elsewhere), 0u);
    EndProgram(elsewhere);
    ASSERT_TRUE(WaitUntil(InstalledZephtabRuns)) << RunValue();
    EXPECT_TRUE(Running(stranger));

    // The installed Zephtab is ended here, and the one elsewhere started again.
    HWND installedWindow = SwitcherWindowBy(stranger.info.dwProcessId, false);
    DWORD installedId = 0;
    GetWindowThreadProcessId(installedWindow, &installedId);
    HANDLE installed = OpenProcess(SYNCHRONIZE, FALSE, installedId);
    PostMessageW(installedWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(installed, kSetupDeadlineMs), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(installed);
    elsewhere = StartProgram(L"zephtab.exe");
    ASSERT_TRUE(WaitForProgramIdle(elsewhere));
    ASSERT_NE(SwitcherWindowOf(elsewhere.info.dwProcessId), nullptr);

    ASSERT_EQ(RunAndWait(InFolder(L"uninstall.exe"), L"/S _?=" + InstallFolder()), 0u);
    EXPECT_FALSE(Exists(InFolder(L"zephtab.exe")));
    EXPECT_TRUE(Running(elsewhere));
    EXPECT_TRUE(Running(stranger));
    PostMessageW(SwitcherWindowOf(elsewhere.info.dwProcessId), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(elsewhere), 0u);
    EndProgram(elsewhere);
    EndProgram(stranger);
}

// The folder page tells why it refuses a folder when Next is pressed, and
// stays; ended there, setup has changed nothing.
TEST_F(Installer, FolderPageSaysWhyItRefusesAFolder) {
    wchar_t windowsFolder[MAX_PATH];
    GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    const struct {
        std::wstring folder;
        const wchar_t* reason;
    } cases[] = {{windowsFolder, L"is a folder of Windows that other programs share"},
                 {L"C:\\", L"is the root of a drive"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.folder.c_str());
        StartedProgram setup = StartProgram(L"zephtab-setup.exe", L"/D=" + c.folder);
        const DWORD id = setup.info.dwProcessId;
        HWND page = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (page = DialogOf(id)) != nullptr; }));
        PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDOK)));
        HWND message = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (message = DialogOf(id, page)) != nullptr; }));
        wchar_t text[512] = {};
        GetDlgItemTextW(message, 0xFFFF, text, 512);
        EXPECT_NE(std::wstring(text).find(c.reason), std::wstring::npos) << text;
        // The page stays after the message: the folder can be changed there.
        PostMessageW(message, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(message); }));
        EXPECT_TRUE(IsWindowVisible(page));
        EndProgram(setup);
    }
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(Exists(StartMenuFolder()));
}

} // namespace
