# The Windows build, cross-compiled with MinGW-w64 (cmake/toolchain-mingw64.cmake) and tested under
# Wine. What the build machine provides for Linux is brought in here in the form the cross build can
# use; image files come through stb and tinyexr (sim/CMakeLists.txt).

# The runtime of the compiler's C++ library: shared, so that the host library, the plug-ins and the
# programs share one heap, one set of type information and one exception runtime, as modules built
# with one compiler do on Windows. Its DLLs are copied beside the programs.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler's runtime library ${dll} was not found")
  endif()
  file(COPY ${path} DESTINATION ${QZM_BIN_DIR})
endforeach()

# C99 formatting from every printf of the build ("1e+10", not msvcrt's "1e+010").
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)

# Modules export exactly what they mark for export, as on Linux with hidden visibility.
add_link_options(-Wl,--exclude-all-symbols)

# CLI11 is header-only. The build machine's copy is reached through a folder that holds nothing but
# it: adding /usr/include itself would mix Linux system headers into the Windows build.
find_path(QZM_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(QZM_CLI11_STAGE ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${QZM_CLI11_STAGE})
file(CREATE_LINK ${QZM_CLI11_INCLUDE}/CLI ${QZM_CLI11_STAGE}/CLI SYMBOLIC)
add_library(qzm_cli11 INTERFACE)
target_include_directories(qzm_cli11 SYSTEM INTERFACE ${QZM_CLI11_STAGE})
add_library(CLI11::CLI11 ALIAS qzm_cli11)

# GoogleTest from the sources Debian ships (package googletest), built with the cross compiler.
if(QZM_BUILD_TESTS)
  set(QZM_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows build")
  if(NOT EXISTS ${QZM_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${QZM_GTEST_SOURCE} (apt-get install googletest)")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QZM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
  set(GTest_FOUND TRUE)
endif()

# Tests run under Wine with a prefix of their own in the build folder, without Wine's debug
# output, and find the host library and the runtime DLLs through WINEPATH.
set(QZM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QZM_TEST_ENVIRONMENT
  "WINEPREFIX=${QZM_WINEPREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=" "WINEPATH=${QZM_BIN_DIR}")

# Windows of the system's own need a display. Wine's desktop process belongs to the prefix's server,
# which stays for the whole run, and binds to the display its first program had: so the run has one
# virtual display (Xvfb), started by "wine.prefix" before the server and ended by "wine.stop" after
# it, and every test has it as DISPLAY. (A display per test would leave the desktop on one that is
# gone, and every later window would fail.) The display's number comes from the build folder, so
# that two builds on one machine do not meet.
find_program(QZM_XVFB Xvfb)
if(QZM_XVFB)
  string(MD5 folder_hash "${CMAKE_BINARY_DIR}")
  string(SUBSTRING "${folder_hash}" 0 2 folder_hash)
  math(EXPR QZM_TEST_DISPLAY "0x${folder_hash} + 100")
  list(APPEND QZM_TEST_ENVIRONMENT "DISPLAY=:${QZM_TEST_DISPLAY}")
else()
  message(STATUS "Xvfb not found: the Windows build's tests that make windows do not run")
endif()

# Every test of the calling folder gets that environment and the prefix made ready by the fixture
# test "wine.prefix" (CTest can set test properties only in the folder that made the test).
function(qzm_windows_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  list(REMOVE_ITEM tests wine.prefix wine.stop)
  foreach(t ${tests})
    set_property(TEST ${t} APPEND PROPERTY ENVIRONMENT ${QZM_TEST_ENVIRONMENT})
    set_property(TEST ${t} APPEND PROPERTY FIXTURES_REQUIRED wine)
  endforeach()
endfunction()

# The tests that make the Wine prefix ready with a server for every other test, and end it.
function(qzm_windows_test_fixture)
  get_filename_component(wine_dir ${QZM_WINE} DIRECTORY)
  find_program(QZM_WINESERVER NAMES wineserver64 wineserver HINTS ${wine_dir} REQUIRED)
  add_test(NAME wine.prefix COMMAND ${CMAKE_COMMAND} -E env ${QZM_TEST_ENVIRONMENT}
    ${CMAKE_COMMAND} -DWINE=${QZM_WINE} -DWINESERVER=${QZM_WINESERVER} "-DXVFB=${QZM_XVFB}" "-DDISPLAY_NUMBER=${QZM_TEST_DISPLAY}"
    -P ${PROJECT_SOURCE_DIR}/cmake/wine_prefix.cmake)
  add_test(NAME wine.stop COMMAND ${CMAKE_COMMAND} -E env ${QZM_TEST_ENVIRONMENT}
    ${CMAKE_COMMAND} -DWINESERVER=${QZM_WINESERVER} "-DDISPLAY_NUMBER=${QZM_TEST_DISPLAY}" -P ${PROJECT_SOURCE_DIR}/cmake/wine_stop.cmake)
  set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()

# GoogleTest's own sharding: `count` tests that each run a part of the program's tests, all but
# those `excluded` (a GoogleTest filter such as "Suite.*:Other.*").
function(qzm_sharded_unit_tests target count excluded)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    add_test(NAME unit.${i} COMMAND ${target} --gtest_filter=-${excluded})
    set_tests_properties(unit.${i} PROPERTIES
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${count};GTEST_SHARD_INDEX=${i}" TIMEOUT 1200)
  endforeach()
endfunction()
