#include "events/subscribers.h"

#include <algorithm>

#include "platform/platform.h"

namespace ombrix {

int32_t DesktopSubscribers::Subscribe(WindowSystem& windows, Hwnd hwnd) {
  if (!windows.IsWindow(hwnd)) return reply::kUnknownWindow;
  if (std::find(windows_.begin(), windows_.end(), hwnd) != windows_.end()) return reply::kDone;
  if (windows_.size() >= kMaxSubscribers) DropGone(windows);
  if (windows_.size() >= kMaxSubscribers) return reply::kSubscribersFull;
  if (message_ == 0) message_ = windows.RegisterMessage(kDesktopChangedMessage);
  if (message_ == 0) return reply::kBusy;
  windows_.push_back(hwnd);
  return reply::kDone;
}

int32_t DesktopSubscribers::Unsubscribe(Hwnd hwnd) {
  std::erase(windows_, hwnd);
  return reply::kDone;
}

void DesktopSubscribers::NotifyDesktopChanged(WindowSystem& windows, int16_t entered,
                                              int16_t left) {
  // A post fails for a window that is gone, but also for one whose queue is full: only the
  // first is dropped.
  std::erase_if(windows_, [&](Hwnd hwnd) {
    return !windows.PostMessage(hwnd, message_, entered, left) && !windows.IsWindow(hwnd);
  });
}

void DesktopSubscribers::DropGone(WindowSystem& windows) {
  std::erase_if(windows_, [&](Hwnd hwnd) { return !windows.IsWindow(hwnd); });
}

}  // namespace ombrix
