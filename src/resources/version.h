// The release version, kept in one place: the programs' version resources,
// the package names and the installer's version fields all come from here.
// Usable from C++ and from the resource compiler.
#pragma once

#define ZEPHTAB_VERSION_MAJOR 1
#define ZEPHTAB_VERSION_MINOR 0
#define ZEPHTAB_VERSION_PATCH 0

#define ZEPHTAB_STRINGIZE2(value) #value
#define ZEPHTAB_STRINGIZE(value) ZEPHTAB_STRINGIZE2(value)
#define ZEPHTAB_VERSION_TEXT                                                                       \
    ZEPHTAB_STRINGIZE(ZEPHTAB_VERSION_MAJOR)                                                       \
    "." ZEPHTAB_STRINGIZE(ZEPHTAB_VERSION_MINOR) "." ZEPHTAB_STRINGIZE(ZEPHTAB_VERSION_PATCH)
