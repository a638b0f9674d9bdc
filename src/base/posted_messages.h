// Which messages another program may post to our windows. Any program on the
// desktop can post any message number with any parameters to any window; a
// posted message reaches a window procedure exactly as one sent on our own
// thread would, so one whose parameter is read as a pointer (WM_NOTIFY,
// WM_DPICHANGED, every control message from WM_USER up) would make us read
// another process's address. Only messages that carry no pointer, and that
// the system, the controls or we ourselves post, pass; the rest are dropped
// before any window procedure sees them. Portable: the Windows side checks
// these numbers.
#pragma once
#include <cstdint>

constexpr uint32_t POSTMSG_NULL = 0x0000;
constexpr uint32_t POSTMSG_PAINT = 0x000F;
constexpr uint32_t POSTMSG_CLOSE = 0x0010;
constexpr uint32_t POSTMSG_QUIT = 0x0012;
constexpr uint32_t POSTMSG_INPUTLANGCHANGEREQUEST = 0x0050;
constexpr uint32_t POSTMSG_NCMOUSEFIRST = 0x00A0; // WM_NCMOUSEMOVE
constexpr uint32_t POSTMSG_NCMOUSELAST = 0x00AD;  // WM_NCXBUTTONDBLCLK
constexpr uint32_t POSTMSG_KEYFIRST = 0x0100;
constexpr uint32_t POSTMSG_KEYLAST = 0x0109;
constexpr uint32_t POSTMSG_COMMAND = 0x0111;
constexpr uint32_t POSTMSG_SYSCOMMAND = 0x0112;
constexpr uint32_t POSTMSG_TIMER = 0x0113;
constexpr uint32_t POSTMSG_SYSTIMER = 0x0118; // the caret's blink, undocumented
constexpr uint32_t POSTMSG_MOUSEFIRST = 0x0200;
constexpr uint32_t POSTMSG_MOUSELAST = 0x020E;
constexpr uint32_t POSTMSG_IME_CHAR = 0x0286;
constexpr uint32_t POSTMSG_IME_KEYDOWN = 0x0290;
constexpr uint32_t POSTMSG_IME_KEYUP = 0x0291;
constexpr uint32_t POSTMSG_NCMOUSEHOVER = 0x02A0;
constexpr uint32_t POSTMSG_MOUSELEAVE = 0x02A3;
constexpr uint32_t POSTMSG_HOTKEY = 0x0312;

// Whether a posted message may reach our windows. lParam matters for one
// message: a WM_TIMER whose lParam is not zero names a function that
// DispatchMessage would call, and we start no timer with one.
bool AcceptsPostedMessage(uint32_t message, uintptr_t lParam);
