# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (g++-mingw-w64-x86-64). The
# programs run under Wine: CMAKE_CROSSCOMPILING_EMULATOR lets CTest start them directly.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The "posix" flavour of the compiler: its C++ library has the complete thread and time support
# that GoogleTest relies on.
set(QZM_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${QZM_MINGW_PREFIX}-gcc-posix ${QZM_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QZM_MINGW_PREFIX}-g++-posix ${QZM_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QZM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QZM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package installs the 64-bit loader here; the "wine" wrapper would print a
# warning about the missing 32-bit part on every start, which script tests would read as output.
find_program(QZM_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT QZM_WINE)
  find_program(QZM_WINE NAMES wine64 wine)
endif()
if(QZM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QZM_WINE})
endif()
