#include "platform/win32/message_pump.h"

#include "platform/win32/form_host.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

// Form windows get the dialog keyboard interface (Tab, arrows, mnemonics, Enter and Esc) first,
// and Ctrl+Tab steps through the tabs of a tab strip as in the system's own dialogs.
void Dispatch(MSG& message) {
  HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsFormWindow(root)) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        StepTabs(root, GetKeyState(VK_SHIFT) < 0)) {
      return;
    }
    if (IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

}  // namespace ombrix::win32
