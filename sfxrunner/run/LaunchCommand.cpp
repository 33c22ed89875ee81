#include "LaunchCommand.h"

using namespace veltrano;

namespace {

std::shared_ptr<CfgCommand> FindCommand(const CfgCommandSet& set, const std::wstring& id) {
  const auto found = set.commands.find(id);
  return found == set.commands.end() ? nullptr : found->second;
}

bool HasTags(const CfgCommand& command) {
  return command.languageTagSet != nullptr && !command.languageTagSet->tags.empty();
}

bool HasTag(const CfgCommand& command, const std::wstring& tag) {
  return command.languageTagSet->tags.count(tag) != 0;
}

}  // namespace

Status ChooseLaunchCommand(const CfgCommandSet* set, const std::wstring& selectedLanguageTag,
                           std::shared_ptr<CfgCommand>& chosen) {
  chosen.reset();
  if (set == nullptr) return status::kInvalidConfiguration;

  if (set->singleUntagged) {
    if (set->applicableIds.size() != 1) return status::kInvalidConfiguration;
    chosen = FindCommand(*set, set->applicableIds.front());
    return chosen != nullptr ? status::kOk : status::kInvalidConfiguration;
  }

  if (selectedLanguageTag.empty()) return status::kInvalidParameter;

  std::shared_ptr<CfgCommand> match;
  for (const std::wstring& id : set->applicableIds) {
    const std::shared_ptr<CfgCommand> command = FindCommand(*set, id);
    if (command == nullptr || !HasTags(*command)) return status::kInvalidConfiguration;
    if (!HasTag(*command, selectedLanguageTag)) continue;
    if (match != nullptr) return status::kInvalidConfiguration;  // a tag must name one command only
    match = command;
  }
  if (match == nullptr) return status::kInvalidConfiguration;
  chosen = match;
  return status::kOk;
}
