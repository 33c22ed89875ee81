# Every test executable runs under Wine (the cross-compiling emulator) in a prefix of the
# build folder, never the user's own; scripts/test.sh creates it and keeps a server running.
# The 32-bit tree's prefix is a 32-bit Windows, the x64 tree's a 64-bit one.
set(VT_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
# The tree's architecture labels each of its tests, so that CTest's summary tells the trees
# apart.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VT_ARCH x64)
else()
  set(VT_ARCH x86)
endif()
set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" PROPERTY LABELS ${VT_ARCH})
# Quiet Wine, no prompts to install its .NET or HTML engines, and no menu builder: a shortcut
# made in the Start menu would otherwise become a desktop entry in the Linux user's home. One
# group of names with one setting, as a ';' would split the CTest environment list.
set(VT_WINE_ENV "WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d")

function(vt_add_wine_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "WINEPREFIX=${VT_WINEPREFIX};${VT_WINE_ENV}")
endfunction()

# A GoogleTest executable of ours: statically linked, console entry, one CTest test.
function(vt_add_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE gtest gtest_main)
  vt_own_target(${name})
  vt_add_wine_test(${name} ${name})
endfunction()

# Runs a test executable a second time in a 64-bit prefix, where the 32-bit program runs under
# WOW64 (native architecture x64, redirected system and program folders). The optional second
# argument is a GoogleTest filter: only the cases whose behaviour differs under WOW64 run again.
# An x64 program never runs under WOW64, and the x64 tree's suites run in a 64-bit prefix
# already: there this adds nothing.
set(VT_WINEPREFIX64 "${CMAKE_BINARY_DIR}/wineprefix64")
function(vt_add_wow64_test name)
  if(VT_ARCH STREQUAL x64)
    return()
  endif()
  set(filter_argument)
  if(ARGC GREATER 1)
    set(filter_argument "--gtest_filter=${ARGV1}")
  endif()
  add_test(NAME ${name}_wow64 COMMAND ${name} ${filter_argument})
  set_tests_properties(${name}_wow64 PROPERTIES ENVIRONMENT
    "WINEPREFIX=${VT_WINEPREFIX64};${VT_WINE_ENV}")
endfunction()

# A crash writes a full memory dump, and Wine's server reads it out of the process a kilobyte a
# request, for up to a minute: the crash tests run in a prefix of their own (a copy of the
# 32-bit one, made by scripts/test.sh), so that the other tests' server is not kept waiting.
set(VT_WINEPREFIX_CRASH "${CMAKE_BINARY_DIR}/wineprefix-crash")
function(vt_run_in_crash_prefix)
  foreach(test ${ARGN})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT
      "WINEPREFIX=${VT_WINEPREFIX_CRASH};${VT_WINE_ENV}")
  endforeach()
endfunction()
