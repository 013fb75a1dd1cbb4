#include "platform/win32/dpi.h"

namespace ombrix::win32 {

namespace {

template <typename Function>
Function UserFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

}  // namespace

UINT WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

UINT SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static const auto getDpiForSystem = UserFunction<GetDpiForSystemFn>("GetDpiForSystem");
  return getDpiForSystem != nullptr ? getDpiForSystem() : ScreenDpi();
}

UINT PointDpi(POINT point) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                   GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  UINT x = 0;
  UINT y = 0;
  // 0 is MDT_EFFECTIVE_DPI.
  if (getDpiForMonitor != nullptr &&
      SUCCEEDED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
      y != 0) {
    return y;
  }
  return SystemDpi();
}

int Scale(int length, UINT dpi) { return MulDiv(length, static_cast<int>(dpi), kBaseDpi); }

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = UserFunction<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, clientWidth, clientHeight};
  if (adjustForDpi != nullptr) {
    adjustForDpi(&rect, style, FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void EnsureDpiAwareness() {
  if (IsProcessDPIAware()) return;
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const auto setContext = UserFunction<SetContextFn>("SetProcessDpiAwarenessContext");
  // (HANDLE)-4 is DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2.
  if (setContext != nullptr && setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) {
    return;
  }
  SetProcessDPIAware();
}

}  // namespace ombrix::win32
