#include "platform/win32/ui.h"

#include "platform/win32/handles.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/popup_menu.h"
#include "platform/win32/text.h"
#include "resource.h"
// Needs <windows.h> first.
#include <commdlg.h>

namespace ombrix::win32 {

Win32Ui::Win32Ui(HINSTANCE instance) : instance_(instance) {}

Win32Ui::~Win32Ui() {
  if (main_ != nullptr) DestroyWindow(main_);
  for (const auto& [key, icon] : sized_) DestroyIcon(icon);
  for (const auto& [icon, source] : sources_) DestroyIcon(icon);
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

int Win32Ui::PopupMenu(Hwnd owner, const Menu& menu) {
  return TrackMenu(ToHwnd(owner), menu,
                   [this](IconHandle icon, int size) { return IconAt(icon, size); });
}

HICON Win32Ui::Load(const IconSource& source, int size) {
  if (source.resource != 0) {
    return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(source.resource), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
  }
  return static_cast<HICON>(
      LoadImageW(nullptr, source.file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

HICON Win32Ui::IconAt(IconHandle handle, int size) {
  HICON icon = ToHicon(handle);
  const auto source = sources_.find(icon);
  if (source == sources_.end()) return icon;
  HICON& sized = sized_[{icon, size}];
  if (sized == nullptr) sized = Load(source->second, size);
  return sized != nullptr ? sized : icon;
}

IconHandle Win32Ui::ResourceIcon(UINT resource) {
  HICON& icon = resourceIcons_[resource];
  if (icon == nullptr) {
    const IconSource source{resource, {}};
    icon = Load(source, GetSystemMetrics(SM_CXSMICON));
    if (icon != nullptr) sources_[icon] = source;
  }
  return FromHicon(icon);
}

IconHandle Win32Ui::DesktopIcon(int desk) {
  if (desk < 1 || desk > 9) return 0;
  return ResourceIcon(static_cast<UINT>(IDI_DESKTOP_FIRST + desk - 1));
}

IconHandle Win32Ui::Picture(MenuPicture picture) {
  return ResourceIcon(static_cast<UINT>(IDI_PICTURE_FIRST + static_cast<int>(picture)));
}

IconHandle Win32Ui::LoadIconFile(const std::string& path) {
  const IconSource source{0, Widen(path)};
  HICON& icon = fileIcons_[source.file];
  if (icon == nullptr) {
    icon = Load(source, GetSystemMetrics(SM_CXSMICON));
    if (icon != nullptr) sources_[icon] = source;
  }
  return FromHicon(icon);
}

void Win32Ui::StartTimer(int id, uint32_t intervalMs) {
  if (main_ != nullptr) SetTimer(main_, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void Win32Ui::StopTimer(int id) {
  if (main_ != nullptr) KillTimer(main_, static_cast<UINT_PTR>(id));
}

std::string Win32Ui::ChooseFileToOpen(Hwnd owner, const std::string& title,
                                      const std::vector<FileFilter>& filters) {
  // Each description and pattern ends in a zero, and the list in another.
  std::wstring filter;
  for (const FileFilter& entry : filters) {
    filter += Widen(entry.description);
    filter += L'\0';
    filter += Widen(entry.pattern);
    filter += L'\0';
  }
  filter += L'\0';
  const std::wstring caption = Widen(title);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ToHwnd(owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  // The current folder stays the program's; relative paths are never used, but other code may.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return "";
  return Narrow(file.c_str(), wcslen(file.c_str()));
}

void Win32Ui::DoEvents() { PumpPendingMessages(); }

void Win32Ui::WaitMessage() { ::WaitMessage(); }

}  // namespace ombrix::win32
