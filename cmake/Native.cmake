# Native build: the Windows-free core and its logic tests under the sanitizers.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra ${SANITIZE})
add_link_options(${SANITIZE})
# The fuzz targets (clang only) need the coverage the fuzzer steers by in the core too.
option(TOLVANE_FUZZ "Build the libFuzzer targets under fuzz/" OFF)
if(TOLVANE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

glob_sources(core_sources ${CORE_DIRS} src/support/native)
add_library(tolvane_core STATIC ${core_sources})
target_include_directories(tolvane_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

glob_sources(logic_test_sources tests/logic)
add_executable(logic_tests ${logic_test_sources})
target_link_libraries(logic_tests PRIVATE tolvane_core gtest gtest_main)
gtest_discover_tests(logic_tests DISCOVERY_MODE PRE_TEST TEST_PREFIX "native.")


if(TOLVANE_FUZZ)
  add_subdirectory(fuzz)
endif()
