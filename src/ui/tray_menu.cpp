#include "ui/tray_menu.h"

#include "app/lifecycle.h"
#include "app/program.h"
#include "events/hotkeys.h"
#include "switching/switch.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr const char* kDeskPlaceholder = "OMBRIXDESK";
constexpr int kVirtualKeyShift = 16;

Menu Item(const std::string& name, const std::string& caption, int id = 0) {
  Menu item;
  item.Name = name;
  item.Caption = caption;
  item.id = id;
  return item;
}

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

// Resolves placeholders in a copy of the menu, so the host only draws texts.
void ResolveCaptions(const Program& program, Menu& menu) {
  menu.Caption = MenuItemText(program, menu.Caption);
  for (Menu& item : menu.items) ResolveCaptions(program, item);
}

}  // namespace

Menu BuildMainMenu() {
  Menu root = Item("mMenu", "&Menu");
  Menu goTo = Item("mGoTo", "&Go To...");
  Menu templateItem = Item("mDeskTop", "Go To");
  templateItem.Index = 0;
  templateItem.Visible = false;
  goTo.items.push_back(templateItem);
  root.items.push_back(goTo);
  root.items.push_back(Item("sep8", "-"));
  root.items.push_back(Item("mnuDisableHotKeys", "Disable Hot-Keys", menu_id::kDisableHotKeys));
  root.items.push_back(Item("sep2", "-"));
  root.items.push_back(Item("mEsci", "&Exit", menu_id::kExit));
  return root;
}

void CreateGoToItems(Program& program) {
  Menu* goTo = program.mMenu.Find("mGoTo");
  for (int n = 1; n <= kDesktopCount; ++n) {
    Menu item = Item("mDeskTop", kDeskPlaceholder + std::to_string(n),
                     menu_id::kGoToFirst + n - 1);
    item.Index = n;
    goTo->items.push_back(item);
  }
  UpdateGoToItems(program);
}

void UpdateGoToItems(Program& program) {
  for (Menu& item : program.mMenu.Find("mGoTo")->items) {
    if (item.Index > 0) item.Enabled = item.Index != program.desk.iCurDesk;
  }
}

std::string MenuItemText(const Program& program, const std::string& caption) {
  if (StartsWith(caption, kDeskPlaceholder)) {
    const int d = DecodeNumber(caption.substr(std::string(kDeskPlaceholder).size()));
    if (d < 1 || d > kDesktopCount) return caption;
    const clsDesktop& desktop = program.desk.Desk(d);
    std::string text =
        desktop.sDeskName.empty() ? "Desktop " + std::to_string(d) : desktop.sDeskName;
    const int k = desktop.GetNumVisProc();
    if (k > 0) text += " (" + std::to_string(k) + " " + GetMsg(program, msgs::kApps) + ")";
    return text;
  }
  return program.menuTranslation.GetMenuTranslation(program, "frmMain", caption);
}

std::string DesktopTooltip(const Program& program) {
  const int n = program.desk.iCurDesk;
  return "DeskTop " + std::to_string(n) + " -> " +
         std::to_string(program.desk.Desk(n).GetNumVisProc()) + " " +
         GetMsg(program, msgs::kApps);
}

void BringProgramToFront(Program& program) {
  program.platform.windows.SetForegroundWindow(program.lDialogHwnd != 0 ? program.lDialogHwnd
                                                                        : program.lMainHwnd);
}

void OnTrayMouse(Program& program, int mouseMessage) {
  if (program.lDialogHwnd != 0 || program.bMsgBoxOpen) {
    BringProgramToFront(program);
    return;
  }
  if (program.bSwitching || program.bHotKeyBusy || program.bUnloading) return;
  if (mouseMessage != msg::kLButtonUp && mouseMessage != msg::kRButtonUp) return;
  if (IsKeyDown(program, kVirtualKeyShift)) {
    const int16_t current = program.desk.iCurDesk;
    int16_t target = mouseMessage == msg::kLButtonUp
                         ? static_cast<int16_t>(current == 1 ? kDesktopCount : current - 1)
                         : static_cast<int16_t>(current == kDesktopCount ? 1 : current + 1);
    SwitchDesktop(program, target, "", -1);
    return;
  }
  if (mouseMessage != msg::kRButtonUp) return;

  program.bExitRequested = false;
  program.platform.windows.SetForegroundWindow(program.lMainHwnd);
  Menu shown = program.mMenu;
  ResolveCaptions(program, shown);
  const int chosen = program.platform.ui.PopupMenu(program.lMainHwnd, shown);
  if (chosen == menu_id::kExit) {
    program.bExitRequested = true;
  } else if (chosen == menu_id::kDisableHotKeys) {
    ToggleDisableHotKeys(program);
  } else if (const Menu* item = program.mMenu.FindById(chosen); item && item->Name == "mDeskTop") {
    OnGoToItem(program, static_cast<int16_t>(item->Index));
  }

  if (program.bExitRequested) {
    // A refused or declined exit must not leave the request standing: a later close
    // request from outside would otherwise be taken for the Exit command.
    if (!AskYesNo(program, GetMsg(program, msgs::kExit)) ||
        !UnloadMainWindow(program, unload::kFormCode)) {
      program.bExitRequested = false;
    }
  }
}

}  // namespace ombrix
