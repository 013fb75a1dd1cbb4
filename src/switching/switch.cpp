#include "switching/switch.h"

#include "app/program.h"
#include "app/recovery.h"
#include "appearance/password_prompt.h"
#include "core/discovery.h"
#include "events/keys.h"
#include "events/window_notices.h"
#include "lang/messages.h"
#include "switching/unhideable.h"
#include "ui/indicator.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr Hwnd kBottom = 1;
// Without "no activate" the hidden main window would take the foreground from the window the
// switch has just brought up.
constexpr uint32_t kNoSizeNoMoveNoActivate = 0x13;

std::vector<Hwnd> ShowOrHideDesktop(Program& program, int16_t d, bool show) {
  std::vector<Hwnd> stayed;
  if (d < 1 || d > kDesktopCount) return stayed;
  for (const auto& app : program.desk.Desk(d).opi) {
    std::vector<Hwnd> ofApp = ShowOrHideApplication(program, *app, show);
    stayed.insert(stayed.end(), ofApp.begin(), ofApp.end());
  }
  return stayed;
}

}  // namespace

std::vector<Hwnd> ShowOrHideApplication(Program& program, const clsPI& app, bool show) {
  std::vector<Hwnd> stayed;
  const auto pid = static_cast<uint32_t>(app.pID);
  for (const auto& win : app.oWin) {
    const Hwnd hwnd = win->lHwnd;
    if (show) {
      if (IsExplorerWindow(*win)) program.colHiddenExplorer.Remove(hwnd);
      NoteShownByProgram(program, hwnd);
      program.platform.windows.ShowWindow(hwnd, sw::kShow);
      continue;
    }
    // Asked once: what refused to hide refuses again, and each try costs the switch.
    if (program.unhideable.Contains(hwnd, pid)) {
      stayed.push_back(hwnd);
      continue;
    }
    // Listed before it goes: the shell asks about its windows while they are hidden.
    const bool shellWindow = IsExplorerWindow(*win);
    if (shellWindow) program.colHiddenExplorer.Add(hwnd);
    NoteHiddenByProgram(program, hwnd);
    if (program.platform.windows.HideWindow(hwnd) == HideOutcome::Refused) {
      if (shellWindow) program.colHiddenExplorer.Remove(hwnd);
      program.unhideable.windows[hwnd] = pid;
      stayed.push_back(hwnd);
    }
  }
  return stayed;
}

std::vector<Hwnd> HideDesktop(Program& program, int16_t d) {
  return ShowOrHideDesktop(program, d, false);
}

void ShowDesktop(Program& program, int16_t d) { ShowOrHideDesktop(program, d, true); }

// The input focus is taken only when the system refuses the window the foreground: Windows
// lets a program change it when it shares the input of the foreground's thread, which is what
// taking the focus does; taking it when nothing refuses only costs (under Wine every focus
// change goes round every window).
void BringToFront(Program& program, Hwnd hwnd) {
  WindowSystem& windows = program.platform.windows;
  windows.SwitchToThisWindow(hwnd);
  if (windows.ForegroundWindow() == hwnd) return;
  TakeFocus(program);
  windows.SwitchToThisWindow(hwnd);
}

void TakeFocus(Program& program) {
  if (program.lActiveHwnd == 0) return;
  WindowSystem& windows = program.platform.windows;
  const uint32_t own = program.platform.system.CurrentThreadId();
  const uint32_t foreground = windows.WindowThreadProcess(windows.ForegroundWindow()).threadId;
  if (foreground == 0 || foreground == own) return;
  if (windows.AttachThreadInput(own, foreground, true)) {
    windows.SetFocus(program.lMainHwnd);
    windows.AttachThreadInput(own, foreground, false);
  }
}

void SwitchDesktop(Program& program, int16_t target, Direction direction, Hwnd focusHwnd) {
  DesktopSet& desk = program.desk;
  if (target == desk.iCurDesk) return;
  if (target < 1 || target > kDesktopCount) {
    if (direction == Direction::None || !program.settings.bCicleDesktops) return;
    target = static_cast<int16_t>(target > kDesktopCount ? target - kDesktopCount
                                                         : target + kDesktopCount);
    if (target < 1 || target > kDesktopCount) return;
  }
  if (!desk.Desk(target).sPassword.empty() && !PasswordPrompt(program, target)) return;
  if (!program.busy.MaySwitch()) return;
  // A rule pass still waiting belongs to the desktop being left.
  FlushPendingRulePass(program);
  const BusyState::Guard switching = program.busy.Enter(Busy::Switching);

  Platform& p = program.platform;
  p.tray.ChangeTooltip(1, GetMsgFmt(program, msgs::kChangingDesktop.id, msgs::kChangingDesktop.text,
                                    std::to_string(target)));
  if (program.lActiveHwnd != 0 && p.windows.IsIconic(program.lActiveHwnd)) {
    program.lActiveHwnd = 0;
  }
  const int16_t leaving = desk.iShownDesk;
  desk.Desk(leaving).lTopHwnd = program.lActiveHwnd;
  ScanDesktop(program, leaving);
  WriteRecoveryFile(program);  // before any window is hidden, so none can be lost
  const std::vector<Hwnd> stayed = HideDesktop(program, leaving);
  ShowDesktop(program, target);
  KeepOnScreen(program, stayed, leaving, target);
  // Only which desktop each window is on: after a crash before it, the last one still holds.
  WriteDesktopRecord(program, target);
  ApplySwitchWallpaper(program, leaving, target);

  desk.iCurDesk = target;
  desk.iShownDesk = target;
  const clsDesktop& entered = desk.Desk(target);
  p.tray.ChangeIcon(1, program.Icona[target - 1]);
  p.tray.ChangeTooltip(1, DesktopTooltip(program));
  UpdateGoToItems(program);
  if (program.settings.bShowCurDesk) {
    ShowIndicator(program, entered.sDeskName.empty() ? "Desktop " + std::to_string(target)
                                                     : entered.sDeskName);
  }
  const Hwnd h = focusHwnd > -1 ? focusHwnd : entered.lTopHwnd;
  if (h > 0 && p.windows.IsWindowVisible(h)) {
    BringToFront(program, h);
    program.lActiveHwnd = h;
  }
  p.windows.SetWindowPos(program.lMainHwnd, kBottom, 0, 0, 0, 0, kNoSizeNoMoveNoActivate);
  program.subscribers.NotifyDesktopChanged(p.windows, target, leaving);
}

bool SwitchByKey(Program& program, int32_t key) {
  const int c = program.desk.iCurDesk;
  switch (key) {
    case vk::kLeft:
      SwitchDesktop(program, static_cast<int16_t>(c - 1), Direction::Left);
      return true;
    case vk::kUp:
      SwitchDesktop(program, static_cast<int16_t>(c - 3), Direction::Up);
      return true;
    case vk::kRight:
      SwitchDesktop(program, static_cast<int16_t>(c + 1), Direction::Right);
      return true;
    case vk::kDown:
      SwitchDesktop(program, static_cast<int16_t>(c + 3), Direction::Down);
      return true;
    default:
      if (!vk::IsDigit(key)) return false;
      SwitchDesktop(program, vk::DesktopOfDigit(key));
      return true;
  }
}

void OnGoToItem(Program& program, int16_t index) { SwitchDesktop(program, index); }

void OnApplicationsItem(Program& program, const MenuTarget& target) {
  if (target.desk != program.desk.iCurDesk) {
    SwitchDesktop(program, target.desk, Direction::None, target.hwnd);
  } else if (target.hwnd > -1) {
    program.platform.windows.SwitchToThisWindow(target.hwnd);
  }
}

}  // namespace ombrix
