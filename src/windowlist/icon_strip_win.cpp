#include "windowlist/icon_strip_win.h"

#include "base/program_handles_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "windowlist/program_icons_win.h"
#include "windowlist/window_list_win.h"
#include "windowlist/window_probe_win.h"

HWND IconStrip;
HIMAGELIST StripImageList;

namespace {

constexpr DWORD kStripStyle = WS_CHILD | WS_VISIBLE | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ICON;
static_assert(kStripStyle == 0x5000000C, "icon view, one selection, highlight kept without focus");
static_assert(ILC_COLOR32 == 0x20 && ILC_MASK == 0x1, "32-bit images with a mask");
static_assert(static_cast<UINT>(~LVIS_SELECTED) == 0xFFFFFFFDu, "deselecting state value");

StripScale stripScale;
// Whether the grid is spaced for small icons: smallIcons at creation or the last reload.
bool smallSpacing;
// The program's generic window icon at the large size of the DPI in use, when
// that is not the size of the system's shared copy (the system DPI's); owned here.
HICON fallbackIcon;
int fallbackIconSize;

LPARAM StripIconSpacing() {
    const int spacing = smallSpacing ? stripScale.smallSpacing : stripScale.largeSpacing;
    return MAKELPARAM(spacing, spacing);
}

bool SameScale(const StripScale& a, const StripScale& b) {
    return EqualRect(&a.place, &b.place) && a.largeIcon == b.largeIcon &&
           a.smallIcon == b.smallIcon && a.largeSpacing == b.largeSpacing &&
           a.smallSpacing == b.smallSpacing && a.selectionMargin == b.selectionMargin &&
           a.selectionFrame == b.selectionFrame;
}

// The switcher's own colours: its dark blue backdrop, framed in its orange accent.
constexpr COLORREF kSelectionFill = RGB(0, 51, 153);
constexpr COLORREF kSelectionFrame = RGB(255, 153, 0);

void FillWithColour(HDC dc, const RECT& rect, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// WM_GETICON with a time-out: a hung application must not hold up the switcher.
// Returns false when the window did not answer (hung, gone or too slow). A hung
// window is not asked at all, as SMTO_ABORTIFHUNG would do, but that flag makes
// every call several times slower, and an open asks every listed window.
bool QueryWindowIcon(HWND window, WPARAM kind, HICON* icon) {
    DWORD_PTR result = 0;
    if (IsHungAppWindow(window) || !SendMessageTimeoutW(window, WM_GETICON, kind, 0, SMTO_NORMAL,
                                                        WINDOW_ANSWER_TIMEOUT_MS, &result)) {
        *icon = nullptr;
        return false;
    }
    *icon = reinterpret_cast<HICON>(result);
    return true;
}

HICON ClassIcon(HWND window, int index) {
    return reinterpret_cast<HICON>(static_cast<ULONG_PTR>(GetClassLongPtrW(window, index)));
}

// The icon each image was made from, item by item, and the window it was asked
// of (the owner for an owned entry): one process-heap block, icons first. With
// the image size then: what the strip shows, to compare with a later refresh.
HICON* stripIcons;
HWND* stripSources;
int stripIconCount;
int stripImageSize;

void FreeIcons(HICON* icons) {
    if (icons)
        HeapFree(GetProcessHeap(), 0, icons);
}

HWND IconSourceOf(const WindowEntry& entry) {
    return entry.owner ? entry.owner : entry.window;
}

// Where the strip's icons of the last fill hold this window's: at the place
// looked at first (a list taken again mostly keeps its order), else anywhere;
// -1 when the last fill did not ask this window.
int KnownIconIndex(HWND source, int first) {
    if (first >= 0 && first < stripIconCount && stripSources[first] == source)
        return first;
    for (int i = 0; i < stripIconCount; ++i)
        if (stripSources[i] == source)
            return i;
    return -1;
}

// A window the strip's last fill asked keeps the icon it gave then, while the
// images are still of the size in use.
bool KeepsKnownIcons(bool keepKnown) {
    return keepKnown && stripIcons && stripImageSize == StripIconSize();
}

// The icon of each entry of WindowList as the strip shows it: the owner's when
// there is one. With keepKnown, windows the strip's last fill asked are not
// asked again. Null when the heap refuses; the strip then shows the fallback.
HICON* LookupEntryIcons(bool keepKnown) {
    if (windowCount <= 0)
        return nullptr;
    const SIZE_T count = static_cast<SIZE_T>(windowCount);
    HICON* icons =
        static_cast<HICON*>(HeapAlloc(GetProcessHeap(), 0, count * (sizeof(HICON) + sizeof(HWND))));
    if (!icons)
        return nullptr;
    HWND* sources = reinterpret_cast<HWND*>(icons + count);
    const bool keep = KeepsKnownIcons(keepKnown);
    int expected = 0;
    for (int i = 0; i < windowCount; ++i) {
        sources[i] = IconSourceOf(WindowList[i]);
        const int known = keep ? KnownIconIndex(sources[i], expected) : -1;
        icons[i] = known >= 0 ? stripIcons[known] : LookupWindowIcon(sources[i]);
        // A window that came in between takes no place of the last fill.
        if (known >= 0)
            expected = known + 1;
    }
    return icons;
}

HICON FallbackIcon() {
    const int size = stripScale.largeIcon;
    if (size == 0 || size == GetSystemMetrics(SM_CXICON))
        return LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW));
    if (fallbackIcon && fallbackIconSize == size)
        return fallbackIcon;
    ReleaseIconStrip();
    fallbackIcon = static_cast<HICON>(LoadImageW(
        programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW), IMAGE_ICON, size, size, 0));
    fallbackIconSize = size;
    return fallbackIcon;
}

HICON IconOfEntry(const HICON* icons, int index) {
    return icons ? icons[index] : FallbackIcon();
}

bool StripShowsIcons(HWND strip, const HICON* icons) {
    if (!StripImageList || !icons || !stripIcons || stripImageSize != StripIconSize() ||
        stripIconCount != windowCount ||
        SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0) != static_cast<LRESULT>(windowCount))
        return false;
    for (int i = 0; i < windowCount; ++i)
        if (icons[i] != stripIcons[i])
            return false;
    return true;
}

int EarlierIndexOf(const HICON* icons, int count, HICON icon) {
    for (int i = 0; i < count; ++i)
        if (icons[i] == icon)
            return i;
    return -1;
}

// The strip's pictures, premultiplied, for drawing with one blend each: the image
// list draws an image through a bitmap and a device context made and destroyed
// for every call, the greater part of a page's drawing. One cell per distinct
// icon, made the first time an item shows it: the image drawn on black (the
// colours, premultiplied) in the left column, and on white in the right one, a
// scratch from which the coverage of each pixel is read, whether the image has
// an alpha channel or a mask.
HDC sheetDc;
HBITMAP sheetBitmap;
HGDIOBJ sheetOldBitmap;
DWORD* sheetBits; // top-down, two cells wide
int sheetCellSize;
int sheetImageCount;
int sheetCellCount;
// Per image: its cell; per cell: the image it is made from and whether it is made.
// One process-heap block, stripIconCount images long.
int* cellOfImage;
int* imageOfCell;
bool* cellMade;

void DestroyPictureSheet() {
    if (sheetDc) {
        SelectObject(sheetDc, sheetOldBitmap);
        DeleteDC(sheetDc);
    }
    if (sheetBitmap)
        DeleteObject(sheetBitmap);
    if (cellOfImage)
        HeapFree(GetProcessHeap(), 0, cellOfImage);
    sheetDc = nullptr;
    sheetBitmap = nullptr;
    sheetOldBitmap = nullptr;
    sheetBits = nullptr;
    cellOfImage = nullptr;
    imageOfCell = nullptr;
    cellMade = nullptr;
    sheetImageCount = 0;
    sheetCellCount = 0;
}

bool CreateSheetBitmap(int size, int cells) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 2 * size;
    info.bmiHeader.biHeight = -size * cells;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    sheetDc = CreateCompatibleDC(nullptr);
    sheetBitmap =
        sheetDc ? CreateDIBSection(sheetDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!sheetBitmap)
        return false;
    sheetBits = static_cast<DWORD*>(bits);
    sheetOldBitmap = SelectObject(sheetDc, sheetBitmap);
    return true;
}

// Images that show the same icon share a cell, as they share a picture.
void MakePictureSheet(const HICON* icons, int count, int size) {
    DestroyPictureSheet();
    if (count <= 0 || size <= 0)
        return;
    const SIZE_T n = static_cast<SIZE_T>(count);
    char* block = static_cast<char*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, n * (2 * sizeof(int) + sizeof(bool))));
    if (!block)
        return;
    cellOfImage = reinterpret_cast<int*>(block);
    imageOfCell = cellOfImage + n;
    cellMade = reinterpret_cast<bool*>(imageOfCell + n);
    int cells = 0;
    for (int i = 0; i < count; ++i) {
        const int earlier = icons ? EarlierIndexOf(icons, i, icons[i]) : (i > 0 ? 0 : -1);
        if (earlier >= 0) {
            cellOfImage[i] = cellOfImage[earlier];
            continue;
        }
        imageOfCell[cells] = i;
        cellOfImage[i] = cells++;
    }
    sheetCellSize = size;
    sheetImageCount = count;
    sheetCellCount = cells;
    if (!CreateSheetBitmap(size, cells))
        DestroyPictureSheet();
}

// Draws the cell's image on black and on white; where the two differ, the image
// let the background through.
void MakeCell(int cell) {
    const int size = sheetCellSize;
    const int width = 2 * size;
    DWORD* rows = sheetBits + static_cast<SIZE_T>(cell) * size * width;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            rows[y * width + x] = 0;
            rows[y * width + size + x] = 0xFFFFFFFFu;
        }
    const int image = imageOfCell[cell];
    ImageList_Draw(StripImageList, image, sheetDc, 0, cell * size, ILD_NORMAL);
    ImageList_Draw(StripImageList, image, sheetDc, size, cell * size, ILD_NORMAL);
    GdiFlush();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const DWORD onBlack = rows[y * width + x] & 0x00FFFFFFu;
            const DWORD onWhite = rows[y * width + size + x];
            const int through = static_cast<int>(onWhite & 0xFF) - static_cast<int>(onBlack & 0xFF);
            const DWORD alpha = static_cast<DWORD>(255 - (through < 0 ? 0 : through));
            rows[y * width + x] = (alpha << 24) | onBlack;
        }
    cellMade[cell] = true;
}

// Image index leaves the image list: the later images move up one place, and a
// cell not made yet from that image is made now, while the image is there.
void RemoveSheetImage(int index) {
    if (!sheetDc || index < 0 || index >= sheetImageCount)
        return;
    const int cell = cellOfImage[index];
    if (!cellMade[cell] && imageOfCell[cell] == index)
        MakeCell(cell);
    for (int i = index; i + 1 < sheetImageCount; ++i)
        cellOfImage[i] = cellOfImage[i + 1];
    --sheetImageCount;
    for (int c = 0; c < sheetCellCount; ++c)
        if (!cellMade[c] && imageOfCell[c] > index)
            --imageOfCell[c];
}

// Draws image at (x, y) with one blend from its cell; false when there is no
// sheet to draw from.
bool DrawFromSheet(HDC dc, int image, int x, int y) {
    if (!sheetDc || image < 0 || image >= sheetImageCount)
        return false;
    const int cell = cellOfImage[image];
    if (!cellMade[cell])
        MakeCell(cell);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return GdiAlphaBlend(dc, x, y, sheetCellSize, sheetCellSize, sheetDc, 0, cell * sheetCellSize,
                         sheetCellSize, sheetCellSize, blend) != FALSE;
}

// Where an item's image goes: centred in its icon rectangle, as the selected one's
// highlight is. False when the strip gives no rectangles for the item.
bool ItemImagePlace(int item, POINT* place, RECT* bounds) {
    RECT icon = {};
    icon.left = LVIR_ICON;
    bounds->left = LVIR_BOUNDS;
    if (!SendMessageW(IconStrip, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon)) ||
        !SendMessageW(IconStrip, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(bounds)))
        return false;
    const int size = StripIconSize();
    place->x = icon.left + (icon.right - icon.left - size) / 2;
    place->y = icon.top + (icon.bottom - icon.top - size) / 2;
    return true;
}

// The image the item shows: its own entry's, or another's while a typed text
// narrows the strip.
int ItemImage(HWND strip, int index) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = -1;
    SendMessageW(strip, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

// The item's image, with the highlight under it when it is the selected one. The
// highlight stays inside the item's bounds, which the list view repaints when
// the item is deselected. The image alone is all an unselected item shows (it has
// no label): drawn here, it costs a fraction of the list view's own drawing.
void DrawStripItem(HDC dc, int item, bool selected) {
    POINT place = {};
    RECT bounds = {};
    if (!ItemImagePlace(item, &place, &bounds))
        return;
    if (selected) {
        const int size = StripIconSize();
        const int margin = stripScale.selectionMargin;
        RECT frame = {place.x - margin, place.y - margin, place.x + size + margin,
                      place.y + size + margin};
        IntersectRect(&frame, &frame, &bounds);
        FillWithColour(dc, frame, kSelectionFrame);
        RECT inside = frame;
        InflateRect(&inside, -stripScale.selectionFrame, -stripScale.selectionFrame);
        FillWithColour(dc, inside, kSelectionFill);
    }
    const int image = ItemImage(IconStrip, item);
    if (!DrawFromSheet(dc, image, place.x, place.y) && StripImageList && image >= 0)
        ImageList_Draw(StripImageList, image, dc, place.x, place.y, ILD_NORMAL);
}

// Image i is entry i's icon. Converting an icon is slow, so each distinct icon is
// converted once and later entries with the same icon get a copy of its image; an
// icon that cannot be converted (a window may answer with a destroyed one) gets the
// fallback in its place, so that no later image moves.
void AddEntryImages(const HICON* icons, int count) {
    ImageList_SetImageCount(StripImageList, static_cast<UINT>(count));
    for (int i = 0; i < count; ++i) {
        const HICON icon = IconOfEntry(icons, i);
        const int earlier = icons ? EarlierIndexOf(icons, i, icon) : (i > 0 ? 0 : -1);
        if (earlier >= 0)
            ImageList_Copy(StripImageList, i, StripImageList, earlier, ILCF_MOVE);
        else if (ImageList_ReplaceIcon(StripImageList, i, icon) < 0)
            ImageList_ReplaceIcon(StripImageList, i, FallbackIcon());
    }
}

void DestroyStripImages() {
    DestroyPictureSheet();
    FreeIcons(stripIcons);
    stripIcons = nullptr;
    stripSources = nullptr;
    stripIconCount = 0;
    if (!StripImageList)
        return;
    // Detached first: the strip destroys an attached list when it is itself destroyed.
    if (IconStrip)
        SendMessageW(IconStrip, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    ImageList_Destroy(StripImageList);
    StripImageList = nullptr;
}

// Takes over icons. The items go in with drawing off: each insertion into a
// shown strip would repaint it.
void FillIconStripWith(HWND strip, HICON* icons) {
    DestroyStripImages();
    const int size = StripIconSize();
    StripImageList = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
    AddEntryImages(icons, windowCount);
    MakePictureSheet(icons, windowCount, size);
    stripIcons = icons;
    stripSources = icons ? reinterpret_cast<HWND*>(icons + windowCount) : nullptr;
    stripIconCount = icons ? windowCount : 0;
    stripImageSize = size;
    SendMessageW(strip, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(StripImageList));
    SendMessageW(strip, WM_SETREDRAW, FALSE, 0);
    SendMessageW(strip, LVM_SETITEMCOUNT, windowCount, 0);
    for (int i = 0; i < windowCount; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        SendMessageW(strip, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(strip, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(strip, nullptr, TRUE);
}

void AddItemToRegion(HWND strip, int index, HRGN region);

// repaint, when given, gains the items deselected.
void DeselectStripItems(HWND strip, HRGN repaint = nullptr) {
    LVITEMW deselect = {};
    deselect.stateMask = LVIS_SELECTED;
    // Only the bits of stateMask are applied: the complement clears LVIS_SELECTED alone.
    deselect.state = ~static_cast<UINT>(LVIS_SELECTED);
    for (WPARAM item = SendMessageW(strip, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
         static_cast<int>(item) >= 0;
         item = SendMessageW(strip, LVM_GETNEXTITEM, item, LVNI_SELECTED)) {
        SendMessageW(strip, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&deselect));
        if (repaint)
            AddItemToRegion(strip, static_cast<int>(item), repaint);
    }
}

void SetItemImage(HWND strip, int index, int image) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    SendMessageW(strip, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// Images made from the same icon look alike: the item need not be painted again.
bool SameIcon(int image, int other) {
    return stripIcons && image >= 0 && other >= 0 && image < stripIconCount &&
           other < stripIconCount && stripIcons[image] == stripIcons[other];
}

void AddItemToRegion(HWND strip, int index, HRGN region) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (!region || !SendMessageW(strip, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&bounds)))
        return;
    HRGN item = CreateRectRgnIndirect(&bounds);
    if (!item)
        return;
    CombineRgn(region, region, item, RGN_OR);
    DeleteObject(item);
}

// Items first..last, places that follow each other in the grid's rows: the rows
// from first's to last's, whole but for what comes before first.
void AddItemRunToRegion(HWND strip, int first, int last, HRGN region) {
    RECT from = {}, to = {}, client = {};
    from.left = to.left = LVIR_BOUNDS;
    if (!region || !SendMessageW(strip, LVM_GETITEMRECT, first, reinterpret_cast<LPARAM>(&from)) ||
        !SendMessageW(strip, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&to)) ||
        !GetClientRect(strip, &client))
        return;
    HRGN run = CreateRectRgn(from.left, from.top, client.right, from.bottom);
    HRGN below = CreateRectRgn(client.left, from.bottom, client.right, to.bottom);
    if (run && below && CombineRgn(run, run, below, RGN_OR) != ERROR)
        CombineRgn(region, region, run, RGN_OR);
    if (run)
        DeleteObject(run);
    if (below)
        DeleteObject(below);
}

// Items first..count-1 go in at the end, then take the grid's next places.
void AppendStripItems(HWND strip, const int* images, int first, int count, HRGN repaint) {
    for (int i = first; i < count; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = images[i];
        SendMessageW(strip, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    // Items deleted from the end leave their places behind: the new ones fill them.
    SendMessageW(strip, LVM_ARRANGE, LVA_DEFAULT, 0);
    if (count > first)
        AddItemRunToRegion(strip, first, count - 1, repaint);
}

// While items are inserted, the list view draws nothing (each insertion into a
// shown strip would repaint it), and the window is hidden from drawing by the
// default handling of WM_SETREDRAW: the list view's handling of drawing back on
// sets its scroll bars, which paint themselves at once (about 8 ms each under
// Wine, changed or not), and asks for a whole repaint. The caller repaints what
// changed.
void HoldStripDrawing(HWND strip, bool hold) {
    if (hold) {
        SendMessageW(strip, WM_SETREDRAW, FALSE, 0);
        DefWindowProcW(strip, WM_SETREDRAW, FALSE, 0);
        return;
    }
    SendMessageW(strip, WM_SETREDRAW, TRUE, 0);
    DefWindowProcW(strip, WM_SETREDRAW, TRUE, 0);
    ValidateRect(strip, nullptr);
}

struct StripScrollRange {
    SCROLLINFO vertical, horizontal;
};

StripScrollRange ScrollRangeOf(HWND strip) {
    StripScrollRange range = {};
    range.vertical.cbSize = range.horizontal.cbSize = sizeof(SCROLLINFO);
    range.vertical.fMask = range.horizontal.fMask = SIF_ALL;
    GetScrollInfo(strip, SB_VERT, &range.vertical);
    GetScrollInfo(strip, SB_HORZ, &range.horizontal);
    return range;
}

bool SameScrollInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

// A scroll bar whose range or place changed while drawing was held is painted
// again, alone: the whole frame would cost several times more under Wine.
void ShowChangedScrollBars(HWND strip, const StripScrollRange& before) {
    StripScrollRange now = ScrollRangeOf(strip);
    if (!SameScrollInfo(before.vertical, now.vertical))
        SetScrollInfo(strip, SB_VERT, &now.vertical, TRUE);
    if (!SameScrollInfo(before.horizontal, now.horizontal))
        SetScrollInfo(strip, SB_HORZ, &now.horizontal, TRUE);
}

} // namespace

void ApplyStripIconSpacing(HWND strip) {
    smallSpacing = switcherOptions.smallIcons != 0;
    // A strip not placed yet gets its spacing with its place.
    if (strip && stripScale.largeSpacing)
        SendMessageW(strip, LVM_SETICONSPACING, 0, StripIconSpacing());
}

HWND CreateIconStrip(HWND parent) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    IconStrip = CreateWindowExW(0, WC_LISTVIEWW, L"", kStripStyle, 0, 0, 0, 0, parent, nullptr,
                                programInstance, nullptr);
    if (!IconStrip)
        return nullptr;
    SendMessageW(IconStrip, LVM_SETBKCOLOR, 0, CLR_NONE);
    stripScale = StripScale{};
    ApplyStripIconSpacing(IconStrip);
    SendMessageW(IconStrip, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    return IconStrip;
}

void ScaleIconStrip(HWND strip, const StripScale& scale) {
    if (!strip || SameScale(scale, stripScale))
        return;
    stripScale = scale;
    const RECT& place = scale.place;
    SetWindowPos(strip, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(strip, LVM_SETICONSPACING, 0, StripIconSpacing());
}

int StripIconSize() {
    return switcherOptions.smallIcons ? stripScale.smallIcon : stripScale.largeIcon;
}

namespace {

// The window's icon of one kind first: its own, then its class's large one,
// then its own of the other kind, its class's small one, its program file's.
HICON LookupIconOfKind(HWND window, bool small) {
    const WPARAM preferred = small ? ICON_SMALL : ICON_BIG;
    const WPARAM other = small ? ICON_BIG : ICON_SMALL;
    HICON icon = nullptr;
    const bool answers = QueryWindowIcon(window, preferred, &icon);
    if (icon)
        return icon;
    if ((icon = ClassIcon(window, GCLP_HICON)))
        return icon;
    // A window that did not answer the first query is not asked again.
    if (answers && QueryWindowIcon(window, other, &icon) && icon)
        return icon;
    if ((icon = ClassIcon(window, GCLP_HICONSM)))
        return icon;
    // Told apart by their program at least, rather than all alike.
    if ((icon = ProgramFileIcon(window, small ? stripScale.smallIcon : stripScale.largeIcon)))
        return icon;
    return FallbackIcon();
}

} // namespace

HICON LookupWindowIcon(HWND window) {
    return LookupIconOfKind(window, switcherOptions.smallIcons != 0);
}

HICON LookupLargeWindowIcon(HWND window) {
    return LookupIconOfKind(window, false);
}

BOOL FillIconStrip(HWND strip) {
    FillIconStripWith(strip, LookupEntryIcons(false));
    return TRUE;
}

void RefillIconStrip(HWND strip, bool keepKnownIcons) {
    HICON* icons = LookupEntryIcons(keepKnownIcons);
    DeselectStripItems(strip);
    // The second refresh of an open mostly finds what the first did: the same
    // icons in the same order leave every item and image as it is. The windows
    // asked are this refresh's.
    if (StripShowsIcons(strip, icons)) {
        FreeIcons(stripIcons);
        stripIcons = icons;
        stripSources = reinterpret_cast<HWND*>(icons + windowCount);
        return;
    }
    SendMessageW(strip, LVM_DELETEALLITEMS, 0, 0);
    FillIconStripWith(strip, icons);
}

void HighlightStripItem(HWND strip, int index) {
    SendMessageW(strip, LVM_ENSUREVISIBLE, index, FALSE);
    // The strip takes one selection: selecting an item deselects the one before it.
    // Looking for selected items would walk every item at each step.
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(strip, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

LRESULT DrawIconStripItem(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    const int item = static_cast<int>(draw->nmcd.dwItemSpec);
    const UINT state = static_cast<UINT>(
        SendMessageW(IconStrip, LVM_GETITEMSTATE, item, LVIS_SELECTED | LVIS_FOCUSED));
    // An item a click gave the focus keeps the list view's drawing, focus mark and all.
    if (state == LVIS_FOCUSED)
        return CDRF_DODEFAULT;
    DrawStripItem(draw->nmcd.hdc, item, (state & LVIS_SELECTED) != 0);
    return CDRF_SKIPDEFAULT;
}

void ShowStripItems(HWND strip, const int* images, int count, const int* shownImages) {
    // Whatever waits to be painted already, then only the items that now look otherwise.
    HRGN repaint = CreateRectRgn(0, 0, 0, 0);
    if (repaint && GetUpdateRgn(strip, repaint, FALSE) == ERROR)
        SetRectRgn(repaint, 0, 0, 0, 0);
    RECT clientBefore = {};
    GetClientRect(strip, &clientBefore);
    DeselectStripItems(strip, repaint);
    const int shown = static_cast<int>(SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0));
    const int kept = count < shown ? count : shown;
    const bool widened = count > shown;
    // Items go in with drawing held (see HoldStripDrawing); the changed images are set
    // while it is held too, since each change would otherwise ask for its own repaint.
    StripScrollRange rangeBefore = {};
    if (widened) {
        rangeBefore = ScrollRangeOf(strip);
        HoldStripDrawing(strip, true);
    }
    // An item whose image was made from the same icon looks alike: it keeps that
    // image (many windows of one program share their icon).
    for (int i = 0; i < kept; ++i) {
        const int before = shownImages[i];
        if (before == images[i] || SameIcon(before, images[i]))
            continue;
        AddItemToRegion(strip, i, repaint);
        SetItemImage(strip, i, images[i]);
    }
    // From the end: the items before keep their places, and no item moves.
    if (shown > count)
        AddItemRunToRegion(strip, count, shown - 1, repaint);
    for (int i = shown - 1; i >= count; --i)
        SendMessageW(strip, LVM_DELETEITEM, i, 0);
    if (widened) {
        AppendStripItems(strip, images, shown, count, repaint);
        HoldStripDrawing(strip, false);
        ShowChangedScrollBars(strip, rangeBefore);
    }
    // The list view asks for a whole repaint at each change of count: only what
    // changed is painted again (erased too: places left empty show the backdrop).
    // After a widening the scroll bars are drawn already: the repaint of them the
    // list view also asked for would draw them twice (about 8 ms under Wine).
    RedrawWindow(strip, nullptr, nullptr, RDW_VALIDATE | (widened ? RDW_NOFRAME : 0));
    // A scroll bar that came or went gave the items another area: all of it is painted.
    RECT clientAfter = {};
    GetClientRect(strip, &clientAfter);
    if (!repaint || !EqualRect(&clientBefore, &clientAfter)) {
        InvalidateRect(strip, nullptr, TRUE);
    } else {
        InvalidateRgn(strip, repaint, TRUE);
    }
    if (repaint)
        DeleteObject(repaint);
}

void RemoveStripItem(HWND strip, int index) {
    const int count = static_cast<int>(SendMessageW(strip, LVM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count)
        return;
    SendMessageW(strip, WM_SETREDRAW, FALSE, 0);
    SendMessageW(strip, LVM_DELETEITEM, index, 0);
    // Image i stays entry i's: the images after the removed one move up with their items.
    RemoveSheetImage(index);
    if (StripImageList)
        ImageList_Remove(StripImageList, index);
    for (int i = index; i < count - 1; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        SendMessageW(strip, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (stripIcons && index < stripIconCount) {
        for (int i = index; i + 1 < stripIconCount; ++i) {
            stripIcons[i] = stripIcons[i + 1];
            stripSources[i] = stripSources[i + 1];
        }
        --stripIconCount;
    }
    // Without it the grid would keep a hole where the item stood.
    SendMessageW(strip, LVM_ARRANGE, LVA_DEFAULT, 0);
    SendMessageW(strip, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(strip, nullptr, TRUE);
}

void DestroyStripImageList() {
    DestroyStripImages();
    // The strip shows no program-file icon any more until the next fill.
    EndProgramIconUse();
}

void ReleaseIconStrip() {
    if (fallbackIcon)
        DestroyIcon(fallbackIcon);
    fallbackIcon = nullptr;
    fallbackIconSize = 0;
}
