// Plain value types shared by the logic and both platform sides.
#pragma once

#include <cstdint>

namespace ombrix {

// A window handle as the system guarantees it for user objects: 32 significant bits,
// sign-extended when it is turned back into a native handle.
using Hwnd = int32_t;
// Icons are user objects as well, so the same width holds for them.
using IconHandle = int32_t;

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
};

// A program file's four-part version, as its version resource gives it.
struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  uint16_t revision = 0;
};

struct ThreadProcess {
  uint32_t threadId = 0;
  uint32_t processId = 0;
};

// Window messages and constants the logic speaks about by number.
namespace msg {
constexpr uint32_t kClose = 16;            // WM_CLOSE
constexpr uint32_t kQueryEndSession = 17;  // WM_QUERYENDSESSION
constexpr uint32_t kEndSession = 22;       // WM_ENDSESSION
constexpr uint32_t kSettingChange = 26;    // WM_SETTINGCHANGE
constexpr uint32_t kLButtonUp = 514;
constexpr uint32_t kRButtonUp = 517;
constexpr uint32_t kHotKeyAlt = 1025;
constexpr uint32_t kHotKeyCtrl = 1026;
constexpr uint32_t kHotKeyWin = 1027;
constexpr uint32_t kWindowCreated = 1034;
constexpr uint32_t kWindowDestroyed = 1035;
constexpr uint32_t kWindowActivated = 1036;
constexpr uint32_t kHiddenShellQuery = 1037;
constexpr uint32_t kShowTrayAgain = 1044;
}  // namespace msg

namespace sw {
constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShow = 5;
}  // namespace sw

// Reason codes of a close request.
namespace unload {
constexpr int16_t kFormControlMenu = 0;  // closed from the window frame or by WM_CLOSE
constexpr int16_t kFormCode = 1;         // the program unloads itself
constexpr int16_t kAppWindows = 2;       // the user logs off or Windows shuts down
}  // namespace unload

}  // namespace ombrix
