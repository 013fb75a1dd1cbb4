#include "events/hotkey_match.h"

#include "events/keys.h"
#include "platform/types.h"

namespace ombrix {

uint32_t MatchHotKey(int key, Modifiers held, const HotKeyFlags& flags) {
  if (flags.ignore) return 0;
  const bool arrow = vk::IsArrow(key);
  const bool digit = vk::IsDigit(key);
  if (!arrow && !digit) return 0;
  if (arrow && held.shift) return 0;
  if (int(held.alt) + int(held.ctrl) + int(held.win) != 1) return 0;
  if (held.alt) return (arrow ? flags.altArrows : flags.altNum) ? msg::kHotKeyAlt : 0;
  if (held.ctrl) return (arrow ? flags.ctrlArrows : flags.ctrlNum) ? msg::kHotKeyCtrl : 0;
  return (arrow ? flags.winArrows : flags.winNum) ? msg::kHotKeyWin : 0;
}

}  // namespace ombrix
