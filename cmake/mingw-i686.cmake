# Cross toolchain of the 32-bit tree: 32-bit Windows executables, what ships. A host whose
# kernel runs no 32-bit code builds them and runs none of them.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VT_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
