// What the host keeps for one form window: the form, the child window of each control (in
// the order of form.Controls()) with the state last given to it, fonts and brushes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/colours.h"
#include "platform/win32/fonts.h"
#include "platform/win32/list_controls.h"
#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

// Child window ids and timer ids are these bases plus the control's position in the form.
constexpr int kFirstControlId = 1000;
constexpr UINT_PTR kFirstTimerId = 1;

struct ControlWindow {
  HWND hwnd = nullptr;
  std::string caption;
  std::string tip;
  bool enabled = true;
  bool visible = true;
  Rect bounds;
  uint32_t foreColour = kDefaultColour;
  uint32_t backColour = kDefaultColour;
  HFONT font = nullptr;
  int timerInterval = 0;  // of the running timer; 0 when stopped
  ChoiceState choices;    // lists, combo boxes, tab strips, check boxes and option buttons
};

struct FormWindow {
  Form* form = nullptr;  // cleared when the form is unloaded, before its window goes
  HWND hwnd = nullptr;
  HINSTANCE instance = nullptr;
  UINT dpi = 96;
  int width = -1;  // the model's client size last given to the window
  int height = -1;
  bool placed = false;  // a centred form is placed when it is first shown
  std::string caption;
  COLORREF back = 0;
  std::vector<ControlWindow> controls;
  HWND tooltip = nullptr;
  std::optional<COLORREF> pageBack;  // the tab strip's body, once asked for
  FontCache fonts;
  BrushCache brushes;

  // True while the window is given the model's state: what the controls report then is the
  // host's own doing, not the user's.
  bool syncing = false;
  ItemDrag drag;
  HWND focus = nullptr;  // the control that had the keyboard focus when the form went inactive
};

// Brings the window, its child windows and its timers up to date with the form; creates
// what is missing.
void SyncFormWindow(FormWindow& window);
// Gives the window the form's client size at its DPI when the form's size has changed.
// The window's new outer size when the form's size changed since the window last took it
// (which it now counts as taken); nothing otherwise.
std::optional<SIZE> TakeSizeChange(FormWindow& window);
void SyncFormSize(FormWindow& window);
// Places every child window and gives it its font again, after a DPI change.
void LayOutFormWindow(FormWindow& window);
void StopTimers(FormWindow& window);
// The background of a control: the form's, or the tab strip's body for a control on a page.
COLORREF BackgroundOf(FormWindow& window, const Control& control);
// The position of the control whose child window is child, or -1.
int ControlIndexOf(const FormWindow& window, HWND child);
// Takes what the user did to a control into the model before its event runs, for the
// notification code the control sent: the check of a check box or an option button (which
// clears the others of its group), the choice of a list, combo box or tab strip, the text of a
// text box. False when the code reports nothing the user did.
bool ReadUserState(FormWindow& window, size_t index, UINT code);

}  // namespace ombrix::win32
