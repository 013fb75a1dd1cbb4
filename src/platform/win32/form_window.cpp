#include "platform/win32/form_window.h"

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace ombrix::win32 {

namespace {

bool SameBounds(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void SetTip(FormWindow& window, HWND child, const std::string& text) {
  if (window.tooltip == nullptr) {
    if (text.empty()) return;
    window.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.hwnd,
                                     nullptr, window.instance, nullptr);
    if (window.tooltip == nullptr) return;
  }
  std::wstring wide = Widen(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window.hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(child);
  tool.lpszText = wide.data();
  SendMessageW(window.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) SendMessageW(window.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SyncTimer(FormWindow& window, size_t index, const Control& control) {
  ControlWindow& state = window.controls[index];
  const int wanted = control.Enabled && control.Interval > 0 ? control.Interval : 0;
  if (wanted == state.timerInterval) return;
  const UINT_PTR id = kFirstTimerId + index;
  if (wanted > 0) {
    SetTimer(window.hwnd, id, static_cast<UINT>(wanted), nullptr);
  } else {
    KillTimer(window.hwnd, id);
  }
  state.timerInterval = wanted;
}

// Enter and Esc reach a form as the commands IDOK and IDCANCEL (the dialog keyboard
// interface sends them with the button of that id), so those buttons carry these ids.
int ChildWindowId(const Control& control, size_t index) {
  if (control.kind == ControlKind::Button && control.Default) return IDOK;
  if (control.kind == ControlKind::Button && control.Cancel) return IDCANCEL;
  return kFirstControlId + static_cast<int>(index);
}

// A group for the keyboard starts at every control but an option button that follows another.
bool StartsGroup(const Form& form, size_t index) {
  return index == 0 || form.Controls()[index].kind != ControlKind::OptionButton ||
         form.Controls()[index - 1].kind != ControlKind::OptionButton;
}

void SyncChild(FormWindow& window, size_t index, const Control& control) {
  ControlWindow& state = window.controls[index];
  const bool shown = window.form->Shows(control);
  if (state.hwnd == nullptr) {
    state.hwnd = CreateControlWindow(window.instance, window.hwnd, control,
                                     ChildWindowId(control, index), window.dpi, shown,
                                     StartsGroup(*window.form, index));
    if (state.hwnd == nullptr) return;
    state.caption = control.Caption;
    state.enabled = control.Enabled;
    state.visible = shown;
    state.bounds = control.bounds;
    state.foreColour = control.foreColour;
    state.backColour = control.backColour;
  }
  bool repaint = false;
  if (state.caption != control.Caption) {
    state.caption = control.Caption;
    SetWindowTextW(state.hwnd, Widen(control.Caption).c_str());
    repaint = true;
  }
  // Colours are read from the model whenever the control paints.
  if (state.foreColour != control.foreColour || state.backColour != control.backColour) {
    state.foreColour = control.foreColour;
    state.backColour = control.backColour;
    repaint = true;
  }
  if (state.enabled != control.Enabled) {
    state.enabled = control.Enabled;
    EnableWindow(state.hwnd, control.Enabled ? TRUE : FALSE);
  }
  if (state.visible != shown) {
    state.visible = shown;
    ShowWindow(state.hwnd, shown ? SW_SHOWNA : SW_HIDE);
  }
  if (!SameBounds(state.bounds, control.bounds)) {
    state.bounds = control.bounds;
    PlaceControlWindow(state.hwnd, control, window.dpi);
  }
  HFONT font = window.fonts.Get(control.font, window.dpi);
  if (state.font != font) {
    state.font = font;
    SendMessageW(state.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (state.tip != control.Tip) {
    state.tip = control.Tip;
    SetTip(window, state.hwnd, control.Tip);
  }
  SyncChoices(state.hwnd, state.choices, control);
  if (repaint) InvalidateRect(state.hwnd, nullptr, TRUE);
}

}  // namespace

std::optional<SIZE> TakeSizeChange(FormWindow& window) {
  const Form& form = *window.form;
  if (window.width == form.width && window.height == form.height) return std::nullopt;
  window.width = form.width;
  window.height = form.height;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window.hwnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window.hwnd, GWL_EXSTYLE));
  return WindowSizeForClient(Scale(form.width, window.dpi), Scale(form.height, window.dpi), style,
                             exStyle, window.dpi);
}

void SyncFormSize(FormWindow& window) {
  if (const std::optional<SIZE> size = TakeSizeChange(window)) {
    SetWindowPos(window.hwnd, nullptr, 0, 0, size->cx, size->cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void SyncFormWindow(FormWindow& window) {
  Form& form = *window.form;
  const bool outer = window.syncing;
  window.syncing = true;
  SyncFormSize(window);
  if (window.caption != form.Caption) {
    window.caption = form.Caption;
    SetWindowTextW(window.hwnd, Widen(form.Caption).c_str());
  }
  const COLORREF back = ResolveColour(form.backColour, COLOR_BTNFACE);
  if (back != window.back) {
    window.back = back;
    InvalidateRect(window.hwnd, nullptr, TRUE);
  }
  const std::span<const Control> controls = form.Controls();
  if (window.controls.size() < controls.size()) window.controls.resize(controls.size());
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& control = controls[i];
    if (HasWindow(control)) {
      SyncChild(window, i, control);
    } else {
      SyncTimer(window, i, control);
    }
  }
  window.syncing = outer;
}

void LayOutFormWindow(FormWindow& window) {
  if (window.form == nullptr) return;
  const std::span<const Control> controls = window.form->Controls();
  for (size_t i = 0; i < window.controls.size() && i < controls.size(); ++i) {
    ControlWindow& state = window.controls[i];
    if (state.hwnd == nullptr) continue;
    PlaceControlWindow(state.hwnd, controls[i], window.dpi);
    state.font = window.fonts.Get(controls[i].font, window.dpi);
    SendMessageW(state.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), TRUE);
  }
}

void StopTimers(FormWindow& window) {
  for (size_t i = 0; i < window.controls.size(); ++i) {
    if (window.controls[i].timerInterval == 0) continue;
    KillTimer(window.hwnd, kFirstTimerId + i);
    window.controls[i].timerInterval = 0;
  }
}

COLORREF BackgroundOf(FormWindow& window, const Control& control) {
  if (control.Container.empty() || window.form == nullptr) return window.back;
  if (!window.pageBack) {
    window.pageBack = window.back;
    for (size_t i = 0; i < window.controls.size() && i < window.form->Controls().size(); ++i) {
      if (window.form->Controls()[i].kind == ControlKind::TabStrip && window.controls[i].hwnd) {
        window.pageBack = TabBodyColour(window.controls[i].hwnd, window.back);
      }
    }
  }
  return *window.pageBack;
}

bool ReadUserState(FormWindow& window, size_t index, UINT code) {
  Form& form = *window.form;
  Control& control = form.Controls()[index];
  ControlWindow& state = window.controls[index];
  switch (control.kind) {
    case ControlKind::OptionButton:
      if (code != BN_CLICKED) return false;
      // An option checks itself and clears the others of its group.
      form.SelectOption(control);
      for (size_t i = 0; i < form.Controls().size() && i < window.controls.size(); ++i) {
        if (form.Controls()[i].kind == ControlKind::OptionButton) {
          window.controls[i].choices.value =
              SendMessageW(window.controls[i].hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        }
      }
      break;
    case ControlKind::TabStrip:
      if (code != TCN_SELCHANGE) return false;
      control.ListIndex = static_cast<int>(SendMessageW(state.hwnd, TCM_GETCURSEL, 0, 0));
      state.choices.listIndex = control.ListIndex;
      break;
    case ControlKind::TextBox: {
      if (code != EN_CHANGE) return false;
      std::wstring text(static_cast<size_t>(GetWindowTextLengthW(state.hwnd)) + 1, L'\0');
      text.resize(static_cast<size_t>(
          GetWindowTextW(state.hwnd, text.data(), static_cast<int>(text.size()))));
      control.Caption = Narrow(text);
      state.caption = control.Caption;
      break;
    }
    default:
      return ReadChoice(state.hwnd, state.choices, control, static_cast<WORD>(code));
  }
  return true;
}

int ControlIndexOf(const FormWindow& window, HWND child) {
  if (child == nullptr) return -1;
  for (size_t i = 0; i < window.controls.size(); ++i) {
    if (window.controls[i].hwnd == child) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ombrix::win32
