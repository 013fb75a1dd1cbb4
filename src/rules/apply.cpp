#include "rules/apply.h"

#include <algorithm>
#include <cmath>

#include "app/program.h"
#include "core/discovery.h"
#include "switching/move.h"

namespace ombrix {

namespace {
constexpr int kFirstVersionWithLayeredWindows = 8;
constexpr int kMaximizeCommand = 3;
constexpr int kMinimizeCommand = 6;
constexpr uint32_t kKilledExitCode = static_cast<uint32_t>(-9);

// Carries out a full-mode action; true when the application left the desktop's list.
bool CarryOut(Program& program, const clsRule& rule, int16_t position, clsPI& app) {
  WindowSystem& windows = program.platform.windows;
  switch (rule.iAction) {
    case RuleAction::MoveToDesk:
      if (rule.iDestDesk == program.desk.iCurDesk || rule.iDestDesk < 1 ||
          rule.iDestDesk > kDesktopCount) {
        return false;
      }
      MoveApplication(program, program.desk.iCurDesk, position, rule.iDestDesk);
      return true;
    case RuleAction::Maximize:
    case RuleAction::Minimize:
      for (const auto& win : app.oWin) {
        windows.ShowWindow(win->lHwnd,
                           rule.iAction == RuleAction::Maximize ? kMaximizeCommand : kMinimizeCommand);
      }
      return false;
    case RuleAction::Close:
      if (!app.oWin.Empty()) {
        windows.SendMessageTimeout(app.oWin[1].lHwnd, msg::kClose, 0, 0, kCloseTimeoutMs);
      }
      return false;
    case RuleAction::Kill:
      KillProcess(program, app.pID);
      return false;
    case RuleAction::Visibility:
      for (const auto& win : app.oWin) {
        SetWindowOpacity(program, win->lHwnd, VisibilityPercent(rule.iDestDesk));
      }
      return false;
    default:
      return false;
  }
}

// Every rule over every application of the current desktop, rules in list order.
void WalkRules(Program& program, bool bIgnoreOnly) {
  // Hold the rules: an action or a nested pass may replace the program's list.
  const RuleList rules = program.colRules;
  const int16_t current = program.desk.iCurDesk;
  const int ruleCount = rules.Count();
  for (int r = 1; r <= ruleCount; ++r) {
    const clsRule& rule = rules[r];
    const PreparedRule prepared(rule);
    clsDesktop& desktop = program.desk.Desk(current);
    for (int j = 1; j <= desktop.opi.Count();) {
      std::shared_ptr<clsPI> app = desktop.opi.Item(j);
      bool removed = false;
      if (prepared.Matches(*app)) {
        if (bIgnoreOnly) {
          if (rule.iAction == RuleAction::IgnoreApp) {
            desktop.opi.Remove(j);
            removed = true;
          }
        } else {
          removed = CarryOut(program, rule, static_cast<int16_t>(j), *app);
        }
      }
      if (!removed) ++j;
    }
  }
}

// The actions wait on other programs' windows, where messages other programs send arrive: the
// busy state refuses their requests, so they cannot change desktops under the walk.
void CarryOutRules(Program& program) {
  const BusyState::Guard pass = program.busy.Enter(Busy::RulePass);
  WalkRules(program, false);
}

}  // namespace

void ApplyRules(Program& program, bool bIgnoreOnly) {
  if (bIgnoreOnly) {
    WalkRules(program, true);
    return;
  }
  if (!program.busy.MayRunRulePass()) return;
  program.platform.ui.DoEvents();
  if (!program.busy.MayRunRulePass() || !program.bMainWindowLoaded) {
    return;  // what the pump ran comes first; it may have been Exit
  }
  ScanDesktop(program, program.desk.iCurDesk);
  CarryOutRules(program);
}

void ApplyRuleActions(Program& program) { CarryOutRules(program); }

namespace {

// Ending the shell takes the taskbar and the desktop with it (its folder windows are managed
// applications); ending this program would leave the hidden desktops' windows hidden.
bool MayKill(Program& program, uint32_t pid) {
  if (pid == program.platform.system.CurrentProcessId()) return false;
  const std::vector<uint32_t> shell = program.platform.windows.ShellProcessIds();
  return std::find(shell.begin(), shell.end(), pid) == shell.end();
}

}  // namespace

int16_t KillProcess(Program& program, int32_t pid) {
  const auto process = static_cast<uint32_t>(pid);
  if (!MayKill(program, process)) return kKillRefused;
  switch (program.platform.system.TerminateProcess(process, kKilledExitCode)) {
    case Termination::Done:
      return 1;
    case Termination::Failed:
      return -2;
    case Termination::NotOpened:
      return -3;
    case Termination::Critical:
      return kKillRefused;
  }
  return -2;
}

int16_t VisibilityPercent(int16_t level) {
  const double percent = 40 + std::nearbyint(level / 10.0 * 60.0);
  return static_cast<int16_t>(std::clamp(percent, 0.0, 100.0));
}

uint8_t OpacityAlpha(int16_t percent) {
  const double alpha = std::nearbyint(255.0 / 100.0 * std::clamp<int16_t>(percent, 0, 100));
  return static_cast<uint8_t>(alpha);
}

void SetWindowOpacity(Program& program, Hwnd hwnd, int16_t percent) {
  if (program.platform.system.PlatformVersionCode() < kFirstVersionWithLayeredWindows) return;
  WindowSystem& windows = program.platform.windows;
  // The style change waits for the window's program: a hung one would hang this one too.
  if (!windows.Answers(hwnd)) return;
  windows.SetOpacity(hwnd, OpacityAlpha(percent));
}

}  // namespace ombrix
