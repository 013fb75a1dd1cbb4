// Helpers that probe.exe's commands share (probe.cpp, probe_forms.cpp).
#include "probe_common.h"

namespace {
constexpr DWORD kPollMs = 20;
}  // namespace

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

// Runs this thread's messages until `ms` have passed.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Polls `holds` until it is true or `timeoutMs` have passed; true when it held.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& holds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (holds()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpFor(kPollMs);
  }
}

void ClickAt(LONG x, LONG y) {
  SetCursorPos(x, y);
  PumpFor(100);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  PumpFor(100);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

HWND Named(const wchar_t* name) {
  if (name[0] == L'@') return FindWindowW(name + 1, nullptr);
  return FindWindowW(nullptr, name);
}

HWND NthShown(HWND parent, const wchar_t* cls, int n) {
  if (parent == nullptr) return nullptr;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiW(ClassOf(child).c_str(), cls) == 0 && IsWindowVisible(child) && --n == 0) {
      return child;
    }
  }
  return nullptr;
}
