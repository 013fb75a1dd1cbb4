// The desktop settings dialog: the current desktop's name, whether its applications are left
// out of the other desktops' lists, its password, and its wallpaper with the wallpaper style.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/tabbed_pages.h"
#include "platform/platform.h"
#include "ui/dialog.h"

namespace ombrix {

// The file dialog's list of picture types.
const std::vector<FileFilter>& WallpaperFilters();

class frmDesktop : public Dialog {
 public:
  explicit frmDesktop(Program& program);

  int16_t iDesk = 1;          // the desktop edited: the current one when the dialog loaded
  std::string sOldPass;       // its password then, as stored; empty on desktop 1
  std::string sNewWallPaper;  // the wallpaper chosen here

  void OnLoad() override;
  void OnClick(Control& control) override;
  // Enables the three style options, or disables them.
  void EnableStyles(bool on);

 protected:
  void SetTexts() override;

 private:
  void ChooseWallpaper();
  void Ok();
  // The password step of OK: false when the dialog has to stay open. password is what the
  // desktop's password becomes.
  bool PasswordAccepted(std::string& password);

  ControlId name_;
  ControlId hideApps_;
  ControlId oldPasswordLabel_;
  ControlId oldPassword_;
  ControlId newPasswordLabel_;
  ControlId newPassword_;
  ControlId choose_;
  ControlId wallpaperFile_;
  ControlId centred_;
  ControlId tiled_;
  ControlId stretched_;
  OkAndCancelButtons buttons_;
  TabbedPages pages_;
};

void ShowDesktopSettings(Program& program);

}  // namespace ombrix
