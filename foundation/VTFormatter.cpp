#include "VTFormatter.h"

#include <cmath>
#include <cstring>

#include "VTDebug.h"

namespace veltrano {

namespace {

const char kFormatArgsName[] = "veltrano::VTFormatterT<char>::FormatArgs";
const char kUnexpectedClosingBracket[] =
    "%s: WARNING: %s: Discarding unexpected closing bracket }. FormatString follows, %u "
    "arguments.\n";
const char kConversionFailed[] =
    "%s: ERROR: %s: Conversion of argument %u failed. FormatString follows, %u arguments.\n";
const char kNoArgument[] =
    "%s: ERROR: %s: No argument for {} replacement field. FormatString follows, %u "
    "arguments.\n";
const char kInvalidIndex[] =
    "%s: ERROR: %s: Index=%u is an invalid index specification. FormatString follows, %u "
    "arguments.\n";
const char kUnsupportedSpecifier[] =
    "%s: WARNING: %s: Ignoring unsupported format specifier %d. FormatString follows, %u "
    "arguments.\n";
const char kIncompleteSpec[] =
    "%s: ERROR: %s: Incomplete format specification. FormatString follows, %u arguments.\n";
const char kUnexpectedCharacter[] =
    "%s: WARNING: %s: Ignoring unexpected character %d within {} replacement field. "
    "FormatString follows, %u arguments.\n";
const char kMoreArguments[] =
    "%s: ERROR: %s: More arguments than {} replacement fields. FormatString follows, %u "
    "arguments.\n";
const char kMissingClosingBracket[] =
    "%s: ERROR: %s: Missing closing bracket }. FormatString follows, %u arguments.\n";

// The largest magnitude written as a number: 9e18 rounded to single precision.
constexpr double kLargestFloatMagnitude = 9000000202358128640.0;
// Fraction digits computed exactly; further requested digits are zeros.
constexpr uint32_t kMaxFractionDigits = 16;

void ReportFormatError(const char* line, const char* format, uint32_t argCount) {
  DebugPrint(line, g_diagnosticPrefix, kFormatArgsName, argCount);
  DebugPrint("%s\n", format);
}

void ReportFormatError(const char* line, unsigned value, const char* format, uint32_t argCount) {
  DebugPrint(line, g_diagnosticPrefix, kFormatArgsName, value, argCount);
  DebugPrint("%s\n", format);
}

bool IsFieldBlank(unsigned c) { return c == ' ' || (c >= 9 && c <= 13); }
bool IsDigit(unsigned c) { return c >= '0' && c <= '9'; }
bool IsAlignment(unsigned c) { return c == '<' || c == '=' || c == '>' || c == '^'; }

// Digits of `value` written backwards into `out` with a separator every `group` digits
// (0 = none), at least `minDigits` long. Returns the count written.
uint32_t DigitsBackwards(uint64_t value, unsigned base, const char* digitSet, uint32_t minDigits,
                         uint32_t group, char separator, char* out) {
  uint32_t n = 0;
  uint32_t digits = 0;
  do {
    if (group != 0 && digits != 0 && digits % group == 0) out[n++] = separator;
    out[n++] = digitSet[value % base];
    value /= base;
    ++digits;
  } while (value != 0 || digits < minDigits);
  return n;
}

// Enough for 64 binary digits with separators; decimal and hexadecimal need far less.
constexpr size_t kDigitBufferSize = 96;

}  // namespace

template <typename CharT>
template <typename Body>
void VTFormatterImplT<CharT>::WritePadded(uint32_t length, const FormatSpec& spec, Body body) {
  const uint32_t pad = spec.width > length ? spec.width - length : 0;
  const CharT fill = static_cast<CharT>(spec.fill != 0 ? spec.fill : ' ');
  uint32_t before = pad;
  if (spec.align == '<') before = 0;
  if (spec.align == '^') before = pad / 2;
  PutRepeated(fill, before);
  body();
  PutRepeated(fill, pad - before);
}

template <typename CharT>
template <typename Unit>
uint32_t VTFormatterImplT<CharT>::WriteUnits(const Unit* text, const FormatSpec& spec) {
  if (text == nullptr) return WriteText("<<nullptr>>");
  uint32_t length = 0;
  while (text[length] != 0) ++length;
  WritePadded(length, spec, [&] {
    for (uint32_t i = 0; i < length; ++i) {
      const auto unit = static_cast<std::make_unsigned_t<Unit>>(text[i]);
      Put(static_cast<CharT>(sizeof(Unit) == 1 || unit < 256 ? static_cast<char>(unit) : '?'));
    }
  });
  return 0;
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteString(const wchar_t* text, const FormatSpec& spec) {
  return WriteUnits(text, spec);
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteString(const char16_t* text, const FormatSpec& spec) {
  return WriteUnits(text, spec);
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteString(const char* text, const FormatSpec& spec) {
  return WriteUnits(text, spec);
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteText(const char* text) {
  for (; text != nullptr && *text != '\0'; ++text) Put(static_cast<CharT>(*text));
  return 0;
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteChar(char c) {
  Put(static_cast<CharT>(c));
  return 0;
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteInteger(uint64_t value, uint32_t size, bool isSigned,
                                               const FormatSpec& spec) {
  if (size == 0 || size > 8) size = 8;
  const uint32_t bits = size * 8;
  if (isSigned && bits < 64) {  // sign-extend from the argument's own size
    const uint64_t signBit = uint64_t{1} << (bits - 1);
    value &= (signBit << 1) - 1;
    value = (value ^ signBit) - signBit;
  }

  if (spec.flags & kFormatTypeChar) {
    const char text[2] = {static_cast<char>(value & 0xFF), '\0'};
    return WriteString(text, spec);
  }

  char prefix[3] = {};
  char digits[kDigitBufferSize];
  uint32_t digitCount;
  if (spec.flags & kFormatHex) {
    const uint64_t mask = bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
    const char* digitSet = (spec.flags & kFormatUpperCase) ? "0123456789ABCDEF" : "0123456789abcdef";
    const bool prefixed = (spec.flags & kFormatHexPrefix) != 0;
    const uint32_t group = spec.grouping != 0 ? (size > 4 ? size : 4) : 0;
    digitCount = DigitsBackwards(value & mask, 16, digitSet, prefixed ? size * 2 : 1, group,
                                 static_cast<char>(spec.grouping), digits);
    if (prefixed) std::memcpy(prefix, "0x", 2);
  } else {
    const bool negative = isSigned && static_cast<int64_t>(value) < 0;
    const uint64_t magnitude = negative ? uint64_t{0} - value : value;
    digitCount = DigitsBackwards(magnitude, 10, "0123456789", 1, spec.grouping != 0 ? 3 : 0,
                                 static_cast<char>(spec.grouping), digits);
    if (negative) {
      prefix[0] = '-';
    } else if (spec.sign == '+' || spec.sign == ' ') {
      prefix[0] = static_cast<char>(spec.sign);
    }
  }

  const uint32_t prefixLength = static_cast<uint32_t>(std::strlen(prefix));
  const uint32_t length = prefixLength + digitCount;
  auto putDigits = [&] {
    for (uint32_t i = digitCount; i > 0; --i) Put(static_cast<CharT>(digits[i - 1]));
  };
  if (spec.align != '=') {
    WritePadded(length, spec, [&] {
      WriteText(prefix);
      putDigits();
    });
    return 0;
  }
  // '=' puts the fill between the sign (or base prefix) and the digits.
  WriteText(prefix);
  PutRepeated(static_cast<CharT>(spec.fill != 0 ? spec.fill : ' '),
              spec.width > length ? spec.width - length : 0);
  putDigits();
  return 0;
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteDouble(double value, const FormatSpec& spec) {
  if (std::isnan(value)) return WriteString("nan", spec);
  if (std::isinf(value)) return WriteString(value < 0 ? "-inf" : "inf", spec);
  const double magnitude = std::fabs(value);
  if (magnitude > kLargestFloatMagnitude) return WriteString("<<overflow>>", spec);

  // A negative value keeps its sign even when its integer part is 0 (-0.5 is "-0.500000").
  const bool negative = value < 0;
  uint64_t integerPart = static_cast<uint64_t>(magnitude);
  const uint32_t precision = (spec.flags & kFormatPrecisionGiven) ? spec.precision : 6;
  const uint32_t exactDigits = precision < kMaxFractionDigits ? precision : kMaxFractionDigits;
  uint64_t scale = 1;
  for (uint32_t i = 0; i < exactDigits; ++i) scale *= 10;
  uint64_t fraction = 0;
  if (precision != 0) {
    const double part = magnitude - std::floor(magnitude);
    fraction = static_cast<uint64_t>(std::floor(part * static_cast<double>(scale) + 0.5));
  }
  if (precision != 0 && fraction >= scale) {  // 0.9999999 with precision 2 is "1.00"
    integerPart += 1;
    fraction -= scale;
  }

  char integerDigits[kDigitBufferSize];
  const uint32_t integerCount = DigitsBackwards(integerPart, 10, "0123456789", 1,
                                                spec.grouping != 0 ? 3 : 0,
                                                static_cast<char>(spec.grouping), integerDigits);
  char fractionDigits[kDigitBufferSize];
  const uint32_t fractionCount =
      exactDigits != 0
          ? DigitsBackwards(fraction, 10, "0123456789", exactDigits, 0, 0, fractionDigits)
          : 0;
  const uint32_t length = (negative ? 1 : 0) + integerCount + (precision != 0 ? 1 + precision : 0);

  // A number without a sign prefix pads '=' like '>', which WritePadded does anyway.
  WritePadded(length, spec, [&] {
    if (negative) Put('-');
    for (uint32_t i = integerCount; i > 0; --i) Put(static_cast<CharT>(integerDigits[i - 1]));
    if (precision == 0) return;
    Put('.');
    for (uint32_t i = fractionCount; i > 0; --i) Put(static_cast<CharT>(fractionDigits[i - 1]));
    PutRepeated('0', precision - fractionCount);
  });
  return 0;
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteLongDouble(long double value, const FormatSpec& spec) {
  return WriteDouble(static_cast<double>(value), spec);
}

template <typename CharT>
uint32_t VTFormatterImplT<CharT>::WriteFloat(float value, const FormatSpec& spec) {
  return WriteDouble(static_cast<double>(value), spec);
}

template <typename CharT>
const CharT* VTFormatterT<CharT>::ParseSpec(const CharT* p, FormatSpec& spec, const CharT* format,
                                            uint32_t argCount) {
  if (p[0] != 0 && IsAlignment(static_cast<unsigned char>(p[1]))) {
    spec.fill = static_cast<uint8_t>(p[0]);
    spec.align = static_cast<uint8_t>(p[1]);
    p += 2;
  } else if (IsAlignment(static_cast<unsigned char>(p[0]))) {
    spec.fill = ' ';
    spec.align = static_cast<uint8_t>(*p++);
  }
  if (*p == ' ' || *p == '+' || *p == '-') spec.sign = static_cast<uint8_t>(*p++);
  if (*p == '#') {
    spec.flags |= kFormatAlternate;
    ++p;
  }
  if (*p == '0') {
    if (spec.align == 0) {
      spec.fill = '0';
      spec.align = '=';
    }
    ++p;
  }
  for (; IsDigit(static_cast<unsigned char>(*p)); ++p) {
    spec.width = static_cast<uint16_t>(spec.width * 10 + (*p - '0'));
  }
  if (*p == '\'' || *p == ',' || *p == '_') spec.grouping = static_cast<uint8_t>(*p++);
  if (*p == '.') {
    ++p;
    spec.flags |= kFormatPrecisionGiven;
    spec.precision = 0;
    for (; IsDigit(static_cast<unsigned char>(*p)); ++p) {
      spec.precision = static_cast<uint16_t>(spec.precision * 10 + (*p - '0'));
    }
  }

  const unsigned type = static_cast<unsigned char>(*p);
  switch (type) {
    case 0:
      ReportFormatError(kIncompleteSpec, format, argCount);
      return p;
    case '}':
      return p;
    case 'd':
    case 'n':
      spec.flags &= static_cast<uint16_t>(~kFormatHex);
      break;
    case 'x':
    case 'X':
      spec.flags |= kFormatHex;
      if (type == 'X') spec.flags |= kFormatUpperCase;
      if (spec.flags & kFormatAlternate) spec.flags |= kFormatHexPrefix;
      break;
    case 'c':
      spec.flags |= kFormatTypeChar;
      break;
    case 's':
      spec.flags |= kFormatTypeString;
      break;
    case 'e':
    case 'f':
    case 'g':
    case 'E':
    case 'F':
    case 'G':
      break;
    default:
      if (IsFieldBlank(type)) return p;
      ReportFormatError(kUnsupportedSpecifier, type, format, argCount);
      break;
  }
  return p + 1;
}

template <typename CharT>
uint32_t VTFormatterT<CharT>::FormatArgs(const CharT* format, const FormatArg* args,
                                         uint32_t argCount) {
  static const CharT kEmpty[1] = {0};
  if (format == nullptr) format = kEmpty;
  bool inside = false;
  bool prepared = false;
  uint32_t index = 0;
  uint32_t highestUsed = 0;
  FormatContext context{this, FormatSpec{}};

  auto prepare = [&] {
    if (!prepared && args[index].handler != nullptr) args[index].handler(&context, nullptr);
    prepared = true;
  };

  const CharT* p = format;
  while (*p != 0) {
    if (!inside) {
      if (p[0] == '{' && p[1] == '{') {
        this->Put('{');
        p += 2;
      } else if (p[0] == '{') {
        inside = true;
        prepared = false;
        context.spec = FormatSpec{};
        ++p;
      } else if (p[0] == '}' && p[1] == '}') {
        this->Put('}');
        p += 2;
      } else if (p[0] == '}') {
        ReportFormatError(kUnexpectedClosingBracket, format, argCount);
        ++p;
      } else {
        this->Put(*p++);
      }
      continue;
    }

    const unsigned c = static_cast<unsigned char>(*p);
    if (IsFieldBlank(c)) {
      ++p;
    } else if (c == '}') {
      inside = false;
      ++p;
      if (index < argCount) {
        prepare();
        const FormatHandler handler = args[index].handler;
        if (handler == nullptr || handler(&context, args[index].value) != 0) {
          ReportFormatError(kConversionFailed, index, format, argCount);
        }
        ++index;
        if (highestUsed < index) highestUsed = index;
      } else {
        ReportFormatError(kNoArgument, format, argCount);
      }
    } else if (IsDigit(c)) {
      uint32_t explicitIndex = 0;
      for (; IsDigit(static_cast<unsigned char>(*p)); ++p) {
        const uint32_t digit = static_cast<uint32_t>(*p - '0');
        explicitIndex = explicitIndex > (UINT32_MAX - digit) / 10 ? UINT32_MAX
                                                                  : explicitIndex * 10 + digit;
      }
      if (explicitIndex < argCount) {
        index = explicitIndex;
      } else {
        ReportFormatError(kInvalidIndex, explicitIndex, format, argCount);
      }
    } else if (c == ':') {
      ++p;
      if (index < argCount) prepare();
      if (*p != '}') p = ParseSpec(p, context.spec, format, argCount);
    } else {
      ReportFormatError(kUnexpectedCharacter, c, format, argCount);
      ++p;
    }
  }

  if (highestUsed < argCount) ReportFormatError(kMoreArguments, format, argCount);
  if (inside) ReportFormatError(kMissingClosingBracket, format, argCount);
  if (this->position_ != nullptr) *this->position_ = 0;
  return this->count_;
}

// ---- handlers ----

uint32_t FormatStdStringArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(static_cast<const std::string*>(value)->c_str(),
                                         context->spec);
}

uint32_t FormatStdWideStringArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(static_cast<const std::wstring*>(value)->c_str(),
                                         context->spec);
}

uint32_t FormatCStringArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(*static_cast<const char* const*>(value), context->spec);
}

uint32_t FormatWideCStringArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(*static_cast<const wchar_t* const*>(value),
                                         context->spec);
}

uint32_t FormatCharArrayArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(static_cast<const char*>(value), context->spec);
}

uint32_t FormatCharArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  const char text[2] = {*static_cast<const char*>(value), '\0'};
  return context->formatter->WriteString(text, context->spec);
}

uint32_t FormatBoolArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteString(*static_cast<const bool*>(value) ? "true" : "false",
                                         context->spec);
}

uint32_t FormatDoubleArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteDouble(*static_cast<const double*>(value), context->spec);
}

uint32_t FormatFloatArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteFloat(*static_cast<const float*>(value), context->spec);
}

uint32_t FormatLongDoubleArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  return context->formatter->WriteLongDouble(*static_cast<const long double*>(value),
                                             context->spec);
}

template class VTFormatterImplT<char>;
template class VTFormatterT<char>;

}  // namespace veltrano
