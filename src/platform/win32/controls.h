// The one place where the controls of the form model become child windows: window class,
// styles, position at a DPI, and the colours they are painted with.
#pragma once

#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

// Timers and frames that only group controls have no window; every other control has one.
bool HasWindow(const Control& control);
// Creates the child window of control, with the control's caption, state and position.
// startsGroup marks the first control of a group for the keyboard (a run of option buttons
// is one group).
HWND CreateControlWindow(HINSTANCE instance, HWND parent, const Control& control, int id, UINT dpi,
                         bool shown, bool startsGroup);
// Moves the child window to the control's bounds, at dpi.
void PlaceControlWindow(HWND child, const Control& control, UINT dpi);

// The colours of a WM_CTLCOLOR* answer. When custom is false the control keeps the system's
// own painting; fill is the brush colour (the line colour for a coloured Line).
struct PaintColours {
  bool custom = false;
  COLORREF text = 0;
  COLORREF back = 0;
  COLORREF fill = 0;
};
PaintColours ControlPaintColours(const Control& control, COLORREF formBack);
// The colour of a tab strip's body as the system draws it (white in some visual styles, the
// face colour in others), which the controls on its pages take as their background.
COLORREF TabBodyColour(HWND tab, COLORREF fallback);

// Labels with a border or an inner margin are drawn by the host (a STATIC draws neither).
bool IsPaintedLabel(const Control& control);
// Draws such a label into item: background, a one-pixel border in the text colour, the text
// inside the margin (scaled to dpi), centred vertically when it is one line.
void PaintLabel(const DRAWITEMSTRUCT& item, const Control& control, const PaintColours& colours,
                HBRUSH back, HBRUSH border, HFONT font, UINT dpi);

}  // namespace ombrix::win32
