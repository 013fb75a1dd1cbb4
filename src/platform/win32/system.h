// System on kernel32: the process, its command line and its single-instance mutex.
#pragma once

#include <optional>

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32System : public System {
 public:
  Win32System() = default;
  ~Win32System() override;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  uint32_t CurrentProcessId() override;
  bool IsDebuggerPresent() override;
  std::string CommandLineArgs() override;
  std::string ProgramFolder() override;
  // The mutex is created on the first call and held until this object goes.
  bool AnotherInstanceRunning() override;

 private:
  void* mutex_ = nullptr;
  std::optional<bool> anotherInstance_;
};

// The argument text of a command line: the program name, quoted or not, and the blanks after
// it are skipped; the rest is returned as it stands.
std::wstring ArgumentsOf(const std::wstring& commandLine);

}  // namespace ombrix::win32
