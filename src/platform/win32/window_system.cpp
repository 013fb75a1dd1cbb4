#include "platform/win32/window_system.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

constexpr int kTextBuffer = 1024;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<Hwnd>*>(list)->push_back(FromHwnd(hwnd));
  return TRUE;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

WPARAM ToWparam(int32_t value) { return static_cast<WPARAM>(static_cast<intptr_t>(value)); }
LPARAM ToLparam(int32_t value) { return static_cast<LPARAM>(value); }

// DWMWA_CLOAKED exists from Windows 8; dwmapi is loaded at run time so Windows 7 and systems
// without it still start.
constexpr DWORD kCloakedAttribute = 14;

bool IsCloaked(HWND hwnd) {
  using GetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const GetAttributeFn getAttribute = []() -> GetAttributeFn {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (dwm == nullptr) return nullptr;
    return reinterpret_cast<GetAttributeFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
  }();
  if (getAttribute == nullptr) return false;
  DWORD cloaked = 0;
  return SUCCEEDED(getAttribute(hwnd, kCloakedAttribute, &cloaked, sizeof(cloaked))) &&
         cloaked != 0;
}

}  // namespace

std::vector<Hwnd> Win32WindowSystem::TopLevelWindows() {
  std::vector<Hwnd> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  // Forget windows that are gone, so a handle value used again later is asked anew.
  std::unordered_map<Hwnd, Lasting> kept;
  kept.reserve(windows.size());
  for (Hwnd hwnd : windows) {
    auto found = lasting_.find(hwnd);
    if (found != lasting_.end()) kept.insert(std::move(*found));
  }
  lasting_ = std::move(kept);
  return windows;
}

// Nothing for a handle that names no window.
Win32WindowSystem::Lasting* Win32WindowSystem::LastingOf(Hwnd hwnd) {
  if (auto found = lasting_.find(hwnd); found != lasting_.end()) return &found->second;
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(ToHwnd(hwnd), &processId);
  if (threadId == 0) return nullptr;
  Lasting& lasting = lasting_[hwnd];
  lasting.ids = {threadId, processId};
  return &lasting;
}

Hwnd Win32WindowSystem::FindWindow(const std::string& className, const std::string& caption) {
  const std::wstring wideClass = Widen(className);
  const std::wstring wideCaption = Widen(caption);
  return FromHwnd(FindWindowW(OrNull(wideClass), OrNull(wideCaption)));
}

bool Win32WindowSystem::IsWindow(Hwnd hwnd) { return ::IsWindow(ToHwnd(hwnd)) != FALSE; }

// One question for a top-level window, whose parent (the desktop) is always visible; a child
// is visible only with all its parents.
bool Win32WindowSystem::IsWindowVisible(Hwnd hwnd) {
  const HWND window = ToHwnd(hwnd);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if ((style & WS_VISIBLE) == 0) return false;
  if ((style & WS_CHILD) != 0 && !::IsWindowVisible(window)) return false;
  return !IsCloaked(window);
}

std::string Win32WindowSystem::ClassName(Hwnd hwnd) {
  Lasting* lasting = LastingOf(hwnd);
  if (lasting == nullptr) return {};
  if (!lasting->classRead) {
    wchar_t buffer[kTextBuffer];
    const int length = GetClassNameW(ToHwnd(hwnd), buffer, kTextBuffer);
    lasting->className = length > 0 ? Narrow(buffer, static_cast<size_t>(length)) : std::string();
    lasting->classRead = length > 0;
  }
  return lasting->className;
}

std::string Win32WindowSystem::WindowText(Hwnd hwnd) {
  wchar_t buffer[kTextBuffer];
  const int length = GetWindowTextW(ToHwnd(hwnd), buffer, kTextBuffer);
  return length > 0 ? Narrow(buffer, static_cast<size_t>(length)) : std::string();
}

Rect Win32WindowSystem::WindowRect(Hwnd hwnd) {
  RECT rect{};
  if (!GetWindowRect(ToHwnd(hwnd), &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

uint32_t Win32WindowSystem::Style(Hwnd hwnd) {
  return static_cast<uint32_t>(GetWindowLongPtrW(ToHwnd(hwnd), GWL_STYLE));
}

uint32_t Win32WindowSystem::ExStyle(Hwnd hwnd) {
  return static_cast<uint32_t>(GetWindowLongPtrW(ToHwnd(hwnd), GWL_EXSTYLE));
}

Hwnd Win32WindowSystem::Owner(Hwnd hwnd) { return FromHwnd(GetWindow(ToHwnd(hwnd), GW_OWNER)); }

ThreadProcess Win32WindowSystem::WindowThreadProcess(Hwnd hwnd) {
  const Lasting* lasting = LastingOf(hwnd);
  return lasting != nullptr ? lasting->ids : ThreadProcess{};
}

// A window whose program has stopped answering would block a synchronous ShowWindow, and the
// system only calls a program hung after seconds of silence, so the owner is asked directly.
bool Win32WindowSystem::ShowWindow(Hwnd hwnd, int command) {
  const HWND window = ToHwnd(hwnd);
  if (!Answers(hwnd)) return ShowWindowAsync(window, command) != FALSE;
  return ::ShowWindow(window, command) != FALSE;
}

// The style tells: ShowWindow answers only whether the window was visible before.
HideOutcome Win32WindowSystem::HideWindow(Hwnd hwnd) {
  const HWND window = ToHwnd(hwnd);
  if (!Answers(hwnd)) {
    ShowWindowAsync(window, SW_HIDE);
    return HideOutcome::Posted;
  }
  ::ShowWindow(window, SW_HIDE);
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0 ? HideOutcome::Refused
                                                                  : HideOutcome::Hidden;
}

bool Win32WindowSystem::Answers(Hwnd hwnd) {
  constexpr DWORD kAskAgainAfterMs = 1000;
  constexpr UINT kWaitMs = 150;
  const ThreadProcess ids = WindowThreadProcess(hwnd);
  if (ids.processId == GetCurrentProcessId()) return true;
  const DWORD now = GetTickCount();
  Answer& answer = answers_[ids.threadId];
  if (answer.askedAt != 0 && now - answer.askedAt < kAskAgainAfterMs) return answer.answers;
  DWORD_PTR ignored = 0;
  // SMTO_BLOCK: nothing else of this program runs while it waits.
  const bool answers = SendMessageTimeoutW(ToHwnd(hwnd), WM_NULL, 0, 0,
                                           SMTO_ABORTIFHUNG | SMTO_BLOCK, kWaitMs, &ignored) != 0;
  answer = {now == 0 ? 1 : now, answers};
  if (answers_.size() > 4096) answers_.clear();  // threads come and go; keep the cache small
  return answers;
}

bool Win32WindowSystem::PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) {
  return PostMessageW(ToHwnd(hwnd), message, ToWparam(wParam), ToLparam(lParam)) != FALSE;
}

int32_t Win32WindowSystem::SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam,
                                       int32_t lParam) {
  return static_cast<int32_t>(
      SendMessageW(ToHwnd(hwnd), message, ToWparam(wParam), ToLparam(lParam)));
}

uint32_t Win32WindowSystem::RegisterMessage(const std::string& name) {
  return RegisterWindowMessageW(Widen(name).c_str());
}

bool Win32WindowSystem::SendMessageTimeout(Hwnd hwnd, uint32_t message, int32_t wParam,
                                           int32_t lParam, uint32_t timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(ToHwnd(hwnd), message, ToWparam(wParam), ToLparam(lParam),
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs, &result) != 0;
}

Hwnd Win32WindowSystem::ForegroundWindow() { return FromHwnd(GetForegroundWindow()); }

bool Win32WindowSystem::SetForegroundWindow(Hwnd hwnd) {
  return ::SetForegroundWindow(ToHwnd(hwnd)) != FALSE;
}

// insertAfter is sign-extended, so -1, -2 and 1 are HWND_TOPMOST, HWND_NOTOPMOST and HWND_BOTTOM.
bool Win32WindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                                     uint32_t flags) {
  return ::SetWindowPos(ToHwnd(hwnd), ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

bool Win32WindowSystem::IsIconic(Hwnd hwnd) { return ::IsIconic(ToHwnd(hwnd)) != FALSE; }

// SwitchToThisWindow raises the window with a SetWindowPos that waits for the window's owner;
// one that has stopped answering is raised by a request posted to it instead.
void Win32WindowSystem::SwitchToThisWindow(Hwnd hwnd) {
  const HWND window = ToHwnd(hwnd);
  if (Answers(hwnd)) {
    ::SwitchToThisWindow(window, TRUE);
    return;
  }
  if (::IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
  ::SetForegroundWindow(window);
}

IconHandle Win32WindowSystem::ClassIcon(Hwnd hwnd, bool smallIcon) {
  const ULONG_PTR icon = GetClassLongPtrW(ToHwnd(hwnd), smallIcon ? GCLP_HICONSM : GCLP_HICON);
  return FromHicon(reinterpret_cast<HICON>(icon));
}

// Focus moves inside attached input tell the old focus window synchronously, so attaching to a
// thread that does not answer would hang this program at the next SetFocus.
bool Win32WindowSystem::AttachThreadInput(uint32_t fromThread, uint32_t toThread, bool attach) {
  if (attach) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(toThread, &info)) {
      const HWND window = info.hwndFocus != nullptr ? info.hwndFocus : info.hwndActive;
      if (window != nullptr && !Answers(FromHwnd(window))) return false;
    }
  }
  return ::AttachThreadInput(fromThread, toThread, attach ? TRUE : FALSE) != FALSE;
}

void Win32WindowSystem::SetFocus(Hwnd hwnd) { ::SetFocus(ToHwnd(hwnd)); }

// A window already layered keeps its style: the change is a message its program must handle.
bool Win32WindowSystem::SetOpacity(Hwnd hwnd, uint8_t alpha) {
  const HWND window = ToHwnd(hwnd);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((exStyle & WS_EX_LAYERED) == 0) {
    SetLastError(ERROR_SUCCESS);
    // The previous value, which may be 0 on success.
    if (SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED) == 0 &&
        GetLastError() != ERROR_SUCCESS) {
      return false;
    }
  }
  return ::SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA) != FALSE;
}

std::vector<uint32_t> Win32WindowSystem::ShellProcessIds() {
  std::vector<uint32_t> processes;
  auto add = [&](HWND window) {
    DWORD processId = 0;
    if (window != nullptr && GetWindowThreadProcessId(window, &processId) != 0) {
      processes.push_back(processId);
    }
  };
  add(GetShellWindow());
  for (HWND taskbar = nullptr;
       (taskbar = FindWindowExW(nullptr, taskbar, L"Shell_TrayWnd", nullptr));) {
    add(taskbar);
  }
  return processes;
}

}  // namespace ombrix::win32
