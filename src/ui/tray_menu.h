// The tray icon of the main window and its menus.
#pragma once

#include <string>

#include "ui/form.h"

namespace ombrix {

class Program;

namespace menu_id {
constexpr int kExit = 1;
constexpr int kDisableHotKeys = 2;
constexpr int kGoToFirst = 101;  // mDeskTop(n) has kGoToFirst + n - 1
}  // namespace menu_id

// The right-click menu as designed, with the Go To template item 0 only.
Menu BuildMainMenu();
// Creates Go To items 1..9 with their placeholder captions; all enabled but the current desktop.
void CreateGoToItems(Program& program);
// Enables every "Go To" item but the current desktop's.
void UpdateGoToItems(Program& program);
// The text a menu item shows for its caption: placeholders resolved, everything else as it is.
std::string MenuItemText(const Program& program, const std::string& caption);
// "DeskTop n -> k apps" for the current desktop.
std::string DesktopTooltip(const Program& program);
// SetForegroundWindow of the open dialog, or of the main window when none is open.
void BringProgramToFront(Program& program);
// The tray icon's mouse message.
void OnTrayMouse(Program& program, int mouseMessage);

}  // namespace ombrix
