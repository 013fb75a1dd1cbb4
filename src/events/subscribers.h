// Windows of other programs that are told of every desktop change (a status bar, a widget), so
// that they need not ask again and again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class WindowSystem;

// The registered message each subscriber is posted after a desktop change: wParam the desktop
// entered, lParam the one left.
inline constexpr const char* kDesktopChangedMessage = "OmbrixDesktopChanged";

class DesktopSubscribers {
 public:
  // Far more than any real use: a program that subscribes window after window is refused.
  static constexpr size_t kMaxSubscribers = 64;

  // The replies of the subscribe and unsubscribe requests. A window subscribed already stays
  // subscribed once; unsubscribing one that is not subscribed does nothing.
  int32_t Subscribe(WindowSystem& windows, Hwnd hwnd);
  int32_t Unsubscribe(Hwnd hwnd);
  // Posts the news to every subscriber, never sends it: a subscriber that hangs holds up
  // nothing. Windows that are gone are dropped.
  void NotifyDesktopChanged(WindowSystem& windows, int16_t entered, int16_t left);

 private:
  void DropGone(WindowSystem& windows);

  std::vector<Hwnd> windows_;
  uint32_t message_ = 0;
};

}  // namespace ombrix
