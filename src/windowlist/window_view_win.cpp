#include "windowlist/window_view_win.h"

#include <cwchar>

#include "base/count_of.h"
#include "base/program_handles_win.h"
#include "settings/options.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/list_removal.h"
#include "windowlist/program_group.h"
#include "windowlist/program_icon_table.h"
#include "windowlist/program_paths_win.h"
#include "windowlist/text_match.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_order.h"

namespace {

RecentWindows recentWindows;
HWINEVENTHOOK foregroundHook;

// The front window whose program alone is listed; null: every program's.
HWND programFront;

// The program file paths of this opening's processes, folded, read once each.
// A process past the table's end, or whose path cannot be read, has an empty path.
struct ProcessPath {
    DWORD processId;
    wchar_t path[PROGRAM_PATH_LENGTH];
};
constexpr int kMaxProcesses = 128;
ProcessPath processPaths[kMaxProcesses];
int processCount;

// The list as it stood when the first key was typed, with what the typed text is
// matched against, and the image each entry's strip item shows.
constexpr int kTitleLength = 256;
struct TakenEntry {
    HWND window;
    HWND owner;
    int image;
    const wchar_t* program; // the folded file name, in processPaths
    wchar_t title[kTitleLength];
};
TakenEntry* takenEntries; // process heap
int takenCount;
int entriesRead; // of takenEntries; all of them once a key was typed
// Whether a typed text was ever applied to the taken list: before that, the
// list may have been taken ahead of the first key and the plain list rules.
bool narrowing;
// Scratch for a narrowing, takenCount long each, in the same block as takenEntries.
MatchCandidate* candidates;
int* chosen;
int* images;
int* shownImages; // the image each strip item shows, while the list is taken
WindowEntry* shownEntries;
// Where the closed-window watch's next look at the taken list starts.
int watchTurn;

wchar_t typedText[TYPED_TEXT_CAPACITY];
unsigned typedKeysTaken;

constexpr wchar_t kStoreAppWindowClass[] = L"Windows.UI.Core.CoreWindow";

void FoldText(wchar_t* text) {
    CharLowerBuffW(text, static_cast<DWORD>(wcslen(text)));
}

const wchar_t* FoldedPathOfProcess(DWORD processId) {
    for (int i = 0; i < processCount; ++i)
        if (processPaths[i].processId == processId)
            return processPaths[i].path;
    if (processCount >= kMaxProcesses)
        return L"";
    ProcessPath& added = processPaths[processCount++];
    added.processId = processId;
    ReadProcessProgramPath(processId, added.path, CountOf(added.path));
    FoldText(added.path);
    return added.path;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

// A store app's frame belongs to the host program; the window it hosts, a child
// of another process, names the app.
ProgramOfWindow ProgramOf(HWND window) {
    const DWORD processId = ProcessOf(window);
    const wchar_t* own = FoldedPathOfProcess(processId);
    if (!IsStoreAppHost(own))
        return {own, processId};
    HWND hosted = FindWindowExW(window, nullptr, kStoreAppWindowClass, nullptr);
    const DWORD hostedProcess = hosted ? ProcessOf(hosted) : 0;
    if (!hostedProcess || hostedProcess == processId)
        return {own, processId};
    return {ProgramPathOfWindow(own, FoldedPathOfProcess(hostedProcess)), hostedProcess};
}

void CALLBACK OnForegroundEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                                DWORD) {
    if (object == OBJID_WINDOW)
        NoteWindowUsed(window);
}

void ForgetGoneWindows() {
    for (int i = recentWindows.count - 1; i >= 0; --i)
        if (!IsWindow(reinterpret_cast<HWND>(recentWindows.windows[i])))
            ForgetRecentWindow(&recentWindows, recentWindows.windows[i]);
}

bool OrdersByRecentUse() {
    return moreOptions.order != ORDER_ZORDER;
}

// Scratch of the refresh, freed before it returns.
struct ArrangeScratch {
    OrderedEntry* ordered;
    ProgramOfWindow* programs;
    int* order;
    WindowEntry* copy;
};

void* AllocateOnHeap(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

bool AllocateScratch(int count, ArrangeScratch* scratch) {
    const size_t n = static_cast<size_t>(count);
    char* block = static_cast<char*>(AllocateOnHeap(
        n * (sizeof(OrderedEntry) + sizeof(ProgramOfWindow) + sizeof(int) + sizeof(WindowEntry))));
    if (!block)
        return false;
    scratch->copy = reinterpret_cast<WindowEntry*>(block);
    scratch->ordered = reinterpret_cast<OrderedEntry*>(block + n * sizeof(WindowEntry));
    scratch->programs = reinterpret_cast<ProgramOfWindow*>(
        block + n * (sizeof(WindowEntry) + sizeof(OrderedEntry)));
    scratch->order = reinterpret_cast<int*>(
        block + n * (sizeof(WindowEntry) + sizeof(OrderedEntry) + sizeof(ProgramOfWindow)));
    return true;
}

int Reorder(WindowEntry* entries, const int* order, int count, WindowEntry* copy) {
    for (int i = 0; i < count; ++i)
        copy[i] = entries[order[i]];
    for (int i = 0; i < count; ++i)
        entries[i] = copy[i];
    return count;
}

int IndexOfFront(const WindowEntry* entries, int count) {
    HWND root = GetAncestor(programFront, GA_ROOTOWNER);
    for (int i = 0; i < count; ++i)
        if (entries[i].window == programFront || entries[i].owner == programFront ||
            entries[i].window == root)
            return i;
    return -1;
}

int KeepFrontProgram(WindowEntry* entries, int count, const ArrangeScratch& scratch) {
    const int front = IndexOfFront(entries, count);
    if (front < 0)
        return 0;
    for (int i = 0; i < count; ++i)
        scratch.programs[i] = ProgramOf(entries[i].window);
    const int kept = ChooseProgramWindows(scratch.programs, count, front, scratch.order);
    return Reorder(entries, scratch.order, kept, scratch.copy);
}

void FreeTakenList() {
    if (takenEntries)
        HeapFree(GetProcessHeap(), 0, takenEntries);
    takenEntries = nullptr;
    takenCount = 0;
    entriesRead = 0;
    watchTurn = 0;
    narrowing = false;
}

bool AllocateTakenList() {
    const size_t n = static_cast<size_t>(listedCount > 0 ? listedCount : 0);
    char* block = static_cast<char*>(AllocateOnHeap(
        n * (sizeof(TakenEntry) + sizeof(MatchCandidate) + 3 * sizeof(int) + sizeof(WindowEntry)) +
        1));
    if (!block)
        return false;
    takenEntries = reinterpret_cast<TakenEntry*>(block);
    candidates = reinterpret_cast<MatchCandidate*>(block + n * sizeof(TakenEntry));
    shownEntries =
        reinterpret_cast<WindowEntry*>(block + n * (sizeof(TakenEntry) + sizeof(MatchCandidate)));
    chosen = reinterpret_cast<int*>(
        block + n * (sizeof(TakenEntry) + sizeof(MatchCandidate) + sizeof(WindowEntry)));
    images = chosen + n;
    shownImages = images + n;
    takenCount = static_cast<int>(n);
    // The strip shows each entry's own image until the first narrowing.
    for (int i = 0; i < takenCount; ++i)
        shownImages[i] = i;
    entriesRead = 0;
    return true;
}

// Entries up to end (exclusive) of the list as it stands, with folded titles and
// program names. Titles are read from the system's copy, which asks no program:
// a hung window costs nothing.
void ReadTakenEntries(int end) {
    for (; entriesRead < end && entriesRead < takenCount; ++entriesRead) {
        TakenEntry& taken = takenEntries[entriesRead];
        taken.window = WindowList[entriesRead].window;
        taken.owner = WindowList[entriesRead].owner;
        taken.image = entriesRead; // image i is entry i's until the first narrowing
        taken.title[0] = 0;
        InternalGetWindowText(taken.window, taken.title, kTitleLength);
        FoldText(taken.title);
        taken.program = FileNameOf(ProgramOf(taken.window).path);
    }
}

// Before any key, the shown list loses only the entries of closed windows: a list
// taken ahead that counts more is taken again.
void DropStaleListTakenAhead() {
    if (takenEntries && !narrowing && takenCount != listedCount)
        FreeTakenList();
}

// The taken list to read into: the one taken ahead while it still holds, or a new one.
bool HoldTakenList() {
    DropStaleListTakenAhead();
    return takenEntries || AllocateTakenList();
}

bool TakeShownList() {
    if (!HoldTakenList())
        return false;
    ReadTakenEntries(takenCount);
    return true;
}

bool ShowsEntries(const WindowEntry* entries, int count) {
    if (count != listedCount)
        return false;
    for (int i = 0; i < count; ++i)
        if (WindowList[i].window != entries[i].window)
            return false;
    return true;
}

// The shown list and the strip become the taken entries the typed text keeps.
bool NarrowToTypedText() {
    for (int i = 0; i < takenCount; ++i)
        candidates[i] = {takenEntries[i].title, takenEntries[i].program};
    const int found = ChooseMatches(typedText, candidates, takenCount, chosen);
    for (int i = 0; i < found; ++i) {
        const TakenEntry& taken = takenEntries[chosen[i]];
        shownEntries[i] = {taken.window, taken.owner};
        images[i] = taken.image;
    }
    // A key that keeps the very entries shown (a space, a letter all of them hold)
    // leaves the strip and the list alone: refilling the strip is the dear part.
    if (ShowsEntries(shownEntries, found))
        return true;
    ShowStripItems(IconStrip, images, found, shownImages);
    for (int i = 0; i < found; ++i)
        shownImages[i] = images[i];
    ShowOnlyEntries(shownEntries, found);
    return true;
}

} // namespace

void StartWindowUseWatch() {
    if (!foregroundHook)
        foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                         OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
}

void StopWindowUseWatch() {
    if (foregroundHook)
        UnhookWinEvent(foregroundHook);
    foregroundHook = nullptr;
}

void NoteWindowUsed(HWND window) {
    // The switcher in front says nothing about the user's windows.
    if (!window || window == SwitcherWindow || GetAncestor(window, GA_ROOT) == SwitcherWindow)
        return;
    NoteWindowInFront(&recentWindows, reinterpret_cast<uintptr_t>(window));
}

void ListProgramOf(HWND front) {
    programFront = front;
}

bool ListsOneProgram() {
    return programFront != nullptr;
}

int ArrangeListedWindows(WindowEntry* entries, int count) {
    const bool recent = OrdersByRecentUse();
    if (count <= 0 || (!recent && !programFront))
        return count;
    ArrangeScratch scratch = {};
    if (!AllocateScratch(count, &scratch))
        return programFront ? 0 : count;
    if (recent) {
        ForgetGoneWindows();
        for (int i = 0; i < count; ++i)
            scratch.ordered[i] = {reinterpret_cast<uintptr_t>(entries[i].window),
                                  reinterpret_cast<uintptr_t>(entries[i].owner)};
        OrderByRecentUse(recentWindows, scratch.ordered, count, scratch.order);
        Reorder(entries, scratch.order, count, scratch.copy);
    }
    if (programFront)
        count = KeepFrontProgram(entries, count, scratch);
    HeapFree(GetProcessHeap(), 0, scratch.copy);
    return count;
}

const wchar_t* TypedText() {
    return typedText;
}

bool IsTypedTextShown() {
    return typedText[0] != 0;
}

unsigned TypedKeysTaken() {
    return typedKeysTaken;
}

void NoteTypedKeyTaken() {
    ++typedKeysTaken;
}

bool AppendTypedText(const wchar_t* characters, int count) {
    // The list to narrow comes first: a text without it would narrow nothing.
    if (count <= 0 || !TakeShownList())
        return false;
    bool changed = false;
    for (int i = 0; i < count; ++i)
        changed = AppendTypedCharacter(typedText, CountOf(typedText), characters[i]) || changed;
    if (!changed)
        return false;
    // Folded as the titles are, by the system's case mapping.
    FoldText(typedText);
    narrowing = true;
    return NarrowToTypedText();
}

bool RemoveLastTypedCharacterFromList() {
    if (!RemoveLastTypedCharacter(typedText) || !takenEntries)
        return false;
    return NarrowToTypedText();
}

bool ClearTypedText() {
    if (!IsTypedTextShown())
        return false;
    typedText[0] = 0;
    return takenEntries && NarrowToTypedText();
}

void TakeListAhead() {
    if (!moreOptions.typeToFilter || listedCount <= 0)
        return;
    if (!HoldTakenList())
        return;
    // A part at each look (a few milliseconds under Wine): a step that comes
    // meanwhile waits for no more than that.
    constexpr int kEntriesPerLook = 25;
    ReadTakenEntries(entriesRead + kEntriesPerLook);
}

bool IsListTakenAhead() {
    return takenEntries && entriesRead == takenCount;
}

bool RemoveClosedWindowsFromView(int* removed) {
    *removed = 0;
    if (!takenEntries || !narrowing)
        return false;
    HWND selected = selectedIndex >= 0 && selectedIndex < listedCount
                        ? WindowList[selectedIndex].window
                        : nullptr;
    const int oldSelection = selectedIndex;
    int kept = 0;
    const int first = watchTurn;
    for (int i = 0; i < takenCount; ++i) {
        const bool asked = takenEntries[i].window == selected ||
                           AskedInWatchTurn(i, first, takenCount) ||
                           IsClosingWindow(takenEntries[i].window);
        if (!asked || IsWindow(takenEntries[i].window))
            takenEntries[kept++] = takenEntries[i];
    }
    watchTurn = NextWatchTurn(first, kept);
    *removed = takenCount - kept;
    takenCount = kept;
    if (*removed == 0)
        return true;
    // The shown entries lose theirs, and the selection stays on its window or
    // takes the place of the one that closed.
    NarrowToTypedText();
    int selection = oldSelection < listedCount ? oldSelection : listedCount - 1;
    for (int i = 0; i < listedCount; ++i)
        if (WindowList[i].window == selected)
            selection = i;
    SetSelectedIndex(selection);
    return true;
}

int WindowsBeforeTypedText() {
    return takenEntries ? takenCount : listedCount;
}

void ForgetWindowView() {
    FreeTakenList();
    typedText[0] = 0;
    programFront = nullptr;
    processCount = 0;
}
