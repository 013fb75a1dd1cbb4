// Dots per inch of windows and the process's DPI awareness. The newer calls are looked up at
// run time so the program still starts on Windows 7.
#pragma once

#include "platform/win32/win.h"

namespace ombrix::win32 {

constexpr UINT kBaseDpi = 96;

// The window's DPI (GetDpiForWindow), or the screen's when the system lacks it.
UINT WindowDpi(HWND hwnd);
// The DPI of the monitor that shows the point (GetDpiForMonitor), or the system's.
UINT PointDpi(POINT point);
// The DPI the system metrics and fonts are reported at.
UINT SystemDpi();
// A length at 96 DPI, at dpi.
int Scale(int length, UINT dpi);
// The window size for a client size, at dpi.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);
// Makes the process DPI aware when the manifest has not done so.
void EnsureDpiAwareness();

}  // namespace ombrix::win32
