#include "ui/dialog.h"

#include "app/program.h"
#include "lang/form_translation.h"
#include "lang/messages.h"
#include "switching/switch.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr Hwnd kBottom = 1;
// The hidden main window must not take the activation from the window the user returns to.
constexpr uint32_t kNoSizeNoMoveNoActivate = 0x13;

bool StillUp(Program& program, const Form& form) {
  return program.bMainWindowLoaded && form.hwnd != 0 &&
         program.platform.windows.IsWindowVisible(form.hwnd);
}

}  // namespace

OkAndCancelButtons AddOkAndCancel(Form& form, int right, int bottom) {
  constexpr int kWidth = 80;
  constexpr int kHeight = 28;
  constexpr int kGap = 8;
  const int top = bottom - kHeight;
  return {form.Add({.Name = "btnOk",
                    .kind = ControlKind::Button,
                    .Caption = "Ok",
                    .bounds = {right - 2 * kWidth - kGap, top, right - kWidth - kGap, bottom},
                    .Default = true}),
          form.Add({.Name = "btnCancel",
                    .kind = ControlKind::Button,
                    .Caption = "Cancel",
                    .bounds = {right - kWidth, top, right, bottom},
                    .Cancel = true})};
}

void PutMainWindowAtBottom(Program& program) {
  program.platform.windows.SetWindowPos(program.lMainHwnd, kBottom, 0, 0, 0, 0,
                                        kNoSizeNoMoveNoActivate);
}

void Dialog::Translate() {
  if (designed_.empty()) {
    designedCaption_ = Caption;
    for (const Control& control : Controls()) designed_.push_back({control.Caption, control.Tip});
  }
  Caption = designedCaption_;
  const std::span<Control> controls = Controls();
  for (size_t i = 0; i < controls.size() && i < designed_.size(); ++i) {
    Control& control = controls[i];
    if (HasTranslatedCaption(control.kind)) control.Caption = designed_[i].caption;
    control.Tip = designed_[i].tip;
  }
  TranslateForm(program_, *this);
  SetTexts();
}

void Dialog::LoadDialog() {
  Translate();
  program_.platform.forms.RemoveCloseMenu(*this);
}

void Dialog::OnLanguageChanged() {
  Translate();
  program_.platform.forms.Refresh(*this);
}

void TranslateOpenForms(Program& program) {
  for (Form* form : program.platform.forms.LoadedForms()) form->OnLanguageChanged();
}

void Dialog::HideDialog() { program_.platform.forms.Hide(*this); }

void ShowDialog(Program& program, Form& form, bool unloadAfter) {
  Platform& p = program.platform;
  const Hwnd hwnd = p.forms.Load(form);
  if (hwnd == 0) {
    ErrorBox(program, GetMsg(program, msgs::kWindowNotOpened));
    return;
  }
  Hwnd outer = 0;
  {
    // A dialog may open another (the password prompt of a dialog's Ok): the outer one is the
    // open dialog again when the inner one ends.
    const BusyState::DialogGuard open = program.busy.EnterDialog(hwnd);
    outer = open.Outer();
    TakeFocus(program);
    p.forms.Show(form);
    BringProgramToFront(program);
    // A shut-down at the end of the session also ends the loop: the main window is gone then.
    while (StillUp(program, form)) {
      p.ui.DoEvents();
      if (StillUp(program, form)) p.ui.WaitMessage();
    }
    if (unloadAfter) p.forms.Unload(form);
  }
  if (!program.bMainWindowLoaded) return;
  if (outer != 0) {
    BringProgramToFront(program);
  } else {
    PutMainWindowAtBottom(program);
  }
}

}  // namespace ombrix
