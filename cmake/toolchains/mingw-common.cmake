# Shared by the MinGW-w64 toolchain files: set WINDLOCK_MINGW_TRIPLE before including.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${WINDLOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WINDLOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${WINDLOCK_MINGW_TRIPLE}-windres)
set(WINDLOCK_WIDL ${WINDLOCK_MINGW_TRIPLE}-widl)

# Programs from the host, libraries and headers from the target root.
set(CMAKE_FIND_ROOT_PATH /usr/${WINDLOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows programs built here run under Wine, in a display of their own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh)
