// Display of the selected entry: highlight, texts, icon or live preview.
#pragma once
#include <windows.h>

extern bool previewPending; // a live capture for the current selection is awaited

// Shows the entry at index (the caller has stored it in selectedIndex); an index
// outside the list changes nothing.
void ShowSelection(int index);
// The window shown selected stays selected at index of a changed list: only its
// highlight and its place are shown again; its title, preview and figures stand.
void ShowSelectedPlace(int index);
// The typed text kept no window: the title says so, and nothing is previewed.
void ShowNoMatch();
// WM_TIMER with TIMER_PREVIEW: the one-shot delay is over.
void OnPreviewTimer(HWND window);
// Renders the selected window, scaled and centred, into the preview square.
void CaptureLivePreview();
