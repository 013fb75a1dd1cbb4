// Windows the system does not let the program hide: those of elevated programs while the
// program is not elevated, and those of programs that veto their own hiding. Such a window is
// on every desktop: it is not asked to hide again, it stays listed on the desktop the user is
// on, and the user is told once per program why it stays.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class Program;

struct UnhideableWindows {
  // Window -> its process, so that a handle that passes to another program's window counts no
  // more. Entries of closed windows stay: they are few, and harmless with that check.
  std::unordered_map<Hwnd, uint32_t> windows;
  // The programs the user has been told of.
  std::set<std::string> told;

  bool Contains(Hwnd hwnd, uint32_t processId) const;
};

// The windows of the list stayed on screen when desktop `from` was hidden: their records move
// to desktop `to`, where the user is, and the user learns of each program not yet told of.
void KeepOnScreen(Program& program, const std::vector<Hwnd>& stayed, int16_t from, int16_t to);

}  // namespace ombrix
