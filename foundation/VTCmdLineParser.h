#pragma once
// A small parser of an argument vector: options ("-name" or "--name", the value in the next
// argument) and positional arguments, each converted into a typed destination. Every problem
// is reported as one formatted line through OutputFunction, and the first error ends the parse.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VTFormatter.h"
#include "VTStatus.h"
#include "VTStringConv.h"

namespace veltrano {

// Converts an argument text into a value of type ValueT; each value type brings its own
// specialisation. ProcessValue returns 0 when the text is accepted.
template <typename TextT, typename ValueT>
struct VTCmdLineArgHandler;

template <>
struct VTCmdLineArgHandler<std::string, std::string> {
  static Status ProcessValue(std::string& value, const std::string& text) {
    value = text;
    return status::kOk;
  }
};

template <>
struct VTCmdLineArgHandler<std::string, std::wstring> {
  static Status ProcessValue(std::wstring& value, const std::string& text) {
    value = Utf8ToWide(text.c_str());
    return status::kOk;
  }
};

// A whole decimal number (an optional '-', then digits) that fits the type.
template <>
struct VTCmdLineArgHandler<std::string, int> {
  static Status ProcessValue(int& value, const std::string& text) {
    size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (i == text.size()) return status::kInvalidParameter;
    int64_t result = 0;
    for (; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9') return status::kInvalidParameter;
      result = result * 10 + (text[i] - '0');
      if (result > int64_t{INT32_MAX} + 1) return status::kInvalidParameter;
    }
    if (text[0] == '-') result = -result;
    if (result > INT32_MAX || result < INT32_MIN) return status::kInvalidParameter;
    value = static_cast<int>(result);
    return status::kOk;
  }
};

template <typename CharT>
class VTCmdLineParserT {
 public:
  using String = std::basic_string<CharT>;
  using OutputFunctionType = void (*)(const CharT* line);

  class ArgBase {
   public:
    ArgBase(bool isRequired, bool* presentFlag, void* destination)
        : required(isRequired), present(presentFlag), value(destination) {}
    virtual ~ArgBase() = default;
    virtual bool TakesValue() const { return false; }
    virtual const String& ShortName() const { return EmptyName(); }
    virtual const String& LongName() const { return EmptyName(); }
    virtual Status ProcessArgument(const String& text) = 0;

    bool required;
    bool seen = false;
    bool* present;  // the caller's flag, set when the handler consumed an argument
    void* value;

   private:
    static const String& EmptyName() {
      static const String empty;
      return empty;
    }
  };

  template <typename T,
            Status (*Convert)(T&, const String&) = &VTCmdLineArgHandler<String, T>::ProcessValue>
  class ArgT : public ArgBase {
   public:
    ArgT(T& destination, bool isRequired, bool* presentFlag)
        : ArgBase(isRequired, presentFlag, &destination) {}
    Status ProcessArgument(const String& text) override {
      return Convert(*static_cast<T*>(this->value), text);
    }
  };

  template <typename T,
            Status (*Convert)(T&, const String&) = &VTCmdLineArgHandler<String, T>::ProcessValue>
  class Option : public ArgT<T, Convert> {
   public:
    Option(T& destination, const String& shortName, const String& longName, bool isRequired,
           bool* presentFlag, bool takesValue)
        : ArgT<T, Convert>(destination, isRequired, presentFlag),
          shortName_(shortName),
          longName_(longName),
          takesValue_(takesValue) {}
    bool TakesValue() const override { return takesValue_; }
    const String& ShortName() const override { return shortName_; }
    const String& LongName() const override { return longName_; }

   private:
    String shortName_;
    String longName_;
    bool takesValue_;
  };

  static Status SetTrue(bool& flag, const String&) {
    flag = true;
    return status::kOk;
  }

  struct OptionSpec {
    String shortName;
    String longName;
    bool required = false;
  };

  VTCmdLineParserT() = default;
  VTCmdLineParserT(const VTCmdLineParserT&) = delete;
  VTCmdLineParserT& operator=(const VTCmdLineParserT&) = delete;

  // An option that takes its value from the next argument. Names are not checked for
  // duplicates: the first option added with a name is the one that matches.
  template <typename T>
  void AddOption(T& destination, const OptionSpec& spec) {
    options.push_back(std::make_unique<Option<T>>(destination, spec.shortName, spec.longName,
                                                  spec.required, nullptr, true));
  }

  // A switch without a value: `flag` becomes true when the option is given.
  void AddFlag(bool& flag, const OptionSpec& spec) {
    options.push_back(std::make_unique<Option<bool, &SetTrue>>(flag, spec.shortName, spec.longName,
                                                               spec.required, nullptr, false));
  }

  // A positional argument; positional handlers are filled in the order they were added.
  template <typename T>
  void AddArgument(T& destination, bool required, bool* present = nullptr) {
    positionals.push_back(std::make_unique<ArgT<T>>(destination, required, present));
  }

  // Any handler of the caller's own (an option that takes no value, for instance).
  void AddOptionHandler(std::unique_ptr<ArgBase> handler) { options.push_back(std::move(handler)); }

  // args[0] is the program's own name; it names the messages unless programName is set.
  Status Parse(const std::vector<String>& args);

  std::vector<std::unique_ptr<ArgBase>> positionals;
  std::vector<std::unique_ptr<ArgBase>> options;
  std::vector<String>* unclaimedArguments = nullptr;            // may be null
  std::vector<std::wstring>* unclaimedWideArguments = nullptr;  // may be null
  String programName;
  bool ignoreUnknownOptions = false;
  bool allowUnexpectedArguments = false;
  OutputFunctionType OutputFunction = nullptr;

 private:
  static bool IsAsciiLetter(CharT c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsOptionArgument(const String& a);
  ArgBase* FindOption(const String& a) const;
  ArgBase* NextPositional() const;
  template <typename... Args>
  Status Report(Status result, const CharT* format, const Args&... args);
};

template <typename CharT>
bool VTCmdLineParserT<CharT>::IsOptionArgument(const String& a) {
  if (a.size() < 2 || a[0] != '-') return false;
  if (IsAsciiLetter(a[1])) return true;
  return a[1] == '-' && a.size() >= 3 && IsAsciiLetter(a[2]);
}

template <typename CharT>
typename VTCmdLineParserT<CharT>::ArgBase* VTCmdLineParserT<CharT>::FindOption(
    const String& a) const {
  for (const auto& option : options) {
    const String& longName = option->LongName();
    if (a.size() > 2 && a[0] == '-' && a[1] == '-' && !longName.empty() &&
        a.compare(2, String::npos, longName) == 0) {
      return option.get();
    }
    const String& shortName = option->ShortName();
    if (!shortName.empty() && a.compare(1, String::npos, shortName) == 0) return option.get();
  }
  return nullptr;
}

template <typename CharT>
typename VTCmdLineParserT<CharT>::ArgBase* VTCmdLineParserT<CharT>::NextPositional() const {
  for (const auto& handler : positionals) {
    if (!handler->seen) return handler.get();
  }
  return nullptr;
}

template <typename CharT>
template <typename... Args>
Status VTCmdLineParserT<CharT>::Report(Status result, const CharT* format, const Args&... args) {
  VTFormatterT<CharT> formatter;
  const uint32_t length = formatter.Format(format, args...);
  String text(length, CharT());
  if (length != 0) {
    formatter.Reset(&text[0], &text[0] + length);
    formatter.Format(format, args...);
  }
  if (OutputFunction != nullptr) {
    const CharT separator[] = {':', ' ', 0};
    const String line = programName.empty() ? text : programName + separator + text;
    OutputFunction(line.c_str());
  }
  return result;
}

template <typename CharT>
Status VTCmdLineParserT<CharT>::Parse(const std::vector<String>& args) {
  if (!args.empty() && programName.empty()) programName = args[0];

  for (size_t i = 1; i < args.size(); ++i) {
    const String& a = args[i];
    if (IsOptionArgument(a)) {
      ArgBase* option = FindOption(a);
      if (option == nullptr) {
        if (!ignoreUnknownOptions) return Report(status::kUnknownOption, "Unknown option {}.\n", a);
        Report(status::kOk, "Ignoring unknown option {}.\n", a);
        continue;
      }
      if (option->TakesValue()) {
        if (i + 1 >= args.size()) {
          return Report(status::kMissingOptionValue, "Missing value for option {}.\n", a);
        }
        const String& value = args[++i];
        const Status result = option->ProcessArgument(value);
        if (result != status::kOk) {
          return Report(result, "Invalid value {} for option {}.\n", value, a);
        }
      } else {
        option->ProcessArgument(String());
      }
      option->seen = true;
      if (option->present != nullptr) *option->present = true;
      continue;
    }

    if (ArgBase* positional = NextPositional()) {
      const Status result = positional->ProcessArgument(a);
      if (result != status::kOk) return Report(result, "Invalid argument {}.\n", a);
      positional->seen = true;
      if (positional->present != nullptr) *positional->present = true;
    } else if (unclaimedArguments == nullptr && unclaimedWideArguments == nullptr) {
      if (!allowUnexpectedArguments) {
        return Report(status::kUnexpectedArgument, "Unexpected argument {}.\n", a);
      }
    } else {
      if (unclaimedArguments != nullptr) unclaimedArguments->push_back(a);
      if (unclaimedWideArguments != nullptr) {
        unclaimedWideArguments->push_back(Utf8ToWide(a.c_str()));
      }
    }
  }

  for (const auto& positional : positionals) {
    if (positional->required && !positional->seen) {
      return Report(status::kMissingArgument, "Missing argument.\n");
    }
  }
  for (const auto& option : options) {
    if (option->required && !option->seen) {
      return Report(status::kMissingRequiredOption, "Missing required option {} ({}).\n",
                    option->ShortName(), option->LongName());
    }
  }
  return status::kOk;
}

}  // namespace veltrano
