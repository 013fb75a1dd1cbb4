// The small window that names the desktop just entered, for one second.
#pragma once

#include <string>

#include "ui/form.h"

namespace ombrix {

class Program;

class frmSwitchDesk : public Form {
 public:
  explicit frmSwitchDesk(Program& program);
  void OnLoad() override;
  void OnTimer(Control& timer) override;
  // Sizes the label to " text " plus 16 pixels, and the window to the label.
  void SetText(const std::string& text);
  // The timer that hides the window again.
  Control& Timer() { return At(timer_); }

 private:
  Program& program_;
  ControlId label_;
  ControlId timer_;
};

// Unloads the indicator that is still up, then loads, fills, shows and raises a new one.
void ShowIndicator(Program& program, const std::string& text);

}  // namespace ombrix
