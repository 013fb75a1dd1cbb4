// The tray icon's presence. At log-on the shell may not have its notification area yet, so an
// icon the shell refuses is tried again until it is there, for up to two minutes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ombrix {

class Program;

// Main-window timer of the retries.
constexpr int kTrayRetryTimer = 2;
constexpr uint32_t kTrayRetryIntervalMs = 2000;
// After this long without an icon the user is told, and retries wait for "TaskbarCreated".
constexpr uint32_t kTrayRetryForMs = 120000;

struct PendingBalloon {
  std::string text;
  std::string title;
  int icon = 0;
};

struct TrayIconState {
  bool retrying = false;
  uint32_t retrySince = 0;  // tick count of the first refused attempt
  // Balloons wait for the icon they point at (the first-use welcome, what start-up found).
  std::vector<PendingBalloon> pendingBalloons;
};

// Attaches the icon to the main window and adds it; a refused icon starts the retries.
void AddTrayIcon(Program& program, const std::string& tooltip);
// Removes and adds the tray icon again with the current desktop's picture and tooltip.
void RecreateTrayIcon(Program& program);
void OnTrayRetryTimer(Program& program);
// Shows a balloon at the tray icon now, or as soon as the icon is there. icon 1 = information,
// 2 = warning.
void ShowBalloon(Program& program, std::string text, std::string title, int icon);
void ShowPendingBalloons(Program& program);

}  // namespace ombrix
