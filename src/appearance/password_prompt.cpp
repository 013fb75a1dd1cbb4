#include "appearance/password_prompt.h"

#include "app/program.h"
#include "app/settings.h"
#include "appearance/passwords.h"
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
    bMatch = TypedPasswordMatches(program_, iDesk, At(password_).Caption);
    if (!bMatch) ErrorBox(program_, GetMsg(program_, msgs::kWrongPassword));
    HideDialog();
  } else if (control == cancel_) {
    HideDialog();
  }
}

// The scrambled form could be read back: once the user has typed what it stands for, a
// verifier takes its place. When the store refuses it, both stay as they were and the next
// right entry tries again.
bool TypedPasswordMatches(Program& program, int16_t desk, const std::string& typed) {
  const bool forProgram = desk < 1 || desk > kDesktopCount;
  std::string& held =
      forProgram ? program.settings.sGlobalPass : program.desk.Desk(desk).sPassword;
  System& system = program.platform.system;
  if (!PasswordMatches(system, typed, held)) return false;
  if (held.empty() || IsVerifier(held)) return true;
  const std::optional<std::string> verifier = MakeVerifier(system, typed);
  if (verifier && SavePassword(program.platform.store, forProgram ? 0 : desk, *verifier)) {
    held = *verifier;
  }
  return true;
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
