// The program settings dialog: hot-keys, which windows are managed, autostart, the desktop
// indicator, wrap-around, language, icon theme and the program password.
#pragma once

#include <string>
#include <vector>

#include "app/settings.h"
#include "dialogs/tabbed_pages.h"
#include "ui/dialog.h"

namespace ombrix {

class frmSettings : public Dialog {
 public:
  explicit frmSettings(Program& program);

  std::string sOldPass;  // the program password, as stored, when the dialog loaded

  void OnLoad() override;
  void OnClick(Control& control) override;

  // "English - Built In" and the language files beside the program, by name.
  void FillLanguages();
  // The theme folders beside the program, "default" always among them; "default" is chosen.
  void FillThemes();

 protected:
  void SetTexts() override;

 private:
  void AddCheck(const char* name, const char* caption, Rect bounds, int page);
  void Ok();
  void StartTranslationTool();
  // False, after telling the user, when a newly chosen language file or theme folder has gone.
  bool ChoicesStillThere();

  struct BoundCheck {
    ControlId box;
    bool Settings::*flag;
  };
  std::vector<BoundCheck> checks_;
  ControlId language_;
  ControlId browse_;
  ControlId theme_;
  ControlId oldPasswordLabel_;
  ControlId oldPassword_;
  ControlId newPassword_;
  OkAndCancelButtons buttons_;
  TabbedPages pages_;
};

// Runs the dialog; then, however it closed, the autostart entry follows the setting and the
// hook library gets the hot-keys again.
void ShowProgramSettings(Program& program);

}  // namespace ombrix
