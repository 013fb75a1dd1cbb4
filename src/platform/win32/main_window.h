// The hidden main window of class "ThunderRT6FormDC" and caption "OmbrixMainWND". Its window
// procedure only forwards to MainWindowEvents.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

// A hidden top-level window (not a message-only one: other instances find it by class and
// caption). Returns nullptr on failure.
HWND CreateMainWindow(HINSTANCE instance, HICON icon, MainWindowEvents& events);

}  // namespace ombrix::win32
