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

// What became of a request to hide a window.
enum class HideOutcome { Hidden, Posted, Refused };

// What became of a request to end a process.
enum class Termination { Done, NotOpened, Failed, Critical };

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
// Requests other programs send to the main window; the reply is one of `reply` below.
constexpr uint32_t kGoToDesktop = 1064;      // wParam: desktop 1..9
constexpr uint32_t kMoveApplication = 1065;  // wParam: a window; lParam: desktop 1..9
constexpr uint32_t kCurrentDesktop = 1066;   // reply: the current desktop 1..9
constexpr uint32_t kExitProgram = 1067;
constexpr uint32_t kStepDesktop = 1068;      // wParam: 1 the next desktop, -1 the previous one;
                                             // reply: the desktop entered 1..9
constexpr uint32_t kSubscribe = 1069;        // wParam: a window to tell of every desktop change
constexpr uint32_t kUnsubscribe = 1070;      // wParam: a window told so far
}  // namespace msg

// Replies to the requests of other programs. 0 is what a caller gets from a window that did
// not answer, so no reply is 0.
namespace reply {
constexpr int32_t kDone = 1;
constexpr int32_t kBusy = -1;           // a switch, a move or shut-down runs: try again shortly
constexpr int32_t kUserBusy = -2;       // a dialog, message box or tray menu is open
constexpr int32_t kBadDesktop = -3;     // the desktop is not 1..9
constexpr int32_t kUnknownWindow = -4;  // no desktop holds an application with that window
constexpr int32_t kOtherDesktop = -5;   // the window's application is on another desktop
constexpr int32_t kNotSwitched = -6;    // the desktop's password was not given
constexpr int32_t kPasswordProtected = -7;  // the program password guards exit: the user exits
constexpr int32_t kSubscribersFull = -8;    // as many windows as there may be are told already
}  // namespace reply

namespace sw {
constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShow = 5;
}  // namespace sw

// Why the main window is asked to close.
enum class UnloadReason : int16_t {
  FormControlMenu = 0,  // closed from the window frame or by WM_CLOSE
  FormCode = 1,         // the program unloads itself
  AppWindows = 2,       // the user logs off or Windows shuts down
  ExitRequest = 3,      // another program sent the exit request
};

}  // namespace ombrix
