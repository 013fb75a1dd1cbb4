// Which key presses the hook library reports as hot-keys. Plain logic, so it is tested natively.
#pragma once

#include <cstdint>

namespace ombrix {

// Modifier keys held when a key goes down (either Win key counts as Win).
struct Modifiers {
  bool alt = false;
  bool ctrl = false;
  bool win = false;
  bool shift = false;
};

// The key groups the program asked the library for.
struct HotKeyFlags {
  bool altArrows = false;
  bool ctrlArrows = false;
  bool winArrows = false;
  bool altNum = false;
  bool ctrlNum = false;
  bool winNum = false;
  bool ignore = false;  // report nothing, whatever the groups say
};

// The message that reports virtual key `key` pressed with the held modifiers (1025 Alt, 1026 Ctrl,
// 1027 Win), or 0 when that press is not a hot-key. Exactly one of Alt, Ctrl and Win must be
// held; Shift may join a digit (the program reads it itself) but not an arrow, which leaves
// Shift+Win+arrow and the like to the system.
uint32_t MatchHotKey(int key, Modifiers held, const HotKeyFlags& flags);

}  // namespace ombrix
