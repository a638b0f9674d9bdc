// The registry store of the options record and the start-at-log-on value.
#pragma once
#include <windows.h>
#include "resources/vendor.h"
#include "settings/options.h"
#include "settings/program_patterns.h"

#define ZEPHTAB_SETTINGS_KEY ZEPHTAB_WIDEN(ZEPHTAB_SETTINGS_SUBKEY)
#define ZEPHTAB_RUN_KEY L"Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define ZEPHTAB_RUN_VALUE L"zephtab"

// What a read of the store found. Only STORE_LOADED leaves usable values in the record.
enum StoreReadResult {
    STORE_LOADED,
    STORE_NO_KEY,      // the key could not be opened (or does not exist, for a read-only look)
    STORE_NO_VERSION,  // "Version" missing or wider than 4 bytes
    STORE_OLD_VERSION, // "Version" below 258
    STORE_NO_OPTIONS,  // "Options" missing or wider than 11 bytes
};

enum StoreWriteResult {
    STORE_WRITTEN,
    STORE_KEY_FAILED,   // the key could not be opened or created
    STORE_WRITE_FAILED, // a value could not be written
};

// Reads "Version" and "Options". A stored "Options" shorter than 11 bytes fills
// only its own length; the other bytes of the record keep what they held.
// readOnly opens an existing key without creating it (a look that writes nothing).
StoreReadResult ReadStoredOptions(SwitcherOptions* record, DWORD* version, bool readOnly);

// Writes the whole record and "Version" 258.
StoreWriteResult WriteStoredOptions(const SwitcherOptions* record);

// What a read of the second value found. LOADED, OLDER and NEWER fill the value.
enum MoreOptionsReadResult {
    MORE_OPTIONS_LOADED,
    MORE_OPTIONS_OLDER,     // layout 1: read, the new settings at their defaults
    MORE_OPTIONS_NEWER,     // a later layout: the settings this program knows read
    MORE_OPTIONS_NO_KEY,    // the key could not be opened (or does not exist, for a read-only look)
    MORE_OPTIONS_MISSING,   // no "MoreOptions" value
    MORE_OPTIONS_MALFORMED, // another type, or a size its layout does not have
};

// Reads "MoreOptions"; readOnly as for ReadStoredOptions.
MoreOptionsReadResult ReadStoredMoreOptions(MoreOptions* more, bool readOnly);
// Writes "MoreOptions" with this program's layout number, or over a stored later layout
// only the bytes this program knows; "Options" and "Version" are left alone.
StoreWriteResult WriteStoredMoreOptions(const MoreOptions* more);

// The program's own load and save: a missing, old or unreadable store is
// replaced by the defaults, which are written back.
void LoadOptions(SwitcherOptions* record);
void SaveOptions(const SwitcherOptions* record);
// The same for the second value, on its own: a missing or malformed one is replaced by
// its defaults, one of layout 1 is rewritten in this layout, one of a later layout is
// left alone, and the record is not touched. Called after LoadOptions, which has
// already told the user when the key cannot be opened.
void LoadMoreOptions(MoreOptions* more);

// Writes the program's path, quoted, as the Run value; a path whose quoted form
// does not fit whole, or an empty one, leaves the value as it is.
void RegisterStartAtLogon(const wchar_t* path);
// Registers the program that owns this window (its executable's path) to start
// at log-on; at start-up and at every reload, so a moved program follows. When
// the path cannot be read whole, the value is left as it is.
void RenewStartAtLogon(HWND window);
// Test seam: the count of the buffer that the program's path is read into, at
// most MAX_PROGRAM_PATH. A test makes it shorter than its own path to see what
// a path too long for the buffer does, which a real one cannot show under Wine.
extern size_t programPathCount;

// The two lists of program patterns, REG_MULTI_SZ values under the settings key.
#define ZEPHTAB_EXCLUDE_VALUE L"Exclude"
#define ZEPHTAB_PASS_THROUGH_VALUE L"PassThrough"
// Reads one list for what is sound in it (see ReadPatternList) and returns the
// problems found; a missing value or key is an empty list without problems
// (*present false). readOnly as for ReadStoredOptions.
unsigned ReadStoredPatternList(const wchar_t* valueName, ProgramPatternList* list, bool readOnly,
                               bool* present);
// Writes one list whole; the other values are left alone.
StoreWriteResult WriteStoredPatternList(const wchar_t* valueName, const ProgramPatternList& list);
// The program's load of both lists, at start-up and at every reload. Nothing is
// written back: a malformed value stays for the user to see and mend.
void LoadProgramPatterns();

// Removes the Run value when it starts this program file (quoted or bare); one
// that names another copy is left alone. At start-up and reload with
// startAtLogOn off.
void RemoveStartAtLogon(HWND window);
