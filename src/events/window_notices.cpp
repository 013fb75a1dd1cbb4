#include "events/window_notices.h"

#include "app/program.h"
#include "core/discovery.h"
#include "rules/apply.h"

namespace ombrix {

namespace {

// A notice for a window the program has just shown; the entry is used up.
bool TakeShownByProgram(Program& program, Hwnd hwnd) {
  auto& shown = program.notices.shownByProgram;
  const auto found = shown.find(hwnd);
  if (found == shown.end()) return false;
  const bool recent = program.platform.system.TickCount() - found->second < kShownByProgramMs;
  shown.erase(found);
  return recent;
}

void ForgetOldShownWindows(Program& program) {
  const uint32_t now = program.platform.system.TickCount();
  std::erase_if(program.notices.shownByProgram,
                [now](const auto& entry) { return now - entry.second >= kShownByProgramMs; });
}

// Hides the application of a hidden desktop that holds hwnd; false when there is none.
bool HideIfOnHiddenDesktop(Program& program, Hwnd hwnd) {
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    if (d == program.desk.iCurDesk) continue;
    const clsDesktop& desktop = program.desk.Desk(d);
    const int position = desktop.GetProcessIdxByHandle(hwnd);
    if (position == -1) continue;
    for (const auto& win : desktop.opi[position].oWin) {
      program.platform.windows.ShowWindow(win->lHwnd, sw::kHide);
    }
    return true;
  }
  return false;
}

void RequestRulePass(Program& program) {
  if (program.notices.rulePassPending) return;
  program.notices.rulePassPending = true;
  program.platform.ui.StartTimer(kRulePassTimer, kRulePassDelayMs);
}

void RunRulePass(Program& program) {
  program.notices.rulePassPending = false;
  program.platform.ui.StopTimer(kRulePassTimer);
  ScanDesktop(program, program.desk.iCurDesk);
  ApplyRuleActions(program);
}

}  // namespace

void NoteShownByProgram(Program& program, Hwnd hwnd) {
  auto& shown = program.notices.shownByProgram;
  // Entries whose notice never came (the window was hidden and shown again unseen) go in time.
  if (shown.size() > 4096) ForgetOldShownWindows(program);
  shown[hwnd] = program.platform.system.TickCount();
  program.oWinOrder.WindowCreated(hwnd);
}

void NoteHiddenByProgram(Program& program, Hwnd hwnd) {
  program.notices.shownByProgram.erase(hwnd);
}

void OnWindowCreated(Program& program, Hwnd hwnd) {
  if (!program.busy.MayTakeNotice()) return;
  if (TakeShownByProgram(program, hwnd)) return;
  WindowSystem& windows = program.platform.windows;
  if (windows.FindWindow("Progman", "Program Manager") != program.lProgman) {
    windows.SendMessage(program.lMainHwnd, msg::kShowTrayAgain, 0, 0);
  }
  if (HideIfOnHiddenDesktop(program, hwnd)) return;
  program.oWinOrder.WindowCreated(hwnd);
  RequestRulePass(program);
}

void OnWindowDestroyed(Program& program, Hwnd hwnd) {
  if (!program.busy.MayTakeNotice()) return;
  program.oWinOrder.WindowDestroyed(hwnd);
  program.notices.shownByProgram.erase(hwnd);
}

void OnRulePassTimer(Program& program) {
  if (!program.notices.rulePassPending) {
    program.platform.ui.StopTimer(kRulePassTimer);
    return;
  }
  if (!program.busy.MayRunRulePass()) return;
  // Notices already waiting join this pass instead of asking for another one.
  program.platform.ui.DoEvents();
  // The pump may also have run Exit: nothing is left to apply rules to then.
  if (!program.notices.rulePassPending || !program.busy.MayRunRulePass() ||
      !program.bMainWindowLoaded) {
    return;
  }
  RunRulePass(program);
}

void FlushPendingRulePass(Program& program) {
  if (!program.notices.rulePassPending || !program.busy.MayFlushRulePass()) return;
  RunRulePass(program);
}

}  // namespace ombrix
