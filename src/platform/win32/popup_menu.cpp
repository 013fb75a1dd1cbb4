#include "platform/win32/popup_menu.h"

#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace ombrix::win32 {

namespace {

constexpr int kPictureSize = 16;  // at 96 DPI
constexpr int kLabelMargin = 8;

// An owner-drawn part of an item: a labelled separator, or a picture drawn by the owner.
struct OwnerDrawn {
  MSAAMENUINFO accessible{};  // first, where accessibility tools look for it
  std::wstring text;
  bool label = false;
  HICON icon = nullptr;
};

struct Tracking {
  const IconAtSize* iconAt = nullptr;
  UINT dpi = kBaseDpi;
  int pictureSize = kPictureSize;
  bool blends = false;  // the system blends 32-bit menu bitmaps with their alpha
  std::vector<std::unique_ptr<OwnerDrawn>> parts;
  std::vector<HBITMAP> bitmaps;
};

// One menu at a time is tracked on the program's one thread.
Tracking* active = nullptr;

OwnerDrawn* NewPart(Tracking& tracking, std::wstring text, bool label, HICON icon) {
  auto part = std::make_unique<OwnerDrawn>();
  part->text = std::move(text);
  part->label = label;
  part->icon = icon;
  part->accessible.dwMSAASignature = MSAA_MENU_SIG;
  part->accessible.cchWText = static_cast<DWORD>(part->text.size());
  part->accessible.pszWText = part->text.data();
  tracking.parts.push_back(std::move(part));
  return tracking.parts.back().get();
}

// The icon as a 32-bit top-down bitmap with premultiplied alpha. Drawn once on black and once
// on white: where the two differ the icon lets the background through.
HBITMAP PremultipliedBitmap(HICON icon, int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* onBlackBits = nullptr;
  void* onWhiteBits = nullptr;
  HBITMAP onBlack = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &onBlackBits, nullptr, 0);
  HBITMAP onWhite = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &onWhiteBits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  if (onBlack == nullptr || onWhite == nullptr || dc == nullptr) {
    if (onBlack != nullptr) DeleteObject(onBlack);
    if (onWhite != nullptr) DeleteObject(onWhite);
    if (dc != nullptr) DeleteDC(dc);
    return nullptr;
  }
  const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
  auto* black = static_cast<uint32_t*>(onBlackBits);
  auto* white = static_cast<uint32_t*>(onWhiteBits);
  std::fill(white, white + count, 0x00FFFFFFu);
  HGDIOBJ old = SelectObject(dc, onBlack);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  SelectObject(dc, onWhite);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  for (size_t i = 0; i < count; ++i) {
    int through = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int b = static_cast<int>((black[i] >> shift) & 0xFF);
      const int w = static_cast<int>((white[i] >> shift) & 0xFF);
      through = std::max(through, w - b);
    }
    const auto alpha = static_cast<uint32_t>(255 - std::clamp(through, 0, 255));
    black[i] = (black[i] & 0x00FFFFFFu) | (alpha << 24);
  }
  DeleteObject(onWhite);
  return onBlack;
}

// Windows with visual styles blends 32-bit menu bitmaps; Wine draws them opaque.
bool BlendsMenuBitmaps() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return !wine && IsAppThemed() && IsThemeActive();
}

bool HasPictures(const Menu& menu) {
  return std::any_of(menu.items.begin(), menu.items.end(),
                     [](const Menu& item) { return item.Visible && item.Picture != 0; });
}

bool HasLabels(const Menu& menu) {
  return std::any_of(menu.items.begin(), menu.items.end(), [](const Menu& item) {
    return item.Visible && SeparatorLabel(item.Caption).has_value();
  });
}

// A blended bitmap where the menu is drawn with visual styles, otherwise a picture the owner
// draws (a menu with owner-drawn separators loses its visual style anyway).
void SetPicture(Tracking& tracking, MENUITEMINFOW& info, IconHandle picture,
                const std::wstring& text, bool blend) {
  HICON icon = picture != 0 ? (*tracking.iconAt)(picture, tracking.pictureSize) : nullptr;
  if (icon == nullptr && blend) return;
  info.fMask |= MIIM_BITMAP;
  if (blend) {
    if (HBITMAP bitmap = PremultipliedBitmap(icon, tracking.pictureSize)) {
      tracking.bitmaps.push_back(bitmap);
      info.hbmpItem = bitmap;
      return;
    }
  }
  info.fMask |= MIIM_DATA;
  info.hbmpItem = HBMMENU_CALLBACK;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(NewPart(tracking, text, false, icon));
}

void AppendItems(Tracking& tracking, HMENU target, const Menu& menu) {
  const bool blend = tracking.blends && !HasLabels(menu);
  // Where the owner draws pictures, an item without one gets an empty one: the texts then
  // line up, and the menu is wide enough for all of them.
  const bool pictures = HasPictures(menu);
  UINT position = 0;
  for (const Menu& item : menu.items) {
    if (!item.Visible) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    std::wstring text = Widen(item.Caption);
    if (item.Caption == "-") {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else if (const auto label = SeparatorLabel(item.Caption)) {
      // A separator: keyboard moves and clicks pass it by.
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      info.fType = MFT_SEPARATOR | MFT_OWNERDRAW;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(NewPart(tracking, Widen(*label), true, nullptr));
    } else {
      info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_ID;
      info.fType = MFT_STRING;
      info.dwTypeData = text.data();
      info.fState = (item.Enabled ? MFS_ENABLED : MFS_GRAYED) |
                    (item.Checked ? MFS_CHECKED : MFS_UNCHECKED);
      info.wID = static_cast<UINT>(item.id);
      if (!item.items.empty()) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = CreatePopupMenu();
        if (info.hSubMenu != nullptr) AppendItems(tracking, info.hSubMenu, item);
      }
      if (pictures) SetPicture(tracking, info, item.Picture, text, blend);
    }
    InsertMenuItemW(target, position++, TRUE, &info);
  }
  // Styled menus put pictures and check marks in one column; unstyled ones lay out a picture
  // drawn by the owner beside the check column.
  if (blend) {
    MENUINFO style{};
    style.cbSize = sizeof(style);
    style.fMask = MIM_STYLE;
    style.dwStyle = MNS_CHECKORBMP;
    SetMenuInfo(target, &style);
  }
}

HFONT MenuFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return nullptr;
  }
  LOGFONTW font = metrics.lfMenuFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return CreateFontIndirectW(&font);
}

SIZE LabelSize(const OwnerDrawn& part, UINT dpi) {
  SIZE size{0, 0};
  HDC dc = GetDC(nullptr);
  HFONT font = MenuFont(dpi);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  GetTextExtentPoint32W(dc, part.text.c_str(), static_cast<int>(part.text.size()), &size);
  SelectObject(dc, old);
  if (font != nullptr) DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return size;
}

// The label in grey text, then an etched line to the right edge.
void DrawLabel(const DRAWITEMSTRUCT& item, const OwnerDrawn& part, UINT dpi) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  FillRect(dc, &rect, GetSysColorBrush(COLOR_MENU));
  HFONT font = MenuFont(dpi);
  HGDIOBJ oldFont = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT text = rect;
  text.left += Scale(kLabelMargin, dpi);
  DrawTextW(dc, part.text.c_str(), static_cast<int>(part.text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  SIZE extent{0, 0};
  GetTextExtentPoint32W(dc, part.text.c_str(), static_cast<int>(part.text.size()), &extent);
  RECT line = rect;
  line.left = text.left + extent.cx + Scale(kLabelMargin / 2, dpi);
  line.right -= Scale(kLabelMargin / 2, dpi);
  line.top = (rect.top + rect.bottom) / 2 - 1;
  line.bottom = line.top + 2;
  if (line.right > line.left) DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
  if (font != nullptr) DeleteObject(font);
}

}  // namespace

int TrackMenu(HWND owner, const Menu& menu, const IconAtSize& iconAt) {
  POINT cursor{};
  GetCursorPos(&cursor);
  Tracking tracking;
  tracking.iconAt = &iconAt;
  tracking.dpi = PointDpi(cursor);
  tracking.pictureSize = Scale(kPictureSize, tracking.dpi);
  tracking.blends = BlendsMenuBitmaps();
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return 0;
  AppendItems(tracking, popup, menu);
  active = &tracking;
  // The owner must be in the foreground, or the menu does not close when the user clicks
  // elsewhere; the posted WM_NULL lets it close properly after a choice.
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                     cursor.x, cursor.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  active = nullptr;
  DestroyMenu(popup);  // destroys the submenus with it
  for (HBITMAP bitmap : tracking.bitmaps) DeleteObject(bitmap);
  return chosen;
}

bool HandleMenuDrawing(UINT message, LPARAM lParam) {
  if (active == nullptr) return false;
  const Tracking& tracking = *active;
  auto ours = [&](ULONG_PTR data) -> const OwnerDrawn* {
    for (const auto& part : tracking.parts) {
      if (reinterpret_cast<ULONG_PTR>(part.get()) == data) return part.get();
    }
    return nullptr;
  };
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    const OwnerDrawn* part = measure->CtlType == ODT_MENU ? ours(measure->itemData) : nullptr;
    if (part == nullptr) return false;
    if (part->label) {
      const SIZE text = LabelSize(*part, tracking.dpi);
      measure->itemWidth = static_cast<UINT>(text.cx + Scale(3 * kLabelMargin, tracking.dpi));
      measure->itemHeight = static_cast<UINT>(text.cy + Scale(4, tracking.dpi));
    } else {
      // Room on both sides, so the text does not touch the picture.
      measure->itemWidth = static_cast<UINT>(tracking.pictureSize + Scale(8, tracking.dpi));
      measure->itemHeight = static_cast<UINT>(tracking.pictureSize + Scale(2, tracking.dpi));
    }
    return true;
  }
  if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const OwnerDrawn* part = draw->CtlType == ODT_MENU ? ours(draw->itemData) : nullptr;
    if (part == nullptr) return false;
    if (part->label) {
      DrawLabel(*draw, *part, tracking.dpi);
    } else if (part->icon != nullptr) {
      const int size = tracking.pictureSize;
      const RECT& r = draw->rcItem;
      DrawIconEx(draw->hDC, r.left + Scale(2, tracking.dpi), r.top + (r.bottom - r.top - size) / 2,
                 part->icon, size, size, 0, nullptr, DI_NORMAL);
    }
    return true;
  }
  return false;
}

}  // namespace ombrix::win32
