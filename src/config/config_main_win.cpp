// zephtab-config: shows and changes Zephtab's settings from the command line.
// The record and its store are the program's own; the table of its fields with
// their meanings (option_fields), the report (option_report), the command line
// and its texts (config_command_line) are the tools'.
#include <windows.h>

#include <string>
#include <vector>

#include "base/count_of.h"
#include "config_command_line.h"
#include "option_fields.h"
#include "option_report.h"
#include "settings/settings_store_win.h"
#include "settings_tool_win.h"

namespace {

enum ExitStatus {
    EXIT_DONE = 0,
    EXIT_BAD_INPUT = 1,
    EXIT_STORE_FAILED = 2,
    EXIT_NOT_RELOADED = 3,
};

static_assert(CONFIG_USAGE_CAPACITY <= REPORT_TEXT_CAPACITY, "WriteText takes the usage whole");

// A console gets UTF-16 through WriteConsoleW; a pipe or file gets UTF-8 with CRLF line ends.
void WriteText(DWORD streamId, const char* text) {
    HANDLE stream = GetStdHandle(streamId);
    if (!stream || stream == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(stream, &mode)) {
        static wchar_t wide[2 * REPORT_TEXT_CAPACITY];
        int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, CountOf(wide));
        if (length > 1)
            WriteConsoleW(stream, wide, static_cast<DWORD>(length - 1), &written, nullptr);
        return;
    }
    static char bytes[2 * REPORT_TEXT_CAPACITY];
    size_t count = 0;
    for (const char* c = text; *c && count + 2 < sizeof(bytes); ++c) {
        if (*c == '\n')
            bytes[count++] = '\r';
        bytes[count++] = *c;
    }
    WriteFile(stream, bytes, static_cast<DWORD>(count), &written, nullptr);
}

void PrintOut(const char* text) {
    WriteText(STD_OUTPUT_HANDLE, text);
}

int Fail(int status, const char* message) {
    char text[CONFIG_TEXT_CAPACITY + 64];
    TextSink sink = StartText(text, sizeof(text));
    AppendText(&sink, "zephtab-config: %s\n", message);
    WriteText(STD_ERROR_HANDLE, text);
    return status;
}

int FailUnreadable() {
    char message[256];
    TextSink sink = StartText(message, sizeof(message));
    AppendText(&sink, "cannot read the settings: the key %s cannot be opened",
               ZEPHTAB_SETTINGS_KEY_NAME);
    return Fail(EXIT_STORE_FAILED, message);
}

int FailBadInput(const ConfigParse& parse, int count, const char* const* arguments) {
    char problem[CONFIG_TEXT_CAPACITY];
    FormatConfigProblem(parse, count, arguments, problem, sizeof(problem));
    char message[CONFIG_TEXT_CAPACITY + 64];
    TextSink sink = StartText(message, sizeof(message));
    AppendText(&sink, "%s\nNothing was written. Run zephtab-config --help for the usage.", problem);
    return Fail(EXIT_BAD_INPUT, message);
}

// The lists of program patterns: "exclude" and "passThrough", each with add, remove and list.
struct PatternListCommand {
    const wchar_t* word;
    const wchar_t* value;
};
const PatternListCommand kPatternLists[] = {{L"exclude", ZEPHTAB_EXCLUDE_VALUE},
                                            {L"passThrough", ZEPHTAB_PASS_THROUGH_VALUE}};
void PrintPatternList(const PatternListCommand& list, bool withName);
std::string PatternListsJson();

int RunShow(bool json) {
    SettingsReport report;
    GatherSettingsReport(&report);
    if (report.store == STORE_STATE_UNREADABLE)
        return FailUnreadable();
    char text[REPORT_TEXT_CAPACITY];
    if (json) {
        FormatShowJson(report, text, sizeof(text));
        // The report's object ends with its field list: the two lists join it there.
        std::string object = text;
        const std::string end = "  ]\n}\n";
        if (object.size() >= end.size() &&
            object.compare(object.size() - end.size(), end.size(), end) == 0)
            object = object.substr(0, object.size() - 3) + ",\n" + PatternListsJson() + "}\n";
        PrintOut(object.c_str());
        return EXIT_DONE;
    }
    FormatShowText(report, text, sizeof(text));
    PrintOut(text);
    for (const PatternListCommand& list : kPatternLists)
        PrintPatternList(list, true);
    return EXIT_DONE;
}

int RunGet(int field, bool json) {
    SettingsReport report;
    GatherSettingsReport(&report);
    if (report.store == STORE_STATE_UNREADABLE)
        return FailUnreadable();
    uint8_t value = GetOptionByte(&report.settings, field);
    char text[512];
    if (json)
        FormatGetJson(field, value, FieldShowsDefault(report, field), text, sizeof(text));
    else
        FormatGetText(field, value, text, sizeof(text));
    PrintOut(text);
    return EXIT_DONE;
}

int FailStoring(StoreWriteResult result) {
    char message[256];
    TextSink sink = StartText(message, sizeof(message));
    AppendText(&sink, "cannot store the settings: %s %s",
               result == STORE_KEY_FAILED ? "the key cannot be opened or created:"
                                          : "a value cannot be written under",
               ZEPHTAB_SETTINGS_KEY_NAME);
    return Fail(EXIT_STORE_FAILED, message);
}

// Writes the values named: the record with "Version", the second value, or both.
int StoreSettings(const StoredSettings* settings, bool record, bool more) {
    StoreWriteResult result = STORE_WRITTEN;
    if (record)
        result = WriteStoredOptions(&settings->options);
    if (more && result == STORE_WRITTEN)
        result = WriteStoredMoreOptions(&settings->more);
    return result == STORE_WRITTEN ? EXIT_DONE : FailStoring(result);
}

int ReportReload(ReloadOutcome outcome, bool requested) {
    switch (outcome) {
    case RELOAD_ANSWERED:
        PrintOut("Zephtab reloaded the settings.\n");
        return EXIT_DONE;
    case RELOAD_NOT_RUNNING:
        if (requested)
            return Fail(EXIT_NOT_RELOADED,
                        "Zephtab is not running (no window of class gZephtab): nothing to reload.");
        PrintOut("Zephtab is not running; it reads the settings when it starts.\n");
        return EXIT_DONE;
    case RELOAD_NO_ANSWER:
        break;
    }
    return Fail(EXIT_NOT_RELOADED, requested
                                       ? "Zephtab did not answer the reload message."
                                       : "the settings are stored, but Zephtab did not answer the "
                                         "reload message; it reads them at its next start.");
}

int ReloadAfterStoring(bool noReload) {
    if (noReload) {
        PrintOut("Zephtab was not told to reload (--no-reload); it reads the settings at its next "
                 "start or reload.\n");
        return EXIT_DONE;
    }
    return ReportReload(SendReloadToZephtab(), false);
}

// Only the values that hold a named setting are written: a set of openOn leaves the
// record as it is, and a set of the record's settings leaves "MoreOptions" alone.
int RunSet(const OptionChanges* changes, bool noReload) {
    StoredSettings settings;
    DWORD version = 0;
    DWORD storedLength = 0;
    if (ReadOptionsForEditing(&settings.options, &version, &storedLength) == STORE_STATE_UNREADABLE)
        return FailUnreadable();
    ReadMoreOptionsForEditing(&settings.more);
    ApplyOptionChanges(changes, &settings);
    int status = StoreSettings(&settings, ChangesStore(changes, IN_OPTIONS),
                               ChangesStore(changes, IN_MORE_OPTIONS));
    if (status != EXIT_DONE)
        return status;
    for (int field = 0; field < OPTION_FIELD_COUNT; ++field) {
        if (!changes->given[field])
            continue;
        char line[256];
        FormatOptionLine(field, GetOptionByte(&settings, field), line, sizeof(line));
        char text[300];
        TextSink sink = StartText(text, sizeof(text));
        AppendText(&sink, "Stored %s\n", line);
        PrintOut(text);
    }
    return ReloadAfterStoring(noReload);
}

int RunReset(bool noReload) {
    StoredSettings settings;
    SetDefaultSettings(&settings);
    int status = StoreSettings(&settings, true, true);
    if (status != EXIT_DONE)
        return status;
    char text[160];
    FormatDefaultsStored(text, sizeof(text));
    PrintOut(text);
    return ReloadAfterStoring(noReload);
}

std::string Utf8(const wchar_t* text) {
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], length, nullptr, nullptr);
    result.resize(static_cast<size_t>(length - 1));
    return result;
}

struct PatternProblemText {
    unsigned bit;
    const char* name; // in --json
    const char* text;
};
const PatternProblemText kProblemTexts[] = {
    {PATTERNS_WRONG_TYPE, "wrongType", "the value is not REG_MULTI_SZ"},
    {PATTERNS_UNTERMINATED, "unterminated", "the value lacks its terminators"},
    {PATTERNS_TOO_MANY, "tooMany", "patterns past the 64th are ignored"},
    {PATTERNS_EMPTY_ENTRY, "emptyEntry", "empty entries are ignored"},
    {PATTERNS_LONG_ENTRY, "longEntry", "entries over 260 characters are ignored"},
};

void PrintProblems(unsigned problems) {
    for (const auto& entry : kProblemTexts) {
        if (!(problems & entry.bit))
            continue;
        char text[128];
        TextSink sink = StartText(text, sizeof(text));
        AppendText(&sink, "  note: %s\n", entry.text);
        PrintOut(text);
    }
}

void PrintPatternList(const PatternListCommand& list, bool withName) {
    ProgramPatternList patterns = {};
    bool present = false;
    const unsigned problems = ReadStoredPatternList(list.value, &patterns, true, &present);
    if (withName)
        PrintOut(
            (Utf8(list.word) + ": " + std::to_string(patterns.count) + " pattern(s)\n").c_str());
    for (int i = 0; i < patterns.count; ++i)
        PrintOut(((withName ? "  " : "") + Utf8(patterns.patterns[i]) + "\n").c_str());
    PrintProblems(problems);
}

std::string JsonString(const std::string& utf8) {
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            TextSink sink = StartText(escaped, sizeof(escaped));
            AppendText(&sink, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// "  "exclude": {"patterns": [...], "problems": [...]},\n  "passThrough": ...\n"
std::string PatternListsJson() {
    std::string json;
    for (size_t i = 0; i < CountOf(kPatternLists); ++i) {
        ProgramPatternList patterns = {};
        bool present = false;
        const unsigned problems =
            ReadStoredPatternList(kPatternLists[i].value, &patterns, true, &present);
        json += "  " + JsonString(Utf8(kPatternLists[i].word)) + ": {\"patterns\": [";
        for (int p = 0; p < patterns.count; ++p)
            json += (p ? ", " : "") + JsonString(Utf8(patterns.patterns[p]));
        json += "], \"problems\": [";
        bool first = true;
        for (const auto& entry : kProblemTexts) {
            if (!(problems & entry.bit))
                continue;
            json += (first ? "\"" : ", \"") + std::string(entry.name) + "\"";
            first = false;
        }
        json += i + 1 < CountOf(kPatternLists) ? "]},\n" : "]}\n";
    }
    return json;
}

int RunPatternCommand(const PatternListCommand& list, int argc, wchar_t** argv) {
    const std::wstring action = argc > 2 ? argv[2] : L"";
    if (action == L"list" && argc == 3) {
        PrintPatternList(list, false);
        return EXIT_DONE;
    }
    if ((action != L"add" && action != L"remove") || argc != 4)
        return Fail(EXIT_BAD_INPUT, ("usage: zephtab-config " + Utf8(list.word) +
                                     " add PATTERN | remove PATTERN | list")
                                        .c_str());
    ProgramPatternList patterns = {};
    bool present = false;
    ReadStoredPatternList(list.value, &patterns, true, &present);
    const wchar_t* pattern = argv[3];
    if (action == L"add") {
        if (!IsStorablePattern(pattern))
            return Fail(EXIT_BAD_INPUT, "a pattern has 1 to 260 characters and no control "
                                        "characters; nothing was written");
        if (FindPattern(patterns, pattern) >= 0) {
            PrintOut((Utf8(pattern) + " is already in " + Utf8(list.word) + "\n").c_str());
            return EXIT_DONE;
        }
        if (!AddPattern(&patterns, pattern))
            return Fail(EXIT_BAD_INPUT, "the list holds 64 patterns already; nothing was written");
    } else if (!RemovePattern(&patterns, pattern)) {
        return Fail(
            EXIT_BAD_INPUT,
            (Utf8(pattern) + " is not in " + Utf8(list.word) + "; nothing was written").c_str());
    }
    const StoreWriteResult result = WriteStoredPatternList(list.value, patterns);
    if (result != STORE_WRITTEN)
        return FailStoring(result);
    PrintOut(
        ("Stored " + Utf8(list.word) + " with " + std::to_string(patterns.count) + " pattern(s)\n")
            .c_str());
    return ReloadAfterStoring(false);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    for (const PatternListCommand& list : kPatternLists)
        if (argc > 1 && lstrcmpiW(argv[1], list.word) == 0)
            return RunPatternCommand(list, argc, argv);
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i)
        texts.push_back(Utf8(argv[i]));
    std::vector<const char*> arguments;
    arguments.reserve(texts.size());
    for (const std::string& text : texts)
        arguments.push_back(text.c_str());
    const int count = static_cast<int>(arguments.size());

    ConfigRequest request;
    ConfigParse parse = ParseConfigCommandLine(count, arguments.data(), &request);
    if (parse.problem != CONFIG_OK)
        return FailBadInput(parse, count, arguments.data());
    switch (request.command) {
    case CONFIG_HELP: {
        char usage[CONFIG_USAGE_CAPACITY];
        FormatConfigUsage(usage, sizeof(usage));
        PrintOut(usage);
        return EXIT_DONE;
    }
    case CONFIG_SHOW:
        return RunShow(request.json);
    case CONFIG_GET:
        return RunGet(request.field, request.json);
    case CONFIG_SET:
        return RunSet(&request.changes, request.noReload);
    case CONFIG_RESET:
        return RunReset(request.noReload);
    case CONFIG_RELOAD:
        return ReportReload(SendReloadToZephtab(), true);
    }
    return EXIT_BAD_INPUT;
}
