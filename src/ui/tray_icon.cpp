#include "ui/tray_icon.h"

#include "app/program.h"
#include "lang/messages.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr int kBalloonMs = 30000;

}  // namespace

void AddTrayIcon(Program& program, const std::string& tooltip) {
  Platform& p = program.platform;
  TrayIconState& state = program.trayIcon;
  p.tray.Attach(program.lMainHwnd);
  if (p.tray.Add(1, tooltip, program.Icona[program.desk.iCurDesk - 1])) {
    if (state.retrying) p.ui.StopTimer(kTrayRetryTimer);
    state.retrying = false;
    ShowPendingBalloons(program);
    return;
  }
  if (state.retrying) return;
  state.retrying = true;
  state.retrySince = p.system.TickCount();
  p.ui.StartTimer(kTrayRetryTimer, kTrayRetryIntervalMs);
}

void RecreateTrayIcon(Program& program) {
  program.lProgman = program.platform.windows.FindWindow("Progman", "Program Manager");
  program.platform.tray.Remove();
  AddTrayIcon(program, DesktopTooltip(program));
}

void OnTrayRetryTimer(Program& program) {
  TrayIconState& state = program.trayIcon;
  if (!state.retrying) {
    program.platform.ui.StopTimer(kTrayRetryTimer);
    return;
  }
  AddTrayIcon(program, DesktopTooltip(program));
  if (!state.retrying || program.platform.system.TickCount() - state.retrySince < kTrayRetryForMs) {
    return;
  }
  program.platform.ui.StopTimer(kTrayRetryTimer);
  state.retrying = false;
  ErrorBox(program, GetMsg(program, msgs::kNoTrayIcon));
}

void ShowBalloon(Program& program, std::string text, std::string title, int icon) {
  program.trayIcon.pendingBalloons.push_back({std::move(text), std::move(title), icon});
  ShowPendingBalloons(program);
}

void ShowPendingBalloons(Program& program) {
  auto& pending = program.trayIcon.pendingBalloons;
  if (program.trayIcon.retrying) return;
  while (!pending.empty()) {
    const PendingBalloon& next = pending.front();
    if (!program.platform.tray.Balloon(next.text, next.title, next.icon, kBalloonMs)) return;
    pending.erase(pending.begin());
  }
}

}  // namespace ombrix
