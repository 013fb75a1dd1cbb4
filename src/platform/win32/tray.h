// Tray on Shell_NotifyIconW. Mouse events come back to the attached window as
// kTrayCallbackMessage with the mouse message in lParam (the classic, version 0 form).
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Tray : public Tray {
 public:
  void Attach(Hwnd owner) override;
  bool Add(int id, const std::string& tooltip, IconHandle icon) override;
  bool ChangeIcon(int id, IconHandle icon) override;
  bool ChangeTooltip(int id, const std::string& tooltip) override;
  void Remove() override;
  bool Balloon(const std::string& text, const std::string& title, int iconType,
               int timeoutMs) override;

 private:
  Hwnd owner_ = 0;
  int id_ = 0;  // the icon that Add created; 0 when there is none
};

}  // namespace ombrix::win32
