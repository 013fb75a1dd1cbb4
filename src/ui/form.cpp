#include "ui/form.h"

namespace ombrix {

Control* Form::Find(const std::string& name, int index) {
  for (Control& control : controls) {
    if (control.Name == name && control.Index == index) return &control;
  }
  return nullptr;
}

Menu* Menu::Find(const std::string& name, int index) {
  if (Name == name && Index == index) return this;
  for (Menu& item : items) {
    if (Menu* found = item.Find(name, index)) return found;
  }
  return nullptr;
}

Menu* Menu::FindById(int commandId) {
  if (id != 0 && id == commandId) return this;
  for (Menu& item : items) {
    if (Menu* found = item.FindById(commandId)) return found;
  }
  return nullptr;
}

}  // namespace ombrix
