#include "platform/win32/ui.h"

#include "platform/win32/handles.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/popup_menu.h"
#include "platform/win32/text.h"
#include "resource.h"

namespace ombrix::win32 {

Win32Ui::Win32Ui(HINSTANCE instance) : instance_(instance) {}

Win32Ui::~Win32Ui() {
  if (main_ != nullptr) DestroyWindow(main_);
  for (HICON icon : desktopIcons_) {
    if (icon != nullptr) DestroyIcon(icon);
  }
}

int Win32Ui::MessageBox(Hwnd owner, const std::string& text, const std::string& title,
                        uint32_t style) {
  // A tray program has no window in front; MB_SETFOREGROUND brings the box there.
  return MessageBoxW(ToHwnd(owner), Widen(text).c_str(), Widen(title).c_str(),
                     style | MB_SETFOREGROUND);
}

Hwnd Win32Ui::CreateMainWindow(MainWindowEvents& events) {
  HICON icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_OMBRIX), IMAGE_ICON, 0,
                                             0, LR_DEFAULTSIZE | LR_SHARED));
  main_ = win32::CreateMainWindow(instance_, icon, events);
  return FromHwnd(main_);
}

void Win32Ui::DestroyMainWindow() {
  HWND hwnd = main_;
  main_ = nullptr;
  if (hwnd != nullptr) DestroyWindow(hwnd);
  PostQuitMessage(0);
}

int Win32Ui::PopupMenu(Hwnd owner, const Menu& menu) { return TrackMenu(ToHwnd(owner), menu); }

IconHandle Win32Ui::DesktopIcon(int desk) {
  if (desk < 1 || desk > static_cast<int>(desktopIcons_.size())) return 0;
  HICON& icon = desktopIcons_[static_cast<size_t>(desk - 1)];
  if (icon == nullptr) {
    icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_DESKTOP_FIRST + desk - 1),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  return FromHicon(icon);
}

void Win32Ui::StartTimer(int id, uint32_t intervalMs) {
  if (main_ != nullptr) SetTimer(main_, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void Win32Ui::StopTimer(int id) {
  if (main_ != nullptr) KillTimer(main_, static_cast<UINT_PTR>(id));
}

void Win32Ui::DoEvents() { PumpPendingMessages(); }

void Win32Ui::WaitMessage() { ::WaitMessage(); }

}  // namespace ombrix::win32
