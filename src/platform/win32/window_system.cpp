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

}  // namespace

std::vector<Hwnd> Win32WindowSystem::TopLevelWindows() {
  std::vector<Hwnd> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

Hwnd Win32WindowSystem::FindWindow(const std::string& className, const std::string& caption) {
  const std::wstring wideClass = Widen(className);
  const std::wstring wideCaption = Widen(caption);
  return FromHwnd(FindWindowW(OrNull(wideClass), OrNull(wideCaption)));
}

bool Win32WindowSystem::IsWindow(Hwnd hwnd) { return ::IsWindow(ToHwnd(hwnd)) != FALSE; }

bool Win32WindowSystem::IsWindowVisible(Hwnd hwnd) {
  return ::IsWindowVisible(ToHwnd(hwnd)) != FALSE;
}

std::string Win32WindowSystem::ClassName(Hwnd hwnd) {
  wchar_t buffer[kTextBuffer];
  const int length = GetClassNameW(ToHwnd(hwnd), buffer, kTextBuffer);
  return length > 0 ? Narrow(buffer, static_cast<size_t>(length)) : std::string();
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
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(ToHwnd(hwnd), &processId);
  return {threadId, processId};
}

// A window whose program has stopped answering would block a synchronous ShowWindow.
bool Win32WindowSystem::ShowWindow(Hwnd hwnd, int command) {
  const HWND window = ToHwnd(hwnd);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != GetCurrentProcessId() && IsHungAppWindow(window)) {
    return ShowWindowAsync(window, command) != FALSE;
  }
  return ::ShowWindow(window, command) != FALSE;
}

bool Win32WindowSystem::PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) {
  return PostMessageW(ToHwnd(hwnd), message, ToWparam(wParam), ToLparam(lParam)) != FALSE;
}

int32_t Win32WindowSystem::SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam,
                                       int32_t lParam) {
  return static_cast<int32_t>(
      SendMessageW(ToHwnd(hwnd), message, ToWparam(wParam), ToLparam(lParam)));
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

}  // namespace ombrix::win32
