// The vendor's texts and web host, kept in one place. Usable from C++ and
// from the resource compiler. The host is a reserved placeholder unless the
// build sets ZEPHTAB_VENDOR_HOST (CMake option of the same name).
#pragma once

#define ZEPHTAB_VENDOR_CAPTION "Zephtab"
#define ZEPHTAB_VENDOR_BANNER "Varnok Toolvex"
#ifndef ZEPHTAB_VENDOR_HOST
#define ZEPHTAB_VENDOR_HOST "varnok.example"
#endif

#define ZEPHTAB_WIDEN2(text) L##text
#define ZEPHTAB_WIDEN(text) ZEPHTAB_WIDEN2(text)
