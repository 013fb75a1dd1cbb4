// The tab strip "ctlTabbed" over the frames "frmPage(0)", "frmPage(1)" ... that both settings
// dialogs are built of: tab t shows page t.
#pragma once

#include <string>
#include <vector>

#include "ui/form.h"

namespace ombrix {

class Program;

// A control on page `page` of the tab strip.
Control OnPage(Control control, int page);

class TabbedPages {
 public:
  // Adds the strip at stripBounds and one borderless frame per tab at pageBounds; the controls
  // on the pages are added before, so that the frames lie beneath them.
  void Add(Form& form, Rect stripBounds, Rect pageBounds, std::vector<std::string> captions);
  // The strip: a click on it chooses the page of its chosen tab.
  bool IsStrip(const Control& control) const { return control == strip_; }
  // The tabs' captions: the form's translations of "ctlTabbed(i)", or the built-in ones.
  void SetCaptions(const Program& program, Form& form) const;
  // Shows page i and hides the others; a negative i does nothing.
  void Show(Form& form, int i) const;

 private:
  ControlId strip_;
  std::vector<ControlId> pages_;
  std::vector<std::string> captions_;
};

}  // namespace ombrix
