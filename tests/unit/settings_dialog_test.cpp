#include <gtest/gtest.h>

#include "app/settings.h"
#include "appearance/passwords.h"
#include "appearance/wallpaper.h"
#include "dialogs/autostart.h"
#include "dialogs/desktop_dialog.h"
#include "dialogs/settings_dialog.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "switching/switch.h"
#include "ui/about.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

const std::string kFolder = "C:\\Program Files\\Ombrix";
const std::string kStore = "C:\\Users\\me\\AppData\\Local\\Ombrix";
using Names = std::vector<std::string>;

class SettingsDialogs : public Started {
 protected:
  void OnProgramSettings(std::function<void(Form&)> act) {
    Then("frmSettings", std::move(act));
    ShowProgramSettings(program);
  }
  void OnDesktopSettings(std::function<void(Form&)> act) {
    Then("frmDesktop", std::move(act));
    ShowDesktopSettings(program);
  }
  void Tab(Form& form, int tab) { world.forms.ChooseTab(form, "ctlTabbed", tab); }
  bool Reachable(Form& form, const std::string& name) {
    return sim::SimFormHost::Reachable(form, Ctl(form, name));
  }
  std::map<std::string, std::string>& Stored() { return world.store.sections["Settings"]; }
  void Language(const std::string& name, const std::string& body) {
    world.files.files[kFolder + "\\" + name] = "[Ombrix]\r\nVersion=1.0\r\n" + body;
  }
};

using ProgramSettings = SettingsDialogs;

TEST_F(ProgramSettings, ListsTheLanguageFilesAndTheThemesByName) {
  program.settings.sLanguage = "gone.lng";  // its file is no longer there
  Language("zeta.lng", "");
  Language("Alpha.lng", "");
  world.files.files[kFolder + "\\notes.txt"] = "";
  world.files.folders.push_back(kFolder + "\\themes\\colours");
  world.files.folders.push_back(kFolder + "\\themes\\Blue");
  OnProgramSettings([this](Form& form) {
    EXPECT_EQ(Ctl(form, "cmbLanguage").Items,
              (Names{"English - Built In", "Alpha.lng", "zeta.lng"}));
    EXPECT_EQ(ComboText(Ctl(form, "cmbLanguage")), "English - Built In");
    EXPECT_EQ(Ctl(form, "cmbTheme").Items, (Names{"Blue", "colours", "default"}));
    EXPECT_EQ(ComboText(Ctl(form, "cmbTheme")), "default");
    Click(form, "btnCancel");
  });
}

// Every check box the settings table names shows its setting, and Ok saves what it holds.
TEST_F(ProgramSettings, OkSavesEveryCheckBoxIntoItsSettingAndTheHookLibraryFollows) {
  const Settings before = program.settings;
  OnProgramSettings([this](Form& form) {
    for (const ProgramSetting& setting : ombrix::ProgramSettings()) {
      if (setting.checkBox == nullptr) continue;
      EXPECT_EQ(Ctl(form, setting.checkBox).Value, program.settings.*setting.flag);
    }
    for (int tab : {0, 1}) {
      Tab(form, tab);
      for (const ProgramSetting& setting : ombrix::ProgramSettings()) {
        if (setting.checkBox != nullptr && Reachable(form, setting.checkBox)) {
          Click(form, setting.checkBox);
        }
      }
    }
    Click(form, "btnOk");
  });
  for (const ProgramSetting& setting : ombrix::ProgramSettings()) {
    if (setting.checkBox == nullptr) continue;
    EXPECT_NE(program.settings.*setting.flag, before.*setting.flag) << setting.checkBox;
    if (setting.key != nullptr) {
      EXPECT_EQ(Stored()[setting.key], EncodeFlag(program.settings.*setting.flag)) << setting.key;
    }
  }
  EXPECT_EQ(Stored().count("AutoStart"), 0u) << "autostart lives in its entry only";
  EXPECT_EQ(world.registry.Text(RegistryRoot::CurrentUser, kRunKey, "Ombrix"),
            "\"C:\\Program Files\\Ombrix\\Ombrix.exe\"");
  EXPECT_EQ(world.hooks.flags["TakeAltNum"], 1);
  EXPECT_EQ(world.hooks.flags["TakeWinArrows"], 0);
}

TEST_F(ProgramSettings, TheOldPasswordGuardsEveryChangeAndAnEmptyNewOneAsksBeforeRemoving) {
  program.settings.sGlobalPass = EncodePassword("admin");
  OnProgramSettings([this](Form& form) {
    Click(form, "chkCicleDesktops");
    Click(form, "btnOk");  // refused: the dialog stays open
    EXPECT_EQ(LastBox(), "The old password is not correct: nothing was changed.");
    Tab(form, 2);
    Type(form, "txtOldPassword", "admin");
    world.ui.boxAnswers.push_back(mb::kYes);
    Click(form, "btnOk");
  });
  EXPECT_EQ(LastBox(), "Do you want to remove the password?");
  EXPECT_TRUE(program.settings.bCicleDesktops);
  EXPECT_EQ(program.settings.sGlobalPass, "");
  EXPECT_EQ(Stored().count("GlobalPass"), 0u);

  // A new one is held and stored as a verifier; one that cannot be made changes nothing.
  world.process.cryptoFails = true;
  OnProgramSettings([this](Form& form) {
    Click(form, "chkCicleDesktops");
    Tab(form, 2);
    Type(form, "txtNewPassword", "n3w");
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(), "Windows could not protect the new password, so nothing was changed.");
    EXPECT_TRUE(program.settings.bCicleDesktops);
    world.process.cryptoFails = false;
    Click(form, "btnOk");
  });
  EXPECT_FALSE(program.settings.bCicleDesktops);
  EXPECT_EQ(Stored()["GlobalPass"], program.settings.sGlobalPass);
  EXPECT_TRUE(PasswordMatches(world.process, "n3w", program.settings.sGlobalPass));
}

TEST_F(ProgramSettings, ANewLanguageTranslatesEveryOpenFormAndTheTrayAtOnceAndANewThemeShows) {
  Language("italiano.lng",
           "[GLOBAL]\r\n0031=applicazioni\r\n[frmAbout]\r\nbtnOk=Chiudi\r\n[frmSettings]\r\n"
           "ctlTabbed(0)=Generale\r\n");
  const std::string theme = kFolder + "\\themes\\two";
  world.files.folders.push_back(theme);
  world.files.files[theme + "\\1.ico"] = "icon";
  world.ui.iconFiles.push_back(theme + "\\1.ico");
  frmAbout about(program);
  world.forms.Load(about);  // a form up while the language changes
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbLanguage", "italiano.lng");
    world.forms.Choose(form, "cmbTheme", "two");
    Click(form, "btnOk");
    EXPECT_EQ(Ctl(form, "ctlTabbed").Items[0], "Generale");
  });
  EXPECT_EQ(Stored()["Language"], "italiano.lng");
  EXPECT_EQ(Ctl(about, "btnOk").Caption, "Chiudi");
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 0 applicazioni");
  EXPECT_EQ(world.tray.icon, world.ui.loadedIcons.at(theme + "\\1.ico"));

  // English from the dialog is the English file; without it the user hears so, and the
  // designed texts come back.
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbLanguage", "English - Built In");
    Click(form, "btnOk");
  });
  EXPECT_EQ(LastBox(), kIncompatibleLanguage);
  EXPECT_EQ(about.Caption, "About Ombrix");
  EXPECT_EQ(Ctl(about, "btnOk").Caption, "Ok");
  world.forms.Unload(about);
}

class DesktopSettings : public SettingsDialogs {
 protected:
  void SetUp() override {
    world.files.files["C:\\Pictures\\sea.jpg"] = "sea";
    world.files.files["C:\\Pictures\\wall.bmp"] = "wall";
    Started::SetUp();
  }
  void GoTo(int16_t desk) { SwitchDesktop(program, desk); }
  std::string Key(const char* name, int desk) {
    return Stored()[std::string(name) + std::to_string(desk)];
  }
};

TEST_F(DesktopSettings, OpensOnTheCurrentDesktopsSettingsAndKeepsWhatTheUserDidNotTouch) {
  Desk(3).sDeskName = "A name typed into the registry";  // longer than the box takes
  Desk(3).bHideThisDeskApps = true;
  Desk(3).sWallPaper = "C:\\Pictures\\wall.bmp";
  Desk(3).iWallPaperType = 7;  // no style of the dialog's: stretched
  GoTo(3);
  OnDesktopSettings([this](Form& form) {
    EXPECT_TRUE(Ctl(form, "chkHideThisDeskAppsChk").Value);
    EXPECT_TRUE(Ctl(form, "optStretched").Value);
    EXPECT_EQ(Ctl(form, "btnChooseWallPaper").Caption, "Remove Wallpaper");
    EXPECT_EQ(Ctl(form, "btnChooseWallPaper").Tip, "C:\\Pictures\\wall.bmp");
    Click(form, "btnOk");
  });
  EXPECT_EQ(Key("DeskName", 3), "A name typed into the registry");
  EXPECT_EQ(Key("WallpaperType", 3), "2");
  EXPECT_EQ(Key("Wallpaper", 3), kStore + "\\3\\wall.bmp");

  GoTo(1);
  Desk(1).sPassword = "hand-edited";
  OnDesktopSettings([this](Form& form) {
    for (const char* control : {"txtOldPassword", "txtNewPassword", "lblNewPassword"}) {
      EXPECT_FALSE(Ctl(form, control).Enabled) << control;
    }
    Type(form, "txtDeskName", "  One  ");
    Click(form, "btnOk");
  });
  EXPECT_EQ(Key("DeskName", 1), "One");
  EXPECT_EQ(Desk(1).sPassword, "hand-edited") << "desktop 1's password never changes here";
}

TEST_F(DesktopSettings, PasswordsFollowTheOldOneAndTheProgramPasswordGuardsUnprotectedDesktops) {
  GoTo(5);
  Desk(5).sPassword = EncodePassword("five");
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtOldPassword", "five");
    world.ui.boxAnswers.push_back(mb::kYes);  // remove it
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(5).sPassword, "");
  EXPECT_EQ(Stored().count("DeskPass5"), 0u);

  // Without a desktop password and with both fields empty, the program password is asked; a
  // wrong one keeps the dialog open, and the dialog is the open one again.
  program.settings.sGlobalPass = EncodePassword("admin");
  Then("frmDesktop", [this](Form& form) {
    Type(form, "txtDeskName", "Guarded");
    Click(form, "btnOk");
    EXPECT_EQ(program.busy.OpenDialog(), form.hwnd);
    AnswerPrompt("admin");
    Click(form, "btnOk");
  });
  AnswerPrompt("wrong");
  ShowDesktopSettings(program);
  EXPECT_TRUE(world.ui.userActions.empty()) << "the program password was not asked twice";
  EXPECT_EQ(Desk(5).sDeskName, "Guarded");

  // A new password typed for it is accepted as the empty old one allows, without the prompt.
  const int loads = world.forms.loads;
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtNewPassword", "new");
    Click(form, "btnOk");
  });
  EXPECT_EQ(world.forms.loads, loads + 1) << "only the dialog itself was loaded";
  EXPECT_TRUE(IsVerifier(Key("DeskPass", 5)));
  EXPECT_EQ(Key("DeskPass", 5), Desk(5).sPassword);
}

TEST_F(DesktopSettings, AnImageThatCannotBeKeptOrSetIsToldAndTheStartUpWallpaperShows) {
  world.process.versionCode = 8;  // a system where Active Desktop may be off
  world.shell.activeDesktopExists = true;
  GoTo(2);
  const size_t applied = world.shell.applied.size();
  OnDesktopSettings([this](Form& form) {
    Tab(form, 1);
    world.ui.fileChoices.push_back("C:\\Pictures\\gone.bmp");
    Click(form, "btnChooseWallPaper");
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(),
              "Ombrix could not keep a copy of C:\\Pictures\\gone.bmp, so the wallpaper was not "
              "changed.");
    Click(form, "btnChooseWallPaper");  // remove the file chosen, then choose another
    world.ui.fileChoices.push_back("C:\\Pictures\\sea.jpg");
    Click(form, "btnChooseWallPaper");
    world.shell.refuse = true;
    world.ui.boxAnswers.push_back(7);  // no Active Desktop
    Click(form, "btnOk");
  });
  ASSERT_GE(world.ui.boxes.size(), 3u);
  EXPECT_EQ(world.ui.boxes[world.ui.boxes.size() - 2].text, msgs::kEnableActiveDesktopOne.text);
  EXPECT_EQ(LastBox(), "Could not set this image to wallpaper!");
  EXPECT_EQ(Key("Wallpaper", 2), kStore + "\\2\\sea.jpg") << "kept all the same";
  EXPECT_EQ(world.shell.applied.size(), applied) << "the system refused every image";
}

TEST_F(DesktopSettings, AStoreThatRefusesLeavesTheDesktopAsItWas) {
  GoTo(6);
  Desk(6).sDeskName = "Old";
  world.files.files["C:\\Pictures\\sea.bmp"] = "sea";
  const std::string old = KeepWallpaperCopy(program, "C:\\Pictures\\sea.bmp", 6);
  ASSERT_FALSE(old.empty());
  Desk(6).sWallPaper = old;
  world.store.lockedKeys = {"DontShowApps6"};
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtDeskName", "New");
    Tab(form, 1);
    Click(form, "btnChooseWallPaper");  // removes the old one
    world.ui.fileChoices.push_back("C:\\Pictures\\wall.bmp");
    Click(form, "btnChooseWallPaper");
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(), msgs::kSettingsNotSaved.text);
    Click(form, "btnCancel");
  });
  EXPECT_EQ(Desk(6).sDeskName, "Old");
  EXPECT_EQ(Stored().count("DeskName6"), 0u) << "the keys written before are taken back";
  EXPECT_EQ(Desk(6).sWallPaper, old);
  EXPECT_TRUE(world.files.files.count(old)) << "the desktop's copy of its wallpaper is kept";
}

}  // namespace
}  // namespace ombrix
