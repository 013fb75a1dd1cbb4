#include "ui/about.h"

#include "app/program.h"
#include "lang/messages.h"
#include "ui/splash.h"

namespace ombrix {

frmAbout::frmAbout(Program& program) : Dialog(program) {
  Name = "frmAbout";
  Caption = "About Ombrix";
  width = 380;
  height = 236;
  centred = true;

  Add({.Name = "lblWhat",
       .Caption = "Ombrix",
       .bounds = {20, 16, 360, 40},
       .font = {"Arial", 12, true}});
  version_ = Add({.Name = "lblVersion", .bounds = {20, 44, 360, 62}});
  Add({.Name = "Line1", .kind = ControlKind::Line, .bounds = {20, 70, 360, 72}});
  notice_ = Add({.Name = "lblAbout", .bounds = {20, 80, 360, 160}});
  link_ = Add({.Name = "ctlUniLink1",
               .kind = ControlKind::Link,
               .Caption = kWebAddress,
               .bounds = {20, 166, 220, 184},
               .foreColour = Rgb(0, 90, 200)});  // some systems' link colour is too pale on grey
  Add({.Name = "Line2", .kind = ControlKind::Line, .bounds = {20, 192, 360, 194}});
  ok_ = Add({.Name = "btnOk",
             .kind = ControlKind::Button,
             .Caption = "Ok",
             .bounds = {276, 202, 360, 228}});
}

void frmAbout::OnLoad() { LoadDialog(); }

void frmAbout::SetTexts() {
  At(version_).Caption = VersionLine(program_.platform.system.ProgramVersion());
  At(notice_).Caption = std::string(kNotice) + "\r\n\r\n\r\n" + GetMsg(program_, msgs::kAboutWhat) +
                        "\r\n" + GetMsg(program_, msgs::kAboutThanks);
}

void frmAbout::OnClick(Control& control) {
  if (control == ok_) {
    HideDialog();
  } else if (control == link_ && !program_.platform.shell.OpenDocument(hwnd, kWebLink)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kCannotOpen.id, msgs::kCannotOpen.text, kWebLink));
  }
}

void ShowAbout(Program& program) {
  frmAbout about(program);
  ShowDialog(program, about, true);
}

}  // namespace ombrix
