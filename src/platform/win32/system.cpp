#include "platform/win32/system.h"

#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win.h"
// Needs <windows.h> first.
#include <bcrypt.h>

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

namespace {

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::wstring ProgramFolderWide() {
  const std::wstring path = ProgramPath();
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  return path.substr(0, slash == 2 && path[1] == L':' ? slash + 1 : slash);
}

Win32System::~Win32System() {
  if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

uint32_t Win32System::CurrentProcessId() { return GetCurrentProcessId(); }

bool Win32System::IsDebuggerPresent() { return ::IsDebuggerPresent() != FALSE; }

std::string Win32System::CommandLineArgs() { return Narrow(ArgumentsOf(GetCommandLineW())); }

std::string Win32System::ProgramFolder() { return Narrow(ProgramFolderWide()); }

std::string Win32System::ProgramFileName() {
  const std::wstring path = ProgramPath();
  return Narrow(path.substr(path.find_last_of(L"\\/") + 1));
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

uint32_t Win32System::CurrentThreadId() { return GetCurrentThreadId(); }

namespace {

// Owns a process handle for the length of one call.
class ProcessHandle {
 public:
  ProcessHandle(DWORD access, uint32_t processId)
      : handle_(::OpenProcess(access, FALSE, processId)) {}
  ~ProcessHandle() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The flag that makes the system stop when the process ends. NtQueryInformationProcess has it
// on every version (IsProcessCritical only from 8.1); it is looked up at run time.
bool IsCritical(HANDLE process) {
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const QueryFn query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  constexpr int kProcessBreakOnTermination = 29;
  ULONG critical = 0;
  return query != nullptr &&
         query(process, kProcessBreakOnTermination, &critical, sizeof(critical), nullptr) >= 0 &&
         critical != 0;
}

}  // namespace

Termination Win32System::TerminateProcess(uint32_t processId, uint32_t exitCode) {
  const ProcessHandle process(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, processId);
  if (process.Get() == nullptr) return Termination::NotOpened;
  if (IsCritical(process.Get())) return Termination::Critical;
  return ::TerminateProcess(process.Get(), exitCode) ? Termination::Done : Termination::Failed;
}

// Limited rights are granted for the processes of elevated programs too.
std::string Win32System::ProgramOfProcess(uint32_t processId) {
  const ProcessHandle process(PROCESS_QUERY_LIMITED_INFORMATION, processId);
  if (process.Get() == nullptr) return {};
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return Narrow(path.substr(path.find_last_of(L"\\/") + 1));
}

// GetVersionEx reports the version the manifest declares support for, not the real one;
// RtlGetVersion does not.
int Win32System::PlatformVersionCode() {
  static const int code = [] {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Without it the system is older than 2000, which has no layered windows.
    if (getVersion == nullptr || getVersion(&info) != 0) return 4;
    if (info.dwMajorVersion >= 6) return 10;
    if (info.dwMajorVersion == 5) return info.dwMinorVersion >= 1 ? 9 : 8;
    return static_cast<int>(info.dwMajorVersion);
  }();
  return code;
}

uint32_t Win32System::TickCount() { return GetTickCount(); }

int64_t Win32System::StartTime() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return UnixMilliseconds(now) - static_cast<int64_t>(GetTickCount64());
}

int64_t Win32System::CurrentTime() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return UnixMilliseconds(now);
}

int64_t UnixMilliseconds(const FILETIME& time) {
  constexpr int64_t kFrom1601To1970 = 116444736000000000;  // in 100 ns units
  const int64_t units = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                             time.dwLowDateTime);
  return (units - kFrom1601To1970) / 10000;
}

std::optional<FileVersion> Win32System::ProgramVersion() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::nullopt;
  path.resize(length);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
      info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

// An HMAC SHA-256 provider opened for each derivation: Windows 7 has no ready-made handle.
std::optional<std::string> Win32System::DerivePasswordKey(const std::string& password,
                                                          const std::string& salt,
                                                          uint32_t iterations, size_t keyLength) {
  if (password.size() > MAXDWORD || salt.size() > MAXDWORD || keyLength > MAXDWORD) {
    return std::nullopt;
  }
  BCRYPT_ALG_HANDLE hmac = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&hmac, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                  BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
    return std::nullopt;
  }
  std::string key(keyLength, '\0');
  auto bytes = [](const std::string& text) {
    return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data()));
  };
  const NTSTATUS status = BCryptDeriveKeyPBKDF2(
      hmac, bytes(password), static_cast<ULONG>(password.size()), bytes(salt),
      static_cast<ULONG>(salt.size()), iterations, reinterpret_cast<PUCHAR>(key.data()),
      static_cast<ULONG>(key.size()), 0);
  BCryptCloseAlgorithmProvider(hmac, 0);
  if (!BCRYPT_SUCCESS(status)) return std::nullopt;
  return key;
}

std::optional<std::string> Win32System::RandomBytes(size_t n) {
  if (n > MAXDWORD) return std::nullopt;
  std::string bytes(n, '\0');
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()),
                                      static_cast<ULONG>(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace ombrix::win32
