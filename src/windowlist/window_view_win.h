// What the shown list holds beyond the enumeration: the order by recent use,
// one program's windows for Alt with the key above Tab, and the typed text
// that narrows the shown switcher's list. All state here is this module's.
#pragma once
#include <windows.h>

struct WindowEntry;

// The system's foreground events teach the order of recent use (out of context,
// on this thread); from start-up to shutdown. Wine sends none: there the order
// comes from what the switcher sees itself.
void StartWindowUseWatch();
void StopWindowUseWatch();
// The window was in front: at each opening, and at every activation.
void NoteWindowUsed(HWND window);

// The following refreshes list only the windows of front's program, front first;
// null lists every program's again.
void ListProgramOf(HWND front);
bool ListsOneProgram();

// Called by the refresh on the enumerated entries: orders them by the order
// setting and keeps one program's when asked. Returns the count kept.
int ArrangeListedWindows(WindowEntry* entries, int count);

// The typed text, empty when none; drawn by the frame.
const wchar_t* TypedText();
bool IsTypedTextShown();
// Counts the typed keys taken by the switcher, for the hook to tell whether one
// it posted is still on its way.
unsigned TypedKeysTaken();
void NoteTypedKeyTaken();
// Change the typed text and narrow the shown list and the strip to it; each
// returns whether the list changed. The first one takes the list as it stands
// as the one to narrow.
bool AppendTypedText(const wchar_t* characters, int count);
// With type-to-filter on, takes a part of the shown list (titles and program
// names, a question to the system per window) while the user has typed nothing;
// called by the watch while no command comes, so that the first key only narrows it.
void TakeListAhead();
// Whether the whole shown list is taken, ahead of a key or by one.
bool IsListTakenAhead();
bool RemoveLastTypedCharacterFromList();
bool ClearTypedText();
// While a typed text narrows the list: entries of windows destroyed leave the
// taken list and the shown one (the selected entry and the watch's next turn of
// entries are asked, as RemoveClosedWindowsInTurn asks); false when no typed text was ever applied
// in this opening (the plain removal applies then, and a list taken ahead is
// taken again). *removed: how many left the taken list.
bool RemoveClosedWindowsFromView(int* removed);
// How many windows the taken list holds (all of them, typed text or not).
int WindowsBeforeTypedText();
// At every hide: the typed text, the taken list and the program limit go.
void ForgetWindowView();
