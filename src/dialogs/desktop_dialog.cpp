#include "dialogs/desktop_dialog.h"

#include "app/program.h"
#include "app/settings.h"
#include "appearance/password_prompt.h"
#include "appearance/wallpaper.h"
#include "core/text.h"
#include "dialogs/tabbed_pages.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr int kTextLength = 20;
enum Page { kGeneral, kWallpaper };

Control OnGeneral(Control control, Rect bounds) {
  control.bounds = bounds;
  return OnPage(control, kGeneral);
}

Control TextBox(const char* name, Rect bounds, bool masked) {
  Control box = Placed(name, ControlKind::TextBox, "", bounds);
  box.MaxLength = kTextLength;
  if (masked) box.PasswordChar = '*';
  return OnPage(box, kGeneral);
}

Control Option(const char* name, const char* caption, int top) {
  return OnPage(Placed(name, ControlKind::OptionButton, caption, {24, top, 240, top + 20}),
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

  Control info{.Name = "lblInfo", .Caption = "Use this dialog to set options for this desktop"};
  info.bounds = {12, 10, 408, 28};
  controls = {info};
  controls.push_back(OnGeneral({.Name = "lblDeskName",
                                .Caption = "Desktop Name (leave blank for default)"},
                               {24, 72, 400, 90}));
  controls.push_back(TextBox("txtDeskName", {24, 92, 260, 116}, false));
  controls.push_back(OnGeneral({.Name = "chkHideThisDeskAppsChk", .kind = ControlKind::CheckBox},
                               {24, 128, 42, 148}));
  controls.push_back(OnGeneral({.Name = "chkHideThisDeskApps",
                                .Caption = "Hide applications on this desktops to other desktops"},
                               {44, 130, 400, 148}));
  controls.push_back(OnGeneral({.Name = "lblOldPassword", .Caption = "Old Password"},
                               {24, 164, 140, 182}));
  controls.push_back(TextBox("txtOldPassword", {144, 160, 300, 184}, true));
  controls.push_back(OnGeneral({.Name = "lblNewPassword", .Caption = "New Password"},
                               {24, 196, 140, 214}));
  controls.push_back(TextBox("txtNewPassword", {144, 192, 300, 216}, true));
  controls.push_back(OnGeneral(
      {.Name = "lblPassInfo", .Caption = "NOTE that it's not possible to set the password for Desktop 1"},
      {24, 230, 400, 264}));

  Control choose{.Name = "btnChooseWallPaper", .kind = ControlKind::Button};
  choose.bounds = {24, 74, 200, 100};
  controls.push_back(OnPage(choose, kWallpaper));
  Control file{.Name = "lblWallPaperFile"};
  file.bounds = {24, 108, 400, 126};
  controls.push_back(OnPage(file, kWallpaper));
  controls.push_back(Option("optCentered", "Centered", 140));
  controls.push_back(Option("optTiled", "Tiled", 164));
  controls.push_back(Option("optStretched", "Stretched", 188));

  const std::vector<Control> buttons = OkAndCancel(410, 324);
  controls.insert(controls.end(), buttons.begin(), buttons.end());
  const std::vector<Control> pages = TabbedPages({10, 34, 410, 286}, {12, 62, 408, 284}, 2);
  controls.insert(controls.end(), pages.begin(), pages.end());
}

void frmDesktop::OnLoad() {
  iDesk = program_.desk.iCurDesk;
  const clsDesktop& d = program_.desk.Desk(iDesk);
  sNewWallPaper = d.sWallPaper;
  LoadDialog();
  EnableStyles(!sNewWallPaper.empty());
  const char* style = d.iWallPaperType == kCentered ? "optCentered"
                      : d.iWallPaperType == kTiled  ? "optTiled"
                                                    : "optStretched";
  SelectOption(*Find(style));
  Control& name = *Find("txtDeskName");
  // As stored: the limit is on what the user types, so a longer name written into the registry
  // by hand survives an Ok that does not touch it.
  name.Caption = d.sDeskName;
  const bool first = iDesk == 1;
  sOldPass = first ? "" : d.sPassword;
  for (const char* control : {"txtNewPassword", "lblNewPassword"}) Find(control)->Enabled = !first;
  for (const char* control : {"txtOldPassword", "lblOldPassword"}) {
    Find(control)->Enabled = !first && !sOldPass.empty();
  }
  Find("chkHideThisDeskAppsChk")->Value = d.bHideThisDeskApps;
  ShowPage(*this, kGeneral);
}

void frmDesktop::SetTexts() {
  Control& choose = *Find("btnChooseWallPaper");
  choose.Caption = GetMsg(program_, sNewWallPaper.empty() ? msgs::kSetWallpaper
                                                          : msgs::kRemoveWallpaper);
  choose.Tip = sNewWallPaper;
  // The file alone: the tooltip has the whole path.
  Find("lblWallPaperFile")->Caption = FileNameOf(sNewWallPaper);
  SetTabCaptions(program_, *this, {"General", "Wallpaper"});
}

void frmDesktop::EnableStyles(bool on) {
  for (const char* option : {"optTiled", "optCentered", "optStretched"}) {
    Find(option)->Enabled = on;
  }
}

void frmDesktop::OnClick(Control& control) {
  if (control.Name == "ctlTabbed") {
    ShowPage(*this, control.ListIndex);
  } else if (control.Name == "btnChooseWallPaper") {
    ChooseWallpaper();
  } else if (control.Name == "btnOk") {
    Ok();
  } else if (control.Name == "btnCancel") {
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
  const std::string& typedOld = Find("txtOldPassword")->Caption;
  const std::string typedNew = FitText(*Find("txtNewPassword"), Find("txtNewPassword")->Caption);
  if (sOldPass.empty() && typedOld.empty() && typedNew.empty()) {
    password = program_.desk.Desk(iDesk).sPassword;
    return program_.settings.sGlobalPass.empty() || PasswordPrompt(program_, -1);
  }
  if (typedOld != sOldPass) {
    ErrorBox(program_, GetMsg(program_, msgs::kOldPasswordWrong));
    return false;
  }
  password = program_.desk.Desk(iDesk).sPassword;
  if (iDesk == 1) return true;  // its password fields are off
  if (typedNew.empty() && !sOldPass.empty()) {
    if (AskYesNo(program_, GetMsg(program_, msgs::kRemovePassword))) {
      password.clear();
    }
  } else {
    password = typedNew;
  }
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
  next.iWallPaperType = Find("optCentered")->Value ? kCentered
                        : Find("optTiled")->Value  ? kTiled
                                                   : kStretched;
  next.sDeskName = TrimBlanks(Find("txtDeskName")->Caption);
  next.bHideThisDeskApps = Find("chkHideThisDeskAppsChk")->Value;
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

  const WallpaperState& start = program_.wallpaper;
  if (d.sWallPaper.empty()) {
    SetWallpaper(program_, start.sOrigWallPaper, start.iOrigWallPaperType);
  } else {
    if (!IsActiveDesktopOn(program_) && !IsBitmapFile(d.sWallPaper) &&
        HasActiveDesktop(program_) &&
        AskYesNo(program_, GetMsg(program_, msgs::kEnableActiveDesktopOne))) {
      EnableActiveDesktop(program_);
    }
    if (!SetWallpaper(program_, d.sWallPaper, d.iWallPaperType)) {
      ErrorBox(program_, GetMsg(program_, msgs::kCannotSetWallpaper));
      SetWallpaper(program_, start.sOrigWallPaper, start.iOrigWallPaperType);
    }
  }
  HideDialog();
}

void ShowDesktopSettings(Program& program) {
  frmDesktop dialog(program);
  ShowDialog(program, dialog, true);
}

}  // namespace ombrix
