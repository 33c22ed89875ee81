// A bounded fuzz loop over random format strings and argument lists: the measuring pass
// agrees with the writing pass, and nothing is written past the range the writer was given.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "VTDebug.h"
#include "VTFormatter.h"

using veltrano::FormatArg;
using veltrano::VTFormatterT;

namespace {

constexpr int kIterations = 4000;
constexpr size_t kGuardSize = 32;
constexpr unsigned char kGuardByte = 0xA5;

// Format characters biased towards the ones that mean something inside a field.
const char kAlphabet[] = "{{{}}}::<>^=+- #0123456789,_'.xXdncsefgq\t\nab\x80\xff";

std::string RandomFormat(std::mt19937& rng) {
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::string format;
  for (int i = length(rng); i > 0; --i) format.push_back(kAlphabet[pick(rng)]);
  return format;
}

// Values of every handled kind; strings up to 600 bytes.
struct Arguments {
  std::vector<std::string> strings;
  std::vector<int64_t> integers;
  std::vector<double> doubles;
  std::vector<FormatArg> list;
};

void RandomArguments(std::mt19937& rng, Arguments& out) {
  std::uniform_int_distribution<int> count(0, 4), kind(0, 3), length(0, 600), byte(1, 255);
  const int n = count(rng);
  out.strings.reserve(n);
  out.integers.reserve(n);
  out.doubles.reserve(n);
  for (int i = 0; i < n; ++i) {
    switch (kind(rng)) {
      case 0: {
        std::string s;
        for (int j = length(rng); j > 0; --j) s.push_back(static_cast<char>(byte(rng)));
        out.strings.push_back(std::move(s));
        out.list.push_back(veltrano::MakeFormatArg(out.strings.back()));
        break;
      }
      case 1:
        out.integers.push_back(static_cast<int64_t>(rng()) << (rng() % 40) | rng());
        out.list.push_back(veltrano::MakeFormatArg(out.integers.back()));
        break;
      case 2:
        out.doubles.push_back(std::ldexp(static_cast<double>(rng()) - 2147483648.0,
                                         static_cast<int>(rng() % 90) - 45));
        out.list.push_back(veltrano::MakeFormatArg(out.doubles.back()));
        break;
      default:
        out.list.push_back(FormatArg{nullptr, &veltrano::FormatStdStringArg});  // null value
        break;
    }
  }
}

void IgnoreLine(const char*) {}

}  // namespace

TEST(FormatterFuzz, MeasureMatchesWriteAndGuardsStayIntact) {
  const veltrano::DiagnosticSink previous = veltrano::SetDiagnosticSink(&IgnoreLine);
  std::mt19937 rng(20261207);
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    const std::string format = RandomFormat(rng);
    Arguments args;
    RandomArguments(rng, args);
    const uint32_t argCount = static_cast<uint32_t>(args.list.size());
    const FormatArg* list = args.list.empty() ? nullptr : args.list.data();

    VTFormatterT<char> measure;
    const uint32_t n = measure.FormatArgs(format.c_str(), list, argCount);

    // Full range, then a range cut at a random point: the count never changes, and the
    // terminator is the last byte touched.
    for (const uint32_t room : {n, n / 2}) {
      std::vector<unsigned char> buffer(room + 1 + kGuardSize, kGuardByte);
      char* begin = reinterpret_cast<char*>(buffer.data());
      VTFormatterT<char> writer(begin, begin + room);
      ASSERT_EQ(n, writer.FormatArgs(format.c_str(), list, argCount))
          << "format: " << format << " iteration " << iteration;
      ASSERT_EQ(0, buffer[room]) << "format: " << format;
      for (size_t i = room + 1; i < buffer.size(); ++i) {
        ASSERT_EQ(kGuardByte, buffer[i]) << "format: " << format << " byte " << i;
      }
      ASSERT_EQ(nullptr, std::memchr(begin, 0, room)) << "format: " << format;
    }
  }
  veltrano::SetDiagnosticSink(previous);
}
