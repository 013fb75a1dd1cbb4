// Shell on shell32, kernel32 and user32: documents opened with the shell's "open" verb, programs
// started, and the desktop's
// wallpaper, through the system parameter call or the Active Desktop object where it works.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Shell : public Shell {
 public:
  bool SetSystemWallpaper(const std::string& path) override;
  std::optional<bool> ActiveDesktopOption() override;
  bool EnableActiveDesktop() override;
  bool SetActiveDesktopWallpaper(const std::string& path) override;
  bool OpenDocument(Hwnd owner, const std::string& pathOrAddress) override;
  bool StartProgram(const std::string& path, const std::string& arguments) override;
};

}  // namespace ombrix::win32
