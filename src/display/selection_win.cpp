#include "display/selection_win.h"

bool previewPending;

void ShowSelection(int) {}
void OnPreviewTimer(HWND) {}
void CaptureLivePreview() {}
