// The About window: what the program is, its version and its web address.
#pragma once

#include "ui/dialog.h"

namespace ombrix {

class frmAbout : public Dialog {
 public:
  explicit frmAbout(Program& program);
  void OnLoad() override;
  void OnClick(Control& control) override;

 protected:
  void SetTexts() override;

 private:
  ControlId version_;
  ControlId notice_;
  ControlId link_;
  ControlId ok_;
};

// Runs the About window through ShowDialog.
void ShowAbout(Program& program);

}  // namespace ombrix
