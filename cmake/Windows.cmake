# Windows build: the program, the compiler stand-in, and every test, run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options(-Wall -Wextra)
add_link_options(-static -static-libgcc -static-libstdc++)
# Programs, tools and tests side by side, so tests find the program and the stand-in beside themselves.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Every Windows program runs through a wrapper that selects the build's private prefix.
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(WIN32_LIBS user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32 uuid advapi32 shlwapi)

glob_sources(core_sources ${CORE_DIRS})
add_library(tolvane_core STATIC ${core_sources})
target_include_directories(tolvane_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

# Layers above the portable core: the platform (real processes, files, INI
# files), then the window program's windows and the console runner beside them.
glob_sources(platform_sources src/engine/win32 src/support/win32)
add_library(tolvane_platform STATIC ${platform_sources})
target_link_libraries(tolvane_platform PUBLIC tolvane_core ${WIN32_LIBS})
# The core leaves the locale's texts and the ANSI code page to the platform
# (natively they are its own): the platform follows it on every link line.
target_link_libraries(tolvane_core INTERFACE tolvane_platform)

glob_sources(win_sources src/ui/core src/ui/dialogs src/ui/chooser src/ui/main src/ui/startup)
list(REMOVE_ITEM win_sources ${CMAKE_SOURCE_DIR}/src/ui/startup/WinMain.cpp)
add_library(tolvane_win STATIC ${win_sources})
target_link_libraries(tolvane_win PUBLIC tolvane_platform)

set(TOLVANE_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
add_executable(Tolvane WIN32 ${CMAKE_SOURCE_DIR}/src/ui/startup/WinMain.cpp ${CMAKE_SOURCE_DIR}/res/Tolvane.rc)
target_include_directories(Tolvane PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(Tolvane PRIVATE tolvane_win)
target_link_options(Tolvane PRIVATE -municode)
set_target_properties(Tolvane PROPERTIES OUTPUT_NAME Tolvane)
# The usage text lives beside the program.
add_custom_command(TARGET Tolvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/ReadMe.txt $<TARGET_FILE_DIR:Tolvane>/ReadMe.txt)

# The console runner: the same engine and platform, no window layer.
glob_sources(console_sources src/console)
list(REMOVE_ITEM console_sources ${CMAKE_SOURCE_DIR}/src/console/TolvaneCmd.cpp)
add_library(tolvane_console STATIC ${console_sources})
target_link_libraries(tolvane_console PUBLIC tolvane_platform)
add_executable(TolvaneCmd ${CMAKE_SOURCE_DIR}/src/console/TolvaneCmd.cpp)
target_link_libraries(TolvaneCmd PRIVATE tolvane_console)
target_link_options(TolvaneCmd PRIVATE -municode)

add_subdirectory(tools)
# The drivers the platform and program tests and the benchmarks share, built once.
glob_sources(test_common_sources tests/common)
add_library(test_common STATIC ${test_common_sources})
target_include_directories(test_common PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(test_common PUBLIC tolvane_win)

# Test programs: one per level, each with the libraries named after its folder.
# Window and program tests need the virtual display.
function(tolvane_test_program name dir)
  glob_sources(own ${dir})
  if(NOT own)
    return()
  endif()
  add_executable(${name} ${own})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE tolvane_win ${ARGN} gtest gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "wine."
                       PROPERTIES TIMEOUT 300 ${TEST_PROPERTIES})
endfunction()

tolvane_test_program(logic_tests tests/logic)
tolvane_test_program(platform_tests tests/platform test_common)
# Windows on the shared display take the focus: one such test at a time.
set(TEST_PROPERTIES RUN_SERIAL TRUE)
tolvane_test_program(program_tests tests/program test_common)
unset(TEST_PROPERTIES)
add_subdirectory(bench)
