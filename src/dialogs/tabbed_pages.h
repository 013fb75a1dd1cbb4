// The tab strip "ctlTabbed" over the frames "frmPage(0)", "frmPage(1)" ... that both settings
// dialogs are built of: tab t shows page t.
#pragma once

#include <string>
#include <vector>

#include "ui/form.h"

namespace ombrix {

class Program;

// The tab strip at stripBounds and one borderless frame per tab at pageBounds.
std::vector<Control> TabbedPages(Rect stripBounds, Rect pageBounds, size_t pages);
// A control on page `page` of the tab strip.
Control OnPage(Control control, int page);
// The tabs' captions: the form's translations of "ctlTabbed(i)", or the built-in ones.
void SetTabCaptions(const Program& program, Form& form, const std::vector<std::string>& builtIn);
// Shows page i and hides the others; a negative i does nothing.
void ShowPage(Form& form, int i);

}  // namespace ombrix
