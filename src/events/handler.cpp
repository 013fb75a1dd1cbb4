#include "events/handler.h"

#include "app/lifecycle.h"
#include "app/program.h"
#include "core/discovery.h"
#include "events/hotkeys.h"
#include "events/keys.h"
#include "events/window_notices.h"
#include "switching/move.h"
#include "switching/switch.h"
#include "ui/tray_icon.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

struct HotKeySettings {
  bool shiftDigits;
  bool digits;
  bool arrows;
};

HotKeySettings SettingsFor(const Settings& s, uint32_t uMsg) {
  switch (uMsg) {
    case msg::kHotKeyAlt: return {s.bShiftAltNumbers, s.bAltNumbers, s.bAlt};
    case msg::kHotKeyCtrl: return {s.bShiftCtrlNumbers, s.bCtrlNumbers, s.bCtrl};
    default: return {s.bShiftWinNumbers, s.bWinNumbers, s.bWin};
  }
}

MessageResult HandleHotKey(Program& program, uint32_t uMsg, int32_t key) {
  MessageResult result{.bHandled = true};
  switch (program.busy.HotKeyAnswer()) {
    case InputAnswer::BringForward:
      BringProgramToFront(program);
      return result;
    case InputAnswer::Drop:
      return result;
    case InputAnswer::Run:
      break;
  }
  const BusyState::Guard hotKey = program.busy.Enter(Busy::HotKey);
  const HotKeySettings enabled = SettingsFor(program.settings, uMsg);
  if (IsKeyDown(program, vk::kShift)) {
    if (vk::IsDigit(key) && enabled.shiftDigits) result.bHandled = MoveByKey(program, key);
  } else if ((vk::IsDigit(key) && enabled.digits) || (vk::IsArrow(key) && enabled.arrows)) {
    result.bHandled = SwitchByKey(program, key);
  }
  return result;
}

bool IsDesktop(int32_t n) { return n >= 1 && n <= kDesktopCount; }

int32_t GoToDesktop(Program& program, int32_t desk) {
  if (!IsDesktop(desk)) return reply::kBadDesktop;
  const int16_t target = static_cast<int16_t>(desk);
  SwitchDesktop(program, target);
  return program.desk.iCurDesk == target ? reply::kDone : reply::kNotSwitched;
}

// The next or the previous desktop, as Win + Right or Left; the reply is the desktop entered.
int32_t StepDesktop(Program& program, int32_t step) {
  if (step != 1 && step != -1) return reply::kBadDesktop;
  const int16_t from = program.desk.iCurDesk;
  SwitchByKey(program, step > 0 ? vk::kRight : vk::kLeft);
  if (program.desk.iCurDesk != from) return program.desk.iCurDesk;
  const bool beyondTheEnd = !IsDesktop(from + step);
  return beyondTheEnd && !program.settings.bCicleDesktops ? reply::kBadDesktop
                                                          : reply::kNotSwitched;
}

int32_t MoveApplicationOfWindow(Program& program, Hwnd hwnd, int32_t desk) {
  if (!IsDesktop(desk)) return reply::kBadDesktop;
  if (MoveApplicationOf(program, hwnd, static_cast<int16_t>(desk))) return reply::kDone;
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    if (program.desk.Desk(d).GetProcessIdxByHandle(hwnd) != -1) return reply::kOtherDesktop;
  }
  return reply::kUnknownWindow;
}

// A switch or a move asked for by another program runs as its hot-key does.
MessageResult HandleRequest(Program& program, uint32_t uMsg, int32_t wParam, int32_t lParam) {
  MessageResult result{.bHandled = true};
  // Asking, and being told of changes, touch no desktop: always answered, even while busy.
  switch (uMsg) {
    case msg::kCurrentDesktop:
      result.lReturn = program.desk.iCurDesk;
      return result;
    case msg::kSubscribe:
      result.lReturn = program.subscribers.Subscribe(program.platform.windows, wParam);
      return result;
    case msg::kUnsubscribe:
      result.lReturn = program.subscribers.Unsubscribe(wParam);
      return result;
    default:
      break;
  }
  result.lReturn = program.busy.RequestRefusal();
  if (result.lReturn != 0) return result;
  if (uMsg == msg::kExitProgram) {
    // The password keeps a passer-by from bringing every desktop's windows on screen; an
    // installer run by that passer-by must not be the way round it.
    if (!program.settings.sGlobalPass.empty()) {
      result.lReturn = reply::kPasswordProtected;
    } else {
      result.lReturn = ExitOnRequest(program) ? reply::kDone : reply::kBusy;
    }
    return result;
  }
  const BusyState::Guard request = program.busy.Enter(Busy::HotKey);
  switch (uMsg) {
    case msg::kGoToDesktop: result.lReturn = GoToDesktop(program, wParam); break;
    case msg::kStepDesktop: result.lReturn = StepDesktop(program, wParam); break;
    default: result.lReturn = MoveApplicationOfWindow(program, wParam, lParam); break;
  }
  return result;
}

}  // namespace

MessageResult HandleMainWindowMessage(Program& program, uint32_t uMsg, int32_t wParam,
                                      int32_t lParam) {
  MessageResult result;
  switch (uMsg) {
    case msg::kHotKeyAlt:
    case msg::kHotKeyCtrl:
    case msg::kHotKeyWin:
      return HandleHotKey(program, uMsg, wParam);
    case msg::kGoToDesktop:
    case msg::kMoveApplication:
    case msg::kCurrentDesktop:
    case msg::kExitProgram:
    case msg::kStepDesktop:
    case msg::kSubscribe:
    case msg::kUnsubscribe:
      return HandleRequest(program, uMsg, wParam, lParam);
    case msg::kWindowCreated:
      OnWindowCreated(program, wParam);
      break;
    case msg::kWindowDestroyed:
      OnWindowDestroyed(program, wParam);
      break;
    case msg::kWindowActivated:
      if (program.busy.MayTakeNotice() && program.platform.windows.IsWindowVisible(wParam) &&
          program.platform.windows.WindowThreadProcess(wParam).processId !=
              program.platform.system.CurrentProcessId()) {
        program.lActiveHwnd = wParam;
      }
      break;
    case msg::kHiddenShellQuery:
      result.bHandled = true;
      result.lReturn = IsHiddenExplorer(program, wParam) ? 1 : 0;
      break;
    case msg::kShowTrayAgain:
      RecreateTrayIcon(program);
      break;
    case msg::kSettingChange:
      OnSystemSettingChanged(program);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace ombrix
