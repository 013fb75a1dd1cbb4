#include "dialogs/tabbed_pages.h"

#include "lang/form_translation.h"
#include "lang/translation.h"

namespace ombrix {

namespace {
constexpr const char* kTabs = "ctlTabbed";
constexpr const char* kPage = "frmPage";
}  // namespace

std::vector<Control> TabbedPages(Rect stripBounds, Rect pageBounds, size_t pages) {
  std::vector<Control> controls;
  Control strip{.Name = kTabs, .kind = ControlKind::TabStrip};
  strip.bounds = stripBounds;
  controls.push_back(strip);
  for (size_t i = 0; i < pages; ++i) {
    Control page{.Name = kPage, .Index = static_cast<int>(i), .kind = ControlKind::Frame};
    page.bounds = pageBounds;
    controls.push_back(page);
  }
  return controls;
}

Control OnPage(Control control, int page) {
  control.Container = ControlKey(kPage, page);
  return control;
}

void SetTabCaptions(const Program& program, Form& form, const std::vector<std::string>& builtIn) {
  Control* strip = form.Find(kTabs);
  if (strip == nullptr) return;
  const int chosen = strip->ListIndex;
  strip->Items.clear();
  for (size_t i = 0; i < builtIn.size(); ++i) {
    strip->Items.push_back(
        GetFormText(program, form.Name, ControlKey(kTabs, static_cast<int>(i)), builtIn[i]));
  }
  strip->ListIndex = chosen;
}

void ShowPage(Form& form, int i) {
  if (i < 0) return;
  for (Control& control : form.controls) {
    if (control.Name == kPage) control.Visible = control.Index == i;
  }
  if (Control* strip = form.Find(kTabs)) strip->ListIndex = i;
}

}  // namespace ombrix
