#include "dialogs/settings_dialog.h"

#include <algorithm>
#include <utility>

#include "app/program.h"
#include "app/settings.h"
#include "appearance/password_prompt.h"
#include "core/text.h"
#include "dialogs/autostart.h"
#include "dialogs/tabbed_pages.h"
#include "dialogs/theme.h"
#include "events/hotkeys.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr int kPasswordLength = 20;  // what the password prompt takes
constexpr const char* kTranslationTool = "Glossator.exe";


enum Page { kGeneral, kHotKeys, kPassword };

Control Label(const char* name, const char* caption, Rect bounds, int page) {
  return OnPage(Placed(name, ControlKind::Label, caption, bounds), page);
}

Control Check(const char* name, const char* caption, Rect bounds, int page) {
  return OnPage(Placed(name, ControlKind::CheckBox, caption, bounds), page);
}

Control Combo(const char* name, Rect bounds) {
  return OnPage(Placed(name, ControlKind::ComboBox, "", bounds), kGeneral);
}

Control PasswordBox(const char* name, Rect bounds) {
  Control box = Placed(name, ControlKind::TextBox, "", bounds);
  box.MaxLength = kPasswordLength;
  box.PasswordChar = '*';
  return OnPage(box, kPassword);
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return LowerText(a) < LowerText(b);
}

std::string ThemesFolder(Program& program) {
  return WithBackslash(program.platform.system.ProgramFolder()) + "themes";
}

}  // namespace

frmSettings::frmSettings(Program& program) : Dialog(program) {
  Name = "frmSettings";
  Caption = "Ombrix Settings";
  width = 440;
  height = 404;
  centred = true;

  Control info{.Name = "lblInfo", .Caption = "Use this dialog to set program options"};
  info.bounds = {12, 10, 428, 28};
  controls = {info};
  // Every page's controls before the strip and its frames: those lie beneath them.
  const std::vector<Control> pages = TabStripAndPages({10, 34, 430, 354}, {12, 62, 428, 352}, 3);

  // General.
  controls.push_back(Check("chkIgnoreNoTitle", "Ignore Windows with no title",
                           {24, 74, 416, 94}, kGeneral));
  controls.push_back(Check("chkTopWindows", "Ignore 'Always On Top' windows",
                           {24, 98, 416, 118}, kGeneral));
  controls.push_back(Check("chkAutoStart", "Autostart with Windows", {24, 122, 416, 142}, kGeneral));
  controls.push_back(Check("chkShowCurDesktop", "Show current desktop",
                           {24, 146, 416, 166}, kGeneral));
  controls.push_back(Check("chkCicleDesktops", "Cicle among desktops",
                           {24, 170, 416, 190}, kGeneral));
  controls.push_back(Check("chkRestoreDesktops", "Put windows back on their desktops after a crash",
                           {24, 194, 416, 214}, kGeneral));
  controls.push_back(Label("lblLanguage", "Language:", {24, 260, 110, 278}, kGeneral));
  controls.push_back(Combo("cmbLanguage", {112, 256, 380, 280}));
  Control browse{.Name = "btnBrowse", .kind = ControlKind::Button, .Caption = "..."};
  browse.bounds = {386, 255, 416, 281};
  controls.push_back(OnPage(browse, kGeneral));
  controls.push_back(Label("lblTheme", "Theme:", {24, 296, 110, 314}, kGeneral));
  controls.push_back(Combo("cmbTheme", {112, 292, 380, 316}));

  // Hot-Keys.
  controls.push_back(Label("lblDeskSwitch",
                           "GO TO: use these combinations of keys for fast desktop switching",
                           {24, 72, 416, 104}, kHotKeys));
  controls.push_back(Check("chkAltArrows", "ALT+Arrows", {36, 108, 216, 128}, kHotKeys));
  controls.push_back(Check("chkAltNumbers", "ALT+Numbers", {224, 108, 416, 128}, kHotKeys));
  controls.push_back(Check("chkControlArrows", "CTRL+Arrows", {36, 132, 216, 152}, kHotKeys));
  controls.push_back(Check("chkControlNumbers", "CTRL+Numbers", {224, 132, 416, 152}, kHotKeys));
  controls.push_back(Check("chkWinArrows", "WIN+Arrows", {36, 156, 216, 176}, kHotKeys));
  controls.push_back(Check("chkWinNumbers", "WIN+Numbers", {224, 156, 416, 176}, kHotKeys));
  controls.push_back(Label("lblDeskMove",
                           "MOVE: use these combinations of keys to move the foreground "
                           "application to another desktop",
                           {24, 196, 416, 228}, kHotKeys));
  controls.push_back(Check("chkShiftAltNum", "SHIFT+ALT+Numbers", {36, 232, 416, 252}, kHotKeys));
  controls.push_back(Check("chkShiftControlNum", "SHIFT+CTRL+Numbers",
                           {36, 256, 416, 276}, kHotKeys));
  controls.push_back(Check("chkShiftWinNum", "SHIFT+WIN+Numbers", {36, 280, 416, 300}, kHotKeys));

  // Password.
  controls.push_back(Label("lblPassword",
                           "It's possible to set a password that protects the program from "
                           "being unloaded and your settings from being changed.",
                           {24, 74, 416, 122}, kPassword));
  controls.push_back(Label("lblOldPassword", "Old Password", {24, 138, 140, 156}, kPassword));
  controls.push_back(PasswordBox("txtOldPassword", {144, 134, 330, 158}));
  controls.push_back(Label("lblNewPassword", "New Password", {24, 172, 140, 190}, kPassword));
  controls.push_back(PasswordBox("txtNewPassword", {144, 168, 330, 192}));

  const std::vector<Control> buttons = OkAndCancel(430, 394);
  controls.insert(controls.end(), buttons.begin(), buttons.end());
  controls.insert(controls.end(), pages.begin(), pages.end());
}

void frmSettings::OnLoad() {
  LoadDialog();
  FillLanguages();
  FillThemes();
  const Settings& s = program_.settings;
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.checkBox != nullptr) Find(setting.checkBox)->Value = s.*setting.flag;
  }
  Control& language = *Find("cmbLanguage");
  if (!SetComboText(language, s.sLanguage)) language.ListIndex = 0;
  Control& theme = *Find("cmbTheme");
  if (!SetComboText(theme, s.sTheme)) SetComboText(theme, kDefaultTheme);
  sOldPass = s.sGlobalPass;
  Find("txtOldPassword")->Enabled = !sOldPass.empty();
  Find("lblOldPassword")->Enabled = !sOldPass.empty();
  ShowPage(*this, kGeneral);
}

void frmSettings::SetTexts() {
  SetTabCaptions(program_, *this, {"General", "Hot-Keys", "Password"});
}

void frmSettings::FillLanguages() {
  Control& combo = *Find("cmbLanguage");
  const std::string chosen = ComboText(combo);
  std::vector<std::string> files =
      program_.platform.files.FilesWithExtension(program_.platform.system.ProgramFolder(), ".lng");
  std::sort(files.begin(), files.end(), LessIgnoringCase);
  combo.Items = {kBuiltInLanguage};
  combo.Items.insert(combo.Items.end(), files.begin(), files.end());
  if (!SetComboText(combo, chosen)) combo.ListIndex = 0;
}

void frmSettings::FillThemes() {
  Control& combo = *Find("cmbTheme");
  std::vector<std::string> themes = program_.platform.files.Subfolders(ThemesFolder(program_));
  if (std::none_of(themes.begin(), themes.end(),
                   [](const std::string& t) { return LowerText(t) == kDefaultTheme; })) {
    themes.push_back(kDefaultTheme);  // the built-in pictures, with or without a folder
  }
  std::sort(themes.begin(), themes.end(), LessIgnoringCase);
  combo.Items = themes;
  SetComboText(combo, kDefaultTheme);
}

void frmSettings::OnClick(Control& control) {
  if (control.Name == "ctlTabbed") {
    ShowPage(*this, control.ListIndex);
  } else if (control.Name == "btnBrowse") {
    StartTranslationTool();
  } else if (control.Name == "btnOk") {
    Ok();
  } else if (control.Name == "btnCancel") {
    HideDialog();
  }
}

// The tool opens the English file as the one to translate from; the path is quoted, since the
// program's folder may hold blanks.
void frmSettings::StartTranslationTool() {
  Platform& p = program_.platform;
  const std::string folder = WithBackslash(p.system.ProgramFolder());
  const std::string tool = folder + kTranslationTool;
  if (!p.files.FileExists(tool)) {
    InfoBox(program_, GetMsgFmt(program_, msgs::kTranslationToolMissing.id,
                                msgs::kTranslationToolMissing.text, tool));
    return;
  }
  std::string english = "\"";
  english += folder;
  english += "english.lng\"";
  if (!p.shell.StartProgram(tool, english)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kCannotOpen.id, msgs::kCannotOpen.text, tool));
  }
}

bool frmSettings::ChoicesStillThere() {
  Platform& p = program_.platform;
  const Settings& s = program_.settings;
  const std::string language = ComboText(*Find("cmbLanguage"));
  if (language != s.sLanguage && language != kBuiltInLanguage &&
      !p.files.FileExists(WithBackslash(p.system.ProgramFolder()) + language)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kLanguageFileGone.id, msgs::kLanguageFileGone.text,
                                 language));
    FillLanguages();
    return false;
  }
  const std::string theme = ComboText(*Find("cmbTheme"));
  if (theme != s.sTheme && theme != kDefaultTheme && !p.files.FolderExists(ThemesFolder(program_) + "\\" + theme)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kThemeGone.id, msgs::kThemeGone.text, theme));
    FillThemes();
    return false;
  }
  return true;
}

// Everything is checked before anything is written, and the program takes the new settings
// only once the store holds them all.
void frmSettings::Ok() {
  if (Find("txtOldPassword")->Caption != sOldPass) {
    ErrorBox(program_, GetMsg(program_, msgs::kOldPasswordWrong));
    return;
  }
  if (!ChoicesStillThere()) return;
  Settings chosen = program_.settings;
  chosen.sGlobalPass = FitText(*Find("txtNewPassword"), Find("txtNewPassword")->Caption);
  if (chosen.sGlobalPass.empty() && !sOldPass.empty() &&
      !AskYesNo(program_, GetMsg(program_, msgs::kRemovePassword))) {
    chosen.sGlobalPass = sOldPass;
  }
  chosen.sLanguage = ComboText(*Find("cmbLanguage"));
  chosen.sTheme = ComboText(*Find("cmbTheme"));
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.checkBox != nullptr) chosen.*setting.flag = Find(setting.checkBox)->Value;
  }
  if (!WriteSettings(program_.platform.store, ProgramSettingWrites(chosen))) {
    ErrorBox(program_, GetMsg(program_, msgs::kSettingsNotSaved));
    return;
  }

  const Settings before = std::exchange(program_.settings, chosen);
  if (chosen.sLanguage != before.sLanguage) {
    LoadLanguage(program_, chosen.sLanguage, true);
    TranslateOpenForms(program_);
    program_.platform.tray.ChangeTooltip(1, DesktopTooltip(program_));
  }
  if (chosen.sTheme != before.sTheme) ApplyTheme(program_, chosen.sTheme);
  HideDialog();
}

void ShowProgramSettings(Program& program) {
  frmSettings dialog(program);
  ShowDialog(program, dialog, true);
  // A session that ended meanwhile has taken the program down.
  if (!program.bMainWindowLoaded) return;
  ApplyAutoStart(program);
  ApplyHotKeys(program);
}

}  // namespace ombrix
