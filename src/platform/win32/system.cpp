#include "platform/win32/system.h"

#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {
// "Local\" keeps the name within the user's session.
constexpr const wchar_t* kInstanceMutex = L"Local\\Ombrix.SingleInstance";
}  // namespace

std::wstring ArgumentsOf(const std::wstring& commandLine) {
  size_t pos = 0;
  const size_t size = commandLine.size();
  if (size > 0 && commandLine[0] == L'"') {
    // A quoted name ends at its closing quote, as in WinMain's own command-line text.
    const size_t close = commandLine.find(L'"', 1);
    pos = close == std::wstring::npos ? size : close + 1;
  } else {
    while (pos < size && commandLine[pos] != L' ' && commandLine[pos] != L'\t') ++pos;
  }
  while (pos < size && (commandLine[pos] == L' ' || commandLine[pos] == L'\t')) ++pos;
  return commandLine.substr(pos);
}

Win32System::~Win32System() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

uint32_t Win32System::CurrentProcessId() { return GetCurrentProcessId(); }

bool Win32System::IsDebuggerPresent() { return ::IsDebuggerPresent() != FALSE; }

std::string Win32System::CommandLineArgs() { return Narrow(ArgumentsOf(GetCommandLineW())); }

std::string Win32System::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  // A drive root keeps its backslash ("C:\"), like the system's own folder texts.
  return Narrow(path.substr(0, slash == 2 && path[1] == L':' ? slash + 1 : slash));
}

bool Win32System::AnotherInstanceRunning() {
  if (!anotherInstance_) {
    mutex_ = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    // An existing mutex that this process may not open (an elevated instance made it) exists
    // all the same.
    const DWORD error = GetLastError();
    anotherInstance_ = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  }
  return *anotherInstance_;
}

}  // namespace ombrix::win32
