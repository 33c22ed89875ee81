#pragma once
// "{}" formatting into a caller's character range. Every character is counted whether or not
// it fits, so a first pass without a buffer measures and a second one writes. Format-string
// errors never stop formatting: each one is reported as a diagnostic line and skipped.
#include <cstdint>
#include <string>
#include <type_traits>

namespace veltrano {

enum FormatFlag : uint16_t {
  kFormatHex = 1u << 0,
  kFormatUpperCase = 1u << 1,
  kFormatHexPrefix = 1u << 2,
  kFormatAlternate = 1u << 4,
  kFormatTypeChar = 1u << 5,
  kFormatTypeString = 1u << 6,
  kFormatPrecisionGiven = 1u << 7,
};

struct FormatSpec {
  uint16_t flags;
  uint16_t width;      // 0 = none
  uint16_t precision;  // digits after the point
  uint8_t fill;        // 0 = space
  uint8_t align;       // '<', '>', '^', '=' or 0
  uint8_t sign;        // '+', '-', ' ' or 0
  uint8_t grouping;    // '\'', ',', '_' or 0
};
static_assert(sizeof(FormatSpec) == 10, "the spec is ten bytes");

class VTFormatterBase;

struct FormatContext {
  VTFormatterBase* formatter;
  FormatSpec spec;
};

// A handler writes one value through the context's formatter; 0 is success. It is called
// once with a null value to prepare a field, then with the value.
using FormatHandler = uint32_t (*)(FormatContext* context, const void* value);

struct FormatArg {
  const void* value;
  FormatHandler handler;
};

class VTFormatterBase {
 public:
  virtual ~VTFormatterBase() = default;
  virtual uint32_t WriteString(const wchar_t* text, const FormatSpec& spec) = 0;
  virtual uint32_t WriteString(const char16_t* text, const FormatSpec& spec) = 0;
  virtual uint32_t WriteString(const char* text, const FormatSpec& spec) = 0;
  virtual uint32_t WriteText(const char* text) = 0;
  virtual uint32_t WriteChar(char c) = 0;
  // `value` holds the argument sign- or zero-extended to 64 bits; `size` is its size in bytes.
  virtual uint32_t WriteInteger(uint64_t value, uint32_t size, bool isSigned,
                                const FormatSpec& spec) = 0;
  virtual uint32_t WriteDouble(double value, const FormatSpec& spec) = 0;
  virtual uint32_t WriteLongDouble(long double value, const FormatSpec& spec) = 0;
  virtual uint32_t WriteFloat(float value, const FormatSpec& spec) = 0;
};

template <typename CharT>
class VTFormatterImplT : public VTFormatterBase {
 public:
  VTFormatterImplT(CharT* position = nullptr, CharT* end = nullptr)
      : position_(position), end_(end) {}

  // Points the sink at a new range and clears the count.
  void Reset(CharT* position, CharT* end) {
    position_ = position;
    end_ = end;
    count_ = 0;
  }
  uint32_t Count() const { return count_; }

  uint32_t WriteString(const wchar_t* text, const FormatSpec& spec) override;
  uint32_t WriteString(const char16_t* text, const FormatSpec& spec) override;
  uint32_t WriteString(const char* text, const FormatSpec& spec) override;
  uint32_t WriteText(const char* text) override;
  uint32_t WriteChar(char c) override;
  uint32_t WriteInteger(uint64_t value, uint32_t size, bool isSigned,
                        const FormatSpec& spec) override;
  uint32_t WriteDouble(double value, const FormatSpec& spec) override;
  uint32_t WriteLongDouble(long double value, const FormatSpec& spec) override;
  uint32_t WriteFloat(float value, const FormatSpec& spec) override;

 protected:
  // Counts every character; stores it only while the position is below the end.
  void Put(CharT c) {
    ++count_;
    if (position_ < end_) *position_++ = c;
  }
  void PutRepeated(CharT c, uint32_t times) {
    for (uint32_t i = 0; i < times; ++i) Put(c);
  }
  template <typename Unit>
  uint32_t WriteUnits(const Unit* text, const FormatSpec& spec);
  template <typename Body>
  void WritePadded(uint32_t length, const FormatSpec& spec, Body body);

  CharT* position_;
  CharT* end_;
  uint32_t count_ = 0;
};

template <typename CharT>
class VTFormatterT : public VTFormatterImplT<CharT> {
 public:
  using VTFormatterImplT<CharT>::VTFormatterImplT;
  ~VTFormatterT() override = default;

  // Formats `format` with `args`; returns the count of characters produced, without the
  // terminator. A terminator is stored at the final position when there is one, so a
  // buffer needs one element beyond its end.
  uint32_t FormatArgs(const CharT* format, const FormatArg* args, uint32_t argCount);

  template <typename... Args>
  uint32_t Format(const CharT* format, const Args&... args);

 private:
  const CharT* ParseSpec(const CharT* p, FormatSpec& spec, const CharT* format, uint32_t argCount);
};

// Handlers for the argument types the formatter knows. The string handler is the one the
// stub's messages use.
uint32_t FormatStdStringArg(FormatContext* context, const void* value);
uint32_t FormatStdWideStringArg(FormatContext* context, const void* value);
uint32_t FormatCStringArg(FormatContext* context, const void* value);      // value: const char**
uint32_t FormatWideCStringArg(FormatContext* context, const void* value);  // value: const wchar_t**
uint32_t FormatCharArrayArg(FormatContext* context, const void* value);    // value: the chars
uint32_t FormatCharArg(FormatContext* context, const void* value);
uint32_t FormatBoolArg(FormatContext* context, const void* value);
uint32_t FormatDoubleArg(FormatContext* context, const void* value);
uint32_t FormatFloatArg(FormatContext* context, const void* value);
uint32_t FormatLongDoubleArg(FormatContext* context, const void* value);

template <typename T>
uint32_t FormatIntegerArg(FormatContext* context, const void* value) {
  if (value == nullptr) return 0;
  const T v = *static_cast<const T*>(value);
  const uint64_t bits = std::is_signed<T>::value ? static_cast<uint64_t>(static_cast<int64_t>(v))
                                                 : static_cast<uint64_t>(v);
  return context->formatter->WriteInteger(bits, sizeof(T), std::is_signed<T>::value,
                                          context->spec);
}

inline FormatArg MakeFormatArg(const std::string& v) { return {&v, &FormatStdStringArg}; }
inline FormatArg MakeFormatArg(const std::wstring& v) { return {&v, &FormatStdWideStringArg}; }
inline FormatArg MakeFormatArg(const char* const& v) { return {&v, &FormatCStringArg}; }
inline FormatArg MakeFormatArg(const wchar_t* const& v) { return {&v, &FormatWideCStringArg}; }
template <size_t N>
FormatArg MakeFormatArg(const char (&v)[N]) {
  return {v, &FormatCharArrayArg};
}
inline FormatArg MakeFormatArg(const char& v) { return {&v, &FormatCharArg}; }
inline FormatArg MakeFormatArg(const bool& v) { return {&v, &FormatBoolArg}; }
inline FormatArg MakeFormatArg(const double& v) { return {&v, &FormatDoubleArg}; }
inline FormatArg MakeFormatArg(const float& v) { return {&v, &FormatFloatArg}; }
inline FormatArg MakeFormatArg(const long double& v) { return {&v, &FormatLongDoubleArg}; }
template <typename T, typename = std::enable_if_t<std::is_integral<T>::value>>
FormatArg MakeFormatArg(const T& v) {
  return {&v, &FormatIntegerArg<T>};
}

template <typename CharT>
template <typename... Args>
uint32_t VTFormatterT<CharT>::Format(const CharT* format, const Args&... args) {
  const FormatArg list[sizeof...(Args) + 1] = {MakeFormatArg(args)..., FormatArg{nullptr, nullptr}};
  return FormatArgs(format, list, static_cast<uint32_t>(sizeof...(Args)));
}

extern template class VTFormatterImplT<char>;
extern template class VTFormatterT<char>;

}  // namespace veltrano
