#include <gtest/gtest.h>

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

class SettingsDialogs : public Started {
 protected:
  using Act = std::function<void(Form&)>;
  // What the user does once the dialog's loop waits, on the dialog of that name.
  void Then(const std::string& dialog, Act act) {
    world.ui.userActions.push_back([this, dialog, act] {
      Form* form = world.forms.Loaded(dialog);
      ASSERT_NE(form, nullptr) << dialog << " is not open";
      act(*form);
    });
  }
  // Opens the dialog and runs it while the user does `act`.
  void OnProgramSettings(Act act) {
    Then("frmSettings", act);
    ShowProgramSettings(program);
  }
  void OnDesktopSettings(Act act) {
    Then("frmDesktop", act);
    ShowDesktopSettings(program);
  }
  void Click(Form& form, const std::string& control, int index = -1) {
    world.forms.Click(form, control, index);
  }
  void Type(Form& form, const std::string& control, const std::string& text) {
    world.forms.Type(form, control, text);
  }
  std::string LastBox() { return world.ui.boxes.empty() ? "" : world.ui.boxes.back().text; }
  std::map<std::string, std::string>& Stored() { return world.store.sections["Settings"]; }
  std::optional<std::string> RunEntry() {
    return world.registry.Text(RegistryRoot::CurrentUser, kRunKey, "Ombrix");
  }
  // The user answers a password prompt opened by the dialog.
  void AnswerPrompt(const std::string& typed) {
    Then("frmPassword", [this, typed](Form& prompt) {
      Type(prompt, "txtPassword", typed);
      Click(prompt, "btnOk");
    });
  }
  void Language(const std::string& name, const std::string& body) {
    world.files.files[kFolder + "\\" + name] = "[Ombrix]\r\nVersion=1.0\r\n" + body;
  }
};

using ProgramSettings = SettingsDialogs;

TEST_F(ProgramSettings, OpensOnGeneralWithTheSettingsTheLanguagesAndTheThemes) {
  program.settings.bCicleDesktops = true;
  program.settings.bWin = false;
  program.settings.sLanguage = "gone.lng";  // its file is no longer there
  Language("zeta.lng", "");
  Language("Alpha.lng", "");
  world.files.files[kFolder + "\\notes.txt"] = "";
  world.files.folders.push_back(kFolder + "\\themes\\colours");
  world.files.folders.push_back(kFolder + "\\themes\\Blue");
  OnProgramSettings([this](Form& form) {
    EXPECT_TRUE(form.Find("chkCicleDesktops")->Value);
    EXPECT_FALSE(form.Find("chkWinArrows")->Value);
    EXPECT_EQ(form.Find("cmbLanguage")->Items,
              (std::vector<std::string>{"English - Built In", "Alpha.lng", "zeta.lng"}));
    EXPECT_EQ(ComboText(*form.Find("cmbLanguage")), "English - Built In");
    EXPECT_EQ(form.Find("cmbTheme")->Items,
              (std::vector<std::string>{"Blue", "colours", "default"}));
    EXPECT_EQ(ComboText(*form.Find("cmbTheme")), "default");
    EXPECT_TRUE(sim::SimFormHost::Reachable(form, *form.Find("chkAutoStart")));
    EXPECT_FALSE(sim::SimFormHost::Reachable(form, *form.Find("chkAltArrows")));
    world.forms.ChooseTab(form, "ctlTabbed", 2);
    EXPECT_FALSE(sim::SimFormHost::Reachable(form, *form.Find("chkAutoStart")));
    // Without a program password there is no old one to type.
    EXPECT_FALSE(sim::SimFormHost::Reachable(form, *form.Find("txtOldPassword")));
    EXPECT_TRUE(sim::SimFormHost::Reachable(form, *form.Find("txtNewPassword")));
    Click(form, "btnCancel");
  });
  EXPECT_EQ(program.busy.OpenDialog(), 0);
  EXPECT_EQ(world.forms.Loaded("frmSettings"), nullptr);
}

TEST_F(ProgramSettings, OkSavesTheSettingsAndTheHookLibraryAndAutostartFollow) {
  OnProgramSettings([this](Form& form) {
    world.forms.ChooseTab(form, "ctlTabbed", 1);
    Click(form, "chkAltNumbers");
    Click(form, "chkWinArrows");
    world.forms.ChooseTab(form, "ctlTabbed", 0);
    Click(form, "chkAutoStart");
    Click(form, "chkShowCurDesktop");
    Click(form, "chkRestoreDesktops");
    Click(form, "btnOk");
  });
  EXPECT_FALSE(program.settings.bRestoreDesktops);
  EXPECT_EQ(Stored()["RestoreDesktops"], "0");
  EXPECT_FALSE(program.settings.bShowCurDesk);
  EXPECT_TRUE(program.settings.bAutoStart);
  EXPECT_EQ(Stored()["AltNumbers"], "1");
  EXPECT_EQ(Stored()["Win"], "0");
  EXPECT_EQ(Stored()["ShowCurDesk"], "0");
  EXPECT_EQ(Stored().count("GlobalPass"), 0u);
  EXPECT_EQ(Stored().count("AutoStart"), 0u) << "autostart lives in its entry only";
  EXPECT_EQ(world.hooks.flags["TakeAltNum"], 1);
  EXPECT_EQ(world.hooks.flags["TakeWinArrows"], 0);
  EXPECT_EQ(RunEntry(), "\"C:\\Program Files\\Ombrix\\Ombrix.exe\"");
}

TEST_F(ProgramSettings, CancelChangesNothingButTheAutostartEntryIsWrittenAgainQuoted) {
  world.registry.SetText(RegistryRoot::CurrentUser, kRunKey, "Ombrix",
                         "C:\\Program Files\\Ombrix\\Ombrix.exe");
  world.registry.SetText(RegistryRoot::LocalMachine, kRunKey, "Ombrix", "x");
  program.settings.bAutoStart = true;
  const Settings before = program.settings;
  const int writes = world.store.writes;
  OnProgramSettings([this](Form& form) {
    Click(form, "chkIgnoreNoTitle");
    Click(form, "chkAutoStart");
    Click(form, "btnCancel");
  });
  EXPECT_EQ(program.settings.bIgnoreNoTitle, before.bIgnoreNoTitle);
  EXPECT_TRUE(program.settings.bAutoStart);
  EXPECT_EQ(world.store.writes, writes);
  EXPECT_EQ(RunEntry(), "\"C:\\Program Files\\Ombrix\\Ombrix.exe\"");
  EXPECT_FALSE(world.registry.Text(RegistryRoot::LocalMachine, kRunKey, "Ombrix"));
  EXPECT_FALSE(world.hooks.calls.empty());
  EXPECT_EQ(world.hooks.calls.back(), "IgnoreHook") << "the hot-keys are passed on again";
}

TEST_F(ProgramSettings, TheOldPasswordGuardsEveryChangeAndAnEmptyNewOneAsksBeforeRemoving) {
  program.settings.sGlobalPass = "admin";
  OnProgramSettings([this](Form& form) {
    Click(form, "chkCicleDesktops");
    world.forms.ChooseTab(form, "ctlTabbed", 2);
    Type(form, "txtOldPassword", "Admin");
    Click(form, "btnOk");  // refused: the dialog stays open
    EXPECT_EQ(LastBox(),
              "The old password is not correct: nothing was changed.");
    Type(form, "txtOldPassword", "admin");
    world.ui.boxAnswers.push_back(7);  // No: keep the password
    Click(form, "btnOk");
  });
  EXPECT_TRUE(program.settings.bCicleDesktops);
  EXPECT_EQ(program.settings.sGlobalPass, "admin");
  EXPECT_EQ(DecodePassword(Stored()["GlobalPass"]), "admin");
  EXPECT_EQ(LastBox(), "Do you want to remove the password?");

  OnProgramSettings([this](Form& form) {
    world.forms.ChooseTab(form, "ctlTabbed", 2);
    Type(form, "txtOldPassword", "admin");
    world.ui.boxAnswers.push_back(6);  // Yes
    Click(form, "btnOk");
  });
  EXPECT_EQ(program.settings.sGlobalPass, "");
  EXPECT_EQ(Stored().count("GlobalPass"), 0u);

  const size_t boxes = world.ui.boxes.size();
  OnProgramSettings([this](Form& form) {
    world.forms.ChooseTab(form, "ctlTabbed", 2);
    Type(form, "txtNewPassword", "a password longer than twenty");
    Click(form, "btnOk");
  });
  EXPECT_EQ(program.settings.sGlobalPass, "a password longer th") << "what the prompt can take";
  EXPECT_EQ(world.ui.boxes.size(), boxes) << "a new password with no old one asks nothing";
}

TEST_F(ProgramSettings, ANewLanguageTranslatesTheMenusTheTrayAndEveryOpenFormAtOnce) {
  Language("italiano.lng",
           "[GLOBAL]\r\n0031=applicazioni\r\n[frmMain]\r\nmnuProgramSettings=Impostazioni...\r\n"
           "[frmAbout]\r\nfrmAbout=Informazioni\r\nbtnOk=Chiudi\r\n[frmSettings]\r\n"
           "ctlTabbed(0)=Generale\r\n");
  frmAbout about(program);
  world.forms.Load(about);  // a form up while the language changes
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbLanguage", "italiano.lng");
    Click(form, "btnOk");
    EXPECT_EQ(form.Find("ctlTabbed")->Items[0], "Generale");
  });
  EXPECT_EQ(program.settings.sLanguage, "italiano.lng");
  EXPECT_EQ(Stored()["Language"], "italiano.lng");
  EXPECT_EQ(about.Caption, "Informazioni");
  EXPECT_EQ(about.Find("btnOk")->Caption, "Chiudi");
  EXPECT_EQ(MenuItemInfo(program, "Program Settings...").text, "Impostazioni...");
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 0 applicazioni");

  // The same language again reloads nothing.
  Language("italiano.lng", "[frmMain]\r\nmnuProgramSettings=Cambiato\r\n");
  OnProgramSettings([this](Form& form) { Click(form, "btnOk"); });
  EXPECT_EQ(MenuItemInfo(program, "Program Settings...").text, "Impostazioni...");

  // English from the dialog is the English file; without it the user hears so.
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbLanguage", "English - Built In");
    Click(form, "btnOk");
  });
  EXPECT_EQ(LastBox(), kIncompatibleLanguage);
  EXPECT_EQ(about.Caption, "About Ombrix") << "the designed texts come back";
  EXPECT_EQ(about.Find("btnOk")->Caption, "Ok");
  EXPECT_EQ(MenuItemInfo(program, "Program Settings...").text, "Program Settings...");
  world.forms.Unload(about);
}

TEST_F(ProgramSettings, ANewThemeReplacesTheIconsItHas) {
  const std::string theme = kFolder + "\\themes\\two";
  world.files.folders.push_back(theme);
  for (const char* n : {"1", "5"}) {
    world.files.files[theme + "\\" + n + ".ico"] = "icon";
    world.ui.iconFiles.push_back(theme + "\\" + n + ".ico");
  }
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbTheme", "two");
    Click(form, "btnOk");
  });
  EXPECT_EQ(program.settings.sTheme, "two");
  EXPECT_EQ(program.Icona[0], world.ui.loadedIcons.at(theme + "\\1.ico"));
  EXPECT_EQ(program.Icona[4], world.ui.loadedIcons.at(theme + "\\5.ico"));
  EXPECT_EQ(program.Icona[1], world.ui.DesktopIcon(2));
  EXPECT_EQ(world.tray.icon, program.Icona[0]);

  // "default" is the built-in set, with no folder of its own.
  OnProgramSettings([this](Form& form) {
    world.forms.Choose(form, "cmbTheme", "default");
    Click(form, "btnOk");
  });
  EXPECT_EQ(program.Icona[0], world.ui.DesktopIcon(1));
}

TEST_F(ProgramSettings, ChoicesThatVanishedOrAStoreThatRefusesChangeNothing) {
  Language("italiano.lng", "");
  world.files.folders.push_back(kFolder + "\\themes\\two");
  OnProgramSettings([this](Form& form) {
    Click(form, "chkCicleDesktops");
    world.forms.Choose(form, "cmbLanguage", "italiano.lng");
    world.files.files.erase(kFolder + "\\italiano.lng");
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(),
              "The language file italiano.lng is no longer beside Ombrix. Choose another "
              "language.");
    EXPECT_EQ(form.Find("cmbLanguage")->Items, std::vector<std::string>{"English - Built In"});

    world.forms.Choose(form, "cmbTheme", "two");
    world.files.folders.clear();
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(),
              "The theme two is no longer in the themes folder. Choose another theme.");
    EXPECT_EQ(ComboText(*form.Find("cmbTheme")), "default");

    world.store.lockedKeys = {"Theme"};  // written after the flags and the language
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(), msgs::kSettingsNotSaved.text);
    Click(form, "btnCancel");
  });
  EXPECT_FALSE(program.settings.bCicleDesktops);
  EXPECT_EQ(Stored().count("CicleDesktops"), 0u) << "the keys written before are taken back";
  EXPECT_EQ(Stored().count("Language"), 0u);
}

TEST_F(ProgramSettings, TheTranslationToolStartsWithTheEnglishFileOrTheUserHearsItIsMissing) {
  OnProgramSettings([this](Form& form) {
    Click(form, "btnBrowse");
    EXPECT_EQ(LastBox(),
              "The translation tool C:\\Program Files\\Ombrix\\Glossator.exe is not installed "
              "beside Ombrix.");
    world.files.files[kFolder + "\\Glossator.exe"] = "tool";
    Click(form, "btnBrowse");
    Click(form, "btnCancel");
  });
  EXPECT_EQ(world.shell.started,
            std::vector<std::string>{"C:\\Program Files\\Ombrix\\Glossator.exe|"
                                     "\"C:\\Program Files\\Ombrix\\english.lng\""});
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

TEST_F(DesktopSettings, OpensOnTheCurrentDesktopsSettings) {
  Desk(3).sDeskName = "Mail";
  Desk(3).bHideThisDeskApps = true;
  Desk(3).sWallPaper = "C:\\Pictures\\wall.bmp";
  Desk(3).iWallPaperType = 7;  // no style of the dialog's: stretched
  GoTo(3);
  OnDesktopSettings([this](Form& form) {
    EXPECT_EQ(form.Find("txtDeskName")->Caption, "Mail");
    EXPECT_TRUE(form.Find("chkHideThisDeskAppsChk")->Value);
    EXPECT_TRUE(form.Find("optStretched")->Value);
    EXPECT_FALSE(form.Find("optCentered")->Value);
    EXPECT_FALSE(sim::SimFormHost::Reachable(form, *form.Find("txtOldPassword")));
    EXPECT_EQ(form.Find("btnChooseWallPaper")->Caption, "Remove Wallpaper");
    EXPECT_EQ(form.Find("btnChooseWallPaper")->Tip, "C:\\Pictures\\wall.bmp");
    Click(form, "btnOk");
  });
  EXPECT_EQ(Key("WallpaperType", 3), "2");
  EXPECT_EQ(Key("Wallpaper", 3), kStore + "\\3\\wall.bmp");

  GoTo(1);
  Desk(1).sPassword = "hand-edited";
  OnDesktopSettings([this](Form& form) {
    for (const char* control : {"txtOldPassword", "txtNewPassword", "lblNewPassword"}) {
      EXPECT_FALSE(form.Find(control)->Enabled) << control;
    }
    EXPECT_EQ(form.Find("btnChooseWallPaper")->Caption, "Set Wallpaper");
    world.forms.ChooseTab(form, "ctlTabbed", 1);
    EXPECT_FALSE(sim::SimFormHost::Reachable(form, *form.Find("optTiled")));
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(1).sPassword, "hand-edited") << "desktop 1's password never changes here";
}

TEST_F(DesktopSettings, ALongerNameFromTheRegistryIsKeptWhenTheUserDoesNotRetypeIt) {
  GoTo(4);
  Desk(4).sDeskName = "A name typed into the registry";
  OnDesktopSettings([this](Form& form) { Click(form, "btnOk"); });
  EXPECT_EQ(Desk(4).sDeskName, "A name typed into the registry");
  EXPECT_EQ(Key("DeskName", 4), "A name typed into the registry");
}

TEST_F(DesktopSettings, OkSavesAndAppliesTheNameTheHidingAndTheWallpaper) {
  GoTo(4);
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtDeskName", "  Рабочий стол 4 — 作業  ");  // pasted: 26 characters
    Click(form, "chkHideThisDeskAppsChk");
    world.forms.ChooseTab(form, "ctlTabbed", 1);
    world.ui.fileChoices.push_back("C:\\Pictures\\wall.bmp");
    Click(form, "btnChooseWallPaper");
    EXPECT_EQ(form.Find("btnChooseWallPaper")->Caption, "Remove Wallpaper");
    Click(form, "optTiled");
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(4).sDeskName, "Рабочий стол 4 — 作");  // the first twenty, trimmed
  EXPECT_EQ(Key("DeskName", 4), "Рабочий стол 4 — 作");
  EXPECT_TRUE(Desk(4).bHideThisDeskApps);
  EXPECT_EQ(Key("DontShowApps", 4), "1");
  EXPECT_EQ(Desk(4).sWallPaper, kStore + "\\4\\wall.bmp");
  EXPECT_EQ(world.files.files[kStore + "\\4\\wall.bmp"], "wall");
  EXPECT_EQ(Key("WallpaperType", 4), "1");
  EXPECT_EQ(world.shell.applied.back(), kStore + "\\4\\wall.bmp");
  EXPECT_EQ(world.registry.Text(RegistryRoot::CurrentUser, "Control Panel\\Desktop",
                                "TileWallpaper"),
            "1");
  EXPECT_EQ(MenuItemInfo(program, "OMBRIXDESK4").text, "Рабочий стол 4 — 作");

  // Removing it, then OK: the desktop has none and the start-up wallpaper is back.
  OnDesktopSettings([this](Form& form) {
    world.forms.ChooseTab(form, "ctlTabbed", 1);
    Click(form, "btnChooseWallPaper");
    EXPECT_EQ(form.Find("btnChooseWallPaper")->Tip, "");
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(4).sWallPaper, "");
  EXPECT_EQ(world.files.files.count(kStore + "\\4\\wall.bmp"), 0u);
  EXPECT_EQ(world.shell.applied.back(), program.wallpaper.sOrigWallPaper);
}

TEST_F(DesktopSettings, PasswordsFollowTheOldOneAndTheProgramPasswordGuardsUnprotectedDesktops) {
  GoTo(5);
  Desk(5).sPassword = "five";
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtDeskName", "Changed");
    Click(form, "btnOk");  // no old password: refused
    EXPECT_EQ(LastBox(), "The old password is not correct: nothing was changed.");
    Type(form, "txtOldPassword", "five");
    world.ui.boxAnswers.push_back(7);  // keep it
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(5).sPassword, "five");
  EXPECT_EQ(Desk(5).sDeskName, "Changed") << "the other fields are saved all the same";

  OnDesktopSettings([this](Form& form) {
    Type(form, "txtOldPassword", "five");
    world.ui.boxAnswers.push_back(6);  // remove it
    Click(form, "btnOk");
  });
  EXPECT_EQ(Desk(5).sPassword, "");
  EXPECT_EQ(Stored().count("DeskPass5"), 0u);

  // Without a desktop password and with both fields empty, the program password is asked.
  program.settings.sGlobalPass = "admin";
  Then("frmDesktop", [this](Form& form) {
    Type(form, "txtDeskName", "Guarded");
    Click(form, "btnOk");
  });
  AnswerPrompt("wrong");
  world.ui.userActions.push_back([this] {
    Form* form = world.forms.Loaded("frmDesktop");
    ASSERT_NE(form, nullptr) << "a refused program password keeps the dialog open";
    AnswerPrompt("admin");
    Click(*form, "btnOk");
  });
  ShowDesktopSettings(program);
  EXPECT_TRUE(world.ui.userActions.empty()) << "the program password was not asked twice";
  EXPECT_EQ(Desk(5).sDeskName, "Guarded");

  // A new password typed for it is accepted as the empty old one allows, without the prompt.
  Then("frmDesktop", [this](Form& form) {
    Type(form, "txtNewPassword", "new");
    Click(form, "btnOk");
  });
  const int loads = world.forms.loads;
  ShowDesktopSettings(program);
  EXPECT_EQ(world.forms.loads, loads + 1) << "only the dialog itself was loaded";
  EXPECT_EQ(Desk(5).sPassword, "new");
  EXPECT_EQ(DecodePassword(Key("DeskPass", 5)), "new");
}

TEST_F(DesktopSettings, AnImageThatCannotBeKeptOrSetIsToldAndTheStartUpWallpaperShows) {
  world.process.versionCode = 8;  // a system where Active Desktop may be off
  world.shell.activeDesktopExists = true;
  GoTo(2);
  Then("frmDesktop", [this](Form& form) {
    world.forms.ChooseTab(form, "ctlTabbed", 1);
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
  const size_t applied = world.shell.applied.size();
  ShowDesktopSettings(program);
  ASSERT_GE(world.ui.boxes.size(), 3u);
  EXPECT_EQ(world.ui.boxes[world.ui.boxes.size() - 2].text, msgs::kEnableActiveDesktopOne.text);
  EXPECT_EQ(LastBox(), "Could not set this image to wallpaper!");
  EXPECT_EQ(Desk(2).sWallPaper, kStore + "\\2\\sea.jpg") << "kept all the same";
  EXPECT_EQ(Key("Wallpaper", 2), kStore + "\\2\\sea.jpg");
  EXPECT_EQ(world.shell.applied.size(), applied) << "the system refused every image";
}

TEST_F(DesktopSettings, AStoreThatRefusesLeavesTheDesktopAsItWas) {
  GoTo(6);
  Desk(6).sDeskName = "Old";
  world.files.files["C:\\Pictures\\sea.bmp"] = "sea";
  const std::string old = KeepWallpaperCopy(program, "C:\\Pictures\\sea.bmp", 6);
  ASSERT_FALSE(old.empty());
  Desk(6).sWallPaper = old;
  world.files.files["C:\\Pictures\\hills.bmp"] = "hills";
  world.store.lockedKeys = {"DontShowApps6"};
  OnDesktopSettings([this](Form& form) {
    Type(form, "txtDeskName", "New");
    world.forms.ChooseTab(form, "ctlTabbed", 1);
    Click(form, "btnChooseWallPaper");  // removes the old one
    world.ui.fileChoices.push_back("C:\\Pictures\\hills.bmp");
    Click(form, "btnChooseWallPaper");
    Click(form, "btnOk");
    EXPECT_EQ(LastBox(), msgs::kSettingsNotSaved.text);
    Click(form, "btnCancel");
  });
  EXPECT_EQ(Desk(6).sDeskName, "Old");
  EXPECT_EQ(Stored().count("DeskName6"), 0u);
  EXPECT_EQ(Desk(6).sWallPaper, old);
  EXPECT_TRUE(world.files.files.count(old)) << "the desktop's copy of its wallpaper is kept";
}

}  // namespace
}  // namespace ombrix
