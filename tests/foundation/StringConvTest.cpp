// UTF-8/UTF-16 conversions with their byte-wise fallbacks, and environment expansion.
#include <gtest/gtest.h>

#include <windows.h>

#include "VTStringConv.h"

using veltrano::ExpandEnvironment;
using veltrano::Utf8ToWide;
using veltrano::WideToUtf8;

TEST(Utf8ToWide, ValidTextConvertsIncludingSupplementaryPlanes) {
  EXPECT_EQ(L"", Utf8ToWide(""));
  EXPECT_EQ(L"", Utf8ToWide(nullptr));
  EXPECT_EQ(L"abc", Utf8ToWide("abc"));
  EXPECT_EQ(L"\u00e9\u20ac", Utf8ToWide("\xc3\xa9\xe2\x82\xac"));
  EXPECT_EQ(std::wstring(L"\xd83d\xde00"), Utf8ToWide("\xf0\x9f\x98\x80"));  // U+1F600
}

TEST(Utf8ToWide, ByteOrderMarkIsKeptAsACharacter) {
  EXPECT_EQ(std::wstring(L"\xfeff" L"A"), Utf8ToWide("\xef\xbb\xbf" "A"));
}

TEST(Utf8ToWide, InvalidTextFallsBackToSignedBytes) {
  EXPECT_EQ(std::wstring(L"A\xffe9" L"B"), Utf8ToWide("A\xe9" "B"));
  EXPECT_EQ(std::wstring(L"\xff80\xffff"), Utf8ToWide("\x80\xff"));
  // Overlong and surrogate encodings are not UTF-8 either.
  EXPECT_EQ(std::wstring(L"\xffc0\xffaf"), Utf8ToWide("\xc0\xaf"));
  EXPECT_EQ(std::wstring(L"\xffed\xffa0\xff80"), Utf8ToWide("\xed\xa0\x80"));
}

TEST(WideToUtf8, ValidTextConverts) {
  EXPECT_EQ("plain ASCII 123", WideToUtf8(L"plain ASCII 123"));
  EXPECT_EQ("\xc3\xa9\xe2\x82\xac", WideToUtf8(L"\u00e9\u20ac"));
  EXPECT_EQ("\xf0\x9f\x98\x80", WideToUtf8(L"\xd83d\xde00"));
  EXPECT_EQ("", WideToUtf8(nullptr));
}

TEST(WideToUtf8, LoneSurrogateFallsBackToLowBytes) {
  EXPECT_EQ(std::string("a\x3d" "b"), WideToUtf8(L"a\xd83d" L"b"));
  // The whole text falls back, valid units included; each keeps its low byte.
  EXPECT_EQ(std::string("\xe9\xac\0", 3), WideToUtf8(L"\u00e9\u20ac\xdc00"));
}

TEST(ExpandEnvironment, KnownVariablesExpandAndUnknownOnesStay) {
  SetEnvironmentVariableW(L"VT_TEST_FOLDER", L"C:\\data");
  std::wstring out = L"old";
  EXPECT_EQ(0u, ExpandEnvironment(out, L"%VT_TEST_FOLDER%\\x;%VT_NOT_DEFINED_ANYWHERE%"));
  EXPECT_EQ(L"C:\\data\\x;%VT_NOT_DEFINED_ANYWHERE%", out);
  EXPECT_EQ(0u, ExpandEnvironment(out, L""));
  EXPECT_EQ(L"", out);
}

TEST(ExpandEnvironment, LongValuesAreExpandedWhole) {
  const std::wstring longValue(5000, L'v');
  SetEnvironmentVariableW(L"VT_TEST_LONG", longValue.c_str());
  std::wstring out;
  EXPECT_EQ(0u, ExpandEnvironment(out, L"<%VT_TEST_LONG%>"));
  EXPECT_EQ(L"<" + longValue + L">", out);
}
