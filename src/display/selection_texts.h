// The texts shown for the current selection: fixed-capacity UTF-16 buffers,
// emptied together before each selection. Portable.
#pragma once
#include <cstddef>

#include "display/switcher_layout.h"

struct SelectionTextsRecord {
    wchar_t titleText[1024];
    wchar_t windowHandleText[256];
    wchar_t processIdText[256];
    wchar_t handlesText[256];
    wchar_t gdiObjectsText[256];
    wchar_t userObjectsText[256];
    wchar_t ioReadsText[256];
    wchar_t ioWritesText[256];
    wchar_t priorityText[256];
    wchar_t modulePathText[260];
    wchar_t positionText[32];
    wchar_t memoryText[256];
};

extern SelectionTextsRecord SelectionTexts;

void EmptySelectionTexts();

// The text of SelectionTexts that a row of the process panel shows.
const wchar_t* PanelValueText(PanelValue value);
