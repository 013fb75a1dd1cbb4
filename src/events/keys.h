// The virtual-key codes the program and its hook library speak about, and what they mean here.
#pragma once

#include <cstdint>

namespace ombrix::vk {

constexpr int kShift = 16;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kDigit1 = '1';
constexpr int kDigit9 = '9';
constexpr int kNumPad1 = 0x61;
constexpr int kNumPad9 = 0x69;

constexpr bool IsArrow(int key) { return key >= kLeft && key <= kDown; }
constexpr bool IsDigit(int key) { return key >= kDigit1 && key <= kDigit9; }
// The desktop a digit names, on the top row or the number pad; 0 for any other key.
constexpr int16_t DesktopOfDigit(int key) {
  if (IsDigit(key)) return static_cast<int16_t>(key - kDigit1 + 1);
  if (key >= kNumPad1 && key <= kNumPad9) return static_cast<int16_t>(key - kNumPad1 + 1);
  return 0;
}

}  // namespace ombrix::vk
