// The dialog runner: every dialog of the program is shown through ShowDialog, which waits in a
// nested message loop until the dialog hides itself.
#pragma once

#include <vector>

#include "ui/form.h"

namespace ombrix {

class Program;

// A form that ShowDialog runs. It refuses close requests from the window frame: a dialog ends
// only through its own buttons, by hiding itself.
class Dialog : public Form {
 public:
  explicit Dialog(Program& program) : program_(program) {}
  bool OnQueryClose() override { return false; }
  // Puts the designed texts back, translates them into the new language and sets the
  // dialog's own texts again.
  void OnLanguageChanged() override;

 protected:
  // The load steps every dialog shares: its texts in the loaded language (SetTexts last), and
  // no Close command in its window menu.
  void LoadDialog();
  // The texts a dialog sets itself rather than designs, in the loaded language.
  virtual void SetTexts() {}
  // Ends ShowDialog's loop.
  void HideDialog();

  Program& program_;

 private:
  void Translate();
  struct DesignedText {
    std::string caption;
    std::string tip;
  };
  std::string designedCaption_;
  std::vector<DesignedText> designed_;  // by control position; taken at the first load
};

// Every form that is up takes the newly loaded language at once.
void TranslateOpenForms(Program& program);

// Adds the Ok button, which Enter presses, and the Cancel button, which Esc presses, side by
// side with their bottom right corner at (right, bottom).
struct OkAndCancelButtons {
  ControlId ok;
  ControlId cancel;
};
OkAndCancelButtons AddOkAndCancel(Form& form, int right, int bottom);

// Puts the hidden main window at the bottom of the z-order without activating it, so the
// window that the user comes back to is the one in front.
void PutMainWindowAtBottom(Program& program);

// Loads and shows the form, holds it as the open dialog while it is on screen (so tray clicks and
// hot-keys only bring it forward), and returns when it has hidden itself; then unloads it when
// unloadAfter is set. A form that cannot be loaded is reported and nothing else happens.
void ShowDialog(Program& program, Form& form, bool unloadAfter);

}  // namespace ombrix
