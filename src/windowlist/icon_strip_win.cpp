#include "windowlist/icon_strip_win.h"

#include "app/app_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "windowlist/window_list_win.h"

HWND IconStrip;
HIMAGELIST StripImageList;

namespace {

constexpr DWORD kStripStyle = WS_CHILD | WS_VISIBLE | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ICON;
static_assert(kStripStyle == 0x5000000C, "icon view, one selection, highlight kept without focus");
static_assert(ILC_COLOR32 == 0x20 && ILC_MASK == 0x1, "32-bit images with a mask");

int StripIconSize() {
    return switcherOptions.smallIcons ? 16 : 32;
}

LPARAM StripIconSpacing() {
    return switcherOptions.smallIcons ? MAKELPARAM(24, 24) : MAKELPARAM(40, 40);
}

// WM_GETICON with a time-out: a hung application must not hold up the switcher.
// Returns false when the window did not answer (hung, gone or too slow).
bool QueryWindowIcon(HWND window, WPARAM kind, HICON* icon) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, ICON_QUERY_TIMEOUT_MS,
                             &result)) {
        *icon = nullptr;
        return false;
    }
    *icon = reinterpret_cast<HICON>(result);
    return true;
}

HICON ClassIcon(HWND window, int index) {
    return reinterpret_cast<HICON>(static_cast<ULONG_PTR>(GetClassLongPtrW(window, index)));
}

} // namespace

HWND CreateIconStrip(HWND parent) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    IconStrip = CreateWindowExW(0, WC_LISTVIEWW, L"", kStripStyle, 1, 68, 340, 200, parent, nullptr,
                                programInstance, nullptr);
    if (!IconStrip)
        return nullptr;
    SendMessageW(IconStrip, LVM_SETBKCOLOR, 0, CLR_NONE);
    // Chosen once: a later change of smallIcons changes the images, not the grid.
    SendMessageW(IconStrip, LVM_SETICONSPACING, 0, StripIconSpacing());
    SendMessageW(IconStrip, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    return IconStrip;
}

HICON LookupWindowIcon(HWND window) {
    const WPARAM preferred = switcherOptions.smallIcons ? ICON_SMALL : ICON_BIG;
    const WPARAM other = switcherOptions.smallIcons ? ICON_BIG : ICON_SMALL;
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
    return LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW));
}

BOOL FillIconStrip(HWND strip) {
    DestroyStripImageList();
    const int size = StripIconSize();
    StripImageList = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
    for (int i = 0; i < windowCount; ++i) {
        const WindowEntry& entry = WindowList[i];
        ImageList_ReplaceIcon(StripImageList, -1,
                              LookupWindowIcon(entry.owner ? entry.owner : entry.window));
    }
    SendMessageW(strip, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(StripImageList));
    for (int i = 0; i < windowCount; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        SendMessageW(strip, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return TRUE;
}

void DestroyStripImageList() {
    if (!StripImageList)
        return;
    // Detached first: the strip destroys an attached list when it is itself destroyed.
    if (IconStrip)
        SendMessageW(IconStrip, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    ImageList_Destroy(StripImageList);
    StripImageList = nullptr;
}
