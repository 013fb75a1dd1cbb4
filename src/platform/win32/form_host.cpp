#include "platform/win32/form_host.h"

#include <cwchar>
#include <memory>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/form_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/list_controls.h"
#include "platform/win32/popup_menu.h"
#include "platform/win32/text.h"
#include "resource.h"
#include "ui/form.h"

namespace ombrix::win32 {

namespace {

// The host is kept beside the form window's state in the window's user data. The window owns
// it from WM_NCCREATE to WM_NCDESTROY; before that, Load does.
struct WindowData {
  FormWindow window;
  Win32FormHost* host = nullptr;
};

WindowData* DataOf(HWND hwnd) {
  return reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT AnswerControlColour(WindowData& data, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow& window = data.window;
  const int index = ControlIndexOf(window, reinterpret_cast<HWND>(lParam));
  if (index < 0 || window.form == nullptr) {
    return DefWindowProcW(window.hwnd, message, wParam, lParam);
  }
  const Control& control = window.form->Controls()[static_cast<size_t>(index)];
  const PaintColours colours = ControlPaintColours(control, BackgroundOf(window, control));
  if (!colours.custom) return DefWindowProcW(window.hwnd, message, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, colours.text);
  SetBkColor(dc, colours.back);
  return reinterpret_cast<LRESULT>(window.brushes.Get(colours.fill));
}

// Brings the window up to date with the model after an event of the form, unless the event
// unloaded the form and so destroyed the window.
void SyncAfterEvent(HWND hwnd, const Form* form) {
  WindowData* data = IsWindow(hwnd) ? DataOf(hwnd) : nullptr;
  if (data != nullptr && data->window.form == form) SyncFormWindow(data->window);
}

// What the user did to a child control, read into the model and told to the form; false
// when the form was told nothing. The event may have unloaded the form.
bool Command(Form& form, FormWindow& window, WPARAM wParam, LPARAM lParam) {
  HWND child = reinterpret_cast<HWND>(lParam);
  const int index = ControlIndexOf(window, child);
  if (index < 0 || window.syncing) return false;
  Control& control = form.Controls()[static_cast<size_t>(index)];
  const WORD code = HIWORD(wParam);
  switch (control.kind) {
    case ControlKind::Button:
    case ControlKind::Link:
      if (code != BN_CLICKED) return false;  // STN_CLICKED has the same value
      form.OnClick(control);
      return true;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::ListBox:
      if (!ReadUserState(window, static_cast<size_t>(index), code)) return false;
      form.OnClick(control);
      return true;
    case ControlKind::ComboBox:
    case ControlKind::TextBox:
      if (!ReadUserState(window, static_cast<size_t>(index), code)) return false;
      form.OnChange(control);
      return true;
    default:
      return false;
  }
}

// A tab chosen in a tab strip, read into the model and told to the form; false when the
// notice is of something else.
bool TabChanged(Form& form, FormWindow& window, int index, const NMHDR& header) {
  if (window.syncing || !ReadUserState(window, static_cast<size_t>(index), header.code)) {
    return false;
  }
  form.OnClick(form.Controls()[static_cast<size_t>(index)]);
  return true;
}

// Esc with no button of the cancel id: the button that is both the default and the cancel
// button (the one button that closes a form) is pressed. False when there is none.
bool EscapeButton(Form& form, const FormWindow& window) {
  for (size_t i = 0; i < form.Controls().size() && i < window.controls.size(); ++i) {
    Control& control = form.Controls()[i];
    if (control.kind == ControlKind::Button && control.Cancel && control.Enabled &&
        window.controls[i].hwnd != nullptr) {
      form.OnClick(control);
      return true;
    }
  }
  return false;
}

// The picture list under a point of the form's client area that takes dropped items, or -1.
int DropTarget(const FormWindow& window, const Form& form, POINT at) {
  HWND child = ChildWindowFromPointEx(window.hwnd, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  const int index = ControlIndexOf(window, child);
  if (index < 0) return -1;
  const Control& control = form.Controls()[static_cast<size_t>(index)];
  return control.kind == ControlKind::PictureList && control.DragDrop ? index : -1;
}

void Drop(Form& form, FormWindow& window, POINT at) {
  const int source = window.drag.source;
  const ListItem item = window.drag.item;
  EndItemDrag(window.hwnd, window.drag);
  const int target = DropTarget(window, form, at);
  if (target < 0) return;
  form.OnItemDropped(form.Controls()[static_cast<size_t>(source)], item,
                     form.Controls()[static_cast<size_t>(target)]);
}

// Notifications of picture lists: the user's selection, the picture of an item about to be
// drawn, and the start of a drag. True when the form was told of something.
bool PictureListNotice(Form& form, FormWindow& window, int index, const NMHDR& header) {
  Control& control = form.Controls()[static_cast<size_t>(index)];
  ControlWindow& state = window.controls[static_cast<size_t>(index)];
  switch (header.code) {
    case LVN_ITEMCHANGED:
      if (window.syncing ||
          !ReadPictureListChange(reinterpret_cast<const NMLISTVIEW&>(header), state.choices,
                                 control)) {
        return false;
      }
      form.OnClick(control);
      return true;
    case NM_CLICK: {
      // A click on the item already selected changes nothing the list reports, yet the user
      // chose it again, as a list box would tell.
      const int item = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
      if (window.syncing || item < 0 || item != control.ListIndex) return false;
      form.OnClick(control);
      return true;
    }
    case LVN_GETDISPINFOW: {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      const int item = info.item.iItem;
      if ((info.item.mask & LVIF_IMAGE) != 0 && item >= 0 &&
          static_cast<size_t>(item) < control.ListItems.size()) {
        info.item.iImage =
            PictureIndex(state.hwnd, state.choices,
                         form.OnItemPicture(control, control.ListItems[static_cast<size_t>(item)]));
      }
      return false;
    }
    case LVN_BEGINDRAG: {
      const auto& begin = reinterpret_cast<const NMLISTVIEW&>(header);
      if (control.DragDrop && window.drag.source < 0 && begin.iItem >= 0 &&
          static_cast<size_t>(begin.iItem) < control.ListItems.size()) {
        BeginItemDrag(window.hwnd, state.hwnd, index, begin.iItem,
                      control.ListItems[static_cast<size_t>(begin.iItem)], begin.ptAction,
                      window.drag);
      }
      return false;
    }
    default:
      return false;
  }
}

// The keyboard starts on the control that had it when the form was last active, or on the
// first control that takes it, so Enter and Space work at once.
bool RestoreFocus(FormWindow& window) {
  HWND target = window.focus;
  if (target == nullptr || !IsChild(window.hwnd, target) || !IsWindowEnabled(target) ||
      !IsWindowVisible(target)) {
    target = GetNextDlgTabItem(window.hwnd, nullptr, FALSE);
  }
  if (target == nullptr) return false;
  SetFocus(target);
  return true;
}

POINT MousePoint(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Every event handler may unload the form, which destroys this window: return at once after.
LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    WindowData* data = static_cast<std::unique_ptr<WindowData>*>(create->lpCreateParams)->release();
    data->window.hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    data->host->windows.insert(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  WindowData* data = DataOf(hwnd);
  if (data == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  FormWindow& window = data->window;

  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    data->host->windows.erase(hwnd);
    delete data;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, window.brushes.Get(window.back));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return AnswerControlColour(*data, message, wParam, lParam);
    case WM_ACTIVATE: {
      const bool active = LOWORD(wParam) != WA_INACTIVE;
      if (!active) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) window.focus = focus;
      }
      const bool focused = active && RestoreFocus(window);
      if (Form* form = window.form) {
        form->OnActivate(active);
        SyncAfterEvent(hwnd, form);
      }
      if (focused || !IsWindow(hwnd)) return 0;
      break;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      window.pageBack.reset();
      break;
    case WM_DPICHANGED: {
      window.dpi = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayOutFormWindow(window);
      return 0;
    }
    default:
      break;
  }

  if (window.form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  Form& form = *window.form;
  switch (message) {
    case WM_COMMAND:
      // Anything that commands the form (Esc, a mnemonic) ends a drag first.
      if (window.drag.source >= 0) {
        EndItemDrag(hwnd, window.drag);
        return 0;
      }
      if (lParam != 0 && Command(form, window, wParam, lParam)) SyncAfterEvent(hwnd, &form);
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL && EscapeButton(form, window)) {
        SyncAfterEvent(hwnd, &form);
      }
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const int index = ControlIndexOf(window, header->hwndFrom);
      if (index < 0) break;
      const ControlKind kind = form.Controls()[static_cast<size_t>(index)].kind;
      const bool told = kind == ControlKind::TabStrip      ? TabChanged(form, window, index, *header)
                        : kind == ControlKind::PictureList ? PictureListNotice(form, window, index, *header)
                                                           : false;
      if (told) SyncAfterEvent(hwnd, &form);
      return 0;
    }
    case kListKeyMessage: {
      if (window.drag.source >= 0) {
        if (wParam == VK_ESCAPE) EndItemDrag(hwnd, window.drag);
        return 1;
      }
      const int index = ControlIndexOf(window, reinterpret_cast<HWND>(lParam));
      if (index < 0) return 0;
      const bool used =
          form.OnKeyDown(form.Controls()[static_cast<size_t>(index)], static_cast<int>(wParam));
      SyncAfterEvent(hwnd, &form);
      return used ? 1 : 0;
    }
    case WM_CONTEXTMENU: {
      const int index = ControlIndexOf(window, reinterpret_cast<HWND>(wParam));
      if (index < 0) break;
      form.OnContextMenu(form.Controls()[static_cast<size_t>(index)]);
      SyncAfterEvent(hwnd, &form);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (window.drag.source < 0) break;
      DragItemTo(hwnd, MousePoint(lParam), DropTarget(window, form, MousePoint(lParam)) >= 0);
      return 0;
    case WM_LBUTTONUP:
      if (window.drag.source < 0) break;
      Drop(form, window, MousePoint(lParam));
      SyncAfterEvent(hwnd, &form);
      return 0;
    case WM_CAPTURECHANGED:
      if (window.drag.source >= 0 && reinterpret_cast<HWND>(lParam) != hwnd) {
        EndItemDrag(hwnd, window.drag);
      }
      return 0;
    case WM_MEASUREITEM:
      if (HandleMenuDrawing(message, lParam)) return TRUE;
      break;
    case WM_DRAWITEM: {
      if (HandleMenuDrawing(message, lParam)) return TRUE;
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const int index = ControlIndexOf(window, item->hwndItem);
      if (index < 0) break;
      const Control& control = form.Controls()[static_cast<size_t>(index)];
      if (!IsPaintedLabel(control)) break;
      const PaintColours colours = ControlPaintColours(control, BackgroundOf(window, control));
      HFONT font = window.controls[static_cast<size_t>(index)].font;
      if (font == nullptr) font = window.fonts.Get(control.font, window.dpi);
      PaintLabel(*item, control, colours, window.brushes.Get(colours.back),
                 window.brushes.Get(colours.text), font, window.dpi);
      return TRUE;
    }
    case WM_TIMER: {
      const UINT_PTR index = wParam - kFirstTimerId;
      if (wParam >= kFirstTimerId && index < form.Controls().size() &&
          form.Controls()[index].kind == ControlKind::Timer) {
        form.OnTimer(form.Controls()[index]);
      }
      return 0;
    }
    case WM_CLOSE: {
      Win32FormHost* host = data->host;
      if (form.OnQueryClose()) host->Unload(form);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterFormClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (GetClassInfoExW(instance, kFormClassName, &windowClass)) return;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = FormWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_OMBRIX));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kFormClassName;
  RegisterClassExW(&windowClass);
}

RECT PrimaryWorkArea() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

POINT CentredOnPrimaryWorkArea(SIZE outer) {
  const RECT work = PrimaryWorkArea();
  return {work.left + (work.right - work.left - outer.cx) / 2,
          work.top + (work.bottom - work.top - outer.cy) / 2};
}

void CentreOnPrimaryWorkArea(HWND hwnd) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  const POINT at =
      CentredOnPrimaryWorkArea({window.right - window.left, window.bottom - window.top});
  SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool StepTabs(HWND form, bool backwards) {
  WindowData* data = DataOf(form);
  if (data == nullptr || data->window.form == nullptr) return false;
  for (const ControlWindow& state : data->window.controls) {
    if (state.hwnd == nullptr || !IsWindowVisible(state.hwnd) || !IsWindowEnabled(state.hwnd)) {
      continue;
    }
    wchar_t name[32] = {};
    GetClassNameW(state.hwnd, name, 32);
    if (lstrcmpiW(name, WC_TABCONTROLW) != 0) continue;
    const auto count = static_cast<int>(SendMessageW(state.hwnd, TCM_GETITEMCOUNT, 0, 0));
    if (count < 2) return false;
    const auto current = static_cast<int>(SendMessageW(state.hwnd, TCM_GETCURSEL, 0, 0));
    const int next = ((current < 0 ? 0 : current) + (backwards ? count - 1 : 1)) % count;
    SendMessageW(state.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    // As a click on the tab reports it.
    NMHDR header{state.hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(state.hwnd)), TCN_SELCHANGE};
    SendMessageW(form, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return true;
  }
  return false;
}

bool IsFormWindow(HWND hwnd) {
  wchar_t name[32];
  return GetClassNameW(hwnd, name, 32) > 0 && wcscmp(name, kFormClassName) == 0;
}

Win32FormHost::Win32FormHost(HINSTANCE instance) : instance_(instance) {}

Win32FormHost::~Win32FormHost() {
  const std::set<HWND> remaining = windows;
  for (HWND hwnd : remaining) {
    if (WindowData* data = DataOf(hwnd)) data->window.form = nullptr;
    DestroyWindow(hwnd);
  }
}

Hwnd Win32FormHost::Load(Form& form) {
  if (form.hwnd != 0 && IsWindow(ToHwnd(form.hwnd))) return form.hwnd;
  RegisterFormClass(instance_);
  const DWORD style = form.borderless ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  exStyle |= form.showInTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  if (form.topmost) exStyle |= WS_EX_TOPMOST;
  // Splash and indicator: even a z-order change that would activate them leaves the focus.
  if (form.borderless && !form.showInTaskbar) exStyle |= WS_EX_NOACTIVATE;
  // A centred form starts on the primary monitor so that it has that monitor's DPI.
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  if (form.centred) {
    const RECT work = PrimaryWorkArea();
    x = work.left;
    y = work.top;
  }

  auto owned = std::make_unique<WindowData>();
  WindowData* data = owned.get();
  data->host = this;
  data->window.form = &form;
  data->window.instance = instance_;
  data->window.caption = form.Caption;
  data->window.back = ResolveColour(form.backColour, COLOR_BTNFACE);
  // A creation that fails after WM_NCCREATE has already freed the data at WM_NCDESTROY.
  HWND hwnd = CreateWindowExW(exStyle, kFormClassName, Widen(form.Caption).c_str(), style, x, y,
                              form.width, form.height, nullptr, nullptr, instance_, &owned);
  if (hwnd == nullptr) return 0;
  data->window.dpi = WindowDpi(hwnd);
  SyncFormSize(data->window);

  form.hwnd = FromHwnd(hwnd);
  form.OnLoad();
  // The load event may have unloaded the form already.
  if (form.hwnd == 0 || DataOf(hwnd) == nullptr) return 0;
  SyncFormWindow(DataOf(hwnd)->window);
  return form.hwnd;
}

// The window's size, place, band and showing change in one call: under Wine every call that
// moves a window of this program costs a round of display checks.
void Win32FormHost::Show(Form& form) {
  if (form.hwnd == 0) return;
  HWND hwnd = ToHwnd(form.hwnd);
  WindowData* data = DataOf(hwnd);
  if (data == nullptr || data->window.form != &form) {
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return;
  }
  FormWindow& window = data->window;
  const bool first = !window.placed;
  window.placed = true;
  const std::optional<SIZE> size = TakeSizeChange(window);
  SyncFormWindow(window);
  UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
  RECT now{};
  GetWindowRect(hwnd, &now);
  SIZE outer{now.right - now.left, now.bottom - now.top};
  if (size) {
    outer = *size;
  } else {
    flags |= SWP_NOSIZE;
  }
  POINT at{now.left, now.top};
  // A centred form goes to the middle whenever it comes on screen.
  if (form.centred && (first || !IsWindowVisible(hwnd))) {
    at = CentredOnPrimaryWorkArea(outer);
  } else {
    flags |= SWP_NOMOVE;
  }
  // A topmost form comes above every other window, topmost ones too.
  if (!form.topmost) flags |= SWP_NOZORDER;
  SetWindowPos(hwnd, form.topmost ? HWND_TOPMOST : nullptr, at.x, at.y, outer.cx, outer.cy, flags);
}

void Win32FormHost::Hide(Form& form) {
  if (form.hwnd != 0) ShowWindow(ToHwnd(form.hwnd), SW_HIDE);
}

void Win32FormHost::Unload(Form& form) {
  if (form.hwnd == 0) return;
  HWND hwnd = ToHwnd(form.hwnd);
  form.hwnd = 0;
  if (WindowData* data = DataOf(hwnd)) {
    StopTimers(data->window);
    data->window.form = nullptr;
  }
  DestroyWindow(hwnd);
}

void Win32FormHost::Refresh(Form& form) {
  if (form.hwnd == 0) return;
  HWND hwnd = ToHwnd(form.hwnd);
  WindowData* data = DataOf(hwnd);
  if (data == nullptr || data->window.form != &form) return;
  const int width = data->window.width;
  const int height = data->window.height;
  SyncFormWindow(data->window);
  // A centred form that changed its size stays in the middle.
  const bool resized = width != data->window.width || height != data->window.height;
  if (resized && form.centred && data->window.placed) CentreOnPrimaryWorkArea(hwnd);
  // A hidden window has nothing to paint.
  if (!IsWindowVisible(hwnd)) return;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32FormHost::RemoveCloseMenu(Form& form) {
  if (form.hwnd == 0) return;
  HMENU menu = GetSystemMenu(ToHwnd(form.hwnd), FALSE);
  // By command, not by position: the position of Close differs with the frame's buttons.
  if (menu != nullptr) DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

std::vector<Form*> Win32FormHost::LoadedForms() {
  std::vector<Form*> forms;
  for (HWND hwnd : windows) {
    if (WindowData* data = DataOf(hwnd); data != nullptr && data->window.form != nullptr) {
      forms.push_back(data->window.form);
    }
  }
  return forms;
}

Size Win32FormHost::MeasureText(const Font& font, const std::string& text) {
  const std::wstring wide = Widen(text);
  RECT rect{0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, measureFonts_.Get(font, kBaseDpi));
  DrawTextW(screen, wide.c_str(), static_cast<int>(wide.size()), &rect, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace ombrix::win32
