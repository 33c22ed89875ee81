# Cross toolchain of the x64 tree: 64-bit Windows executables, for hosts whose kernel runs no
# 32-bit code and for testing the programs as 64-bit Windows runs them.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VT_MINGW_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
