#include "display/selection_texts.h"

#include <cstring>

SelectionTextsRecord SelectionTexts;

void EmptySelectionTexts() {
    std::memset(&SelectionTexts, 0, sizeof(SelectionTexts));
}

const wchar_t* PanelValueText(PanelValue value) {
    switch (value) {
    case PANEL_WINDOW_HANDLE:
        return SelectionTexts.windowHandleText;
    case PANEL_PROCESS_ID:
        return SelectionTexts.processIdText;
    case PANEL_MEMORY:
        return SelectionTexts.memoryText;
    case PANEL_PRIORITY:
        return SelectionTexts.priorityText;
    case PANEL_HANDLES:
        return SelectionTexts.handlesText;
    case PANEL_GDI_OBJECTS:
        return SelectionTexts.gdiObjectsText;
    case PANEL_USER_OBJECTS:
        return SelectionTexts.userObjectsText;
    case PANEL_IO_READS:
        return SelectionTexts.ioReadsText;
    case PANEL_IO_WRITES:
        return SelectionTexts.ioWritesText;
    case PANEL_POSITION:
        return SelectionTexts.positionText;
    }
    return L"";
}
