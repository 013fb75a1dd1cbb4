#include "ui/indicator.h"

#include "app/program.h"
#include "rules/apply.h"

namespace ombrix {

namespace {
constexpr int kColourInfoBk = 24;
constexpr int kColourInfoText = 23;
constexpr int kWidening = 16;
}  // namespace

frmSwitchDesk::frmSwitchDesk(Program& program) : program_(program) {
  Name = "frmSwitchDesk";
  Caption = "Switch Desktop";
  width = 120;
  height = 24;
  borderless = true;
  centred = true;
  showInTaskbar = false;
  topmost = true;  // shown above every other window

  label_ = Add({.Name = "lblDesktop",
                .font = {"Verdana", 9.75, false},
                .align = TextAlign::Centre,
                .border = true,
                .margin = 3});
  timer_ = Add({.Name = "Timer1", .kind = ControlKind::Timer, .Interval = 1000});
}

void frmSwitchDesk::OnLoad() {
  Control& label = At(label_);
  label.backColour = SystemColour(kColourInfoBk);
  label.foreColour = SystemColour(kColourInfoText);
  SetWindowOpacity(program_, hwnd, 80);
}

// The window stays loaded for the next switch: creating it anew costs more than the switch.
void frmSwitchDesk::OnTimer(Control& timer) {
  FormHost& forms = program_.platform.forms;
  timer.Enabled = false;
  forms.Hide(*this);
  forms.Refresh(*this);
}

void frmSwitchDesk::SetText(const std::string& text) {
  Control& label = At(label_);
  label.Caption = " " + text + " ";
  const Size textSize = program_.platform.forms.MeasureText(label.font, label.Caption);
  const int frame = label.margin + (label.border ? 1 : 0);
  const int labelWidth = textSize.cx + 2 * frame + kWidening;
  const int labelHeight = textSize.cy + 2 * frame;
  label.bounds = {0, 0, labelWidth, labelHeight};
  width = labelWidth;
  height = labelHeight;
}

void ShowIndicator(Program& program, const std::string& text) {
  FormHost& forms = program.platform.forms;
  if (!program.indicator) program.indicator = std::make_unique<frmSwitchDesk>(program);
  frmSwitchDesk& indicator = *program.indicator;
  if (indicator.hwnd == 0 && forms.Load(indicator) == 0) return;
  Control& timer = indicator.Timer();
  if (timer.Enabled) {
    // Still naming the desktop of a switch a moment ago: the new one gets a full second.
    timer.Enabled = false;
    forms.Refresh(indicator);
  }
  indicator.SetText(text);
  timer.Enabled = true;
  forms.Show(indicator);
  forms.Refresh(indicator);
}

}  // namespace ombrix
