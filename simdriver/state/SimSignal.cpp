#include "SimSignal.h"

#include <cmath>

namespace sonarixsim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCentreDb = -27.0;
constexpr double kSwingDb = 15.0;  // inputs move between -42 dB and -12 dB
constexpr double kBasePeriodMs = 2000.0;
constexpr double kPeriodStepMs = 450.0;  // periods from 2.0 s to 6.5 s
constexpr uint32_t kPeriodSteps = 11;
constexpr double kPhaseStep = 0.6180339887;
constexpr double kSilence = 1e-6;  // -120 dB

double InputLevelDb(const ChannelAddress& input, uint32_t nowMs) {
  const uint32_t channel = input.kind * kMaxChannelsPerFamily + input.index;
  const double period = kBasePeriodMs + kPeriodStepMs * (channel % kPeriodSteps);
  const double phase = std::fmod(channel * kPhaseStep, 1.0);
  const double cycle = std::fmod(static_cast<double>(nowMs), period) / period + phase;
  return kCentreDb + kSwingDb * std::sin(2.0 * kPi * cycle);
}

// kNoLevel for silence (below -120 dB); otherwise the level, at most the largest int16.
int16_t LevelFromAmplitude(double amplitude) {
  if (!(amplitude > kSilence)) return kNoLevel;
  const double level = std::round(2000.0 * std::log10(amplitude));
  if (level > 32767.0) return 32767;
  return static_cast<int16_t>(level);
}

double InputAmplitude(const ChannelAddress& input, uint32_t nowMs) {
  return std::pow(10.0, InputLevelDb(input, nowMs) / 20.0);
}

double OutputAmplitude(const DeviceRecord& device, const ChannelAddress& output, uint32_t nowMs) {
  double sum = 0.0;
  for (uint32_t kind = 0; kind < kWireKinds; ++kind) {
    for (uint32_t index = 0; index < ChannelCount(device, Side::Input, kind); ++index) {
      const uint32_t weight = device.weights[kind][index][output.kind][output.index];
      if (weight != 0) sum += InputAmplitude({kind, index}, nowMs) * weight / kUnityWeight;
    }
  }
  return sum * device.gains[output.kind][output.index] / kUnityWeight;
}

}  // namespace

int16_t ChannelLevel(const DeviceRecord& device, Side side, const ChannelAddress& channel,
                     uint32_t nowMs) {
  if (device.metersRunning == 0) return kNoLevel;
  if (side == Side::Input) return LevelFromAmplitude(InputAmplitude(channel, nowMs));
  return LevelFromAmplitude(OutputAmplitude(device, channel, nowMs));
}

}  // namespace sonarixsim
