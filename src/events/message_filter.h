// Which window messages the main window admits from processes of lower integrity (an elevated
// instance, where the system filters them). Only what must cross is admitted: the shell's tray
// callback and its "TaskbarCreated", and only into an elevated instance, whose notification
// area runs lower. The hook library's notices come from its own thread inside this process and
// need no admission; other programs' requests are never admitted, or a sandboxed process could
// switch desktops or aim a move at a window of its choice.
#pragma once

#include <cstdint>

namespace ombrix {

enum class IncomingMessage { HookNotice, Request, SecondInstance, TrayCallback, TaskbarCreated };

constexpr bool AdmitFromLowerIntegrity(IncomingMessage message, bool elevated) {
  return elevated && (message == IncomingMessage::TrayCallback ||
                      message == IncomingMessage::TaskbarCreated);
}

}  // namespace ombrix
