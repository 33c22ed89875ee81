#include "Fader.h"

#include <commctrl.h>

#include "DspMixer.h"

namespace {
constexpr int kTickEvery = 32;
}

void SetUpFader(HWND fader, uint32_t weight) {
  ::SendMessageW(fader, TBM_SETRANGE, TRUE, MAKELPARAM(0, kSliderMax));
  ::SendMessageW(fader, TBM_SETPOS, TRUE, WeightToSliderPos(weight));
  ::SendMessageW(fader, TBM_SETTICFREQ, kTickEvery, 0);
}

uint32_t FaderWeight(HWND fader) {
  return SliderPosToWeight(static_cast<int>(::SendMessageW(fader, TBM_GETPOS, 0, 0)));
}
