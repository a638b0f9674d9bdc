#include "base/posted_message_filter_win.h"

#include "base/posted_messages.h"

static_assert(POSTMSG_PAINT == WM_PAINT && POSTMSG_CLOSE == WM_CLOSE && POSTMSG_QUIT == WM_QUIT,
              "window messages");
static_assert(POSTMSG_INPUTLANGCHANGEREQUEST == WM_INPUTLANGCHANGEREQUEST, "keyboard layout");
static_assert(POSTMSG_NCMOUSEFIRST == WM_NCMOUSEMOVE && POSTMSG_NCMOUSELAST == WM_NCXBUTTONDBLCLK,
              "frame mouse messages");
static_assert(POSTMSG_KEYFIRST == WM_KEYFIRST && POSTMSG_KEYLAST == WM_KEYLAST, "key messages");
static_assert(POSTMSG_COMMAND == WM_COMMAND && POSTMSG_SYSCOMMAND == WM_SYSCOMMAND &&
                  POSTMSG_TIMER == WM_TIMER,
              "commands and timers");
static_assert(POSTMSG_MOUSEFIRST == WM_MOUSEFIRST && POSTMSG_MOUSELAST == WM_MOUSELAST,
              "mouse messages");
static_assert(POSTMSG_IME_CHAR == WM_IME_CHAR && POSTMSG_IME_KEYDOWN == WM_IME_KEYDOWN &&
                  POSTMSG_IME_KEYUP == WM_IME_KEYUP,
              "input method messages");
static_assert(POSTMSG_NCMOUSEHOVER == WM_NCMOUSEHOVER && POSTMSG_MOUSELEAVE == WM_MOUSELEAVE,
              "hover and leave");
static_assert(POSTMSG_HOTKEY == WM_HOTKEY, "hot keys");

namespace {

HHOOK postedMessageFilter;
UINT acceptedRegisteredMessages[4];
UINT_PTR acceptedTimerCallbacks[4];

// COM's own window on this thread takes posted calls from other processes (an
// assistive program's questions to our accessible objects come that way).
bool IsComWindow(HWND window) {
    wchar_t className[32];
    return window && GetClassNameW(window, className, 32) &&
           lstrcmpW(className, L"OleMainThreadWndClass") == 0;
}

bool IsAcceptedTimerCallback(const MSG& message) {
    if (message.message != WM_TIMER || message.lParam == 0)
        return false;
    for (UINT_PTR accepted : acceptedTimerCallbacks)
        if (accepted != 0 && accepted == message.wParam)
            return true;
    return false;
}

bool IsAcceptedRegisteredMessage(UINT message) {
    for (UINT accepted : acceptedRegisteredMessages)
        if (accepted != 0 && accepted == message)
            return true;
    return false;
}

LRESULT CALLBACK DropRefusedPostedMessages(int code, WPARAM removal, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION &&
        !AcceptsPostedMessage(message->message, static_cast<uintptr_t>(message->lParam)) &&
        !IsAcceptedRegisteredMessage(message->message) && !IsAcceptedTimerCallback(*message) &&
        !IsComWindow(message->hwnd)) {
        message->message = WM_NULL;
        message->wParam = 0;
        message->lParam = 0;
    }
    return CallNextHookEx(postedMessageFilter, code, removal, lParam);
}

} // namespace

void InstallPostedMessageFilter() {
    if (!postedMessageFilter)
        postedMessageFilter = SetWindowsHookExW(WH_GETMESSAGE, DropRefusedPostedMessages, nullptr,
                                                GetCurrentThreadId());
}

void RemovePostedMessageFilter() {
    if (postedMessageFilter)
        UnhookWindowsHookEx(postedMessageFilter);
    postedMessageFilter = nullptr;
}

void AcceptPostedRegisteredMessage(UINT message) {
    for (UINT& accepted : acceptedRegisteredMessages) {
        if (accepted == message)
            return;
        if (accepted == 0) {
            accepted = message;
            return;
        }
    }
}

void AcceptTimerCallback(UINT_PTR timerId) {
    for (UINT_PTR& accepted : acceptedTimerCallbacks) {
        if (accepted == timerId)
            return;
        if (accepted == 0) {
            accepted = timerId;
            return;
        }
    }
}
