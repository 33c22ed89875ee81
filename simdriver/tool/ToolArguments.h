#pragma once
// Reading the control tool's argument values: numbers, weights, counts, channels.
#include <cstdint>
#include <string>

#include "SimDevices.h"

namespace sonarixsim {

// Decimal or 0x-prefixed hexadecimal, the whole text, within 32 bits.
bool ParseUnsigned(const std::string& text, uint32_t& value);
// A number as above, or a percentage of unity such as "50%" or "100%".
bool ParseWeight(const std::string& text, uint32_t& value);
// Six counts "DO,DI,AP,AR,APV,ARV" in family order.
bool ParseCounts(const std::string& text, ChannelCounts& counts);
// "Family:index" with a family name of the given side, case ignored.
bool ParseChannel(const std::string& text, Side side, ChannelAddress& channel);

const char* FamilyName(Side side, uint32_t kind);
std::string ChannelName(Side side, const ChannelAddress& channel);
// "0x01000000 (100%)"
std::string WeightText(uint32_t weight);

}  // namespace sonarixsim
