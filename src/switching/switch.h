// Switching desktops: hide what is on screen, show the target's windows in their order, and
// give the focus back to the window that was active there.
#pragma once

#include <cstdint>
#include <vector>

#include "core/records.h"
#include "platform/types.h"
#include "ui/form.h"

namespace ombrix {

class Program;

// Which way an arrow key steps from the current desktop on the 3 x 3 grid; None for a switch
// to a desktop named by its number.
enum class Direction { None, Left, Up, Right, Down };

// A target beyond 1..9 reached by an arrow wraps around when cycling is on; focusHwnd -1 means
// the target's remembered top window.
void SwitchDesktop(Program& program, int16_t target, Direction direction = Direction::None,
                   Hwnd focusHwnd = -1);
// Shows or hides every window of the application, keeping the hidden shell windows listed.
// Hiding gives the windows that stayed on screen (see switching/unhideable.h).
std::vector<Hwnd> ShowOrHideApplication(Program& program, const clsPI& app, bool show);
std::vector<Hwnd> HideDesktop(Program& program, int16_t d);
void ShowDesktop(Program& program, int16_t d);
// Gives the program's hidden window the input focus, through the foreground window's thread.
void TakeFocus(Program& program);
// Brings the window to the foreground, taking the focus first only when the system refuses.
void BringToFront(Program& program, Hwnd hwnd);
// Arrows and digits 1..9; false for any other key.
bool SwitchByKey(Program& program, int32_t key);
// A "Go To" item was clicked.
void OnGoToItem(Program& program, int16_t index);
// An "Applications" item was clicked.
void OnApplicationsItem(Program& program, const MenuTarget& target);

}  // namespace ombrix
