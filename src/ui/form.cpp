#include "ui/form.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/text.h"
#include "lang/form_translation.h"

namespace ombrix {

std::string ComboText(const Control& combo) {
  if (combo.ListIndex < 0 || static_cast<size_t>(combo.ListIndex) >= combo.Items.size()) return "";
  return combo.Items[static_cast<size_t>(combo.ListIndex)];
}

bool SetComboText(Control& combo, const std::string& text) {
  const std::string wanted = LowerText(text);
  for (size_t i = 0; i < combo.Items.size(); ++i) {
    if (LowerText(combo.Items[i]) == wanted) {
      combo.ListIndex = static_cast<int>(i);
      return true;
    }
  }
  combo.ListIndex = -1;
  return false;
}

std::string FitText(const Control& box, const std::string& text) {
  if (box.MaxLength <= 0) return text;
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // Every byte but a UTF-8 continuation byte starts a character.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 &&
        ++characters > static_cast<size_t>(box.MaxLength)) {
      return text.substr(0, i);
    }
  }
  return text;
}

ControlId Form::Add(Control control) {
  const ControlId id(controls_.size());
  control.id = id;
  controls_.push_back(std::move(control));
  return id;
}

bool Form::Shows(const Control& control) const {
  const Control* current = &control;
  // A frame chain longer than the form is a loop, and shows nothing.
  for (size_t depth = 0; depth <= controls_.size(); ++depth) {
    if (!current->Visible) return false;
    if (current->Container.empty()) return true;
    const Control* container = nullptr;
    for (const Control& candidate : controls_) {
      if (ControlKey(candidate) == current->Container) container = &candidate;
    }
    if (container == nullptr) return true;
    current = container;
  }
  return false;
}

void Form::SelectOption(Control& option) {
  auto self = std::find_if(controls_.begin(), controls_.end(),
                           [&](const Control& c) { return &c == &option; });
  if (self == controls_.end()) return;
  auto first = self;
  while (first != controls_.begin() && std::prev(first)->kind == ControlKind::OptionButton) --first;
  for (auto it = first; it != controls_.end() && it->kind == ControlKind::OptionButton; ++it) {
    it->Value = &*it == &option;
  }
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
