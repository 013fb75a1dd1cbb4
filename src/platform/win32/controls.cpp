#include "platform/win32/controls.h"

#include <algorithm>

#include "platform/win32/colours.h"
#include "platform/win32/dpi.h"
#include "platform/win32/list_controls.h"
#include "platform/win32/text.h"

namespace ombrix::win32 {

namespace {

// A combo box's window height includes its drop-down list.
constexpr int kDropDownHeight = 200;

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

DWORD AlignStyle(TextAlign align) {
  switch (align) {
    case TextAlign::Centre:
      return SS_CENTER;
    case TextAlign::Right:
      return SS_RIGHT;
    case TextAlign::Left:
      break;
  }
  return SS_LEFT;
}

WindowKind KindOf(const Control& control) {
  switch (control.kind) {
    case ControlKind::Button:
      return {WC_BUTTONW,
              static_cast<DWORD>(control.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP,
              0};
    case ControlKind::CheckBox:
      return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::OptionButton:
      // Only the first option of a group is a tab stop; the arrows move within the group.
      return {WC_BUTTONW, BS_AUTORADIOBUTTON, 0};
    case ControlKind::Frame:
      return {WC_BUTTONW, BS_GROUPBOX, 0};
    case ControlKind::TextBox:
      return {WC_EDITW,
              ES_AUTOHSCROLL | WS_TABSTOP | (control.PasswordChar != 0 ? DWORD{ES_PASSWORD} : 0),
              WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ListBox:
      return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::TabStrip:
      return {WC_TABCONTROLW, WS_TABSTOP | TCS_FOCUSONBUTTONDOWN, 0};
    case ControlKind::PictureList:
      return {WC_LISTVIEWW,
              LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::Link:
      return {WC_STATICW, AlignStyle(control.align) | SS_NOTIFY, 0};
    case ControlKind::Line:
      // A coloured line is a static filled with its colour; the default one is etched.
      return {WC_STATICW, control.foreColour == kDefaultColour ? DWORD{SS_ETCHEDHORZ} : 0, 0};
    case ControlKind::Label:
      if (IsPaintedLabel(control)) return {WC_STATICW, SS_OWNERDRAW, 0};
      break;
    case ControlKind::Image:
    case ControlKind::Timer:
      break;
  }
  return {WC_STATICW, AlignStyle(control.align), 0};
}

bool IsEditLike(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::ComboBox ||
         kind == ControlKind::ListBox;
}

}  // namespace

bool IsPaintedLabel(const Control& control) {
  return control.kind == ControlKind::Label && (control.border || control.margin > 0);
}

bool HasWindow(const Control& control) {
  if (control.kind == ControlKind::Timer) return false;
  // A frame without border or caption only groups controls, as the pages of a tab strip do.
  return control.kind != ControlKind::Frame || control.border || !control.Caption.empty();
}

HWND CreateControlWindow(HINSTANCE instance, HWND parent, const Control& control, int id,
                         UINT dpi, bool shown, bool startsGroup) {
  const WindowKind kind = KindOf(control);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
  if (shown) style |= WS_VISIBLE;
  if (!control.Enabled) style |= WS_DISABLED;
  if (startsGroup) style |= WS_GROUP;
  if (startsGroup && control.kind == ControlKind::OptionButton) style |= WS_TABSTOP;
  HWND child = CreateWindowExW(
      kind.exStyle, kind.className, Widen(control.Caption).c_str(), style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance, nullptr);
  if (child == nullptr) return nullptr;
  if (control.kind == ControlKind::TextBox) {
    if (control.PasswordChar != 0) {
      SendMessageW(child, EM_SETPASSWORDCHAR, static_cast<WPARAM>(control.PasswordChar), 0);
    }
    if (control.MaxLength > 0) SendMessageW(child, EM_LIMITTEXT, control.MaxLength, 0);
  }
  PlaceControlWindow(child, control, dpi);
  // Controls lie on frames and tab strips: those go below them, or they would be painted over.
  if (control.kind == ControlKind::Frame || control.kind == ControlKind::TabStrip) {
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (control.kind == ControlKind::PictureList) SetUpPictureList(child, dpi);
  return child;
}

void PlaceControlWindow(HWND child, const Control& control, UINT dpi) {
  const Rect& b = control.bounds;
  int height = std::max(1, Scale(b.Height(), dpi));
  if (control.kind == ControlKind::ComboBox) height += Scale(kDropDownHeight, dpi);
  SetWindowPos(child, nullptr, Scale(b.left, dpi), Scale(b.top, dpi),
               std::max(1, Scale(b.Width(), dpi)), height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (control.kind == ControlKind::PictureList) FitPictureListColumn(child);
}

COLORREF TabBodyColour(HWND tab, COLORREF fallback) {
  RECT client{};
  GetClientRect(tab, &client);
  if (client.right < 16 || client.bottom < 16) return fallback;
  HDC screen = GetDC(tab);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(fallback);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  // Inside the body, clear of its border and of the tabs above.
  const COLORREF body = GetPixel(dc, client.right / 2, client.bottom - 8);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(tab, screen);
  return body == CLR_INVALID ? fallback : body;
}

PaintColours ControlPaintColours(const Control& control, COLORREF formBack) {
  PaintColours colours;
  const bool defaults =
      control.foreColour == kDefaultColour && control.backColour == kDefaultColour;
  if (control.kind == ControlKind::Button || control.kind == ControlKind::TabStrip ||
      (IsEditLike(control.kind) && defaults)) {
    return colours;
  }
  colours.custom = true;
  if (IsEditLike(control.kind)) {
    colours.text = ResolveColour(control.foreColour, COLOR_WINDOWTEXT);
    colours.back = ResolveColour(control.backColour, COLOR_WINDOW);
  } else {
    const int textIndex = control.kind == ControlKind::Link ? COLOR_HOTLIGHT : COLOR_BTNTEXT;
    colours.text = ResolveColour(control.foreColour, textIndex);
    colours.back =
        control.backColour == kDefaultColour ? formBack : ResolveColour(control.backColour, 0);
  }
  colours.fill = colours.back;
  if (control.kind == ControlKind::Line && control.foreColour != kDefaultColour) {
    colours.fill = colours.text;
  }
  return colours;
}

void PaintLabel(const DRAWITEMSTRUCT& item, const Control& control, const PaintColours& colours,
                HBRUSH back, HBRUSH border, HFONT font, UINT dpi) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  FillRect(dc, &rect, back);
  if (control.border) {
    FrameRect(dc, &rect, border);
    InflateRect(&rect, -1, -1);
  }
  const int margin = Scale(control.margin, dpi);
  InflateRect(&rect, -margin, -margin);

  UINT format = DT_NOPREFIX;
  if (control.align == TextAlign::Centre) format |= DT_CENTER;
  if (control.align == TextAlign::Right) format |= DT_RIGHT;
  const std::wstring text = Widen(control.Caption);
  // DT_VCENTER works on single lines only.
  format |= text.find(L'\n') == std::wstring::npos ? DT_SINGLELINE | DT_VCENTER : DT_WORDBREAK;

  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldText = SetTextColor(dc, colours.text);
  HGDIOBJ oldFont = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SelectObject(dc, oldFont);
  SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
}

}  // namespace ombrix::win32
