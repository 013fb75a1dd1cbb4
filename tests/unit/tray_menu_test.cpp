#include <gtest/gtest.h>

#include "dialogs/theme.h"
#include "lang/translation.h"
#include "switching/switch.h"
#include "heart_fixture.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

using Lines = std::vector<std::string>;
const std::string kFolder = "C:\\Program Files\\Ombrix\\";

class TrayMenus : public Started {
 protected:
  // The visible items of a menu, as "caption|picture|enabled|checked".
  Lines Shown(const Menu& menu) {
    Lines lines;
    for (const Menu& item : menu.items) {
      if (!item.Visible) continue;
      lines.push_back(item.Caption + "|" + std::to_string(item.Picture) + "|" +
                      (item.Enabled ? "on" : "off") + (item.Checked ? "|checked" : ""));
    }
    return lines;
  }
  // Opens a tray menu and chooses the item whose shown caption is `caption`, or nothing.
  void Choose(int mouseMessage, const std::string& caption) {
    world.ui.choosePopupItem = [caption](const Menu& menu) {
      std::function<int(const Menu&)> find = [&](const Menu& m) {
        for (const Menu& item : m.items) {
          if (item.Caption == caption) return item.id;
          if (int id = find(item)) return id;
        }
        return 0;
      };
      return find(menu);
    };
    program.mainWindow->OnTrayMouse(mouseMessage);
  }
  const Menu& LastPopup() { return world.ui.popups.back(); }
  // A window opened while desktop d is on screen; the desktop shown before comes back.
  Hwnd OnDesktop(int16_t d, const std::string& title, uint32_t pid) {
    int16_t back = program.desk.iCurDesk;
    SwitchDesktop(program, d);
    const Hwnd hwnd = world.Open(title, pid);
    SwitchDesktop(program, back);
    return hwnd;
  }
  std::string Default() {
    return std::to_string(world.ui.Picture(MenuPicture::DefaultApplication));
  }
};

// On real windows (tests/e2e/menus.sh): the headers, the newest application first, and choosing
// one on another desktop.
TEST_F(TrayMenus, ClickListsTheApplicationsOfTheDesktopsThatShowThemAndRebuildsEachTime) {
  const Hwnd editor = OnDesktop(1, "Editor", 10);
  world.windows.Get(editor)->smallIcon = 0x4444;
  OnDesktop(1, std::string(34, 'x') + "\xC3\xA9\xC3\xA8yz", 11);
  const Hwnd mail = OnDesktop(2, "Mail", 12);
  Desk(2).sDeskName = "  Post  ";
  OnDesktop(3, "Secret", 13);
  Desk(1).bHideThisDeskApps = Desk(3).bHideThisDeskApps = true;  // listed only when current
  Choose(msg::kLButtonUp, "Mail");
  // 35 characters, the last of them two bytes long, and the class's small icon or the default.
  EXPECT_EQ(
      Shown(world.ui.popups.at(0)),
      (Lines{"[sep][Desktop 1]|0|off", std::string(34, 'x') + "\xC3\xA9...|" + Default() + "|on",
             "Editor|17476|on", "[sep][Post]|0|off", "Mail|" + Default() + "|on"}));
  ASSERT_EQ(program.desk.iCurDesk, 2);

  // Another application on the current desktop is only brought to the front.
  const Hwnd notes = OnDesktop(2, "Notes", 14);
  world.windows.foreground = 0;
  Choose(msg::kLButtonUp, "Mail");
  EXPECT_EQ(Shown(LastPopup()), (Lines{"[sep][Post]|0|off", "Notes|" + Default() + "|on",
                                       "Mail|" + Default() + "|on"}));
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_EQ(world.windows.foreground, mail);
  EXPECT_TRUE(Visible(notes));
}

// On real windows (menus.sh, desktop_dialog.sh, settings_dialog.sh): the whole menu with its
// pictures, and Go To's names, counts, icons and greyed current desktop.
TEST_F(TrayMenus, RightClickClearsTheApplicationsAfterAndShowsHotKeysDisabled) {
  OnDesktop(2, "Mail", 12);
  Choose(msg::kRButtonUp, "");
  EXPECT_EQ(Shown(LastPopup().items[1]).size(), 2u);
  // Closed without Exit: the list's items are gone until the next build.
  const Menu& all = *program.mMenu.Find("mAllDeskTops");
  EXPECT_EQ(all.items.size(), 1u);
  EXPECT_TRUE(all.items[0].Visible);

  Choose(msg::kRButtonUp, "Disable Hot-Keys");
  Choose(msg::kRButtonUp, "");
  EXPECT_EQ(Shown(LastPopup())[6], "Disable Hot-Keys|0|on|checked");
}

// On real windows (tests/e2e/startup.sh, settings_dialog.sh): the fixed items translated.
TEST_F(TrayMenus, TheMenuShowsTheDesktopAsItIsNowAndTranslatesThePlaceholder) {
  const Hwnd late = world.Open("Opened just now", 20);  // not seen by any pass yet
  world.files.files[kFolder + "it.lng"] =
      "[Ombrix]\nVersion=1.0\n[frmMain]\nmApplicazioni(0)=Applicazioni";
  LoadLanguage(program, "it.lng", false);
  world.windows.Get(late)->visible = false;
  Choose(msg::kLButtonUp, "");  // nothing listed: the translated placeholder shows
  EXPECT_EQ(Shown(LastPopup()), Lines{"Applicazioni|0|off"});
  world.windows.Get(late)->visible = true;
  Choose(msg::kRButtonUp, "");
  EXPECT_EQ(Shown(LastPopup().items[1])[1], "Opened just now|" + Default() + "|on");
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(late), 1);
}

// On real windows (menus.sh): which menu each key opens.
TEST_F(TrayMenus, KeyboardMenusDoNotStepWithShiftAndGiveTheFocusBackOnCancel) {
  HoldShift(true);  // Shift+F10 asks for the context menu, it does not step desktops
  program.mainWindow->OnTrayKey(TrayKey::ContextMenu);
  program.mainWindow->OnTrayKey(TrayKey::Select);
  EXPECT_EQ(world.ui.popups.size(), 2u);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_EQ(world.tray.focusReturns, 2);
  HoldShift(false);
  Choose(msg::kLButtonUp, "");  // a cancelled mouse menu leaves the focus where it is
  EXPECT_EQ(world.tray.focusReturns, 2);
}

// On real windows (menus.sh): its version, the refused close, tray clicks bringing it forward, Ok.
// A dialog opened in the loaded language: password_prompt_test.cpp.
TEST_F(TrayMenus, AboutsLinkOpensTheSiteAndItsLoopEndsWithOkOrTheSession) {
  Then("frmAbout", [&](Form& about) {
    EXPECT_EQ(program.busy.OpenDialog(), about.hwnd);
    Click(about, "ctlUniLink1");
    world.shell.unopenable = world.shell.opened;
    Click(about, "ctlUniLink1");
    Click(about, "btnOk");
  });
  Choose(msg::kRButtonUp, "&About...");
  EXPECT_EQ(world.shell.opened, Lines{"https://www.ombrix.org/"});
  EXPECT_EQ(LastBox(), "https://www.ombrix.org/ could not be opened.");
  EXPECT_EQ(world.forms.Loaded("frmAbout"), nullptr);
  EXPECT_EQ(program.busy.OpenDialog(), 0);
  EXPECT_EQ(world.windows.TopLevelWindows().back(), program.lMainHwnd);

  // The end of the session ends the dialog's loop.
  Then("frmAbout", [&](Form&) {
    program.mainWindow->OnQueryEndSession();
    program.mainWindow->OnEndSession(true);
  });
  Choose(msg::kRButtonUp, "&About...");
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_EQ(program.busy.OpenDialog(), 0);
}

// On real windows (tests/e2e/startup.sh): the guide of each language, the missing file's message.
TEST_F(TrayMenus, HelpOpensTheGuideWhateverTheCaseOfTheLanguageNameOrSaysWhyNot) {
  const std::string italian = kFolder + "OmbrixIta.chm";
  world.files.files[italian] = "chm";
  program.settings.sLanguage = "Italiano.LNG";
  Choose(msg::kRButtonUp, "Help...");
  EXPECT_EQ(world.shell.opened, Lines{italian});
  EXPECT_EQ(world.windows.TopLevelWindows().back(), program.lMainHwnd);
  world.shell.unopenable = {italian};
  Choose(msg::kRButtonUp, "Help...");
  EXPECT_EQ(LastBox(), italian + " could not be opened.");
}

// On real icons (tests/e2e/settings_dialog.sh): a theme that lacks an icon at start.
class Themes : public ::testing::Test {
 protected:
  void Theme(const std::string& name, std::vector<int> icons, int unreadable = 0) {
    world.files.folders.push_back(kFolder + "themes\\" + name);
    for (int n : icons) {
      world.files.files[Icon(name, n)] = "icon";
      if (n != unreadable) world.ui.iconFiles.push_back(Icon(name, n));
    }
  }
  static std::string Icon(const std::string& name, int n) {
    return kFolder + "themes\\" + name + "\\" + std::to_string(n) + ".ico";
  }
  IconHandle Loaded(const std::string& name, int n) {
    return world.ui.loadedIcons.at(Icon(name, n));
  }
  void Start(const std::string& theme) {
    world.store.sections["Settings"] = {{"FirstUse", "0"}, {"Theme", theme}};
    ASSERT_EQ(StartUp(program), StartOutcome::Running);
  }
  sim::World world;
  Program program{world.platform()};
};

TEST_F(Themes, UnreadableIconsAndThoseANewThemeLacksAreTheBuiltInOnes) {
  Theme("dark", {1, 2, 3, 4, 6, 7, 8, 9}, 7);
  Start("dark");
  EXPECT_EQ(program.Icona[3], Loaded("dark", 4));
  EXPECT_EQ(program.Icona[6], world.ui.DesktopIcon(7));
  EXPECT_EQ(world.tray.icon, Loaded("dark", 1));

  Theme("light", {1, 5});
  SwitchDesktop(program, 5);
  ApplyTheme(program, "light");
  EXPECT_EQ(world.tray.icon, Loaded("light", 5));
  EXPECT_EQ(program.Icona[1], world.ui.DesktopIcon(2));
  ApplyTheme(program, "gone");  // not there: nothing changes
  EXPECT_EQ(program.Icona[4], Loaded("light", 5));
}

// "default" is the built-in set, unless the setting is empty: then a folder of that name is used.
TEST_F(Themes, DefaultIsTheBuiltInSetAtStart) {
  Theme("default", {1});
  Start("default");
  EXPECT_EQ(program.Icona[0], world.ui.DesktopIcon(1));
}

TEST_F(Themes, AnEmptySettingIsReadAsDefaultAndUsesTheFolderOfThatName) {
  Theme("default", {1});
  Start("");
  EXPECT_EQ(program.settings.sTheme, "default");
  EXPECT_EQ(program.Icona[0], Loaded("default", 1));
}

}  // namespace
}  // namespace ombrix
