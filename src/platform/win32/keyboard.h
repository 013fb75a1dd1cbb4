// Keyboard on user32.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Keyboard : public Keyboard {
 public:
  int16_t AsyncKeyState(int virtualKey) override;
};

}  // namespace ombrix::win32
