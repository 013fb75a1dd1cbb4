// Shell on ShellExecuteW.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Shell : public Shell {
 public:
  bool OpenDocument(Hwnd owner, const std::string& pathOrAddress) override;
};

}  // namespace ombrix::win32
