#include "appearance/password_prompt.h"

#include "app/program.h"
#include "lang/messages.h"
#include "lang/translation.h"

namespace ombrix {

namespace {
constexpr int kMaxPasswordLength = 20;
}  // namespace

frmPassword::frmPassword(Program& program) : Dialog(program) {
  Name = "frmPassword";
  Caption = "Password Request";
  width = 264;
  height = 104;
  centred = true;
  topmost = true;  // asked while switching or exiting: it must not hide behind a window

  Control label{.Name = "lblPassword", .Caption = "Input Password"};
  label.bounds = {12, 12, 252, 30};
  Control text{.Name = "txtPassword", .kind = ControlKind::TextBox};
  text.bounds = {12, 34, 252, 56};
  text.MaxLength = kMaxPasswordLength;
  text.PasswordChar = '*';
  Control ok{.Name = "btnOk", .kind = ControlKind::Button, .Caption = "OK"};
  ok.bounds = {88, 68, 166, 94};
  ok.Default = true;
  Control cancel{.Name = "btnCancel", .kind = ControlKind::Button, .Caption = "Cancel"};
  cancel.bounds = {174, 68, 252, 94};
  cancel.Cancel = true;
  controls = {label, text, ok, cancel};
}

void frmPassword::OnLoad() { LoadDialog(); }

void frmPassword::SetTexts() {
  Find("lblPassword")->Caption =
      iDesk < 1 ? GetFormText(program_, Name, "lblPasswordPrg", "Input PROGRAM Password")
                : GetFormText(program_, Name, "lblPasswordDesk", "Input DESKTOP Password");
}

void frmPassword::OnClick(Control& control) {
  if (control.Name == "btnOk") {
    const std::string& expected =
        iDesk < 1 ? program_.settings.sGlobalPass : program_.desk.Desk(iDesk).sPassword;
    bMatch = Find("txtPassword")->Caption == expected;
    if (!bMatch) ErrorBox(program_, GetMsg(program_, msgs::kWrongPassword));
    HideDialog();
  } else if (control.Name == "btnCancel") {
    HideDialog();
  }
}

bool PasswordPrompt(Program& program, int16_t desk) {
  frmPassword prompt(program);
  prompt.iDesk = desk < 1 || desk > kDesktopCount ? -1 : desk;
  ShowDialog(program, prompt, false);
  const bool match = prompt.bMatch;
  program.platform.forms.Unload(prompt);
  return match;
}

}  // namespace ombrix
