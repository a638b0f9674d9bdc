#include "actions/action_texts.h"

#include "resources/resource_ids.h"
#include "resources/vendor.h"

#define ZEPHTAB_VENDOR_ROOT L"http://" ZEPHTAB_WIDEN(ZEPHTAB_VENDOR_HOST)

const wchar_t* ToolbarTooltipText(int commandId, bool selectedIsTopmost) {
    switch (commandId) {
    case IDC_TOPMOST:
        return selectedIsTopmost ? L"Make Current Window Not Always on Top"
                                 : L"Make Current Window Always on Top";
    case IDC_OPAQUE:
        return L"Make Current Window Opaque";
    case IDC_TRANSPARENT:
        return L"Make Current Window Transparent";
    default:
        return L"Restore Always on Top";
    }
}

const wchar_t* VendorPageAddress(int menuId) {
    switch (menuId) {
    case IDM_VENDOR_SITE:
        return ZEPHTAB_VENDOR_ROOT L"/?id=zephtab&v=1";
    case IDM_PRODUCT_SITE:
        return ZEPHTAB_VENDOR_ROOT L"/go/?id=zephtab&v=1";
    default:
        return nullptr;
    }
}
