// The form model's menus (ui/form.h) as system pop-up menus.
#pragma once

#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

// Shows the items of menu at the mouse position for owner and waits until the menu closes.
// Returns the chosen item's id, or 0.
int TrackMenu(HWND owner, const Menu& menu);

}  // namespace ombrix::win32
