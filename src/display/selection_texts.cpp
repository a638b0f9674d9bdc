#include "display/selection_texts.h"

#include <cstring>

SelectionTextsRecord SelectionTexts;

void EmptySelectionTexts() {
    std::memset(&SelectionTexts, 0, sizeof(SelectionTexts));
}
