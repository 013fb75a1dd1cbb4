// Switching desktops: hide what is on screen, show the target's windows in their order, and
// give the focus back to the window that was active there.
#pragma once

#include <cstdint>
#include <string>

#include "core/records.h"
#include "platform/types.h"

namespace ombrix {

class Program;

// target may be changed by arrow wrapping; direction is "" or one of "L", "U", "R", "D";
// focusHwnd -1 means the target's remembered top window.
void SwitchDesktop(Program& program, int16_t& target, const std::string& direction,
                   Hwnd focusHwnd);
// Shows or hides every window of the application, keeping the hidden shell windows listed.
void ShowOrHideApplication(Program& program, const clsPI& app, bool show);
void HideDesktop(Program& program, int16_t d);
void ShowDesktop(Program& program, int16_t d);
// Gives the program's hidden window the input focus, through the foreground window's thread.
void TakeFocus(Program& program);
// Brings the window to the foreground, taking the focus first only when the system refuses.
void BringToFront(Program& program, Hwnd hwnd);
// Arrows and digits 1..9; false for any other key.
bool SwitchByKey(Program& program, int32_t vk);
// A "Go To" item was clicked.
void OnGoToItem(Program& program, int16_t index);
// An "Applications" item was clicked; tag is "desktop,handle".
void OnApplicationsItem(Program& program, const std::string& tag);

}  // namespace ombrix
