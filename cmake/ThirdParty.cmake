# Third-party libraries, compiled from Debian's source packages that scripts/setup.sh unpacks
# into VT_DEPS_DIR (pinned in scripts/deps.env). Nothing of them is committed.

foreach(dep tinyxml2 tinyxml 7zip)
  if(NOT EXISTS "${VT_DEPS_DIR}/${dep}")
    message(FATAL_ERROR "${VT_DEPS_DIR}/${dep} is missing: run scripts/setup.sh first")
  endif()
endforeach()

# tinyxml2: the stub's XML documents.
add_library(tinyxml2 STATIC "${VT_DEPS_DIR}/tinyxml2/tinyxml2.cpp")
target_include_directories(tinyxml2 SYSTEM PUBLIC "${VT_DEPS_DIR}/tinyxml2")

# TinyXML 1: the mixer's configuration file. Debian's patches make it STL-only.
add_library(tinyxml STATIC
  "${VT_DEPS_DIR}/tinyxml/tinyxml.cpp"
  "${VT_DEPS_DIR}/tinyxml/tinyxmlparser.cpp"
  "${VT_DEPS_DIR}/tinyxml/tinyxmlerror.cpp"
  "${VT_DEPS_DIR}/tinyxml/tinystr.cpp")
target_include_directories(tinyxml SYSTEM PUBLIC "${VT_DEPS_DIR}/tinyxml")
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)

# 7-Zip's archive library: the 7z format, its decoders and AES, the codec registry, the
# archive link with open callbacks and volume streams, and file streams.
set(_7z "${VT_DEPS_DIR}/7zip")
set(_7z_sources)
macro(_7z_add dir)
  foreach(name ${ARGN})
    list(APPEND _7z_sources "${_7z}/${dir}/${name}")
  endforeach()
endmacro()
_7z_add(C 7zStream.c Alloc.c Bcj2.c Bra.c Bra86.c BraIA64.c CpuArch.c Delta.c Lzma2Dec.c
  Lzma2DecMt.c LzmaDec.c Ppmd7.c Ppmd7Dec.c Sha256.c Sha256Opt.c 7zCrc.c 7zCrcOpt.c
  Aes.c AesOpt.c SwapBytes.c)
_7z_add(CPP/Common CRC.cpp IntToString.cpp MyString.cpp MyVector.cpp NewHandler.cpp
  Sha256Prepare.cpp StringConvert.cpp UTFConvert.cpp Wildcard.cpp)
_7z_add(CPP/Windows FileDir.cpp FileFind.cpp FileIO.cpp FileName.cpp PropVariant.cpp
  PropVariantConv.cpp System.cpp TimeUtils.cpp)
_7z_add(CPP/7zip/Common CreateCoder.cpp CWrappers.cpp FileStreams.cpp InBuffer.cpp
  FilterCoder.cpp LimitedStreams.cpp OutBuffer.cpp ProgressUtils.cpp PropId.cpp
  StreamObjects.cpp StreamUtils.cpp)
_7z_add(CPP/7zip/UI/Common ArchiveOpenCallback.cpp DefaultName.cpp LoadCodecs.cpp
  OpenArchive.cpp)
_7z_add(CPP/7zip/Archive/Common CoderMixer2.cpp ItemNameUtils.cpp MultiStream.cpp
  OutStreamWithCRC.cpp)
_7z_add(CPP/7zip/Archive/7z 7zDecode.cpp 7zExtract.cpp 7zHandler.cpp 7zIn.cpp 7zRegister.cpp)
_7z_add(CPP/7zip/Compress Bcj2Coder.cpp Bcj2Register.cpp BcjCoder.cpp BcjRegister.cpp
  BranchMisc.cpp BranchRegister.cpp ByteSwap.cpp CopyCoder.cpp CopyRegister.cpp
  DeltaFilter.cpp Lzma2Decoder.cpp Lzma2Register.cpp LzmaDecoder.cpp LzmaRegister.cpp
  PpmdDecoder.cpp PpmdRegister.cpp)
_7z_add(CPP/7zip/Crypto 7zAes.cpp 7zAesRegister.cpp MyAes.cpp)

# Formats and codecs register themselves from static constructors, so the objects are linked
# whole: an OBJECT library keeps every one of them in each program that uses it.
add_library(sevenzip OBJECT ${_7z_sources} "${CMAKE_SOURCE_DIR}/cmake/SevenZipGuids.cpp")
target_include_directories(sevenzip SYSTEM PUBLIC "${_7z}/CPP")
# Z7_ST: the library decodes on the calling thread alone. Its threaded coder mixer hands every
# 512 KB between the LZMA2 and branch-filter threads through events and semaphores, which under
# Wine are a round trip to the wineserver each; and a threaded LZMA2 decoder first reads ahead
# up to four dictionaries of output for a block boundary, which a payload packed as one block
# only waits for. The single-thread mixer chains coders by reading from them, so BCJ2 with its
# four streams needs the coders' read interfaces (no Z7_NO_READ_FROM_CODER).
target_compile_definitions(sevenzip PUBLIC
  Z7_SFX Z7_EXTRACT_ONLY Z7_ST Z7_NO_LARGE_PAGES Z7_NO_LONG_PATH)
target_compile_options(sevenzip PRIVATE -w)
target_link_libraries(sevenzip PUBLIC oleaut32 ole32 uuid)

# GoogleTest, built with the cross compiler from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
