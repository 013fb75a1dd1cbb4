#include "appearance/password_prompt.h"

#include "app/program.h"
#include "appearance/passwords.h"
#include "lang/messages.h"
#include "lang/translation.h"

namespace ombrix {

namespace {

constexpr int kMaxPasswordLength = 20;

struct Scrambled {
  const char* id;
  const char* text;
};

// Identifier and built-in English text of each message, in the stored form of passwords.
Scrambled ScrambledOf(PasswordMessage message) {
  switch (message) {
    case PasswordMessage::Wrong:
      return {"3BK3BE3CM44UK", "68B83C80R7FD78L31S81B72Q84G84B88C80N83N75C32HQ"};
    case PasswordMessage::OldWrong:
      return {"39C39R3BN39BI",
              "6BS7FD7CH37U86U83S7BB37S87S78M8AB8AH8EB86R89E7BJ37N80E8AR37D85S86J8BR37V7AF86D89S89"
              "S7CU7AG8BL51D37R85W86C8BS7FB80T85G7EP37V8ER78N8AY37K7AO7FS78O85L7EJ7CH7BZ45FW"};
    case PasswordMessage::RemoveQuestion:
      break;
  }
  return {"3DW3DY3FH3ECM",
          "59S84J35Q8EP84K8AX35O8CJ76T83C89D35Q89N84F35Y87K7AE82P84N8BB7AV35C89Y7DR7AS35Z85K76K88W"
          "88L8CT84P87S79Z54OU"};
}

}  // namespace

std::string PasswordMessageText(const Program& program, PasswordMessage message) {
  const Scrambled scrambled = ScrambledOf(message);
  return GetMsg(program, DecodePassword(scrambled.id), DecodePassword(scrambled.text));
}

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
    if (!bMatch) ErrorBox(program_, PasswordMessageText(program_, PasswordMessage::Wrong));
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
