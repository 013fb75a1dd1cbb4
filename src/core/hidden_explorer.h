// Shell folder and browser windows that the program has hidden, in the order it hid them.
#pragma once

#include <vector>

#include "platform/types.h"

namespace ombrix {

class HiddenExplorerList {
 public:
  // Handle 0 is never listed; a listed handle stays listed once.
  void Add(Hwnd hwnd);
  void Remove(Hwnd hwnd);
  bool Contains(Hwnd hwnd) const;
  bool Empty() const { return handles_.empty(); }
  // Removes and returns the first handle; 0 when the list is empty.
  Hwnd TakeFirst();
  void Clear() { handles_.clear(); }

 private:
  std::vector<Hwnd> handles_;
};

}  // namespace ombrix
