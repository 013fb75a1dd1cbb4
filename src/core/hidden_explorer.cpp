#include "core/hidden_explorer.h"

#include <algorithm>

namespace ombrix {

void HiddenExplorerList::Add(Hwnd hwnd) {
  if (hwnd != 0 && !Contains(hwnd)) handles_.push_back(hwnd);
}

void HiddenExplorerList::Remove(Hwnd hwnd) { std::erase(handles_, hwnd); }

bool HiddenExplorerList::Contains(Hwnd hwnd) const {
  return std::find(handles_.begin(), handles_.end(), hwnd) != handles_.end();
}

Hwnd HiddenExplorerList::TakeFirst() {
  if (handles_.empty()) return 0;
  const Hwnd first = handles_.front();
  handles_.erase(handles_.begin());
  return first;
}

}  // namespace ombrix
