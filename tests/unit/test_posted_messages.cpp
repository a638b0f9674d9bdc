// Which posted messages reach our windows: those that carry no pointer and
// that the system, the controls or we post; never one read as a pointer.
#include <gtest/gtest.h>

#include "base/identifiers.h"
#include "base/posted_messages.h"

namespace {

TEST(PostedMessages, OnlyPointerFreeMessagesOfTheSystemAndOurOwnPass) {
    const struct {
        uint32_t message;
        uintptr_t lParam;
        bool accepted;
    } cases[] = {
        {0x0000, 0, true},                   // WM_NULL
        {0x000F, 0, true},                   // WM_PAINT
        {0x0010, 0, true},                   // WM_CLOSE
        {0x0012, 0, true},                   // WM_QUIT
        {0x000C, 0xDEAD0000, false},         // WM_SETTEXT
        {0x004E, 0xDEAD0000, false},         // WM_NOTIFY
        {0x009F, 0, false},                  // below the frame's mouse messages
        {0x00A0, 0x00100010, true},          // WM_NCMOUSEMOVE
        {0x00AD, 0, true},                   // WM_NCXBUTTONDBLCLK
        {0x00AE, 0, false},                  // after them
        {0x0100, 0x00000001, true},          // WM_KEYDOWN
        {0x0109, 0, true},                   // WM_UNICHAR
        {0x010A, 0, false},                  // after the key messages
        {0x0111, 0x1234, true},              // WM_COMMAND: a control's handle
        {0x0112, 0, true},                   // WM_SYSCOMMAND
        {0x0113, 0, true},                   // WM_TIMER of a window
        {0x0113, 0xDEAD0000, false},         // WM_TIMER naming a function
        {0x0118, 0, true},                   // the caret's timer
        {0x0200, 0, true},                   // WM_MOUSEMOVE
        {0x020E, 0, true},                   // WM_MOUSEHWHEEL
        {0x020F, 0, false},                  // after the mouse messages
        {0x02A0, 0, true},                   // WM_NCMOUSEHOVER
        {0x02A3, 0, true},                   // WM_MOUSELEAVE
        {0x02A4, 0, false},                  // after it
        {0x02E0, 0xDEAD0000, false},         // WM_DPICHANGED
        {0x0312, 0, true},                   // WM_HOTKEY
        {WM_SWITCHER_COMMAND, 0, true},      // posted by our hooks
        {WM_RELOAD_OPTIONS, 0, true},        // from the settings tools
        {WM_TRAY_CALLBACK, 0x0205, true},    // the shell's, for the notification-area icon
        {WM_RELOAD_OPTIONS - 1, 0, false},   // other private messages
        {0x0400, 0xDEAD0000, false},         // WM_USER
        {0x0400 + 0x400, 0xDEAD0000, false}, // the common controls' range
        {0x0400 + 0x2D, 0xDEAD0000, false},  // TB_GETBUTTON
        {0x1000 + 0x4B, 0xDEAD0000, false},  // LVM_GETITEMW
        {0x8000, 0, false},                  // WM_APP
        {0xC000, 0, false},                  // registered messages
        {0xFFFFFFFF, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptsPostedMessage(c.message, c.lParam), c.accepted) << std::hex << c.message;
}

} // namespace
