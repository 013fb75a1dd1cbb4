// The password prompt: asks for a desktop's password, or for the program password, in a small
// dialog run through ShowDialog.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dialog.h"

namespace ombrix {

class Program;

class frmPassword : public Dialog {
 public:
  explicit frmPassword(Program& program);

  int16_t iDesk = -1;  // the desktop asked for; below 1 for the program password
  bool bMatch = false;

  void OnLoad() override;
  void OnClick(Control& control) override;

 protected:
  void SetTexts() override;

 private:
  ControlId label_;
  ControlId password_;
  ControlId ok_;
  ControlId cancel_;
};

// Whether typed is the password of desktop desk (1..9), or the program password for desk
// below 1. A scrambled password of older versions that matches is replaced by a verifier, in
// the program and in the store.
bool TypedPasswordMatches(Program& program, int16_t desk, const std::string& typed);

// True when the user typed the right password: that of desktop desk (1..9), or the program
// password for desk below 1. A wrong one is told in an error box; cancelling gives false.
bool PasswordPrompt(Program& program, int16_t desk);

}  // namespace ombrix
