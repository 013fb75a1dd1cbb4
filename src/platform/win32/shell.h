// Shell on user32 and shell32: the desktop's wallpaper, through the system parameter call or
// the shell's Active Desktop object where there is one.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Shell : public Shell {
 public:
  bool SetSystemWallpaper(const std::string& path) override;
  std::optional<bool> ActiveDesktopOption() override;
  bool EnableActiveDesktop() override;
  bool SetActiveDesktopWallpaper(const std::string& path) override;
};

}  // namespace ombrix::win32
