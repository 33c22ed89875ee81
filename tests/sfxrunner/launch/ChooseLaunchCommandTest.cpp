// Which configured command a launch starts: the untagged one alone, or the one command whose
// tags hold the chosen language exactly. Command sets are built by hand, and a few through a
// whole configuration document.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "Cfg.h"
#include "LaunchCommand.h"

namespace status = veltrano::status;

namespace {

// A command set as the configuration reader leaves it after picking this machine's commands.
class CommandSet {
 public:
  // Adds a command; only `applicable` ones take part in the choice.
  std::shared_ptr<CfgCommand> Add(const std::wstring& id,
                                  std::initializer_list<const wchar_t*> tags,
                                  bool applicable = true) {
    auto command = std::make_shared<CfgCommand>(set_.get());
    command->id = id;
    command->executable = id + L".exe";
    if (tags.size() != 0) {
      command->languageTagSet = std::make_shared<CfgLanguageTagSet>(command.get());
      for (const wchar_t* tag : tags) command->languageTagSet->tags.insert(tag);
    }
    set_->commands[id] = command;
    if (applicable) set_->applicableIds.push_back(id);
    return command;
  }

  void MarkSingleUntagged() { set_->singleUntagged = true; }
  const CfgCommandSet* Get() const { return set_.get(); }

 private:
  std::shared_ptr<CfgCommandSet> set_ = std::make_shared<CfgCommandSet>(nullptr);
};

// A chosen command left over from an earlier call, to see that a failure clears it.
std::shared_ptr<CfgCommand> Stale() { return std::make_shared<CfgCommand>(nullptr); }

std::string LaunchDocument(const std::string& commands) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SelfExtractor FormatVersionMajor=\"2\" "
         "FormatVersionMinor=\"0\"><Launch><CommandSet>" +
         commands + "</CommandSet></Launch></SelfExtractor>";
}

// `tags` is empty or a whole <LanguageTagSet> element.
std::string CommandElement(const std::string& id, const std::string& architectures,
                           const std::string& tags) {
  return "<Command Id=\"" + id + "\"><ProcessorArchitectureSet>" + architectures +
         "</ProcessorArchitectureSet>" + tags + "<ShellExecute><Executable>" + id +
         ".exe</Executable></ShellExecute></Command>";
}

const char* const kThisMachine =
    "<ProcessorArchitecture>x86</ProcessorArchitecture>"
    "<ProcessorArchitecture>x64</ProcessorArchitecture>";
const char* const kOtherMachine = "<ProcessorArchitecture>ARM64</ProcessorArchitecture>";

}  // namespace

TEST(ChooseLaunchCommand, NoCommandSetIsNoMatch) {
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(nullptr, L"en-US", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, SingleUntaggedCommandIsChosenWithoutALanguage) {
  CommandSet set;
  const auto only = set.Add(L"only", {});
  set.MarkSingleUntagged();
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(set.Get(), L"", chosen));
  EXPECT_EQ(only, chosen);
}

TEST(ChooseLaunchCommand, SingleUntaggedCommandIgnoresASelectedLanguage) {
  CommandSet set;
  const auto only = set.Add(L"only", {});
  set.MarkSingleUntagged();
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(set.Get(), L"de-DE", chosen));
  EXPECT_EQ(only, chosen);
}

TEST(ChooseLaunchCommand, SingleUntaggedNeedsExactlyOneApplicableCommand) {
  CommandSet twoApplicable;
  twoApplicable.Add(L"a", {});
  twoApplicable.Add(L"b", {});
  twoApplicable.MarkSingleUntagged();
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(twoApplicable.Get(), L"", chosen));
  EXPECT_EQ(nullptr, chosen);

  CommandSet noneApplicable;
  noneApplicable.Add(L"a", {}, false);
  noneApplicable.MarkSingleUntagged();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(noneApplicable.Get(), L"", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, TaggedCommandsWithoutASelectedLanguageNeedOne) {
  CommandSet set;
  set.Add(L"english", {L"en-US"});
  set.Add(L"german", {L"de-DE"});
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidParameter, ChooseLaunchCommand(set.Get(), L"", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, CommandWhoseTagEqualsTheSelectedLanguageIsChosen) {
  CommandSet set;
  set.Add(L"english", {L"en-US", L"en-GB"});
  const auto german = set.Add(L"german", {L"de-AT", L"de-DE"});
  set.Add(L"french", {L"fr-FR"});
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(set.Get(), L"de-DE", chosen));
  EXPECT_EQ(german, chosen);
}

TEST(ChooseLaunchCommand, TagsThatDifferOnlyInLetterCaseDoNotMatch) {
  CommandSet set;
  set.Add(L"upper", {L"EN"});
  set.Add(L"mixed", {L"En"});
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"en", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, LanguagePrefixDoesNotMatch) {
  CommandSet set;
  set.Add(L"english", {L"en-US"});
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"en", chosen));
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"en-US-x", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, NoCommandForTheSelectedLanguageIsNoMatch) {
  CommandSet set;
  set.Add(L"english", {L"en-US"});
  set.Add(L"german", {L"de-DE"});
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"ja-JP", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, UntaggedCommandAmongTaggedOnesIsNoMatch) {
  CommandSet untaggedFirst;
  untaggedFirst.Add(L"untagged", {});
  untaggedFirst.Add(L"english", {L"en-US"});
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(untaggedFirst.Get(), L"en-US", chosen));
  EXPECT_EQ(nullptr, chosen);

  // Even after the matching command has been found.
  CommandSet untaggedLast;
  untaggedLast.Add(L"english", {L"en-US"});
  untaggedLast.Add(L"untagged", {});
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(untaggedLast.Get(), L"en-US", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, TagSetWithoutTagsCountsAsUntagged) {
  CommandSet set;
  const auto emptyTags = set.Add(L"empty", {});
  emptyTags->languageTagSet = std::make_shared<CfgLanguageTagSet>(emptyTags.get());
  set.Add(L"english", {L"en-US"});
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"en-US", chosen));
}

TEST(ChooseLaunchCommand, TagOnTwoApplicableCommandsIsNoMatch) {
  CommandSet set;
  set.Add(L"first", {L"en-US"});
  set.Add(L"second", {L"de-DE", L"en-US"});
  std::shared_ptr<CfgCommand> chosen = Stale();
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(set.Get(), L"en-US", chosen));
  EXPECT_EQ(nullptr, chosen);
}

TEST(ChooseLaunchCommand, CommandsForOtherMachinesTakeNoPart) {
  CommandSet set;
  set.Add(L"arm", {L"en-US"}, false);
  set.Add(L"untaggedArm", {}, false);
  const auto english = set.Add(L"english", {L"en-US"});
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(set.Get(), L"en-US", chosen));
  EXPECT_EQ(english, chosen);

  CommandSet onlyOthers;
  onlyOthers.Add(L"arm", {L"en-US"}, false);
  onlyOthers.Add(L"german", {L"de-DE"});
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(onlyOthers.Get(), L"en-US", chosen));
}

TEST(ChooseLaunchCommand, ApplicableIdWithoutItsCommandIsNoMatch) {
  CommandSet set;
  set.Add(L"english", {L"en-US"});
  CfgCommandSet broken(nullptr);
  broken.commands = set.Get()->commands;
  broken.applicableIds = {L"english", L"missing"};
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(&broken, L"en-US", chosen));
}

TEST(ChooseLaunchCommandFromDocument, UntaggedCommandBesideOneForAnotherMachineIsStarted) {
  Cfg cfg;
  ASSERT_EQ(status::kOk, cfg.Parse(LaunchDocument(CommandElement("only", kThisMachine, "") +
                                                  CommandElement("arm", kOtherMachine, ""))
                                       .c_str()));
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(cfg.launch->commandSet.get(), L"", chosen));
  ASSERT_NE(nullptr, chosen);
  EXPECT_EQ(L"only", chosen->id);
}

TEST(ChooseLaunchCommandFromDocument, LanguageCommandIsFoundByItsTag) {
  const std::string english = "<LanguageTagSet><LanguageTag>en-US</LanguageTag></LanguageTagSet>";
  const std::string german = "<LanguageTagSet><LanguageTag>de-DE</LanguageTag></LanguageTagSet>";
  Cfg cfg;
  ASSERT_EQ(status::kOk, cfg.Parse(LaunchDocument(CommandElement("en", kThisMachine, english) +
                                                  CommandElement("de", kThisMachine, german))
                                       .c_str()));
  std::shared_ptr<CfgCommand> chosen;
  EXPECT_EQ(status::kOk, ChooseLaunchCommand(cfg.launch->commandSet.get(), L"de-DE", chosen));
  ASSERT_NE(nullptr, chosen);
  EXPECT_EQ(L"de", chosen->id);
  EXPECT_EQ(status::kInvalidConfiguration, ChooseLaunchCommand(cfg.launch->commandSet.get(), L"de-de", chosen));
  EXPECT_EQ(status::kInvalidParameter, ChooseLaunchCommand(cfg.launch->commandSet.get(), L"", chosen));
}
