// The form model's menus (ui/form.h) as system pop-up menus, with pictures beside the texts
// and separators that carry a label.
#pragma once

#include <functional>

#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

// The icon of a menu picture at a size in pixels; the icon itself when it has no better image.
using IconAtSize = std::function<HICON(IconHandle picture, int size)>;

// Shows the items of menu at the mouse position for owner and waits until the menu closes.
// Returns the chosen item's id, or 0. With visual styles the pictures are 32-bit bitmaps with
// alpha, which styled menus blend; otherwise, and under Wine, the owner draws them.
// Labelled separators are always drawn by the owner; their item data starts with the
// MSAAMENUINFO that gives accessibility tools their text.
int TrackMenu(HWND owner, const Menu& menu, const IconAtSize& iconAt);

// WM_MEASUREITEM and WM_DRAWITEM of the menu's owner while TrackMenu runs; false for messages
// that are not about its items.
bool HandleMenuDrawing(UINT message, LPARAM lParam);

}  // namespace ombrix::win32
