// The tray icon of the main window and its menus.
#pragma once

#include <string>

#include "platform/platform.h"
#include "ui/form.h"

namespace ombrix {

class Program;

namespace menu_id {
constexpr int kExit = 1;
constexpr int kDisableHotKeys = 2;
constexpr int kMoveTo = 3;
constexpr int kDesktopSettings = 4;
constexpr int kApplicationRules = 5;
constexpr int kProgramSettings = 6;
constexpr int kHelp = 7;
constexpr int kAbout = 8;
constexpr int kGoToFirst = 101;          // mDeskTop(n) has kGoToFirst + n - 1
constexpr int kApplicationsFirst = 1000;  // mApplicazioni(i) has kApplicationsFirst + i
}  // namespace menu_id

// Application texts longer than this are cut and end in "...".
constexpr size_t kApplicationTextLength = 35;

// The right-click menu as designed, with the Go To template item 0 and the All Desktops
// item 0 only.
Menu BuildMainMenu();
// Creates Go To items 1..9 with their placeholder captions; all enabled but the current desktop.
void CreateGoToItems(Program& program);
// Enables every "Go To" item but the current desktop's.
void UpdateGoToItems(Program& program);
// Rebuilds the All Desktops list: a header per desktop with applications on screen, then those
// applications; the item "Applications" only when nothing is listed.
void BuildApplicationsMenu(Program& program);

// What a menu item shows for its designed caption: placeholders resolved to texts and pictures,
// the fixed items' pictures, and everything else translated.
struct MenuItemLook {
  std::string text;
  IconHandle picture = 0;
};
MenuItemLook MenuItemInfo(const Program& program, const std::string& caption);

// "DeskTop n -> k apps" for the current desktop.
std::string DesktopTooltip(const Program& program);
// SetForegroundWindow of the open dialog, or of the main window when none is open.
void BringProgramToFront(Program& program);
// The tray icon's mouse message.
void OnTrayMouse(Program& program, int mouseMessage);
// The tray icon selected (All Desktops) or asked for its context menu (the full menu) from the
// keyboard.
void OnTrayKey(Program& program, TrayKey key);

}  // namespace ombrix
