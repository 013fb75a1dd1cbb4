// Private window messages of the Windows side.
#pragma once

#include "platform/win32/win.h"

namespace ombrix::win32 {

// The tray icon's callback message to the main window; lParam carries the mouse message.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

}  // namespace ombrix::win32
