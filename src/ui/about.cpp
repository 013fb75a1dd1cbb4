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

  Control what{.Name = "lblWhat", .Caption = "Ombrix"};
  what.bounds = {20, 16, 360, 40};
  what.font = {"Arial", 12, true};
  Control version{.Name = "lblVersion"};
  version.bounds = {20, 44, 360, 62};
  Control line1{.Name = "Line1", .kind = ControlKind::Line};
  line1.bounds = {20, 70, 360, 72};
  Control about{.Name = "lblAbout"};
  about.bounds = {20, 80, 360, 160};
  Control link{.Name = "ctlUniLink1", .kind = ControlKind::Link, .Caption = kWebAddress};
  link.bounds = {20, 166, 220, 184};
  link.foreColour = Rgb(0, 90, 200);  // some systems' link colour is too pale on a grey face
  Control line2{.Name = "Line2", .kind = ControlKind::Line};
  line2.bounds = {20, 192, 360, 194};
  Control ok{.Name = "btnOk", .kind = ControlKind::Button, .Caption = "Ok"};
  ok.bounds = {276, 202, 360, 228};
  controls = {what, version, line1, about, link, line2, ok};
}

void frmAbout::OnLoad() { LoadDialog(); }

void frmAbout::SetTexts() {
  Find("lblVersion")->Caption = VersionLine(program_.platform.system.ProgramVersion());
  Find("lblAbout")->Caption = std::string(kNotice) + "\r\n\r\n\r\n" +
                              GetMsg(program_, msgs::kAboutWhat) + "\r\n" +
                              GetMsg(program_, msgs::kAboutThanks);
}

void frmAbout::OnClick(Control& control) {
  if (control.Name == "btnOk") {
    HideDialog();
  } else if (control.Name == "ctlUniLink1" &&
             !program_.platform.shell.OpenDocument(hwnd, kWebLink)) {
    ErrorBox(program_, GetMsgFmt(program_, msgs::kCannotOpen.id, msgs::kCannotOpen.text,
                                 kWebLink));
  }
}

void ShowAbout(Program& program) {
  frmAbout about(program);
  ShowDialog(program, about, true);
}

}  // namespace ombrix
