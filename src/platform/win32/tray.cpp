#include "platform/win32/tray.h"

#include <cwchar>

#include "platform/win32/handles.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

NOTIFYICONDATAW IconData(Hwnd owner, int id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = ToHwnd(owner);
  data.uID = static_cast<UINT>(id);
  return data;
}

// Copies as much of the text as the fixed field holds.
template <size_t N>
void CopyText(wchar_t (&field)[N], const std::string& text) {
  const std::wstring wide = Widen(text);
  wcsncpy(field, wide.c_str(), N - 1);
  field[N - 1] = L'\0';
}

}  // namespace

void Win32Tray::Attach(Hwnd owner) { owner_ = owner; }

bool Win32Tray::Add(int id, const std::string& tooltip, IconHandle icon) {
  NOTIFYICONDATAW data = IconData(owner_, id);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = ToHicon(icon);
  CopyText(data.szTip, tooltip);
  // An add that timed out may still have put the icon there; it then takes the changes.
  if (!Shell_NotifyIconW(NIM_ADD, &data) && !Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
  id_ = id;
  data.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &data);
  return true;
}

bool Win32Tray::ChangeIcon(int id, IconHandle icon) {
  NOTIFYICONDATAW data = IconData(owner_, id);
  data.uFlags = NIF_ICON;
  data.hIcon = ToHicon(icon);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32Tray::ChangeTooltip(int id, const std::string& tooltip) {
  NOTIFYICONDATAW data = IconData(owner_, id);
  data.uFlags = NIF_TIP;
  CopyText(data.szTip, tooltip);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32Tray::Remove() {
  if (id_ == 0) return;
  NOTIFYICONDATAW data = IconData(owner_, id_);
  Shell_NotifyIconW(NIM_DELETE, &data);
  id_ = 0;
}

// The icon types 0..3 are the system's NIIF_NONE, NIIF_INFO, NIIF_WARNING and NIIF_ERROR.
bool Win32Tray::Balloon(const std::string& text, const std::string& title, int iconType,
                        int timeoutMs) {
  NOTIFYICONDATAW data = IconData(owner_, id_);
  data.uFlags = NIF_INFO;
  CopyText(data.szInfo, text);
  CopyText(data.szInfoTitle, title);
  data.dwInfoFlags = static_cast<DWORD>(iconType);
  data.uTimeout = static_cast<UINT>(timeoutMs);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32Tray::ReturnFocus() {
  if (id_ == 0) return;
  NOTIFYICONDATAW data = IconData(owner_, id_);
  Shell_NotifyIconW(NIM_SETFOCUS, &data);
}

}  // namespace ombrix::win32
