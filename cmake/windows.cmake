# Windows build (MinGW-w64): the program, its in-process tests and the
# end-to-end tests, which CTest runs under Wine through the emulator script.
enable_language(RC)
set(STATIC_LINK -static -static-libgcc -static-libstdc++)
# The programs run their code on one thread: function-local statics need no lock,
# and without it the static C++ runtime leaves its thread and exception support
# (and its name demangler) out. Unused functions are dropped and, in release
# builds, the symbols: zephtab.exe stays small. No -fdata-sections: for PE targets
# GCC then puts zero-initialised objects (the fixed-size tables) in .data sections,
# stored in the file (26 KB of zeros), where .bss costs nothing.
# No code of the programs throws, catches or asks for a type at run time: no
# unwind tables (a quarter of the code's size again) and no type information.
# Optimised for size: their time goes into the system's calls, not their own code.
set(SMALL_CODE -Os -fno-threadsafe-statics -ffunction-sections -fno-exceptions -fno-rtti
               -fno-asynchronous-unwind-tables -fno-unwind-tables)
set(SMALL_LINK -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
# For the resources too: they include the same headers.
target_compile_definitions(zephtab_flags INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                   _WIN32_WINNT=0x0601)

# A program of ours, linked statically so that it runs with nothing beside it.
# WINDOWED: a GUI program, no console of its own. WIDE_MAIN: it starts at
# wWinMain or wmain; the tests start at GoogleTest's main. The rest: its sources.
function(add_windows_program name)
    cmake_parse_arguments(PARSE_ARGV 1 program "WINDOWED;WIDE_MAIN" "" "")
    add_executable(${name} ${program_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE zephtab_flags)
    target_link_options(${name} PRIVATE ${STATIC_LINK} $<$<BOOL:${program_WINDOWED}>:-mwindows>
                        $<$<BOOL:${program_WIDE_MAIN}>:-municode>)
endfunction()

set(ZEPHTAB_WINE_DIR "${CMAKE_BINARY_DIR}/../wine" CACHE PATH
    "Folder of the Wine prefix and session that the tests run in")
set(WINE_RUN python3 ${CMAKE_SOURCE_DIR}/tools/wine/winerun.py --state-dir ${ZEPHTAB_WINE_DIR} run --)
# A session of its own with three monitors, for the tests of the monitor choice; the
# runner starts it for the test and ends it afterwards.
set(WINE_RUN_MONITORS python3 ${CMAKE_SOURCE_DIR}/tools/wine/winerun.py --state-dir
                      ${ZEPHTAB_WINE_DIR}-monitors --monitors run --)

# Every program module but the entry function, so that in-process tests call
# the real functions on the real process-wide state.
add_library(zephtab_core STATIC ${PORTABLE_SOURCES} ${WIN_SOURCES})
target_link_libraries(zephtab_core PUBLIC zephtab_flags comctl32 gdi32 msimg32 psapi shell32 advapi32 oleacc
                      ole32 oleaut32 user32 kernel32)
target_compile_options(zephtab_core PRIVATE ${SMALL_CODE})

set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/src/resources/zephtab.rc)
file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/icons/*.ico
     ${CMAKE_SOURCE_DIR}/src/resources/*.manifest ${CMAKE_SOURCE_DIR}/src/resources/*.h)
set_source_files_properties(${RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")

add_windows_program(zephtab WINDOWED WIDE_MAIN ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${RESOURCE_FILE})
target_link_libraries(zephtab PRIVATE zephtab_core)

# GoogleTest, built with the cross compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

# Test programs go next to zephtab.exe so that drivers find it beside themselves.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

file(GLOB WIN_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${WIN_SUPPORT_SOURCES})
target_link_libraries(test_support PUBLIC zephtab_core gtest)
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)

# The unit tests of the portable decision code, built for the target as well: on
# 32-bit x86 its arithmetic (x87 unless a function asks for SSE2) is not the
# native build's, and wchar_t has 16 bits instead of 32.
# The report's tests read its JSON back with the host's python3: native only.
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER UNIT_TEST_SOURCES EXCLUDE REGEX "/test_option_report\\.cpp$")
add_windows_program(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zephtab_config_tool gtest_main)
add_test(NAME unit_tests COMMAND ${WINE_RUN} $<TARGET_FILE:unit_tests>)
set_tests_properties(unit_tests PROPERTIES LABELS unit TIMEOUT 300)

# One executable per in-process test file: each gets fresh process-wide state.
file(GLOB WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/test_*.cpp)
foreach(source ${WIN32_TESTS})
    get_filename_component(name ${source} NAME_WE)
    add_windows_program(win32_${name} ${source} ${RESOURCE_FILE})
    target_link_libraries(win32_${name} PRIVATE test_support gtest_main)
    if(name STREQUAL "test_monitors")
        add_test(NAME win32_${name} COMMAND ${WINE_RUN_MONITORS} $<TARGET_FILE:win32_${name}>)
    else()
        add_test(NAME win32_${name} COMMAND ${WINE_RUN} $<TARGET_FILE:win32_${name}>)
    endif()
    set_tests_properties(win32_${name} PROPERTIES LABELS win32 TIMEOUT 300)
endforeach()

# End-to-end tests: drivers that start zephtab.exe and watch it from outside.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.cpp)
# The installer's test comes with the installer, which only the 32-bit build makes.
list(FILTER E2E_TESTS EXCLUDE REGEX "/test_installer\\.cpp$")
# The DPI test runs on its own, below.
list(FILTER E2E_TESTS EXCLUDE REGEX "/test_system_dpi\\.cpp$")
foreach(source ${E2E_TESTS})
    get_filename_component(name ${source} NAME_WE)
    add_windows_program(e2e_${name} ${source})
    target_link_libraries(e2e_${name} PRIVATE test_support gtest_main)
    add_dependencies(e2e_${name} zephtab)
    add_test(NAME e2e_${name} COMMAND ${WINE_RUN} $<TARGET_FILE:e2e_${name}>)
    set_tests_properties(e2e_${name} PROPERTIES LABELS e2e TIMEOUT 600)
endforeach()

# zephtab.exe at the system DPIs the runner sets in turn: it restarts the session's
# wineserver for each and puts it back to 96 DPI, so no other test may run meanwhile.
add_windows_program(e2e_test_system_dpi ${CMAKE_SOURCE_DIR}/tests/e2e/test_system_dpi.cpp
                    ${RESOURCE_FILE})
target_link_libraries(e2e_test_system_dpi PRIVATE test_support gtest)
add_dependencies(e2e_test_system_dpi zephtab)
add_test(NAME e2e_test_system_dpi
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/wine/winerun.py --state-dir ${ZEPHTAB_WINE_DIR}
                 --dpi 96,120,144,192 run -- $<TARGET_FILE:e2e_test_system_dpi>)
set_tests_properties(e2e_test_system_dpi PROPERTIES LABELS e2e TIMEOUT 600 RUN_SERIAL TRUE)

# Helper programs that tests start (test windows in other processes, and so on).
# They are GUI programs: a console program started through the shell (the
# stand-in browser) would open a console window of its own in the desktop, which
# the next tests would find among the windows worth switching to.
file(GLOB TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(source ${TEST_HELPERS})
    get_filename_component(name ${source} NAME_WE)
    add_windows_program(${name} WINDOWED WIDE_MAIN ${source})
    # A helper with a resource script of its name gets its resources (an icon in its file).
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/helpers/${name}.rc)
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/helpers/${name}.rc)
    endif()
    target_link_libraries(${name} PRIVATE user32 gdi32)
endforeach()
target_link_libraries(screen_reader_listener PRIVATE oleacc ole32 oleaut32)

add_subdirectory(${CMAKE_SOURCE_DIR}/src/config config)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/installer tools-installer)

foreach(program zephtab zephtab-config zephtab-settings)
    if(TARGET ${program})
        target_compile_options(${program} PRIVATE ${SMALL_CODE})
        target_link_options(${program} PRIVATE ${SMALL_LINK})
    endif()
endforeach()

# The demonstration that `make run` plays when there is no display.
add_windows_program(zephtab-demo WIDE_MAIN ${CMAKE_SOURCE_DIR}/tools/demo/zephtab_demo_win.cpp)
target_link_libraries(zephtab-demo PRIVATE zephtab_core)
add_dependencies(zephtab-demo zephtab)

# The switcher's open, steps and cancel with many windows, measured under Wine by `make bench`.
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
add_windows_program(zephtab_switch_bench WIDE_MAIN ${WIN_BENCH_SOURCES} ${RESOURCE_FILE})
# The helpers of the Windows tests (icons, message pumps, object counts) serve it too.
target_link_libraries(zephtab_switch_bench PRIVATE test_support)
