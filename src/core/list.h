// An ordered list addressed by 1-based positions. Lookups that find nothing give -1 or no
// object; removing an element closes the gap. Elements are shared so that a record taken out
// of one list lives on while something else still refers to it.
#pragma once

#include <memory>
#include <vector>

namespace ombrix {

template <typename T>
class List {
 public:
  using Ptr = std::shared_ptr<T>;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // The element at a 1-based position; no object outside 1..Count().
  Ptr Item(int position) const {
    if (position < 1 || position > Count()) return nullptr;
    return items_[static_cast<size_t>(position - 1)];
  }
  T& operator[](int position) const { return *items_[static_cast<size_t>(position - 1)]; }

  void Add(Ptr item) { items_.push_back(std::move(item)); }
  // Inserts so that the new element takes the 1-based position; past the end appends.
  void Insert(int position, Ptr item) {
    if (position < 1) position = 1;
    if (position > Count()) {
      items_.push_back(std::move(item));
    } else {
      items_.insert(items_.begin() + (position - 1), std::move(item));
    }
  }
  // Removes the element at a 1-based position; positions outside the list change nothing.
  Ptr Remove(int position) {
    Ptr removed = Item(position);
    if (removed) items_.erase(items_.begin() + (position - 1));
    return removed;
  }
  void Clear() { items_.clear(); }

  // The 1-based position of the first element that satisfies pred, or -1.
  template <typename Pred>
  int FindPosition(Pred pred) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (pred(*items_[i])) return static_cast<int>(i) + 1;
    }
    return -1;
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<Ptr> items_;
};

}  // namespace ombrix
