// The order in which windows were reported as created, oldest first. A desktop's application
// list is sorted by it so that the most recently created windows come back on top.
#pragma once

#include <list>
#include <unordered_map>
#include <vector>

#include "core/records.h"

namespace ombrix {

class clsWinOrder {
 public:
  // Records hwnd as the newest window; a handle reported again moves to the end.
  void WindowCreated(Hwnd hwnd);
  void WindowDestroyed(Hwnd hwnd);
  // Forgets every window that is not among these (all the top-level windows there are), so
  // the list does not grow when destruction notices are missing or dropped.
  void KeepOnly(const std::vector<Hwnd>& existing);
  // Applications that own no tracked window keep their order at the front; the others follow,
  // ordered by their newest tracked window. Linear in tracked plus the desktop's windows.
  void OrderWindows(clsDesktop& oDesk) const;
  size_t Count() const { return colOrder_.size(); }

 private:
  std::list<Hwnd> colOrder_;
  std::unordered_map<Hwnd, std::list<Hwnd>::iterator> positions_;
};

}  // namespace ombrix
