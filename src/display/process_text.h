// Formatting of the texts shown beside the panel labels and of the position
// text. Every function writes a zero-terminated text into a fixed buffer of
// count UTF-16 units, cuts what does not fit, and returns the number of units
// written before the terminator. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

// Priority class values as the system reports them.
constexpr uint32_t PRIORITY_NORMAL = 0x20;
constexpr uint32_t PRIORITY_IDLE = 0x40;
constexpr uint32_t PRIORITY_HIGH = 0x80;
constexpr uint32_t PRIORITY_REALTIME = 0x100;
constexpr uint32_t PRIORITY_BELOW_NORMAL = 0x4000;
constexpr uint32_t PRIORITY_ABOVE_NORMAL = 0x8000;

// The mark shown instead of the process id when the process cannot be opened.
constexpr wchar_t PROCESS_FAILURE_MARK[] = L"- -";

size_t CopyText(wchar_t* buffer, size_t count, const wchar_t* text);

// ": " and the value in signed decimal, as wsprintfW's ": %d".
size_t FormatColonDecimal(wchar_t* buffer, size_t count, int32_t value);
// ": " and the value in upper-case hexadecimal without leading zeros, as ": %X".
size_t FormatColonHex(wchar_t* buffer, size_t count, uint64_t value);
// ": " and the full unsigned 64-bit value in decimal.
size_t FormatColonUnsigned64(wchar_t* buffer, size_t count, uint64_t value);
// ": %d/%d" with the 1-based position and the count.
size_t FormatPositionText(wchar_t* buffer, size_t count, int32_t position, int32_t total);

// Working-set size in powers of 1000: ": 999", ": 1.000 k", ": 1.000 M", ": 1.000 G".
size_t FormatMemoryText(wchar_t* buffer, size_t count, uint64_t bytes);

// ": Normal", ": Idle", ... or ": Unknown" for any value not in the table.
const wchar_t* PriorityClassText(uint32_t priorityClass);

// The three object texts: GDI objects, USER objects and, under "Handles", their sum.
struct GuiObjectTexts {
    wchar_t* handles;
    size_t handlesCount;
    wchar_t* gdiObjects;
    size_t gdiObjectsCount;
    wchar_t* userObjects;
    size_t userObjectsCount;
};
void FormatGuiObjectTexts(const GuiObjectTexts& texts, uint32_t gdiObjects, uint32_t userObjects);

// Read and write operation counts; null counts (the query failed) leave both texts empty.
struct IoOperationCounts {
    uint64_t reads;
    uint64_t writes;
};
void FormatIoTexts(wchar_t* reads, size_t readsCount, wchar_t* writes, size_t writesCount,
                   const IoOperationCounts* counts);
