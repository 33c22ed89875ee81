// The one translation unit of the test programs' shared precompiled header (tests/CMakeLists.txt).
