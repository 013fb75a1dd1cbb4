// A test acting as the user on a form of the simulated host: each helper changes a control as
// the real host does for the user's input, then raises the event the host raises.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"

namespace ombrix {

inline Control& Ctl(Form& form, const std::string& name, int index = -1) {
  Control* control = form.Find(name, index);
  if (control == nullptr) throw std::logic_error(form.Name + " has no control " + name);
  return *control;
}

// Buttons and check boxes; a disabled control cannot be clicked.
inline void Click(Form& form, const std::string& name) {
  Control& control = Ctl(form, name);
  if (!control.Enabled) {
    ADD_FAILURE() << name << " is disabled";
    return;
  }
  if (control.kind == ControlKind::CheckBox) control.Value = !control.Value;
  form.OnClick(control);
}

inline void SetCheck(Form& form, const std::string& name, bool checked) {
  if (Ctl(form, name).Value != checked) Click(form, name);
}

inline void Type(Form& form, const std::string& name, const std::string& text) {
  Control& box = Ctl(form, name);
  box.Caption = text;
  form.OnChange(box);
}

// Chooses an item of a combo box or a list by its position.
inline void Pick(Form& form, const std::string& name, int position, int index = -1) {
  Control& control = Ctl(form, name, index);
  control.ListIndex = position;
  if (control.kind == ControlKind::ComboBox) {
    form.OnChange(control);
  } else {
    form.OnClick(control);
  }
}

inline std::vector<std::string> Texts(const Control& list) {
  std::vector<std::string> texts;
  for (const ListItem& item : list.ListItems) texts.push_back(item.Text);
  return texts;
}

}  // namespace ombrix
