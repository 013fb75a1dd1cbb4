#include "platform/win32/form_host.h"

#include <cwchar>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/form_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "resource.h"
#include "ui/form.h"

namespace ombrix::win32 {

namespace {

// The host is kept beside the form window's state in the window's user data.
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
  const PaintColours colours =
      ControlPaintColours(window.form->controls[static_cast<size_t>(index)], window.back);
  if (!colours.custom) return DefWindowProcW(window.hwnd, message, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, colours.text);
  SetBkColor(dc, colours.back);
  return reinterpret_cast<LRESULT>(window.brushes.Get(colours.fill));
}

// Clicks of buttons and links; typing in text boxes goes into the model at once.
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
      if (code == BN_CLICKED) form.OnClick(control);  // STN_CLICKED has the same value
      break;
    case ControlKind::TextBox:
      if (code == EN_CHANGE) {
        HWND child = reinterpret_cast<HWND>(lParam);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
        control.Caption = Narrow(text);
        window.controls[static_cast<size_t>(index)].caption = control.Caption;
      }
      break;
    default:
      break;
  }
}

// Every event handler may unload the form, which destroys this window: return at once after.
LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* data = static_cast<WindowData*>(create->lpCreateParams);
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
      if (lParam != 0) Command(form, window, wParam, lParam);
      return 0;
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

// Client size at the window's DPI; centred forms go to the middle of the primary monitor's
// work area.
void SizeAndPlace(HWND hwnd, const Form& form, DWORD style, DWORD exStyle, UINT dpi) {
  const SIZE size =
      WindowSizeForClient(Scale(form.width, dpi), Scale(form.height, dpi), style, exStyle, dpi);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  int x = 0;
  int y = 0;
  if (form.centred) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - size.cx) / 2;
    y = work.top + (work.bottom - work.top - size.cy) / 2;
  } else {
    flags |= SWP_NOMOVE;
  }
  SetWindowPos(hwnd, nullptr, x, y, size.cx, size.cy, flags);
}

}  // namespace

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

  auto* data = new WindowData;
  data->host = this;
  data->window.form = &form;
  data->window.instance = instance_;
  data->window.caption = form.Caption;
  data->window.back = ResolveColour(form.backColour, COLOR_BTNFACE);
  HWND hwnd =
      CreateWindowExW(exStyle, kFormClassName, Widen(form.Caption).c_str(), style, CW_USEDEFAULT,
                      CW_USEDEFAULT, form.width, form.height, nullptr, nullptr, instance_, data);
  if (hwnd == nullptr) {
    delete data;
    return 0;
  }
  data->window.dpi = WindowDpi(hwnd);
  SizeAndPlace(hwnd, form, style, exStyle, data->window.dpi);

  form.hwnd = FromHwnd(hwnd);
  form.OnLoad();
  // The load event may have unloaded the form already.
  if (form.hwnd == 0 || DataOf(hwnd) == nullptr) return 0;
  SyncFormWindow(DataOf(hwnd)->window);
  return form.hwnd;
}

void Win32FormHost::Show(Form& form) {
  if (form.hwnd != 0) ShowWindow(ToHwnd(form.hwnd), SW_SHOWNOACTIVATE);
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
  SyncFormWindow(data->window);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace ombrix::win32
