#include "dialogs/settings_dialog.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "app/program.h"
#include "app/settings.h"
#include "appearance/password_prompt.h"
#include "appearance/passwords.h"
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
  return OnPage({.Name = name, .Caption = caption, .bounds = bounds}, page);
}

Control Combo(const char* name, Rect bounds) {
  return OnPage({.Name = name, .kind = ControlKind::ComboBox, .bounds = bounds}, kGeneral);
}

Control PasswordBox(const char* name, Rect bounds) {
  return OnPage({.Name = name,
                 .kind = ControlKind::TextBox,
                 .bounds = bounds,
                 .MaxLength = kPasswordLength,
                 .PasswordChar = '*'},
                kPassword);
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

  Add({.Name = "lblInfo",
       .Caption = "Use this dialog to set program options",
       .bounds = {12, 10, 428, 28}});
  // Every page's controls come before the strip and its frames: those lie beneath them.

  // General.
  AddCheck("chkIgnoreNoTitle", "Ignore Windows with no title", {24, 74, 416, 94}, kGeneral);
  AddCheck("chkTopWindows", "Ignore 'Always On Top' windows", {24, 98, 416, 118}, kGeneral);
  AddCheck("chkAutoStart", "Autostart with Windows", {24, 122, 416, 142}, kGeneral);
  AddCheck("chkShowCurDesktop", "Show current desktop", {24, 146, 416, 166}, kGeneral);
  AddCheck("chkCicleDesktops", "Cicle among desktops", {24, 170, 416, 190}, kGeneral);
  AddCheck("chkRestoreDesktops", "Put windows back on their desktops after a crash",
           {24, 194, 416, 214}, kGeneral);
  Add(Label("lblLanguage", "Language:", {24, 260, 110, 278}, kGeneral));
  language_ = Add(Combo("cmbLanguage", {112, 256, 380, 280}));
  browse_ = Add(OnPage({.Name = "btnBrowse",
                        .kind = ControlKind::Button,
                        .Caption = "...",
                        .bounds = {386, 255, 416, 281}},
                       kGeneral));
  Add(Label("lblTheme", "Theme:", {24, 296, 110, 314}, kGeneral));
  theme_ = Add(Combo("cmbTheme", {112, 292, 380, 316}));

  // Hot-Keys.
  Add(Label("lblDeskSwitch", "GO TO: use these combinations of keys for fast desktop switching",
            {24, 72, 416, 104}, kHotKeys));
  AddCheck("chkAltArrows", "ALT+Arrows", {36, 108, 216, 128}, kHotKeys);
  AddCheck("chkAltNumbers", "ALT+Numbers", {224, 108, 416, 128}, kHotKeys);
  AddCheck("chkControlArrows", "CTRL+Arrows", {36, 132, 216, 152}, kHotKeys);
  AddCheck("chkControlNumbers", "CTRL+Numbers", {224, 132, 416, 152}, kHotKeys);
  AddCheck("chkWinArrows", "WIN+Arrows", {36, 156, 216, 176}, kHotKeys);
  AddCheck("chkWinNumbers", "WIN+Numbers", {224, 156, 416, 176}, kHotKeys);
  Add(Label("lblDeskMove",
            "MOVE: use these combinations of keys to move the foreground application to another "
            "desktop",
            {24, 196, 416, 228}, kHotKeys));
  AddCheck("chkShiftAltNum", "SHIFT+ALT+Numbers", {36, 232, 416, 252}, kHotKeys);
  AddCheck("chkShiftControlNum", "SHIFT+CTRL+Numbers", {36, 256, 416, 276}, kHotKeys);
  AddCheck("chkShiftWinNum", "SHIFT+WIN+Numbers", {36, 280, 416, 300}, kHotKeys);

  // Password.
  Add(Label("lblPassword",
            "It's possible to set a password that protects the program from being unloaded and "
            "your settings from being changed.",
            {24, 74, 416, 122}, kPassword));
  oldPasswordLabel_ = Add(Label("lblOldPassword", "Old Password", {24, 138, 140, 156}, kPassword));
  oldPassword_ = Add(PasswordBox("txtOldPassword", {144, 134, 330, 158}));
  Add(Label("lblNewPassword", "New Password", {24, 172, 140, 190}, kPassword));
  newPassword_ = Add(PasswordBox("txtNewPassword", {144, 168, 330, 192}));

  buttons_ = AddOkAndCancel(*this, 430, 394);
  pages_.Add(*this, {10, 34, 430, 354}, {12, 62, 428, 352}, {"General", "Hot-Keys", "Password"});
}

// The settings table names the check box that shows each flag; the dialog keeps the pairs.
void frmSettings::AddCheck(const char* name, const char* caption, Rect bounds, int page) {
  const ControlId box = Add(OnPage(
      {.Name = name, .kind = ControlKind::CheckBox, .Caption = caption, .bounds = bounds}, page));
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.checkBox != nullptr && std::string_view(setting.checkBox) == name) {
      checks_.push_back({box, setting.flag});
    }
  }
}

void frmSettings::OnLoad() {
  LoadDialog();
  FillLanguages();
  FillThemes();
  const Settings& s = program_.settings;
  for (const BoundCheck& check : checks_) At(check.box).Value = s.*check.flag;
  Control& language = At(language_);
  if (!SetComboText(language, s.sLanguage)) language.ListIndex = 0;
  Control& theme = At(theme_);
  if (!SetComboText(theme, s.sTheme)) SetComboText(theme, kDefaultTheme);
  sOldPass = s.sGlobalPass;
  At(oldPassword_).Enabled = !sOldPass.empty();
  At(oldPasswordLabel_).Enabled = !sOldPass.empty();
  pages_.Show(*this, kGeneral);
}

void frmSettings::SetTexts() { pages_.SetCaptions(program_, *this); }

void frmSettings::FillLanguages() {
  Control& combo = At(language_);
  const std::string chosen = ComboText(combo);
  std::vector<std::string> files =
      program_.platform.files.FilesWithExtension(program_.platform.system.ProgramFolder(), ".lng");
  std::sort(files.begin(), files.end(), LessIgnoringCase);
  combo.Items = {kBuiltInLanguage};
  combo.Items.insert(combo.Items.end(), files.begin(), files.end());
  if (!SetComboText(combo, chosen)) combo.ListIndex = 0;
}

void frmSettings::FillThemes() {
  Control& combo = At(theme_);
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
  if (pages_.IsStrip(control)) {
    pages_.Show(*this, control.ListIndex);
  } else if (control == browse_) {
    StartTranslationTool();
  } else if (control == buttons_.ok) {
    Ok();
  } else if (control == buttons_.cancel) {
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
  const std::string language = ComboText(At(language_));
  if (language != s.sLanguage && language != kBuiltInLanguage &&
      !p.files.FileExists(WithBackslash(p.system.ProgramFolder()) + language)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kLanguageFileGone.id, msgs::kLanguageFileGone.text,
                                 language));
    FillLanguages();
    return false;
  }
  const std::string theme = ComboText(At(theme_));
  if (theme != s.sTheme && theme != kDefaultTheme &&
      !p.files.FolderExists(ThemesFolder(program_) + "\\" + theme)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kThemeGone.id, msgs::kThemeGone.text, theme));
    FillThemes();
    return false;
  }
  return true;
}

// Everything is checked before anything is written, and the program takes the new settings
// only once the store holds them all.
void frmSettings::Ok() {
  if (!TypedPasswordMatches(program_, -1, At(oldPassword_).Caption)) {
    ErrorBox(program_, GetMsg(program_, msgs::kOldPasswordWrong));
    return;
  }
  if (!ChoicesStillThere()) return;
  Settings chosen = program_.settings;
  const std::string typedNew = FitText(At(newPassword_), At(newPassword_).Caption);
  if (!typedNew.empty()) {
    const std::optional<std::string> verifier = MakeVerifier(program_.platform.system, typedNew);
    if (!verifier) {
      ErrorBox(program_, GetMsg(program_, msgs::kPasswordNotProtected));
      return;
    }
    chosen.sGlobalPass = *verifier;
  } else if (!sOldPass.empty() && AskYesNo(program_, GetMsg(program_, msgs::kRemovePassword))) {
    chosen.sGlobalPass.clear();
  }
  chosen.sLanguage = ComboText(At(language_));
  chosen.sTheme = ComboText(At(theme_));
  for (const BoundCheck& check : checks_) chosen.*check.flag = At(check.box).Value;
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
