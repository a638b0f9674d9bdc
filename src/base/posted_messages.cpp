#include "base/posted_messages.h"

#include "base/identifiers.h"

namespace {

bool InRange(uint32_t message, uint32_t first, uint32_t last) {
    return message >= first && message <= last;
}

} // namespace

bool AcceptsPostedMessage(uint32_t message, uintptr_t lParam) {
    switch (message) {
    case POSTMSG_TIMER:
        return lParam == 0;
    case POSTMSG_NULL:
    case POSTMSG_PAINT:
    case POSTMSG_CLOSE:
    case POSTMSG_QUIT:
    case POSTMSG_INPUTLANGCHANGEREQUEST:
    case POSTMSG_COMMAND: // lParam is a control's handle, only compared
    case POSTMSG_SYSCOMMAND:
    case POSTMSG_SYSTIMER:
    case POSTMSG_IME_CHAR:
    case POSTMSG_IME_KEYDOWN:
    case POSTMSG_IME_KEYUP:
    case POSTMSG_HOTKEY:
    case WM_SWITCHER_COMMAND:
    case WM_RELOAD_OPTIONS:
    case WM_TRAY_CALLBACK: // the shell's: the icon's id and a mouse or key event, no pointer
        return true;
    default:
        return InRange(message, POSTMSG_NCMOUSEFIRST, POSTMSG_NCMOUSELAST) ||
               InRange(message, POSTMSG_KEYFIRST, POSTMSG_KEYLAST) ||
               InRange(message, POSTMSG_MOUSEFIRST, POSTMSG_MOUSELAST) ||
               InRange(message, POSTMSG_NCMOUSEHOVER, POSTMSG_MOUSELEAVE);
    }
}
