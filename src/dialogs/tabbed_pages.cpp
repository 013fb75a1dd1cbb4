#include "dialogs/tabbed_pages.h"

#include "lang/form_translation.h"
#include "lang/translation.h"

namespace ombrix {

namespace {
constexpr const char* kTabs = "ctlTabbed";
constexpr const char* kPage = "frmPage";
}  // namespace

Control OnPage(Control control, int page) {
  control.Container = ControlKey(kPage, page);
  return control;
}

void TabbedPages::Add(Form& form, Rect stripBounds, Rect pageBounds,
                      std::vector<std::string> captions) {
  captions_ = std::move(captions);
  strip_ = form.Add({.Name = kTabs, .kind = ControlKind::TabStrip, .bounds = stripBounds});
  for (size_t i = 0; i < captions_.size(); ++i) {
    pages_.push_back(form.Add({.Name = kPage,
                               .Index = static_cast<int>(i),
                               .kind = ControlKind::Frame,
                               .bounds = pageBounds}));
  }
}

void TabbedPages::SetCaptions(const Program& program, Form& form) const {
  Control& strip = form.At(strip_);
  const int chosen = strip.ListIndex;
  strip.Items.clear();
  for (size_t i = 0; i < captions_.size(); ++i) {
    strip.Items.push_back(
        GetFormText(program, form.Name, ControlKey(kTabs, static_cast<int>(i)), captions_[i]));
  }
  strip.ListIndex = chosen;
}

void TabbedPages::Show(Form& form, int i) const {
  if (i < 0) return;
  for (size_t page = 0; page < pages_.size(); ++page) {
    form.At(pages_[page]).Visible = static_cast<int>(page) == i;
  }
  form.At(strip_).ListIndex = i;
}

}  // namespace ombrix
