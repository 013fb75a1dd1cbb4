#include "ui/tray_menu.h"

#include <stdexcept>

#include "app/lifecycle.h"
#include "app/program.h"
#include "core/discovery.h"
#include "core/text.h"
#include "dialogs/application_list.h"
#include "dialogs/desktop_dialog.h"
#include "dialogs/organize.h"
#include "dialogs/rules_editor.h"
#include "dialogs/settings_dialog.h"
#include "events/hotkeys.h"
#include "events/keys.h"
#include "lang/messages.h"
#include "rules/apply.h"
#include "switching/switch.h"
#include "ui/about.h"
#include "ui/help.h"

namespace ombrix {

namespace {

constexpr const char* kDeskPlaceholder = "OMBRIXDESK";
constexpr const char* kAppsPlaceholder = "OMBRIXAPPS";

// The fixed items with a picture, in the order their captions are compared.
struct FixedPicture {
  const char* name;
  MenuPicture picture;
};
constexpr FixedPicture kFixedPictures[] = {
    {"mnuSettings", MenuPicture::Settings},
    {"mAbout", MenuPicture::About},
    {"mnuHelp", MenuPicture::Help},
    {"mEsci", MenuPicture::Exit},
    {"mnuAppRules", MenuPicture::ApplicationRules},
    {"mnuWallPaperSettings", MenuPicture::DesktopSettings},
    {"mnuProgramSettings", MenuPicture::ProgramSettings},
    {"mMoveTo", MenuPicture::Move},
};

Menu Item(const std::string& name, const std::string& caption, int id = 0, int index = -1) {
  Menu item;
  item.Name = name;
  item.Caption = caption;
  item.id = id;
  item.Index = index;
  return item;
}

// A command whose dialog the program does not have yet: shown, but it cannot be chosen.
Menu Unavailable(Menu item) {
  item.Enabled = false;
  return item;
}

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

// The number after a placeholder, or 0.
int PlaceholderNumber(const std::string& caption, const std::string& placeholder) {
  return StartsWith(caption, placeholder) ? DecodeNumber(caption.substr(placeholder.size())) : 0;
}

// The submenus the program fills. BuildMainMenu makes both; a menu without them is a fault of
// the program, not of the user's input.
Menu& Submenu(Menu& root, const char* name) {
  Menu* menu = root.Find(name);
  if (menu == nullptr) throw std::logic_error(std::string("the tray menu has no ") + name);
  return *menu;
}
Menu& AllDesktops(Program& program) { return Submenu(program.mMenu, "mAllDeskTops"); }
Menu& GoTo(Program& program) { return Submenu(program.mMenu, "mGoTo"); }

// What a copy of the menu shows, so the host only draws texts and pictures.
void ResolveItems(const Program& program, Menu& menu) {
  for (Menu& item : menu.items) {
    const MenuItemLook look = MenuItemInfo(program, item.Caption);
    item.Caption = look.text;
    item.Picture = look.picture;
    ResolveItems(program, item);
  }
}

// Shows the "Applications" item again and drops the list's items and their texts and pictures.
void ClearApplicationItems(Program& program) {
  Menu& all = AllDesktops(program);
  std::erase_if(all.items, [](const Menu& item) { return item.Index > 0; });
  all.items.front().Visible = true;
  program.ApplicationIcons.assign(1, 0);
  program.ApplicationTexts.assign(1, "");
}

void AddApplicationItem(Program& program, Menu item, const std::string& text, IconHandle picture) {
  program.ApplicationTexts.push_back(text);
  program.ApplicationIcons.push_back(picture);
  AllDesktops(program).items.push_back(std::move(item));
}

void StepDesktop(Program& program, bool forward) {
  const int16_t current = program.desk.iCurDesk;
  SwitchDesktop(program, forward ? static_cast<int16_t>(current == kDesktopCount ? 1 : current + 1)
                                : static_cast<int16_t>(current == 1 ? kDesktopCount : current - 1));
}

void RunMenuCommand(Program& program, int chosen) {
  switch (chosen) {
    case 0:
      return;
    case menu_id::kExit:
      program.bExitRequested = true;
      return;
    case menu_id::kDisableHotKeys:
      ToggleDisableHotKeys(program);
      return;
    case menu_id::kHelp:
      ShowHelp(program);
      return;
    case menu_id::kAbout:
      ShowAbout(program);
      return;
    case menu_id::kDesktopSettings:
      ShowDesktopSettings(program);
      return;
    case menu_id::kProgramSettings:
      ShowProgramSettings(program);
      return;
    case menu_id::kMoveTo:
      ShowOrganize(program);
      return;
    case menu_id::kApplicationRules:
      ShowRulesEditor(program);
      // The rules as they are now act on the current desktop, whether they changed or not.
      ApplyRules(program, false);
      return;
    default:
      break;
  }
  if (chosen >= menu_id::kGoToFirst && chosen < menu_id::kGoToFirst + kDesktopCount) {
    OnGoToItem(program, static_cast<int16_t>(chosen - menu_id::kGoToFirst + 1));
    return;
  }
  const Menu* item = program.mMenu.FindById(chosen);
  if (item != nullptr && item->target) OnApplicationsItem(program, *item->target);
}

void ConfirmExit(Program& program) {
  // A refused or declined exit must not leave the request standing: a later close request
  // from outside would otherwise be taken for the Exit command.
  if (!AskYesNo(program, GetMsg(program, msgs::kExit)) ||
      !UnloadMainWindow(program, UnloadReason::FormCode)) {
    program.bExitRequested = false;
  }
}

// The All Desktops list, or the full menu, for a click or a key on the tray icon.
void OpenTrayMenu(Program& program, bool fullMenu, bool fromKeyboard) {
  Platform& p = program.platform;
  ScanDesktop(program, program.desk.iCurDesk);
  BuildApplicationsMenu(program);
  if (fullMenu) program.bExitRequested = false;
  p.windows.SetForegroundWindow(program.lMainHwnd);
  Menu shown = fullMenu ? program.mMenu : AllDesktops(program);
  ResolveItems(program, shown);
  int chosen = 0;
  {
    const BusyState::Guard open = program.busy.Enter(Busy::TrayMenu);
    chosen = p.ui.PopupMenu(program.lMainHwnd, shown);
  }
  if (chosen == 0 && fromKeyboard) p.tray.ReturnFocus();
  RunMenuCommand(program, chosen);
  if (!fullMenu || !program.bMainWindowLoaded) return;
  if (program.bExitRequested) {
    ConfirmExit(program);
  } else {
    ClearApplicationItems(program);
  }
}

// Clicks while a dialog or message box is up only bring it forward; clicks while the program
// is busy, or while one of its menus is up, are dropped.
bool TrayAnswers(Program& program) {
  const InputAnswer answer = program.busy.TrayAnswer();
  if (answer == InputAnswer::BringForward) BringProgramToFront(program);
  return answer == InputAnswer::Run;
}

}  // namespace

Menu BuildMainMenu() {
  Menu root = Item("mMenu", "&Menu");
  Menu goTo = Item("mGoTo", "&Go To...");
  Menu goToTemplate = Item("mDeskTop", "Go To", 0, 0);
  goToTemplate.Visible = false;
  goTo.items.push_back(goToTemplate);
  Menu all = Item("mAllDeskTops", "All Desktops...");
  // Shown only when nothing is listed; there is nothing to choose then.
  all.items.push_back(Unavailable(Item("mApplicazioni", "Applications", 0, 0)));
  Menu settings = Item("mnuSettings", "Settings...");
  settings.items = {
      Item("mnuWallPaperSettings", "Desktop Settings...", menu_id::kDesktopSettings),
      Item("mnuAppRules", "Application Rules...", menu_id::kApplicationRules),
      Item("mnuProgramSettings", "Program Settings...", menu_id::kProgramSettings),
  };
  root.items = {
      goTo,
      all,
      Item("mMoveTo", "&Move To...", menu_id::kMoveTo),
      Item("sep3", "-"),
      settings,
      Item("sep8", "-"),
      Item("mnuDisableHotKeys", "Disable Hot-Keys", menu_id::kDisableHotKeys),
      Item("sep7", "-"),
      Item("mnuHelp", "Help...", menu_id::kHelp),
      Item("mAbout", "&About...", menu_id::kAbout),
      Item("sep2", "-"),
      Item("mEsci", "&Exit", menu_id::kExit),
  };
  return root;
}

void CreateGoToItems(Program& program) {
  Menu& goTo = GoTo(program);
  for (int n = 1; n <= kDesktopCount; ++n) {
    goTo.items.push_back(
        Item("mDeskTop", kDeskPlaceholder + std::to_string(n), menu_id::kGoToFirst + n - 1, n));
  }
  UpdateGoToItems(program);
}

void UpdateGoToItems(Program& program) {
  for (Menu& item : GoTo(program).items) {
    if (item.Index > 0) item.Enabled = item.Index != program.desk.iCurDesk;
  }
}

void BuildApplicationsMenu(Program& program) {
  ClearApplicationItems(program);
  const ClassIconLookup classIcon = [&program](Hwnd hwnd, bool small) {
    return program.platform.windows.ClassIcon(hwnd, small);
  };
  int i = 1;
  bool listed = false;
  for (int d = 1; d <= kDesktopCount; ++d) {
    const clsDesktop& desktop = program.desk.Desk(d);
    if (desktop.bHideThisDeskApps && d != program.desk.iCurDesk) continue;
    if (desktop.GetNumVisProc() <= 0) continue;
    Menu header = Item("mApplicazioni", "[sep][" + DesktopHeading(program, static_cast<int16_t>(d)) + "]", 0, i);
    header.Enabled = false;
    AddApplicationItem(program, header, header.Caption, 0);
    ++i;
    for (const auto& app : desktop.opi) {
      if (app->AllWindowsHided(true)) continue;
      listed = true;
      IconHandle picture = app->GetHIcon(classIcon);
      if (picture == 0) picture = program.platform.ui.Picture(MenuPicture::DefaultApplication);
      Menu item = Item("mApplicazioni", kAppsPlaceholder + std::to_string(i),
                       menu_id::kApplicationsFirst + i, i);
      item.target = MenuTarget{static_cast<int16_t>(d), app->GetFirstVisWin()};
      AddApplicationItem(program, item,
                         CutWithEllipsis(app->GetText(kTitleOrClass), kApplicationTextLength),
                         picture);
      ++i;
    }
  }
  if (listed) AllDesktops(program).items.front().Visible = false;
}

MenuItemLook MenuItemInfo(const Program& program, const std::string& caption) {
  if (const int n = PlaceholderNumber(caption, kAppsPlaceholder); n > 0) {
    if (static_cast<size_t>(n) >= program.ApplicationTexts.size()) return {caption};
    return {program.ApplicationTexts[n], program.ApplicationIcons[n]};
  }
  if (const int d = PlaceholderNumber(caption, kDeskPlaceholder); d > 0) {
    if (d > kDesktopCount) return {caption};
    const clsDesktop& desktop = program.desk.Desk(d);
    std::string text =
        desktop.sDeskName.empty() ? "Desktop " + std::to_string(d) : desktop.sDeskName;
    const int k = desktop.GetNumVisProc();
    if (k > 0) text += " (" + std::to_string(k) + " " + GetMsg(program, msgs::kApps) + ")";
    return {text, program.Icona[d - 1]};
  }
  MenuItemLook look{program.menuTranslation.GetMenuTranslation(program, "frmMain", caption)};
  for (const FixedPicture& fixed : kFixedPictures) {
    const Menu* item = program.mMenu.Find(fixed.name);
    if (item != nullptr && item->Caption == caption) {
      look.picture = program.platform.ui.Picture(fixed.picture);
      break;
    }
  }
  return look;
}

std::string DesktopTooltip(const Program& program) {
  const int n = program.desk.iCurDesk;
  return "DeskTop " + std::to_string(n) + " -> " +
         std::to_string(program.desk.Desk(n).GetNumVisProc()) + " " +
         GetMsg(program, msgs::kApps);
}

void BringProgramToFront(Program& program) {
  const Hwnd dialog = program.busy.OpenDialog();
  program.platform.windows.SetForegroundWindow(dialog != 0 ? dialog : program.lMainHwnd);
}

void OnTrayMouse(Program& program, int mouseMessage) {
  if (!TrayAnswers(program)) return;
  if (mouseMessage != msg::kLButtonUp && mouseMessage != msg::kRButtonUp) return;
  if (IsKeyDown(program, vk::kShift)) {
    StepDesktop(program, mouseMessage == msg::kRButtonUp);
    return;
  }
  OpenTrayMenu(program, mouseMessage == msg::kRButtonUp, false);
}

void OnTrayKey(Program& program, TrayKey key) {
  if (!TrayAnswers(program)) return;
  OpenTrayMenu(program, key == TrayKey::ContextMenu, true);
}

}  // namespace ombrix
