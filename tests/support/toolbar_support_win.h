// Helpers of the toolbar and context-menu tests.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

// Live menus of this process, probed by handle index as CountUserObjects does.
int CountMenus();

// Puts these windows into the window list as a refresh would, and selects
// one. The list lives on the process heap, where a later refresh expects it.
void SetTestWindowList(std::initializer_list<HWND> windows, int selected);

// The visible popup-menu window (class "#32768") of this desktop, or null.
HWND FindOpenMenuWindow();

// Watches the context menu from inside its modal loop: a thread timer that,
// once a popup menu window is visible, records it, runs the reaction (by
// default EndMenu) and counts the opening.
struct MenuWatch {
    int openings = 0;
    RECT menuRect = {};
    POINT cursorAtOpening = {};
};
enum class MenuReaction {
    Dismiss,         // EndMenu
    ChooseFirstItem, // Down, Return
    ChooseLastItem,  // Up, Return
};
// onOpening, when given, runs inside the menu's modal loop before the reaction.
void StartMenuWatch(MenuWatch* watch, MenuReaction reaction = MenuReaction::Dismiss,
                    void (*onOpening)() = nullptr);
void StopMenuWatch();

// Records the messages this thread takes from its queue (a WH_GETMESSAGE hook).
struct QueueWatch {
    int switcherCommands = 0;
    WPARAM lastSwitcherCommand = 0;
    HWND lastRightButtonUpWindow = nullptr;
    int rightButtonUps = 0;
};
void StartQueueWatch(QueueWatch* watch);
void StopQueueWatch();

// Makes a program in this test's folder the handler of http addresses (in the
// test's private prefix); it gets the record file and the address as its two
// arguments. RestoreHttpHandler puts the previous handler back.
bool InstallHttpHandler(const std::wstring& exeName, const std::wstring& recordFile);
void RestoreHttpHandler();

// Reads a UTF-16 record file of "name=value" lines; empty when absent.
std::wstring ReadRecordValue(const std::wstring& recordFile, const std::wstring& name);

// Stores the options record with this showToolbar value (defaults otherwise).
void StoreShowToolbar(BYTE show);

// The screen position of a client point of a window.
POINT ClientPointOnScreen(HWND window, int x, int y);
// Sends a mouse action at a screen point through the X server, e.g. "click 3".
bool MouseAt(POINT screen, const char* action);

// Starts the switcher in this process for the toolbar tests: no other zephtab,
// the toolbar shown, the X pointer on the Wine desktop, and two test windows
// with these titles to switch between. Returns false when the start-up fails
// (then no window is created).
bool StartToolbarSwitcher(const wchar_t* firstTitle, const wchar_t* secondTitle,
                          HWND* first = nullptr, HWND* second = nullptr);
// Opens the switcher by command and waits until it is visible (a fatal
// GoogleTest failure otherwise).
void OpenSwitcherAndWait();
