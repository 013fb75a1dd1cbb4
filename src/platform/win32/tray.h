// Tray on Shell_NotifyIconW. Events come back to the attached window as kTrayCallbackMessage
// with the event in the low word of lParam. The icon asks for the version 4 behaviour, which
// adds the keyboard's NIN_KEYSELECT and WM_CONTEXTMENU to the mouse messages; a shell that
// does not know it keeps sending the mouse messages alone.
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
  void ReturnFocus() override;

 private:
  Hwnd owner_ = 0;
  int id_ = 0;  // the icon that Add created; 0 when there is none
};

}  // namespace ombrix::win32
