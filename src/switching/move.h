// Moving an application, with all its windows, from one desktop to another.
#pragma once

#include <cstdint>

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

}  // namespace ombrix
