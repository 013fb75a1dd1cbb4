#include "rules/apply.h"

#include <algorithm>
#include <cmath>

#include "app/program.h"
#include "core/discovery.h"

namespace ombrix {

namespace {
constexpr uint32_t kLayeredStyle = 0x80000;
constexpr uint32_t kUseAlpha = 2;
constexpr int kFirstVersionWithLayeredWindows = 8;
}  // namespace

void ApplyRules(Program& program, bool bIgnoreOnly) {
  if (!bIgnoreOnly) {
    if (program.bSwitching || program.bHotKeyBusy || program.bUnloading) return;
    program.platform.ui.DoEvents();
    ScanDesktop(program, program.desk.iCurDesk);
  }
}

uint8_t OpacityAlpha(int16_t percent) {
  const double alpha = std::nearbyint(255.0 / 100.0 * std::clamp<int16_t>(percent, 0, 100));
  return static_cast<uint8_t>(alpha);
}

void SetWindowOpacity(Program& program, Hwnd hwnd, int16_t percent) {
  if (program.platform.system.PlatformVersionCode() < kFirstVersionWithLayeredWindows) return;
  WindowSystem& windows = program.platform.windows;
  windows.SetExStyle(hwnd, windows.ExStyle(hwnd) | kLayeredStyle);
  windows.SetLayeredWindowAttributes(hwnd, 0, OpacityAlpha(percent), kUseAlpha);
}

}  // namespace ombrix
