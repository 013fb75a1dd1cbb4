// Window and icon handles cross the boundary as 32-bit values; the system guarantees that
// user handles fit, and turning them back sign-extends them.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

inline HWND ToHwnd(Hwnd hwnd) { return reinterpret_cast<HWND>(static_cast<intptr_t>(hwnd)); }
inline Hwnd FromHwnd(HWND hwnd) { return static_cast<Hwnd>(reinterpret_cast<intptr_t>(hwnd)); }

inline HICON ToHicon(IconHandle icon) {
  return reinterpret_cast<HICON>(static_cast<intptr_t>(icon));
}
inline IconHandle FromHicon(HICON icon) {
  return static_cast<IconHandle>(reinterpret_cast<intptr_t>(icon));
}

}  // namespace ombrix::win32
