// Moving an application, with all its windows, from one desktop to another.
#pragma once

#include <array>
#include <cstdint>

#include "core/records.h"
#include "platform/types.h"

namespace ombrix {

class Program;

// index is the application's 1-based position on desktop from.
void MoveApplication(Program& program, int16_t from, int16_t index, int16_t to);
// Rescans the current desktop and moves the application that holds hwnd there to desktop to.
// False when no application of the current desktop holds hwnd.
bool MoveApplicationOf(Program& program, Hwnd hwnd, int16_t to);
// Moves the application of the last active window to the digit's desktop; always true.
bool MoveByKey(Program& program, int32_t key);

// Moving an application away from a desktop other than the current one brings its windows on
// screen, or lets them be brought, so a desktop with a password lets its applications go only
// once its password is typed, asked as a switch asks it. A desktop unlocked so stays unlocked
// for the rest of the task (one opening of a dialog). Moving onto a desktop asks nothing.
class UnlockedDesktops {
 public:
  // Whether an application may leave desktop from; asks its password when needed.
  bool MayMoveFrom(Program& program, int16_t from);

 private:
  std::array<bool, kDesktopCount + 1> unlocked_{};
};

}  // namespace ombrix
