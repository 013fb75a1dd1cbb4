// The exported functions: they start and stop the hook thread and set the key groups.
#include "hooklib.h"
#include "platform/types.h"

namespace ombrix::hooklib {

SharedFlags& Flags() {
  static SharedFlags flags;
  return flags;
}

std::atomic<HWND>& NotifyWindow() {
  static std::atomic<HWND> notify{nullptr};
  return notify;
}

namespace {

// Owned by the thread that calls SetHook and UnHook.
HANDLE gThread = nullptr;
DWORD gThreadId = 0;

struct Launch {
  HANDLE ready;
  bool keyboardHooked = false;
};

DWORD WINAPI HookThread(void* param) {
  // The thread holds its own reference to the library, so a FreeLibrary without UnHook
  // cannot unmap the code it runs.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HookThread),
                     &self);
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before UnHook posts
  auto* launch = static_cast<Launch*>(param);
  launch->keyboardHooked = StartKeyboardHook(self);
  StartWindowWatch(NotifyWindow().load());
  SetEvent(launch->ready);
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  StopWindowWatch();
  StopKeyboardHook();
  FreeLibraryAndExitThread(self, 0);
}

// Handles are 32-bit values; whatever the caller left in the upper half is not part of it.
HWND Handle32(HWND hwnd) {
  return reinterpret_cast<HWND>(
      static_cast<intptr_t>(static_cast<int32_t>(reinterpret_cast<uintptr_t>(hwnd))));
}

// Removes the library's messages still queued for the notify window; works when the caller's
// thread owns that window, which is how the program calls.
void DropQueuedMessages(HWND notify) {
  MSG message;
  while (PeekMessageW(&message, notify, msg::kHotKeyAlt, msg::kHotKeyWin, PM_REMOVE)) {
  }
  while (PeekMessageW(&message, notify, msg::kWindowCreated, msg::kWindowActivated, PM_REMOVE)) {
  }
}

BOOL Store(std::atomic<bool>& flag, int on) {
  flag = on != 0;
  return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI UnHook() {
  if (gThread == nullptr) return FALSE;
  PostThreadMessageW(gThreadId, WM_QUIT, 0, 0);
  // While the thread winds down it may be waiting for an answer from this thread's window.
  while (MsgWaitForMultipleObjects(1, &gThread, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(gThread);
  gThread = nullptr;
  gThreadId = 0;
  DropQueuedMessages(NotifyWindow().exchange(nullptr));
  return TRUE;
}

BOOL WINAPI SetHook(HWND hwndNotify, int /*reserved*/) {
  UnHook();
  Launch launch{.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  if (launch.ready == nullptr) return FALSE;
  NotifyWindow() = Handle32(hwndNotify);
  gThread = CreateThread(nullptr, 0, HookThread, &launch, 0, &gThreadId);
  if (gThread != nullptr) {
    WaitForSingleObject(launch.ready, INFINITE);
  } else {
    NotifyWindow() = nullptr;
  }
  CloseHandle(launch.ready);
  return gThread != nullptr && launch.keyboardHooked;
}

BOOL WINAPI TakeAltArrows(int on) { return Store(Flags().altArrows, on); }
BOOL WINAPI TakeCtrlArrows(int on) { return Store(Flags().ctrlArrows, on); }
BOOL WINAPI TakeWinArrows(int on) { return Store(Flags().winArrows, on); }
BOOL WINAPI TakeAltNum(int on) { return Store(Flags().altNum, on); }
BOOL WINAPI TakeCtrlNum(int on) { return Store(Flags().ctrlNum, on); }
BOOL WINAPI TakeWinNum(int on) { return Store(Flags().winNum, on); }
BOOL WINAPI IgnoreHook(int on) { return Store(Flags().ignore, on); }

}  // extern "C"
}  // namespace ombrix::hooklib
