// System on kernel32: the process, its command line, its single-instance mutex, other
// processes and the system's version.
#pragma once

#include <optional>

#include "platform/platform.h"
#include "platform/win32/win.h"

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
  std::string ProgramFileName() override;
  // The mutex is created on the first call and held until this object goes.
  bool AnotherInstanceRunning() override;
  uint32_t CurrentThreadId() override;
  // Critical as the system's own flag says (ProcessBreakOnTermination); a process whose flag
  // cannot be read is not taken for critical.
  Termination TerminateProcess(uint32_t processId, uint32_t exitCode) override;
  std::string ProgramOfProcess(uint32_t processId) override;
  // 10 from Windows Vista on, 9 for XP and Server 2003, 8 for 2000, the major version below.
  int PlatformVersionCode() override;
  uint32_t TickCount() override;
  // The wall clock now less the time since the start (GetTickCount64, which counts sleep too).
  int64_t StartTime() override;
  int64_t CurrentTime() override;
  std::optional<FileVersion> ProgramVersion() override;
  // BCrypt: PBKDF2 over an HMAC SHA-256 provider, and the system's preferred random source.
  std::optional<std::string> DerivePasswordKey(const std::string& password, const std::string& salt,
                                               uint32_t iterations, size_t keyLength) override;
  std::optional<std::string> RandomBytes(size_t n) override;

 private:
  void* mutex_ = nullptr;
  std::optional<bool> anotherInstance_;
};

// The folder of the program file; a drive root keeps its backslash (C:\ stays C:\).
std::wstring ProgramFolderWide();

// A file time (100 ns units since 1601) as milliseconds since 1970-01-01 UTC.
int64_t UnixMilliseconds(const FILETIME& time);

// The argument text of a command line: the program name, quoted or not, and the blanks after
// it are skipped; the rest is returned as it stands.
std::wstring ArgumentsOf(const std::wstring& commandLine);

}  // namespace ombrix::win32
