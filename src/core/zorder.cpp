#include "core/zorder.h"

#include <unordered_set>
#include <vector>

namespace ombrix {

void clsWinOrder::WindowCreated(Hwnd hwnd) {
  if (hwnd == 0) return;
  WindowDestroyed(hwnd);
  positions_[hwnd] = colOrder_.insert(colOrder_.end(), hwnd);
}

void clsWinOrder::WindowDestroyed(Hwnd hwnd) {
  if (hwnd == 0) return;
  auto found = positions_.find(hwnd);
  if (found == positions_.end()) return;
  colOrder_.erase(found->second);
  positions_.erase(found);
}

void clsWinOrder::KeepOnly(const std::vector<Hwnd>& existing) {
  if (colOrder_.empty()) return;
  const std::unordered_set<Hwnd> alive(existing.begin(), existing.end());
  for (auto it = colOrder_.begin(); it != colOrder_.end();) {
    if (alive.count(*it) != 0) {
      ++it;
      continue;
    }
    positions_.erase(*it);
    it = colOrder_.erase(it);
  }
}

void clsWinOrder::OrderWindows(clsDesktop& oDesk) const {
  const int count = oDesk.opi.Count();
  if (count == 0 || colOrder_.empty()) return;

  // The first application holding each handle, as a position lookup would find it.
  std::unordered_map<Hwnd, int> owner;
  for (int a = 1; a <= count; ++a) {
    for (const auto& win : oDesk.opi[a].oWin) owner.emplace(win->lHwnd, a);
  }
  // Position in the tracker of each application's newest tracked window.
  std::vector<size_t> newest(static_cast<size_t>(count) + 1, 0);
  size_t order = 0;
  for (Hwnd hwnd : colOrder_) {
    ++order;
    auto found = owner.find(hwnd);
    if (found != owner.end()) newest[static_cast<size_t>(found->second)] = order;
  }

  List<clsPI> sorted;
  for (int a = 1; a <= count; ++a) {
    if (newest[static_cast<size_t>(a)] == 0) sorted.Add(oDesk.opi.Item(a));
  }
  order = 0;
  for (Hwnd hwnd : colOrder_) {
    ++order;
    auto found = owner.find(hwnd);
    if (found != owner.end() && newest[static_cast<size_t>(found->second)] == order) {
      sorted.Add(oDesk.opi.Item(found->second));
    }
  }
  oDesk.opi = std::move(sorted);
}

}  // namespace ombrix
