#include "platform/win32/form_host.h"

#include <cwchar>
#include <memory>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/form_window.h"
#include "platform/win32/handles.h"
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
  const Control& control = window.form->controls[static_cast<size_t>(index)];
  const PaintColours colours = ControlPaintColours(control, BackgroundOf(window, control));
  if (!colours.custom) return DefWindowProcW(window.hwnd, message, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, colours.text);
  SetBkColor(dc, colours.back);
  return reinterpret_cast<LRESULT>(window.brushes.Get(colours.fill));
}

// The form's event for a notification of one of its controls, with what the user did taken
// into the model first.
void Command(Form& form, FormWindow& window, WPARAM wParam, LPARAM lParam) {
  const int index = ControlIndexOf(window, reinterpret_cast<HWND>(lParam));
  if (index < 0) return;
  Control& control = form.controls[static_cast<size_t>(index)];
  const WORD code = HIWORD(wParam);
  switch (control.kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Link:
      if (code == BN_CLICKED) {  // STN_CLICKED has the same value
        ReadUserState(window, static_cast<size_t>(index));
        form.OnClick(control);
      }
      break;
    case ControlKind::TextBox:
      if (code == EN_CHANGE) {
        ReadUserState(window, static_cast<size_t>(index));
        form.OnChange(control);
      }
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        ReadUserState(window, static_cast<size_t>(index));
        form.OnChange(control);
      }
      break;
    default:
      break;
  }
}

void TabChanged(Form& form, FormWindow& window, const NMHDR& header) {
  const int index = ControlIndexOf(window, header.hwndFrom);
  if (index < 0 || header.code != TCN_SELCHANGE) return;
  Control& control = form.controls[static_cast<size_t>(index)];
  if (control.kind != ControlKind::TabStrip) return;
  ReadUserState(window, static_cast<size_t>(index));
  form.OnClick(control);
}

// After an event the window shows what the event made of the model, unless it unloaded the form.
void SyncAfterEvent(HWND hwnd, const Form& form) {
  WindowData* data = DataOf(hwnd);
  if (data != nullptr && data->window.form == &form) SyncFormWindow(data->window);
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
    case WM_ACTIVATE:
      // The keyboard starts on the first control that takes it, so Enter and Space work at once.
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE)) {
          SetFocus(first);
          return 0;
        }
      }
      break;
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
      if (lParam != 0) {
        Command(form, window, wParam, lParam);
        SyncAfterEvent(hwnd, form);
      }
      return 0;
    case WM_NOTIFY:
      TabChanged(form, window, *reinterpret_cast<const NMHDR*>(lParam));
      SyncAfterEvent(hwnd, form);
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const int index = ControlIndexOf(window, item->hwndItem);
      if (index < 0) break;
      const Control& control = form.controls[static_cast<size_t>(index)];
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
      if (wParam >= kFirstTimerId && index < form.controls.size() &&
          form.controls[index].kind == ControlKind::Timer) {
        form.OnTimer(form.controls[index]);
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
