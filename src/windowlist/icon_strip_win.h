// The grid of icons, one per listed window, in a list-view control.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND IconStrip;
extern HIMAGELIST StripImageList; // owned here; at most one at a time

// The strip's place in the switcher and its sizes, at the DPI in use.
struct StripScale {
    RECT place;
    int largeIcon; // the images' size, or smallIcon with smallIcons set
    int smallIcon;
    int largeSpacing; // the grid's, chosen by smallIcons at creation and at every reload
    int smallSpacing;
    int selectionMargin; // the highlight behind the selected icon reaches this far around it
    int selectionFrame;  // and is framed this thick
};

// Created without a place: ScaleIconStrip gives it one.
HWND CreateIconStrip(HWND parent);
// Moves the strip and sets its spacing and the size of the next fill's images;
// nothing when the strip has these already.
void ScaleIconStrip(HWND strip, const StripScale& scale);
// Spaces the grid for the icon size smallIcons asks for; at creation and at every reload.
void ApplyStripIconSpacing(HWND strip);
// The size of the images of the next fill, and of the program-file icons made for
// them: the one place that says it.
int StripIconSize();
// Fills the emptied strip from WindowList: image i is entry i's icon, item i shows it.
BOOL FillIconStrip(HWND strip);
// After a refresh of two or more windows: deselects every item, then deletes and
// fills them again unless the strip already shows the entries' icons in order.
// With keepKnownIcons, a window the last fill asked for its icon (a moment ago,
// in the same open) keeps that icon and is not asked again.
void RefillIconStrip(HWND strip, bool keepKnownIcons);
// The icon the switcher shows for a window. Borrowed: it belongs to the window, its
// class or the system (the fallback is a shared icon), so callers never destroy it.
HICON LookupWindowIcon(HWND window);
// The same rule for the large icon whatever smallIcons says: the preview square's.
HICON LookupLargeWindowIcon(HWND window);
// Scrolls the item fully into view and makes it the one selected item.
void HighlightStripItem(HWND strip, int index);
// Draws the selected item itself: a highlight in the switcher's colours behind
// its icon, which stays as it is (the list view would wash it out in blue).
// Answers the strip's NM_CUSTOMDRAW.
LRESULT DrawIconStripItem(NMLVCUSTOMDRAW* draw);
// Replaces the items by count items, item i showing image images[i] of the
// images the last fill made: the typed text narrows the strip without a new image
// list. shownImages: the image each item shows now, so that the strip is not asked.
void ShowStripItems(HWND strip, const int* images, int count, const int* shownImages);
// Removes item index and its image; the later items move up one place and keep
// showing their own images.
void RemoveStripItem(HWND strip, int index);
// Detaches the image list from the strip and destroys it; harmless when none is
// held. The program-file icons it showed may then give way to others.
void DestroyStripImageList();
// Destroys the strip's own fallback icon; at shutdown.
void ReleaseIconStrip();
