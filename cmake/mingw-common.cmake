# The part of the mingw-w64 cross toolchains that both widths share: Debian's compilers of the
# posix thread model (GoogleTest's threads need it), named by VT_MINGW_TRIPLE, and Wine through
# the loader that the host can run (scripts/bin/wine) wherever the build runs a program.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VT_MINGW_TRIPLE}-windres)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/bin/wine")

set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
