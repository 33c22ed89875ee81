#pragma once
// The signal model behind the level meters. Every input channel carries a test tone whose
// level swings slowly and deterministically, with a period and phase of its own (a function
// of the channel and the system tick count only, so every process sees the same levels at
// the same moment). An output carries the linear sum of the inputs through its node weights,
// times its output gain. Levels are hundredths of a dB of the amplitude (1.0 = full scale).
#include <cstdint>

#include "SimDevices.h"
#include "SimLayout.h"

namespace sonarixsim {

int16_t ChannelLevel(const DeviceRecord& device, Side side, const ChannelAddress& channel,
                     uint32_t nowMs);

}  // namespace sonarixsim
