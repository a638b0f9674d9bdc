// Display of the selected entry: highlight, texts, icon or live preview.
#pragma once
#include <windows.h>

extern bool previewPending;

void ShowSelection(int index);
void OnPreviewTimer(HWND window);
void CaptureLivePreview();
