// The rule pass over the current desktop, and the window operations its actions need.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace ombrix {

class Program;

// Full mode (bIgnoreOnly false) rediscovers the current desktop first and does nothing while
// a switch, a hot-key or shut-down runs.
void ApplyRules(Program& program, bool bIgnoreOnly);

// Makes the window layered with the opacity of percent (0..100); nothing where layered
// windows do not exist.
void SetWindowOpacity(Program& program, Hwnd hwnd, int16_t percent);
// 255 / 100 x percent, rounded half to even.
uint8_t OpacityAlpha(int16_t percent);

}  // namespace ombrix
