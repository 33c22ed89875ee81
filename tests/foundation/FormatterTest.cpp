// The brace formatter: fields, specs, numbers, and the diagnostics of bad format strings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "DiagnosticCapture.h"
#include "VTFormatter.h"

using veltrano::VTFormatterT;

namespace {

// Formats in the two passes the parser uses and checks that both agree on the length.
template <typename... Args>
std::string Fmt(const char* format, const Args&... args) {
  VTFormatterT<char> measure;
  const uint32_t n = measure.Format(format, args...);
  std::string text(n, '\0');
  if (n != 0) {
    VTFormatterT<char> writer(&text[0], &text[0] + n);
    EXPECT_EQ(n, writer.Format(format, args...));
  }
  return text;
}

const char kPrefixAndName[] = ": %s: veltrano::VTFormatterT<char>::FormatArgs: ";

std::string Diagnostic(const char* level, const std::string& rest, unsigned argCount) {
  char head[128];
  std::snprintf(head, sizeof head, kPrefixAndName, level);
  return head + rest + " FormatString follows, " + std::to_string(argCount) + " arguments.\n";
}

const std::string x = "x", y = "y", z = "z", ab = "ab";

}  // namespace

TEST(Formatter, BracesAndPlainFieldsNeedNoDiagnostic) {
  DiagnosticCapture capture;
  EXPECT_EQ("a{b}c", Fmt("a{{b}}c"));
  EXPECT_EQ("x and y", Fmt("{} and {}", x, y));
  EXPECT_EQ("y x", Fmt("{1} {0}", x, y));
  EXPECT_EQ("yz", Fmt("{1}{}", x, y, z));
  EXPECT_EQ("[ x ]", Fmt("[{ \t}]", std::string(" x ")));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(Formatter, BlanksInsideAFieldAreSkipped) {
  DiagnosticCapture capture;
  EXPECT_EQ("<y>", Fmt("<{ 1 : }>", x, y));
  EXPECT_EQ("x", Fmt("{ \t\n}", x));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(Formatter, FieldWithoutArgumentReportsAndWritesNothing) {
  DiagnosticCapture capture;
  EXPECT_EQ("", Fmt("{}"));
  // Nothing to write, so only the measuring pass ran: one line and the format-string echo.
  ASSERT_EQ(2u, capture.Lines().size());
  EXPECT_EQ(Diagnostic("ERROR", "No argument for {} replacement field.", 0), capture.Lines()[0]);
  EXPECT_EQ("{}\n", capture.Lines()[1]);
}

TEST(Formatter, InvalidIndexKeepsTheRunningIndex) {
  DiagnosticCapture capture;
  EXPECT_EQ("x", Fmt("{5}", x, y));
  const auto messages = capture.Messages();
  ASSERT_EQ(4u, messages.size());  // two passes
  EXPECT_EQ(Diagnostic("ERROR", "Index=5 is an invalid index specification.", 2), messages[0]);
  EXPECT_EQ(Diagnostic("ERROR", "More arguments than {} replacement fields.", 2), messages[1]);
}

TEST(Formatter, StrayClosingBracketIsDropped) {
  DiagnosticCapture capture;
  EXPECT_EQ(2u, VTFormatterT<char>().Format("x}y"));
  EXPECT_EQ(1u, VTFormatterT<char>().Format("x}"));
  const auto messages = capture.Messages();
  ASSERT_EQ(2u, messages.size());
  EXPECT_EQ(Diagnostic("WARNING", "Discarding unexpected closing bracket }.", 0), messages[0]);
  EXPECT_EQ("xy", Fmt("x}y"));
  EXPECT_EQ("x", Fmt("x}"));
}

TEST(Formatter, StringAlignmentAndFill) {
  EXPECT_EQ("    ab", Fmt("{:>6}", ab));
  EXPECT_EQ("ab    ", Fmt("{:<6}", ab));
  EXPECT_EQ("  ab  ", Fmt("{:^6}", ab));
  EXPECT_EQ("**ab***", Fmt("{:*^7}", ab));
  EXPECT_EQ("    ab", Fmt("{:6}", ab));
  EXPECT_EQ("    ab", Fmt("{:=6}", ab));
  EXPECT_EQ("ab", Fmt("{:1}", ab));
  EXPECT_EQ("ab", Fmt("{:+.3s}", ab));
}

TEST(Formatter, UnsupportedTypeIsReportedWithItsCode) {
  DiagnosticCapture capture;
  VTFormatterT<char> f;
  f.Format("{:q}", ab);
  ASSERT_EQ(2u, capture.Lines().size());
  EXPECT_EQ(Diagnostic("WARNING", "Ignoring unsupported format specifier 113.", 1),
            capture.Lines()[0]);
  EXPECT_EQ("ab", Fmt("{:q}", ab));
}

TEST(Formatter, UnterminatedFieldsAreReported) {
  DiagnosticCapture capture;
  VTFormatterT<char> f;
  f.Format("{");
  ASSERT_EQ(2u, capture.Lines().size());
  EXPECT_EQ(Diagnostic("ERROR", "Missing closing bracket }.", 0), capture.Lines()[0]);

  DiagnosticCapture second;
  f.Format("{:");
  const auto messages = second.Messages();
  ASSERT_EQ(2u, messages.size());
  EXPECT_EQ(Diagnostic("ERROR", "Incomplete format specification.", 0), messages[0]);
  EXPECT_EQ(Diagnostic("ERROR", "Missing closing bracket }.", 0), messages[1]);
}

TEST(Formatter, UnexpectedCharacterInFieldIsSkipped) {
  DiagnosticCapture capture;
  VTFormatterT<char> f;
  f.Format("{a}", x);
  ASSERT_EQ(2u, capture.Lines().size());
  EXPECT_EQ(Diagnostic("WARNING", "Ignoring unexpected character 97 within {} replacement field.", 1),
            capture.Lines()[0]);
  EXPECT_EQ("{a}\n", capture.Lines()[1]);
  EXPECT_EQ("x", Fmt("{a}", x));
}

TEST(Formatter, DiagnosticsCarryTheLibraryPrefix) {
  DiagnosticCapture capture;
  const char* saved = veltrano::g_diagnosticPrefix;
  veltrano::g_diagnosticPrefix = "sfx";
  VTFormatterT<char> f;
  f.Format("}");
  veltrano::g_diagnosticPrefix = saved;
  ASSERT_FALSE(capture.Lines().empty());
  EXPECT_EQ(0u, capture.Lines()[0].rfind("sfx: WARNING: veltrano::", 0));
}

TEST(Formatter, NullAndWideStrings) {
  const char* none = nullptr;
  EXPECT_EQ("<<nullptr>>", Fmt("{:>20}", none));
  const wchar_t* wide = L"A\u00e9\u20acB";
  EXPECT_EQ("A\xe9?B", Fmt("{}", wide));
  EXPECT_EQ("  A\xe9?B", Fmt("{:6}", std::wstring(wide)));
}

TEST(Formatter, DecimalIntegers) {
  EXPECT_EQ("0", Fmt("{}", 0));
  EXPECT_EQ("-42", Fmt("{}", -42));
  EXPECT_EQ("+42", Fmt("{:+}", 42));
  EXPECT_EQ(" 42", Fmt("{: }", 42));
  EXPECT_EQ("-42", Fmt("{:+}", -42));
  EXPECT_EQ("-9223372036854775808", Fmt("{}", std::numeric_limits<int64_t>::min()));
  EXPECT_EQ("18446744073709551615", Fmt("{}", std::numeric_limits<uint64_t>::max()));
  EXPECT_EQ("1,234,567", Fmt("{:,}", 1234567));
  EXPECT_EQ("-1'000", Fmt("{:'}", -1000));
  EXPECT_EQ("100", Fmt("{:_}", 100));
}

TEST(Formatter, IntegerPaddingPutsTheSignWhereAlignmentSays) {
  EXPECT_EQ("-0042", Fmt("{:05}", -42));
  EXPECT_EQ("  -42", Fmt("{:5}", -42));
  EXPECT_EQ("-42  ", Fmt("{:<5}", -42));
  EXPECT_EQ(" -42 ", Fmt("{:^5}", -42));
  EXPECT_EQ("-**42", Fmt("{:*=5}", -42));
  EXPECT_EQ("+0007", Fmt("{:+05d}", 7));
}

TEST(Formatter, HexadecimalIntegersUseTheirOwnSize) {
  EXPECT_EQ("ff", Fmt("{:x}", 255));
  EXPECT_EQ("FF", Fmt("{:X}", 255));
  EXPECT_EQ("ffffffff", Fmt("{:x}", -1));
  EXPECT_EQ("ffff", Fmt("{:x}", static_cast<int16_t>(-1)));
  EXPECT_EQ("0x000000ff", Fmt("{:#x}", 255));
  EXPECT_EQ("0x00FF", Fmt("{:#X}", static_cast<uint16_t>(255)));
  EXPECT_EQ("0x00000000000000ab", Fmt("{:#x}", uint64_t{0xab}));
  EXPECT_EQ("1_0000", Fmt("{:_x}", 0x10000));
  EXPECT_EQ("0x0000_00ff", Fmt("{:#_x}", 255));
  EXPECT_EQ("0x00000000_000000ff", Fmt("{:#_x}", int64_t{255}));
  EXPECT_EQ("   ff", Fmt("{:5x}", 255));
}

TEST(Formatter, DecimalTypeClearsHexadecimal) {
  EXPECT_EQ("255", Fmt("{:d}", 255));
  EXPECT_EQ("A", Fmt("{:c}", 65));
}

TEST(Formatter, FloatingPointBasics) {
  EXPECT_EQ("3.140000", Fmt("{}", 3.14));
  EXPECT_EQ("3.14", Fmt("{:.2}", 3.14159));
  EXPECT_EQ("3", Fmt("{:.0}", 3.9));  // the integer part is truncated, not rounded
  EXPECT_EQ("3", Fmt("{:.}", 3.2));
  EXPECT_EQ("0.13", Fmt("{:.2f}", 0.125));  // half up
  EXPECT_EQ("-2.50", Fmt("{:.2}", -2.5));
  EXPECT_EQ("1,234,567.5", Fmt("{:,.1}", 1234567.5));
  EXPECT_EQ("  1.5", Fmt("{:5.1}", 1.5f));
  EXPECT_EQ("001.5", Fmt("{:05.1}", 1.5L));  // "=" pads like ">" for numbers with a point
  EXPECT_EQ("1.5", Fmt("{:+.1}", 1.5));      // the sign option is not applied
  EXPECT_EQ("0.10000000000000000000", Fmt("{:.20}", 0.1));
}

TEST(Formatter, FloatingPointSpecialValues) {
  EXPECT_EQ("nan", Fmt("{}", std::nan("")));
  EXPECT_EQ("inf", Fmt("{}", std::numeric_limits<double>::infinity()));
  EXPECT_EQ("-inf", Fmt("{}", -std::numeric_limits<double>::infinity()));
  EXPECT_EQ("<<overflow>>", Fmt("{}", 1e19));
  EXPECT_EQ("<<overflow>>", Fmt("{}", -9.1e18));
  EXPECT_EQ("9000000202358128640.000000", Fmt("{}", 9000000202358128640.0));
}

TEST(Formatter, NegativeValueAboveMinusOneKeepsItsSign) {
  EXPECT_EQ("-0.500000", Fmt("{}", -0.5));
  EXPECT_EQ("-0.25", Fmt("{:.2}", -0.25f));
  EXPECT_EQ("0.000000", Fmt("{}", -0.0));
}

TEST(Formatter, RoundedFractionCarriesIntoTheIntegerPart) {
  EXPECT_EQ("1.00", Fmt("{:.2}", 0.9999999));
  EXPECT_EQ("-10.0", Fmt("{:.1}", -9.96));
  EXPECT_EQ("1,000.00", Fmt("{:,.2}", 999.999));
}

TEST(Formatter, TerminatorFollowsTheLastWrittenCharacter) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  VTFormatterT<char> f(buffer, buffer + 4);
  EXPECT_EQ(7u, f.Format("{}-{}", std::string("abc"), std::string("def")));
  EXPECT_EQ(std::string("abc-"), std::string(buffer, 4));
  EXPECT_EQ('\0', buffer[4]);
  EXPECT_EQ('#', buffer[5]);
}
