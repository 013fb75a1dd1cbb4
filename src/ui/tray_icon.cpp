#include "ui/tray_icon.h"

#include "app/program.h"
#include "lang/messages.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr int kInformationIcon = 1;
constexpr int kBalloonMs = 30000;

}  // namespace

void AddTrayIcon(Program& program, const std::string& tooltip) {
  Platform& p = program.platform;
  TrayIconState& state = program.trayIcon;
  p.tray.Attach(program.lMainHwnd);
  if (p.tray.Add(1, tooltip, program.Icona[program.desk.iCurDesk - 1])) {
    if (state.retrying) p.ui.StopTimer(kTrayRetryTimer);
    state.retrying = false;
    ShowWelcomeWhenIconIsThere(program);
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

void ShowWelcomeWhenIconIsThere(Program& program) {
  if (!program.trayIcon.welcomePending || program.trayIcon.retrying) return;
  program.trayIcon.welcomePending =
      !program.platform.tray.Balloon(GetMsg(program, msgs::kWelcome), "", kInformationIcon,
                                     kBalloonMs);
}

}  // namespace ombrix
