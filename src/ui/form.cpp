#include "ui/form.h"

#include <string_view>

namespace ombrix {

Control* Form::Find(const std::string& name, int index) {
  for (Control& control : controls) {
    if (control.Name == name && control.Index == index) return &control;
  }
  return nullptr;
}

const ListItem* SelectedItem(const Control& list) {
  if (list.ListIndex < 0 || static_cast<size_t>(list.ListIndex) >= list.ListItems.size()) {
    return nullptr;
  }
  return &list.ListItems[static_cast<size_t>(list.ListIndex)];
}

Menu* Menu::Find(const std::string& name, int index) {
  if (Name == name && Index == index) return this;
  for (Menu& item : items) {
    if (Menu* found = item.Find(name, index)) return found;
  }
  return nullptr;
}

const Menu* Menu::Find(const std::string& name, int index) const {
  return const_cast<Menu*>(this)->Find(name, index);
}

Menu* Menu::FindById(int commandId) {
  if (id != 0 && id == commandId) return this;
  for (Menu& item : items) {
    if (Menu* found = item.FindById(commandId)) return found;
  }
  return nullptr;
}

std::optional<std::string> SeparatorLabel(const std::string& caption) {
  static constexpr std::string_view kHead = "[sep][";
  if (caption.size() < kHead.size() + 1 || caption.compare(0, kHead.size(), kHead) != 0 ||
      caption.back() != ']') {
    return std::nullopt;
  }
  return caption.substr(kHead.size(), caption.size() - kHead.size() - 1);
}

}  // namespace ombrix
