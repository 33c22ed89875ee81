#include "ToolArguments.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sonarixsim {
namespace {

const char* const kInputFamilies[kWireKinds] = {"AppPlayback", "DeviceInput", "AppPlaybackVirt"};
const char* const kOutputFamilies[kWireKinds] = {"AppRecording", "DeviceOutput",
                                                 "AppRecordingVirt"};

bool SameNameIgnoringCase(const std::string& a, const char* b) {
  return _stricmp(a.c_str(), b) == 0;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

bool ParseUnsigned(const std::string& text, uint32_t& value) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || end == text.c_str() || *end != 0 || parsed > 0xFFFFFFFFull) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

bool ParseWeight(const std::string& text, uint32_t& value) {
  if (text.size() < 2 || text.back() != '%') return ParseUnsigned(text, value);
  uint32_t percent = 0;
  if (!ParseUnsigned(text.substr(0, text.size() - 1), percent)) return false;
  const unsigned long long weight = static_cast<unsigned long long>(percent) * kUnityWeight / 100;
  if (weight > 0xFFFFFFFFull) return false;
  value = static_cast<uint32_t>(weight);
  return true;
}

bool ParseCounts(const std::string& text, ChannelCounts& counts) {
  const std::vector<std::string> parts = Split(text, ',');
  if (parts.size() != kFamilies) return false;
  FamilyCounts values = {};
  for (size_t i = 0; i < kFamilies; ++i) {
    if (!ParseUnsigned(parts[i], values[i]) || values[i] > kMaxChannelsPerFamily) return false;
  }
  counts = CountsFromFamilyOrder(values);
  return true;
}

bool ParseChannel(const std::string& text, Side side, ChannelAddress& channel) {
  const std::vector<std::string> parts = Split(text, ':');
  if (parts.size() != 2) return false;
  for (uint32_t kind = 0; kind < kWireKinds; ++kind) {
    if (SameNameIgnoringCase(parts[0], FamilyName(side, kind))) {
      channel.kind = kind;
      return ParseUnsigned(parts[1], channel.index);
    }
  }
  return false;
}

const char* FamilyName(Side side, uint32_t kind) {
  if (kind >= kWireKinds) return "?";
  return side == Side::Input ? kInputFamilies[kind] : kOutputFamilies[kind];
}

std::string ChannelName(Side side, const ChannelAddress& channel) {
  return std::string(FamilyName(side, channel.kind)) + ":" + std::to_string(channel.index);
}

std::string WeightText(uint32_t weight) {
  char text[48];
  const unsigned long long percent = static_cast<unsigned long long>(weight) * 100 / kUnityWeight;
  std::snprintf(text, sizeof(text), "0x%08X (%llu%%)", static_cast<unsigned>(weight), percent);
  return text;
}

}  // namespace sonarixsim
