// probe.exe's command for a window that must never come on screen, not even for a moment:
//   watch-hidden MS WIN   looks at WIN every 2 ms for MS ms; exit 1 at the first look that finds it
//                         on screen, or when there is no such window
#include <cstdio>
#include <cwchar>
#include <string>

#include "probe_common.h"

int PrivacyCommand(const std::wstring& command, int n, wchar_t** a) {
  if (command != L"watch-hidden" || n != 2) return -1;
  const DWORD ms = static_cast<DWORD>(std::wcstoul(a[0], nullptr, 10));
  const HWND hwnd = Named(a[1]);
  if (hwnd == nullptr) {
    std::printf("no such window\n");
    return 1;
  }
  const DWORD start = GetTickCount();
  unsigned looks = 0;
  for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
    ++looks;
    if (IsWindowVisible(hwnd)) {
      std::printf("on screen after %lu ms, at look %u\n", spent, looks);
      return 1;
    }
    Sleep(2);
  }
  std::printf("hidden at all %u looks in %lu ms\n", looks, ms);
  return 0;
}
