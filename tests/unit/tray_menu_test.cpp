#include <gtest/gtest.h>

#include "dialogs/theme.h"
#include "lang/translation.h"
#include "switching/switch.h"
#include "heart_fixture.h"
#include "ui/about.h"
#include "ui/help.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class TrayMenus : public Started {
 protected:
  // The items of the last menu shown, as "caption|picture|enabled|checked", visible ones only.
  std::vector<std::string> Shown(const Menu& menu) {
    std::vector<std::string> lines;
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
  static std::vector<std::string> Lines(std::vector<std::string> lines) { return lines; }
  // A window opened while desktop d is on screen; the desktop shown before comes back.
  Hwnd OnDesktop(int d, const std::string& title, uint32_t pid) {
    const int16_t back = program.desk.iCurDesk;
    int16_t target = static_cast<int16_t>(d);
    SwitchDesktop(program, target);
    const Hwnd hwnd = world.Open(title, pid);
    target = back;
    SwitchDesktop(program, target);
    return hwnd;
  }
  IconHandle Default() { return world.ui.Picture(MenuPicture::DefaultApplication); }
};

TEST_F(TrayMenus, LeftClickListsEveryDesktopUnderItsHeaderAndChoosingSwitchesThere) {
  const Hwnd editor = OnDesktop(1, "Editor", 10);
  world.windows.Get(editor)->smallIcon = 0x4444;
  OnDesktop(1, "A window title longer than the limit", 11);
  const Hwnd mail = OnDesktop(2, "Mail", 12);
  Desk(2).sDeskName = "  Post  ";
  OnDesktop(4, "Sketch", 13);

  Choose(msg::kLButtonUp, "Mail");
  ASSERT_EQ(world.ui.popups.size(), 1u);
  EXPECT_EQ(Shown(LastPopup()),
            Lines({
                "[sep][Desktop 1]|0|off",
                "A window title longer than the limi...|" + std::to_string(Default()) + "|on",
                "Editor|17476|on",
                "[sep][Post]|0|off",
                "Mail|" + std::to_string(Default()) + "|on",
                "[sep][Desktop 4]|0|off",
                "Sketch|" + std::to_string(Default()) + "|on",
            }))
      << "newest application first, as the z-order has them";
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_TRUE(Visible(mail));
  EXPECT_FALSE(Visible(editor));
  EXPECT_EQ(world.windows.foreground, mail);

  // Another application on the current desktop is only brought to the front.
  const Hwnd notes = OnDesktop(2, "Notes", 14);
  world.windows.foreground = 0;
  Choose(msg::kLButtonUp, "Mail");
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_EQ(world.windows.foreground, mail);
  EXPECT_TRUE(Visible(notes));
}

TEST_F(TrayMenus, ApplicationItemsCarryTheirDesktopAndWindowAndCutLongTexts) {
  const Hwnd longer = OnDesktop(3, std::string(34, 'x') + "\xC3\xA9\xC3\xA8yz", 10);
  BuildApplicationsMenu(program);
  const Menu& all = *program.mMenu.Find("mAllDeskTops");
  ASSERT_EQ(all.items.size(), 3u);
  ASSERT_TRUE(all.items[2].target);
  EXPECT_EQ(all.items[2].target->desk, 3);
  EXPECT_EQ(all.items[2].target->hwnd, longer);
  // 35 characters, the last of them two bytes long.
  EXPECT_EQ(MenuItemInfo(program, "OMBRIXAPPS2").text, std::string(34, 'x') + "\xC3\xA9...");

  BuildApplicationsMenu(program);  // a second build starts over
  EXPECT_EQ(program.mMenu.Find("mAllDeskTops")->items.size(), 3u);
  EXPECT_EQ(program.ApplicationTexts.size(), 3u);
}

TEST_F(TrayMenus, DesktopsThatHideTheirApplicationsAreLeftOutUnlessCurrent) {
  OnDesktop(1, "Here", 10);
  OnDesktop(2, "There", 11);
  Desk(1).bHideThisDeskApps = true;
  Desk(2).bHideThisDeskApps = true;
  Choose(msg::kLButtonUp, "");
  EXPECT_EQ(Shown(LastPopup()), Lines({
                                    "[sep][Desktop 1]|0|off",
                                    "Here|" + std::to_string(Default()) + "|on",
                                }));
}

TEST_F(TrayMenus, RightClickShowsTheWholeMenuWithPicturesAndClearsTheListAfter) {
  OnDesktop(2, "Mail", 12);
  Desk(4).sDeskName = "Mail";
  Choose(msg::kRButtonUp, "");
  const Menu& menu = LastPopup();
  auto picture = [&](MenuPicture p) { return std::to_string(world.ui.Picture(p)); };
  EXPECT_EQ(Shown(menu), Lines({
                             "&Go To...|0|on",
                             "All Desktops...|0|on",
                             "&Move To...|" + picture(MenuPicture::Move) + "|on",
                             "-|0|on",
                             "Settings...|" + picture(MenuPicture::Settings) + "|on",
                             "-|0|on",
                             "Disable Hot-Keys|0|on",
                             "-|0|on",
                             "Help...|" + picture(MenuPicture::Help) + "|on",
                             "&About...|" + picture(MenuPicture::About) + "|on",
                             "-|0|on",
                             "&Exit|" + picture(MenuPicture::Exit) + "|on",
                         }));
  const std::vector<std::string> goTo = Shown(menu.items[0]);
  ASSERT_EQ(goTo.size(), 9u);
  EXPECT_EQ(goTo[0], "Desktop 1|" + std::to_string(world.ui.DesktopIcon(1)) + "|off");
  EXPECT_EQ(goTo[1], "Desktop 2 (1 apps)|" + std::to_string(world.ui.DesktopIcon(2)) + "|on");
  EXPECT_EQ(goTo[3], "Mail|" + std::to_string(world.ui.DesktopIcon(4)) + "|on");
  EXPECT_EQ(Shown(menu.items[1]).size(), 2u);

  // Closed without Exit: the list's items are gone until the next build.
  const Menu& all = *program.mMenu.Find("mAllDeskTops");
  EXPECT_EQ(all.items.size(), 1u);
  EXPECT_TRUE(all.items[0].Visible);

  Choose(msg::kRButtonUp, "Disable Hot-Keys");
  Choose(msg::kRButtonUp, "");
  EXPECT_EQ(Shown(LastPopup())[6], "Disable Hot-Keys|0|on|checked");
}

TEST_F(TrayMenus, TheMenuShowsTheDesktopAsItIsNowAndTranslatesFixedItemsAndThePlaceholder) {
  const Hwnd late = world.Open("Opened just now", 20);  // not seen by any pass yet
  world.files.files["C:\\Program Files\\Ombrix\\italiano.lng"] =
      "[Ombrix]\nVersion=1.0\n[frmMain]\nmnuHelp=Guida...\nmApplicazioni(0)=Applicazioni\n";
  LoadLanguage(program, "italiano.lng", false);
  world.windows.Get(late)->visible = false;
  Choose(msg::kLButtonUp, "");  // nothing listed: the translated placeholder shows
  EXPECT_EQ(Shown(LastPopup()), Lines({"Applicazioni|0|off"}));
  world.windows.Get(late)->visible = true;
  Choose(msg::kRButtonUp, "");
  EXPECT_EQ(LastPopup().items[8].Caption, "Guida...");
  EXPECT_EQ(Shown(LastPopup().items[1])[1],
            "Opened just now|" + std::to_string(Default()) + "|on");
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(late), 1);
}

TEST_F(TrayMenus, KeyboardOpensTheSameMenusAndGetsTheFocusBackOnCancel) {
  OnDesktop(1, "Editor", 10);
  HoldShift(true);  // Shift+F10 asks for the context menu, it does not step desktops
  program.mainWindow->OnTrayKey(TrayKey::ContextMenu);
  ASSERT_EQ(world.ui.popups.size(), 1u);
  EXPECT_EQ(LastPopup().items.size(), 12u);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  HoldShift(false);
  program.mainWindow->OnTrayKey(TrayKey::Select);
  ASSERT_EQ(world.ui.popups.size(), 2u);
  EXPECT_EQ(LastPopup().items[1].Caption, "[sep][Desktop 1]");
  EXPECT_EQ(world.tray.focusReturns, 2);

  Choose(msg::kLButtonUp, "");  // a cancelled mouse menu leaves the focus where it is
  EXPECT_EQ(world.tray.focusReturns, 2);
}

TEST_F(TrayMenus, ClicksWhileAMenuIsUpAreDropped) {
  int opened = 0;
  world.ui.choosePopupItem = [&](const Menu&) {
    ++opened;
    program.mainWindow->OnTrayMouse(msg::kLButtonUp);
    program.mainWindow->OnTrayKey(TrayKey::ContextMenu);
    return 0;
  };
  program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  EXPECT_EQ(opened, 1);
  program.mainWindow->OnTrayMouse(msg::kLButtonUp);
  EXPECT_EQ(opened, 2);
}

class Dialogs : public TrayMenus {};

TEST_F(Dialogs, AboutRunsAsADialogUntilOkAndShowsTheProgramFilesVersion) {
  world.process.version = FileVersion{2, 5, 7, 11};
  frmAbout about(program);
  bool refusedClose = false;
  world.ui.userActions = {
      [&] {
        EXPECT_EQ(program.busy.OpenDialog(), about.hwnd);
        EXPECT_TRUE(Visible(about.hwnd));
        EXPECT_EQ(world.windows.foreground, about.hwnd);
        EXPECT_FALSE(world.windows.Get(about.hwnd)->closeCommand);
        EXPECT_EQ(Ctl(about, "lblVersion").Caption, "Version 2.5.11");
        // While it runs the tray only brings it forward.
        world.windows.foreground = program.lMainHwnd;
        program.mainWindow->OnTrayMouse(msg::kRButtonUp);
        EXPECT_EQ(world.windows.foreground, about.hwnd);
        EXPECT_TRUE(world.ui.popups.empty());
      },
      [&] { refusedClose = !about.OnQueryClose(); },
      [&] { about.OnClick(Ctl(about, "btnOk")); },
  };
  ShowDialog(program, about, true);
  EXPECT_TRUE(refusedClose);
  EXPECT_TRUE(world.ui.userActions.empty()) << "the dialog ended before Ok";
  EXPECT_EQ(program.busy.OpenDialog(), 0);
  EXPECT_EQ(about.hwnd, 0);
  EXPECT_EQ(world.windows.TopLevelWindows().back(), program.lMainHwnd);
}

TEST_F(Dialogs, AboutOpensFromTheMenuTranslatedAndItsLinkOpensTheWebAddress) {
  world.files.files["C:\\Program Files\\Ombrix\\italiano.lng"] =
      "[Ombrix]\nVersion=1.0\n[frmAbout]\nfrmAbout=Informazioni su Ombrix\n";
  LoadLanguage(program, "italiano.lng", false);
  std::string caption;
  world.ui.userActions = {[&] {
    Form* about = world.forms.Loaded("frmAbout");
    ASSERT_NE(about, nullptr);
    caption = about->Caption;
    about->OnClick(Ctl(*about, "ctlUniLink1"));
    world.shell.unopenable = world.shell.opened;
    about->OnClick(Ctl(*about, "ctlUniLink1"));
    about->OnClick(Ctl(*about, "btnOk"));
  }};
  Choose(msg::kRButtonUp, "&About...");
  EXPECT_EQ(caption, "Informazioni su Ombrix");
  EXPECT_EQ(world.forms.Loaded("frmAbout"), nullptr);
  ASSERT_EQ(world.shell.opened.size(), 1u);
  EXPECT_EQ(world.shell.opened[0], "https://www.ombrix.org/");
  ASSERT_FALSE(world.ui.boxes.empty());
  EXPECT_EQ(world.ui.boxes.back().text, "https://www.ombrix.org/ could not be opened.");
}

TEST_F(Dialogs, SessionEndWhileADialogRunsEndsItsLoop) {
  frmAbout about(program);
  world.ui.userActions = {[&] {
    program.mainWindow->OnQueryEndSession();
    program.mainWindow->OnEndSession(true);
  }};
  ShowDialog(program, about, true);
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_EQ(program.busy.OpenDialog(), 0);
}

TEST_F(Dialogs, HelpOpensTheGuideOfTheLanguageOrSaysWhyNot) {
  const std::string english = "C:\\Program Files\\Ombrix\\OmbrixEng.chm";
  const std::string italian = "C:\\Program Files\\Ombrix\\OmbrixIta.chm";
  Choose(msg::kRButtonUp, "Help...");
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text,
            "The help file " + english + " is missing. Installing Ombrix again brings it back.");
  EXPECT_TRUE(world.shell.opened.empty());

  world.files.files[english] = "chm";
  world.files.files[italian] = "chm";
  Choose(msg::kRButtonUp, "Help...");
  program.settings.sLanguage = "Italiano.LNG";
  Choose(msg::kRButtonUp, "Help...");
  EXPECT_EQ(world.shell.opened, Lines({english, italian}));
  EXPECT_EQ(world.windows.TopLevelWindows().back(), program.lMainHwnd);

  world.shell.unopenable = {italian};
  Choose(msg::kRButtonUp, "Help...");
  EXPECT_EQ(world.ui.boxes.back().text, italian + " could not be opened.");
}

class Themes : public ::testing::Test {
 protected:
  const std::string folder = "C:\\Program Files\\Ombrix\\themes\\";
  sim::World world;
  Program program{world.platform()};

  void Theme(const std::string& name, std::vector<int> icons, std::vector<int> unreadable = {}) {
    world.files.folders.push_back(folder + name);
    for (int n : icons) {
      const std::string path = folder + name + "\\" + std::to_string(n) + ".ico";
      world.files.files[path] = "icon";
      if (std::find(unreadable.begin(), unreadable.end(), n) == unreadable.end()) {
        world.ui.iconFiles.push_back(path);
      }
    }
  }
  IconHandle Loaded(const std::string& name, int n) {
    return world.ui.loadedIcons.at(folder + name + "\\" + std::to_string(n) + ".ico");
  }
  void Start() {
    world.store.sections["Settings"]["FirstUse"] = "0";
    ASSERT_EQ(StartUp(program), StartOutcome::Running);
  }
};

TEST_F(Themes, MissingOrUnreadableIconsFallBackToTheBuiltInOnes) {
  Theme("dark", {1, 2, 3, 4, 6, 7, 8, 9}, {7});
  world.store.sections["Settings"]["Theme"] = "dark";
  Start();
  EXPECT_EQ(program.Icona[0], Loaded("dark", 1));
  EXPECT_EQ(program.Icona[3], Loaded("dark", 4));
  EXPECT_EQ(program.Icona[4], world.ui.DesktopIcon(5));
  EXPECT_EQ(program.Icona[6], world.ui.DesktopIcon(7));
  EXPECT_EQ(program.Icona[8], Loaded("dark", 9));
  EXPECT_EQ(world.tray.icon, Loaded("dark", 1));

  // Changing themes while running: desktop 2's icon from the theme before does not stay.
  Theme("light", {1, 5});
  int16_t target = 5;
  SwitchDesktop(program, target);
  ApplyTheme(program, "light");
  EXPECT_EQ(world.tray.icon, Loaded("light", 5));
  EXPECT_EQ(program.Icona[1], world.ui.DesktopIcon(2));
}

TEST_F(Themes, AThemeThatIsNotThereChangesNothingAndDefaultIsBuiltInAtStart) {
  Theme("default", {1});
  Start();
  EXPECT_EQ(program.Icona[0], world.ui.DesktopIcon(1)) << "not loaded when the setting says default";
  ApplyTheme(program, "gone");
  EXPECT_EQ(program.Icona[0], world.ui.DesktopIcon(1));

  // An empty setting is read as "default", and then a folder of that name is used.
  sim::World w;
  Program p{w.platform()};
  w.files.folders.push_back(folder + "default");
  w.files.files[folder + "default\\1.ico"] = "icon";
  w.ui.iconFiles.push_back(folder + "default\\1.ico");
  w.store.sections["Settings"]["Theme"] = "";
  StartUp(p);
  EXPECT_EQ(p.settings.sTheme, "default");
  EXPECT_EQ(p.Icona[0], w.ui.loadedIcons.at(folder + "default\\1.ico"));
}

}  // namespace
}  // namespace ombrix
