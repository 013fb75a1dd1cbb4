#include "switching/move.h"

#include "app/program.h"
#include "app/recovery.h"
#include "appearance/password_prompt.h"
#include "core/discovery.h"
#include "events/keys.h"
#include "switching/switch.h"
#include "switching/unhideable.h"

namespace ombrix {

void MoveApplication(Program& program, int16_t from, int16_t index, int16_t to) {
  if (from == to || to < 1 || to > kDesktopCount || from < 1 || from > kDesktopCount) return;
  clsDesktop& source = program.desk.Desk(from);
  if (index < 1 || index > source.opi.Count()) return;
  WriteRecoveryFile(program);
  std::shared_ptr<clsPI> app = source.opi.Remove(index);
  clsDesktop& destination = program.desk.Desk(to);
  destination.opi.Add(app);

  const bool toCurrent = to == program.desk.iCurDesk;
  if (!toCurrent) {
    const Hwnd first = app->GetFirstVisWin();
    if (first != -1 && destination.opi.Count() == 1) destination.lTopHwnd = first;
  }
  const std::vector<Hwnd> stayed = ShowOrHideApplication(program, *app, toCurrent);
  KeepOnScreen(program, stayed, to, program.desk.iCurDesk);
  WriteDesktopRecord(program, program.desk.iCurDesk);
}

bool MoveApplicationOf(Program& program, Hwnd hwnd, int16_t to) {
  const int16_t current = program.desk.iCurDesk;
  ScanDesktop(program, current);
  const int i = program.desk.Desk(current).GetProcessIdxByHandle(hwnd);
  if (i == -1) return false;
  MoveApplication(program, current, static_cast<int16_t>(i), to);
  return true;
}

bool MoveByKey(Program& program, int32_t key) {
  if (program.lActiveHwnd != 0 && vk::IsDigit(key)) {
    MoveApplicationOf(program, program.lActiveHwnd, vk::DesktopOfDigit(key));
  }
  return true;
}

bool UnlockedDesktops::MayMoveFrom(Program& program, int16_t from) {
  if (from < 1 || from > kDesktopCount) return false;
  if (from == program.desk.iCurDesk || program.desk.Desk(from).sPassword.empty()) return true;
  if (!unlocked_[from]) unlocked_[from] = PasswordPrompt(program, from);
  return unlocked_[from];
}

}  // namespace ombrix
