// FormHost that renders any form of the form model as a top-level window with child
// controls, sized for the monitor's DPI, and routes clicks, timers and close requests to the
// form's events.
#pragma once

#include <set>

#include "platform/platform.h"
#include "platform/win32/fonts.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

constexpr const wchar_t* kFormClassName = L"OmbrixForm";

// True for the top-level windows of forms.
bool IsFormWindow(HWND hwnd);
// Ctrl+Tab (backwards: Ctrl+Shift+Tab) in a form window: the next tab of its tab strip, as a
// click on it would choose it. False when the form has no tab strip to step.
bool StepTabs(HWND form, bool backwards);

class Win32FormHost : public FormHost {
 public:
  explicit Win32FormHost(HINSTANCE instance);
  // Destroys the windows of forms still loaded, without calling their forms.
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  Hwnd Load(Form& form) override;
  // Shows without activating: a splash must not take the focus. The window takes the form's
  // current state, and a centred form that comes on screen goes to the middle of the primary
  // monitor's work area.
  void Show(Form& form) override;
  void Hide(Form& form) override;
  // May be called from inside the form's own events.
  void Unload(Form& form) override;
  void Refresh(Form& form) override;
  void RemoveCloseMenu(Form& form) override;
  // In pixels at 96 DPI, as the label painter draws the text.
  Size MeasureText(const Font& font, const std::string& text) override;
  // Every form with a window, in no particular order.
  std::vector<Form*> LoadedForms() override;

  // The form window procedure keeps this set in step with the windows that exist.
  std::set<HWND> windows;

 private:
  HINSTANCE instance_;
  FontCache measureFonts_;
};

}  // namespace ombrix::win32
