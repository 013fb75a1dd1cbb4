// The main window's handler for the hook library's notices, hot-keys, the tray re-creation
// request, system setting changes and the requests of other programs.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace ombrix {

class Program;

MessageResult HandleMainWindowMessage(Program& program, uint32_t uMsg, int32_t wParam,
                                      int32_t lParam);

}  // namespace ombrix
