#include "platform/win32/popup_menu.h"

#include "platform/win32/text.h"

namespace ombrix::win32 {

namespace {

void AppendItems(HMENU target, const Menu& menu) {
  for (const Menu& item : menu.items) {
    if (!item.Visible) continue;
    if (item.Caption == "-") {
      AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (!item.Enabled) flags |= MF_GRAYED;
    if (item.Checked) flags |= MF_CHECKED;
    UINT_PTR command = static_cast<UINT_PTR>(item.id);
    if (!item.items.empty()) {
      HMENU submenu = CreatePopupMenu();
      AppendItems(submenu, item);
      flags |= MF_POPUP;
      command = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(target, flags, command, Widen(item.Caption).c_str());
  }
}

}  // namespace

int TrackMenu(HWND owner, const Menu& menu) {
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return 0;
  AppendItems(popup, menu);
  POINT cursor{};
  GetCursorPos(&cursor);
  // The owner must be in the foreground, or the menu does not close when the user clicks
  // elsewhere; the posted WM_NULL lets it close properly after a choice.
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                     cursor.x, cursor.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(popup);  // destroys the submenus with it
  return chosen;
}

}  // namespace ombrix::win32
