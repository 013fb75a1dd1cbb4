#include "platform/win32/keyboard.h"

#include "platform/win32/win.h"

namespace ombrix::win32 {

int16_t Win32Keyboard::AsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

}  // namespace ombrix::win32
