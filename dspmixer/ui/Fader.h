#pragma once
// The mixer's faders: vertical trackbars over the weight range, 100 % at the top. Only range,
// position and tick frequency are set; line and page sizes stay the trackbar's own.
#include <windows.h>

#include <cstdint>

// The scroll codes of a fader that moved (line and page steps, the thumb dragged or dropped):
// they write. Home and End (top, bottom) and the end of a drag do not.
inline bool IsFaderMove(WORD scrollCode) { return scrollCode <= 5; }

// Range 0 .. 256, a tick every 32 positions, the thumb at the position of `weight`.
void SetUpFader(HWND fader, uint32_t weight);
// The weight the fader's thumb stands for.
uint32_t FaderWeight(HWND fader);
