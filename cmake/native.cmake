# Native build: the portable decision code with its unit tests, under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the icon generator.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(zephtab_portable STATIC ${PORTABLE_SOURCES})
target_compile_options(zephtab_portable PUBLIC ${SANITIZE})
target_link_options(zephtab_portable PUBLIC ${SANITIZE})
target_link_libraries(zephtab_portable PUBLIC zephtab_flags)

add_library(zephtab_config_portable STATIC ${CONFIG_TOOL_PORTABLE_SOURCES})
target_include_directories(zephtab_config_portable PUBLIC ${CMAKE_SOURCE_DIR}/src/config)
target_link_libraries(zephtab_config_portable PUBLIC zephtab_portable)

add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zephtab_config_portable gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)

add_executable(icongen ${CMAKE_SOURCE_DIR}/tools/icongen/icongen.cpp)
target_link_libraries(icongen PRIVATE zephtab_flags)
add_test(NAME icons_match_their_sources
         COMMAND ${CMAKE_SOURCE_DIR}/tools/icongen/check-icons.sh $<TARGET_FILE:icongen>
                 ${CMAKE_SOURCE_DIR}/src/resources/icons)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
list(FILTER BENCH_SOURCES EXCLUDE REGEX "_win\\.cpp$")
if(BENCH_SOURCES)
    find_package(benchmark QUIET)
    if(benchmark_FOUND)
        add_executable(zephtab_bench ${BENCH_SOURCES} ${PORTABLE_SOURCES})
        target_compile_options(zephtab_bench PRIVATE -O2)
        target_link_libraries(zephtab_bench PRIVATE zephtab_flags benchmark::benchmark_main)
    endif()
endif()
