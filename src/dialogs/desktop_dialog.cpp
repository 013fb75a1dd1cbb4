#include "dialogs/desktop_dialog.h"

#include "app/program.h"
#include "app/settings.h"
#include "appearance/password_prompt.h"
#include "appearance/passwords.h"
#include "appearance/wallpaper.h"
#include "core/text.h"
#include "dialogs/tabbed_pages.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr int kTextLength = 20;
enum Page { kGeneral, kWallpaper };

Control TextBox(const char* name, Rect bounds, bool masked) {
  return OnPage({.Name = name,
                 .kind = ControlKind::TextBox,
                 .bounds = bounds,
                 .MaxLength = kTextLength,
                 .PasswordChar = masked ? '*' : '\0'},
                kGeneral);
}

Control Option(const char* name, const char* caption, int top) {
  return OnPage({.Name = name,
                 .kind = ControlKind::OptionButton,
                 .Caption = caption,
                 .bounds = {24, top, 240, top + 20}},
                kWallpaper);
}

}  // namespace

const std::vector<FileFilter>& WallpaperFilters() {
  static const std::vector<FileFilter> filters = {
      {"Picture Files", "*.bmp; *.rle; *.dib; *.gif; *.jpg; *.jpeg; *.jpe;"},
      {"Windows or OS/2 Bitmap (*.bmp; *.rle; *.dib)", "*.bmp; *.rle; *.dib"},
      {"CompuServe Graphics Interchange (*.gif)", "*.gif;"},
      {"JPEG - JFIF Compliant (*.jpg; *.jpeg; *.jpe)", "*.jpg; *.jpeg; *.jpe;"},
      {"All Files (*.*)", "*.*"},
  };
  return filters;
}

frmDesktop::frmDesktop(Program& program) : Dialog(program) {
  Name = "frmDesktop";
  Caption = "Desktop Settings";
  width = 420;
  height = 334;
  centred = true;

  Add({.Name = "lblInfo",
       .Caption = "Use this dialog to set options for this desktop",
       .bounds = {12, 10, 408, 28}});
  Add(OnPage({.Name = "lblDeskName",
              .Caption = "Desktop Name (leave blank for default)",
              .bounds = {24, 72, 400, 90}},
             kGeneral));
  name_ = Add(TextBox("txtDeskName", {24, 92, 260, 116}, false));
  hideApps_ = Add(OnPage({.Name = "chkHideThisDeskAppsChk",
                          .kind = ControlKind::CheckBox,
                          .bounds = {24, 128, 42, 148}},
                         kGeneral));
  Add(OnPage({.Name = "chkHideThisDeskApps",
              .Caption = "Hide applications on this desktops to other desktops",
              .bounds = {44, 130, 400, 148}},
             kGeneral));
  oldPasswordLabel_ = Add(
      OnPage({.Name = "lblOldPassword", .Caption = "Old Password", .bounds = {24, 164, 140, 182}},
             kGeneral));
  oldPassword_ = Add(TextBox("txtOldPassword", {144, 160, 300, 184}, true));
  newPasswordLabel_ = Add(
      OnPage({.Name = "lblNewPassword", .Caption = "New Password", .bounds = {24, 196, 140, 214}},
             kGeneral));
  newPassword_ = Add(TextBox("txtNewPassword", {144, 192, 300, 216}, true));
  Add(OnPage({.Name = "lblPassInfo",
              .Caption = "NOTE that it's not possible to set the password for Desktop 1",
              .bounds = {24, 230, 400, 264}},
             kGeneral));

  choose_ = Add(OnPage(
      {.Name = "btnChooseWallPaper", .kind = ControlKind::Button, .bounds = {24, 74, 200, 100}},
      kWallpaper));
  wallpaperFile_ =
      Add(OnPage({.Name = "lblWallPaperFile", .bounds = {24, 108, 400, 126}}, kWallpaper));
  centred_ = Add(Option("optCentered", "Centered", 140));
  tiled_ = Add(Option("optTiled", "Tiled", 164));
  stretched_ = Add(Option("optStretched", "Stretched", 188));

  buttons_ = AddOkAndCancel(*this, 410, 324);
  pages_.Add(*this, {10, 34, 410, 286}, {12, 62, 408, 284}, {"General", "Wallpaper"});
}

void frmDesktop::OnLoad() {
  iDesk = program_.desk.iCurDesk;
  const clsDesktop& d = program_.desk.Desk(iDesk);
  sNewWallPaper = d.sWallPaper;
  LoadDialog();
  EnableStyles(!sNewWallPaper.empty());
  const ControlId style = d.iWallPaperType == kCentered ? centred_
                          : d.iWallPaperType == kTiled  ? tiled_
                                                        : stretched_;
  SelectOption(At(style));
  // As stored: the limit is on what the user types, so a longer name written into the registry
  // by hand survives an Ok that does not touch it.
  At(name_).Caption = d.sDeskName;
  const bool first = iDesk == 1;
  sOldPass = first ? "" : d.sPassword;
  for (const ControlId control : {newPassword_, newPasswordLabel_}) At(control).Enabled = !first;
  for (const ControlId control : {oldPassword_, oldPasswordLabel_}) {
    At(control).Enabled = !first && !sOldPass.empty();
  }
  At(hideApps_).Value = d.bHideThisDeskApps;
  pages_.Show(*this, kGeneral);
}

void frmDesktop::SetTexts() {
  Control& choose = At(choose_);
  choose.Caption = GetMsg(program_, sNewWallPaper.empty() ? msgs::kSetWallpaper
                                                          : msgs::kRemoveWallpaper);
  choose.Tip = sNewWallPaper;
  // The file alone: the tooltip has the whole path.
  At(wallpaperFile_).Caption = FileNameOf(sNewWallPaper);
  pages_.SetCaptions(program_, *this);
}

void frmDesktop::EnableStyles(bool on) {
  for (const ControlId option : {tiled_, centred_, stretched_}) At(option).Enabled = on;
}

void frmDesktop::OnClick(Control& control) {
  if (pages_.IsStrip(control)) {
    pages_.Show(*this, control.ListIndex);
  } else if (control == choose_) {
    ChooseWallpaper();
  } else if (control == buttons_.ok) {
    Ok();
  } else if (control == buttons_.cancel) {
    HideDialog();
  }
}

// Nothing is applied before OK.
void frmDesktop::ChooseWallpaper() {
  if (sNewWallPaper.empty()) {
    const std::string chosen =
        program_.platform.ui.ChooseFileToOpen(hwnd, "Set Wallpaper...", WallpaperFilters());
    if (chosen.empty()) return;
    sNewWallPaper = chosen;
  } else {
    sNewWallPaper.clear();
  }
  EnableStyles(!sNewWallPaper.empty());
  SetTexts();
}

// A desktop with a password is changed by whoever knows it. One without, whose password fields
// are left empty, is guarded by the program password like the program's own settings; typing a
// new password for it is the change the old (empty) one allows.
bool frmDesktop::PasswordAccepted(std::string& password) {
  const std::string& typedOld = At(oldPassword_).Caption;
  const std::string typedNew = FitText(At(newPassword_), At(newPassword_).Caption);
  if (sOldPass.empty() && typedOld.empty() && typedNew.empty()) {
    password = program_.desk.Desk(iDesk).sPassword;
    return program_.settings.sGlobalPass.empty() || PasswordPrompt(program_, -1);
  }
  const bool oldMatches =
      sOldPass.empty() ? typedOld.empty() : TypedPasswordMatches(program_, iDesk, typedOld);
  if (!oldMatches) {
    ErrorBox(program_, GetMsg(program_, msgs::kOldPasswordWrong));
    return false;
  }
  password = program_.desk.Desk(iDesk).sPassword;
  if (iDesk == 1) return true;  // its password fields are off
  if (typedNew.empty() && !sOldPass.empty()) {
    if (AskYesNo(program_, GetMsg(program_, msgs::kRemovePassword))) {
      password.clear();
    }
    return true;
  }
  const std::optional<std::string> verifier = MakeVerifier(program_.platform.system, typedNew);
  if (!verifier) {
    ErrorBox(program_, GetMsg(program_, msgs::kPasswordNotProtected));
    return false;
  }
  password = *verifier;
  return true;
}

// Checked first, then the image copied beside the store and the keys saved, all or none; the
// copy replaces the old one, and the desktop takes the new settings, only once they are saved.
void frmDesktop::Ok() {
  clsDesktop next;
  if (!PasswordAccepted(next.sPassword)) return;
  std::optional<StagedWallpaper> staged;
  if (!sNewWallPaper.empty()) {
    staged = StageWallpaperCopy(program_, sNewWallPaper, iDesk);
    if (!staged) {
      ErrorBox(program_, GetMsgFmt(program_, msgs::kWallpaperNotCopied.id,
                                   msgs::kWallpaperNotCopied.text, sNewWallPaper));
      return;
    }
    next.sWallPaper = staged->copy;
  }
  next.iWallPaperType = At(centred_).Value ? kCentered
                        : At(tiled_).Value  ? kTiled
                                            : kStretched;
  next.sDeskName = TrimBlanks(At(name_).Caption);
  next.bHideThisDeskApps = At(hideApps_).Value;
  if (!SaveDesktopKeys(program_.platform.store, iDesk, next)) {
    if (staged) DiscardWallpaperCopy(program_, *staged);  // the old copy stays the desktop's
    ErrorBox(program_, GetMsg(program_, msgs::kSettingsNotSaved));
    return;
  }
  if (staged) {
    CommitWallpaperCopy(program_, *staged);  // on failure, setting it below tells the user
  } else {
    KeepWallpaperCopy(program_, "", iDesk);  // the old copy goes
  }

  clsDesktop& d = program_.desk.Desk(iDesk);
  d.sWallPaper = next.sWallPaper;
  d.iWallPaperType = next.iWallPaperType;
  d.sDeskName = next.sDeskName;
  d.sPassword = next.sPassword;
  d.bHideThisDeskApps = next.bHideThisDeskApps;

  if (d.sWallPaper.empty()) {
    RestoreUserWallpaper(program_);
  } else {
    if (!IsActiveDesktopOn(program_) && !IsBitmapFile(d.sWallPaper) &&
        HasActiveDesktop(program_) &&
        AskYesNo(program_, GetMsg(program_, msgs::kEnableActiveDesktopOne))) {
      EnableActiveDesktop(program_);
    }
    if (!SetWallpaper(program_, d.sWallPaper, d.iWallPaperType)) {
      ErrorBox(program_, GetMsg(program_, msgs::kCannotSetWallpaper));
      RestoreUserWallpaper(program_);
    }
  }
  HideDialog();
}

void ShowDesktopSettings(Program& program) {
  frmDesktop dialog(program);
  ShowDialog(program, dialog, true);
}

}  // namespace ombrix
