#include "app/busy.h"

namespace ombrix {

InputAnswer BusyState::HotKeyAnswer() const {
  if (UserIsAnswering()) return InputAnswer::BringForward;
  return OperationRuns() ? InputAnswer::Drop : InputAnswer::Run;
}

InputAnswer BusyState::TrayAnswer() const {
  if (UserIsAnswering()) return InputAnswer::BringForward;
  return OperationRuns() || Is(Busy::TrayMenu) ? InputAnswer::Drop : InputAnswer::Run;
}

// Requests are refused rather than kept for later: the caller learns it from the reply and may
// ask again.
int32_t BusyState::RequestRefusal() const {
  if (UserIsAnswering() || Is(Busy::TrayMenu)) return reply::kUserBusy;
  return OperationRuns() ? reply::kBusy : 0;
}

}  // namespace ombrix
