#include "events/hotkeys.h"

#include "app/program.h"

namespace ombrix {

bool IsKeyDown(Program& program, int vk) {
  return (program.platform.keyboard.AsyncKeyState(vk) & 0x8000) != 0;
}

void ApplyHotKeys(Program& program) {
  if (!program.bHooksAvailable) return;
  HookLibrary& hooks = program.platform.hooks;
  const Settings& s = program.settings;
  bool any = false;
  auto take = [&any](bool on) {
    any = any || on;
    return on ? 1 : 0;
  };
  hooks.TakeAltArrows(take(s.bAlt));
  hooks.TakeAltNum(take(s.bAltNumbers || s.bShiftAltNumbers));
  hooks.TakeCtrlArrows(take(s.bCtrl));
  hooks.TakeCtrlNum(take(s.bCtrlNumbers || s.bShiftCtrlNumbers));
  hooks.TakeWinArrows(take(s.bWin));
  hooks.TakeWinNum(take(s.bWinNumbers || s.bShiftWinNumbers));
  const Menu* disable = program.mMenu.Find("mnuDisableHotKeys");
  const bool disabled = disable && disable->Checked;
  hooks.IgnoreHook(disabled || !any ? 1 : 0);
}

void ToggleDisableHotKeys(Program& program) {
  if (Menu* item = program.mMenu.Find("mnuDisableHotKeys")) item->Checked = !item->Checked;
  ApplyHotKeys(program);
}

}  // namespace ombrix
