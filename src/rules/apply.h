// The rule pass over the current desktop, and the window operations its actions need.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace ombrix {

class Program;

// Full mode (bIgnoreOnly false) rediscovers the current desktop first and does nothing while
// a switch, a hot-key or shut-down runs.
void ApplyRules(Program& program, bool bIgnoreOnly);
// The full mode's actions over the current desktop as it was last discovered, without the
// discovery pass and without letting messages through first.
void ApplyRuleActions(Program& program);

// Terminates the process: 1 done, -2 the termination failed, -3 the process could not be
// opened, kKillRefused for the shell, this program and a process the system marks critical.
int16_t KillProcess(Program& program, int32_t pid);
constexpr int16_t kKillRefused = -4;
// 40 + level / 10 x 60, rounded; level 0 gives 40. Hand-edited levels stay within 0..100.
int16_t VisibilityPercent(int16_t level);
// How long the close action waits for an application to handle its close request.
constexpr uint32_t kCloseTimeoutMs = 2000;

// Makes the window layered with the opacity of percent (0..100); nothing where layered
// windows do not exist, or when the window's program does not answer.
void SetWindowOpacity(Program& program, Hwnd hwnd, int16_t percent);
// 255 / 100 x percent, rounded half to even.
uint8_t OpacityAlpha(int16_t percent);

}  // namespace ombrix
