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

  label_ = Add({.Name = "lblPassword", .Caption = "Input Password", .bounds = {12, 12, 252, 30}});
  password_ = Add({.Name = "txtPassword",
                   .kind = ControlKind::TextBox,
                   .bounds = {12, 34, 252, 56},
                   .MaxLength = kMaxPasswordLength,
                   .PasswordChar = '*'});
  ok_ = Add({.Name = "btnOk",
             .kind = ControlKind::Button,
             .Caption = "OK",
             .bounds = {88, 68, 166, 94},
             .Default = true});
  cancel_ = Add({.Name = "btnCancel",
                 .kind = ControlKind::Button,
                 .Caption = "Cancel",
                 .bounds = {174, 68, 252, 94},
                 .Cancel = true});
}

void frmPassword::OnLoad() { LoadDialog(); }

void frmPassword::SetTexts() {
  At(label_).Caption =
      iDesk < 1 ? GetFormText(program_, Name, "lblPasswordPrg", "Input PROGRAM Password")
                : GetFormText(program_, Name, "lblPasswordDesk", "Input DESKTOP Password");
}

void frmPassword::OnClick(Control& control) {
  if (control == ok_) {
    const std::string& expected =
        iDesk < 1 ? program_.settings.sGlobalPass : program_.desk.Desk(iDesk).sPassword;
    bMatch = At(password_).Caption == expected;
    if (!bMatch) ErrorBox(program_, GetMsg(program_, msgs::kWrongPassword));
    HideDialog();
  } else if (control == cancel_) {
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
