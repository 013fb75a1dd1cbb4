#include "lang/form_translation.h"

#include "app/program.h"
#include "lang/translation.h"

namespace ombrix {

bool HasTranslatedCaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Button:
    case ControlKind::Link:
      return true;
    default:
      return false;
  }
}

namespace {

std::string TrimLower(const std::string& caption) {
  const size_t first = caption.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = caption.find_last_not_of(' ');
  return LowerText(caption.substr(first, last - first + 1));
}

void AddMenu(std::unordered_map<std::string, std::string>& table, const Menu& menu) {
  table.emplace(CutComment(TrimLower(menu.Caption)), ControlKey(menu.Name, menu.Index));
  for (const Menu& item : menu.items) AddMenu(table, item);
}

}  // namespace

std::string ControlKey(const std::string& name, int index) {
  return index >= 0 ? name + "(" + std::to_string(index) + ")" : name;
}

std::string ControlKey(const Control& control) { return ControlKey(control.Name, control.Index); }

void TranslateForm(const Program& program, Form& form) {
  const std::string caption = GetFormText(program, form.Name, form.Name, "");
  if (!caption.empty()) form.Caption = caption;
  for (Control& control : form.Controls()) {
    const std::string key = ControlKey(control);
    if (HasTranslatedCaption(control.kind)) {
      const std::string text = GetFormText(program, form.Name, key, "");
      if (!text.empty()) control.Caption = text;
    }
    const std::string tip = GetFormText(program, form.Name, key + ".Tip", "");
    if (!tip.empty()) control.Tip = tip;
  }
}

void clsMenuTranslation::InitTranslationTableByForm(const Menu& menus) {
  AddMenu(captionToKey_, menus);
}

std::string clsMenuTranslation::GetMenuTranslation(const Program& program,
                                                   const std::string& sFrmName,
                                                   const std::string& sCaptionOrg) const {
  auto found = captionToKey_.find(TrimLower(sCaptionOrg));
  if (found == captionToKey_.end()) return sCaptionOrg;
  return GetSectionText(program, sFrmName, found->second, sCaptionOrg);
}

}  // namespace ombrix
