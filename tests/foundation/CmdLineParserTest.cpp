// The command-line parser: option matching, values, positional arguments, and the one
// message line each failure produces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VTCmdLineParser.h"

using Parser = veltrano::VTCmdLineParserT<char>;
namespace status = veltrano::status;

namespace {

std::vector<std::string> g_output;
void Collect(const char* line) { g_output.emplace_back(line); }

// A parser wired to collect its lines; options and collectors are added per test.
struct ParserFixture : ::testing::Test {
  ParserFixture() {
    g_output.clear();
    parser.OutputFunction = &Collect;
  }
  veltrano::Status Parse(std::vector<std::string> args) { return parser.Parse(args); }
  Parser parser;
};

// "on" and "off" only, as a mode switch would be.
enum class Mode { Unset, On, Off };
veltrano::Status ConvertMode(Mode& mode, const std::string& text) {
  if (text == "on") { mode = Mode::On; return 0; }
  if (text == "off") { mode = Mode::Off; return 0; }
  return status::kInvalidParameter;
}

using ModeOption = Parser::Option<Mode, &ConvertMode>;

void AddModeOption(Parser& parser, Mode& mode, const char* shortName, const char* longName,
                   bool required = false) {
  parser.AddOptionHandler(std::make_unique<ModeOption>(mode, shortName, longName, required,
                                                       nullptr, true));
}

// An option that takes no value and only records that it was seen.
struct Flag {
  bool set = false;
};
veltrano::Status ConvertFlag(Flag& flag, const std::string& text) {
  flag.set = text.empty();
  return status::kInvalidParameter;  // ignored for options without a value
}

}  // namespace

using CmdLineParser = ParserFixture;

TEST_F(CmdLineParser, OnlyTheProgramNameParsesAtOnce) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(0u, Parse({"C:\\stub.exe"}));
  EXPECT_TRUE(g_output.empty());
  EXPECT_EQ("C:\\stub.exe", parser.programName);
}

TEST_F(CmdLineParser, EmptyVectorStillChecksRequiredOptions) {
  std::string value;
  parser.AddOption(value, {"g", "gui", true});
  EXPECT_EQ(status::kMissingRequiredOption, Parse({}));
  ASSERT_EQ(1u, g_output.size());
  EXPECT_EQ("Missing required option g (gui).\n", g_output[0]);
}

TEST_F(CmdLineParser, LongOptionTakesTheNextArgumentAsValue) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(0u, Parse({"prog", "--gui", "-off"}));
  EXPECT_EQ("-off", value);  // a value is never classified
}

TEST_F(CmdLineParser, ShortOptionMatchesWholeNameOnly) {
  std::string value;
  parser.AddOption(value, {"v", "value", false});
  EXPECT_EQ(0u, Parse({"prog", "-v", "1"}));
  EXPECT_EQ("1", value);
  EXPECT_EQ(status::kUnknownOption, Parse({"prog", "-vv", "1"}));
  EXPECT_EQ("prog: Unknown option -vv.\n", g_output.back());
}

TEST_F(CmdLineParser, MissingValueNamesTheOptionAfterTheProgram) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(status::kMissingOptionValue, Parse({"C:\\a b\\stub.exe", "--gui"}));
  ASSERT_EQ(1u, g_output.size());
  EXPECT_EQ("C:\\a b\\stub.exe: Missing value for option --gui.\n", g_output[0]);
}

TEST_F(CmdLineParser, RepeatedOptionArgumentIsTakenAsTheValue) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(0u, Parse({"p", "--gui", "--gui"}));
  EXPECT_EQ("--gui", value);
}

TEST_F(CmdLineParser, SameOptionTwiceKeepsTheLaterValue) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(0u, Parse({"p", "--gui", "on", "--gui", "off"}));
  EXPECT_EQ("off", value);
  EXPECT_TRUE(g_output.empty());
}

TEST_F(CmdLineParser, SingleDashLongNameAndCapitalsAreUnknown) {
  std::string value;
  parser.AddOption(value, {"", "gui", false});
  EXPECT_EQ(status::kUnknownOption, Parse({"p", "-gui", "on"}));
  EXPECT_EQ("p: Unknown option -gui.\n", g_output.back());
  EXPECT_EQ(status::kUnknownOption, Parse({"p", "--GUI", "on"}));
  EXPECT_EQ("p: Unknown option --GUI.\n", g_output.back());
  EXPECT_EQ(status::kUnknownOption, Parse({"p", "--gui=on"}));
}

TEST_F(CmdLineParser, UnknownOptionCanBeIgnoredWithALine) {
  parser.ignoreUnknownOptions = true;
  EXPECT_EQ(0u, Parse({"p", "--silent", "-x"}));
  ASSERT_EQ(2u, g_output.size());
  EXPECT_EQ("p: Ignoring unknown option --silent.\n", g_output[0]);
  EXPECT_EQ("p: Ignoring unknown option -x.\n", g_output[1]);
}

TEST_F(CmdLineParser, DashesAloneAndDashDigitArePositional) {
  std::vector<std::wstring> wide;
  parser.unclaimedWideArguments = &wide;
  EXPECT_EQ(0u, Parse({"p", "-", "--", "-5", "/S", "--1", "\xc3\xa9"}));
  EXPECT_EQ((std::vector<std::wstring>{L"-", L"--", L"-5", L"/S", L"--1", L"\u00e9"}), wide);
  EXPECT_TRUE(g_output.empty());
}

TEST_F(CmdLineParser, BothCollectorsReceiveTheSameArguments) {
  std::vector<std::string> narrow;
  std::vector<std::wstring> wide;
  parser.unclaimedArguments = &narrow;
  parser.unclaimedWideArguments = &wide;
  EXPECT_EQ(0u, Parse({"p", "a", "b"}));
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), narrow);
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), wide);
}

TEST_F(CmdLineParser, UnexpectedArgumentWithoutCollectors) {
  EXPECT_EQ(status::kUnexpectedArgument, Parse({"p", "extra"}));
  EXPECT_EQ("p: Unexpected argument extra.\n", g_output.back());
  parser.allowUnexpectedArguments = true;
  g_output.clear();
  EXPECT_EQ(0u, Parse({"p", "extra"}));
  EXPECT_TRUE(g_output.empty());
}

TEST_F(CmdLineParser, PositionalHandlersFillInOrderAndReportBadValues) {
  int first = 0, second = 0;
  bool secondSeen = false;
  parser.AddArgument(first, true);
  parser.AddArgument(second, false, &secondSeen);
  EXPECT_EQ(0u, Parse({"p", "12", "-3"}));
  EXPECT_EQ(12, first);
  EXPECT_EQ(-3, second);
  EXPECT_TRUE(secondSeen);

  Parser other;
  other.OutputFunction = &Collect;
  int value = 0;
  other.AddArgument(value, true);
  EXPECT_EQ(status::kInvalidParameter, other.Parse({"p", "twelve"}));
  EXPECT_EQ("p: Invalid argument twelve.\n", g_output.back());
}

TEST_F(CmdLineParser, MissingRequiredPositionalComesBeforeOptions) {
  int value = 0;
  std::string option;
  parser.AddArgument(value, true);
  parser.AddOption(option, {"o", "opt", true});
  EXPECT_EQ(status::kMissingArgument, Parse({"p"}));
  ASSERT_EQ(1u, g_output.size());
  EXPECT_EQ("p: Missing argument.\n", g_output[0]);
}

TEST_F(CmdLineParser, RejectedValueKeepsTheDestinationAndReportsBoth) {
  Mode mode = Mode::Unset;
  AddModeOption(parser, mode, "", "gui");
  EXPECT_EQ(status::kInvalidParameter, Parse({"p", "--gui", "silent"}));
  EXPECT_EQ(Mode::Unset, mode);
  EXPECT_EQ("p: Invalid value silent for option --gui.\n", g_output.back());
  EXPECT_EQ(0u, Parse({"p", "--gui", "on"}));
  EXPECT_EQ(Mode::On, mode);
}

TEST_F(CmdLineParser, FirstErrorEndsTheParseAndEarlierValuesStay) {
  std::string a, b;
  parser.AddOption(a, {"a", "", false});
  parser.AddOption(b, {"b", "", false});
  EXPECT_EQ(status::kUnknownOption, Parse({"p", "-a", "1", "-z", "-b", "2"}));
  EXPECT_EQ("1", a);
  EXPECT_EQ("", b);
  EXPECT_EQ(1u, g_output.size());
}

TEST_F(CmdLineParser, DuplicateNameMatchesTheFirstOptionOnly) {
  std::string first, second;
  parser.AddOption(first, {"", "gui", false});
  parser.AddOption(second, {"", "gui", false});
  EXPECT_EQ(0u, Parse({"p", "--gui", "on"}));
  EXPECT_EQ("on", first);
  EXPECT_EQ("", second);
}

TEST_F(CmdLineParser, OptionWithoutValueSetsItsPresentFlag) {
  Flag flag;
  bool present = false;
  parser.AddOptionHandler(std::make_unique<Parser::Option<Flag, &ConvertFlag>>(
      flag, "q", "quiet", false, &present, false));
  EXPECT_EQ(0u, Parse({"p", "--quiet"}));
  EXPECT_TRUE(present);
  EXPECT_TRUE(flag.set);
}

TEST_F(CmdLineParser, ExplicitProgramNameIsKept) {
  parser.programName = "sfx";
  EXPECT_EQ(status::kUnknownOption, Parse({"C:\\x.exe", "--nope"}));
  EXPECT_EQ("sfx: Unknown option --nope.\n", g_output.back());
}

TEST_F(CmdLineParser, SecondParseSeesEarlierSeenFlags) {
  int value = 0;
  parser.AddArgument(value, true);
  EXPECT_EQ(0u, Parse({"p", "1"}));
  // The handler is already seen, so the argument is now unexpected.
  EXPECT_EQ(status::kUnexpectedArgument, Parse({"p", "2"}));
}

TEST_F(CmdLineParser, WithoutProgramNameTheLineIsTheMessageAlone) {
  Parser bare;
  bare.OutputFunction = &Collect;
  std::vector<std::string> args;  // no argument 0 at all
  std::string value;
  bare.AddOption(value, {"", "x", true});
  EXPECT_EQ(status::kMissingRequiredOption, bare.Parse(args));
  EXPECT_EQ("Missing required option  (x).\n", g_output.back());
}
