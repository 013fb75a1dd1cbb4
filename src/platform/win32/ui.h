// Ui on user32: message boxes, the main window, the pop-up menu, the desktop icons and the
// message pump.
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>

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
  // Icons are of the small-icon size of the system (16x16 at 96 DPI); the pop-up menu loads
  // them again at the size it draws them.
  IconHandle DesktopIcon(int desk) override;
  IconHandle Picture(MenuPicture picture) override;
  // Each file is loaded once; the icon lives as long as this object.
  IconHandle LoadIconFile(const std::string& path) override;
  void StartTimer(int id, uint32_t intervalMs) override;
  void StopTimer(int id) override;
  std::string ChooseFileToOpen(Hwnd owner, const std::string& title,
                               const std::vector<FileFilter>& filters) override;
  void DoEvents() override;
  void WaitMessage() override;

 private:
  // Where an icon of this program came from: a resource of the exe, or an icon file.
  struct IconSource {
    UINT resource = 0;
    std::wstring file;
  };
  HICON Load(const IconSource& source, int size);
  // The icon from its source at that size; an icon from elsewhere as it is.
  HICON IconAt(IconHandle icon, int size);
  IconHandle ResourceIcon(UINT resource);

  HINSTANCE instance_;
  HWND main_ = nullptr;
  std::map<UINT, HICON> resourceIcons_;
  std::map<std::wstring, HICON> fileIcons_;
  std::map<HICON, IconSource> sources_;
  std::map<std::pair<HICON, int>, HICON> sized_;
};

}  // namespace ombrix::win32
