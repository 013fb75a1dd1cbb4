// Ui on user32: message boxes, the main window, the pop-up menu, the desktop icons and the
// message pump.
#pragma once

#include <array>

#include "platform/platform.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

class Win32Ui : public Ui {
 public:
  explicit Win32Ui(HINSTANCE instance);
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  int MessageBox(Hwnd owner, const std::string& text, const std::string& title,
                 uint32_t style) override;
  Hwnd CreateMainWindow(MainWindowEvents& events) override;
  // Safe to call from inside the main window's own procedure.
  void DestroyMainWindow() override;
  int PopupMenu(Hwnd owner, const Menu& menu) override;
  // The small-icon size of the system (16x16 at 96 DPI).
  IconHandle DesktopIcon(int desk) override;
  void StartTimer(int id, uint32_t intervalMs) override;
  void StopTimer(int id) override;
  void DoEvents() override;
  void WaitMessage() override;

 private:
  HINSTANCE instance_;
  HWND main_ = nullptr;
  std::array<HICON, 9> desktopIcons_{};
};

}  // namespace ombrix::win32
