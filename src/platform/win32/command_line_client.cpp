#include "platform/win32/command_line_client.h"

#include "platform/platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
constexpr wchar_t kMainCaption[] = L"OmbrixMainWND";
// How long an instance that stopped handling messages is waited for. While it handles them the
// wait goes on (a person may be typing a desktop's password into its prompt).
constexpr UINT kUnresponsiveMs = 20000;
// How long an instance that answered an exit request is given to end its process.
constexpr DWORD kEndMs = 10000;

class Win32RunningInstance : public RunningInstance {
 public:
  Win32RunningInstance() : window_(FindWindowW(kMainClass, kMainCaption)) {
    if (window_ == nullptr) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window_, &processId);
    process_ = OpenProcess(SYNCHRONIZE, FALSE, processId);
    // This process was just started by the user, so it may hand the foreground on: a password
    // prompt the request brings up then comes to the front.
    AllowSetForegroundWindow(processId);
  }
  ~Win32RunningInstance() override {
    if (process_ != nullptr) CloseHandle(process_);
  }
  Win32RunningInstance(const Win32RunningInstance&) = delete;
  Win32RunningInstance& operator=(const Win32RunningInstance&) = delete;

  bool Found() override { return window_ != nullptr; }

  std::optional<int32_t> Ask(uint32_t message, int32_t wParam, int32_t lParam) override {
    constexpr UINT kFlags = SMTO_ABORTIFHUNG | SMTO_NOTIMEOUTIFNOTHUNG | SMTO_ERRORONEXIT;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window_, message, static_cast<WPARAM>(static_cast<intptr_t>(wParam)),
                             static_cast<LPARAM>(lParam), kFlags, kUnresponsiveMs, &result)) {
      return std::nullopt;
    }
    return static_cast<int32_t>(result);
  }

  void WaitForEnd() override {
    if (process_ != nullptr) WaitForSingleObject(process_, kEndMs);
  }

  bool IsWindow(Hwnd hwnd) override { return ::IsWindow(ToHwnd(hwnd)) != FALSE; }
  Hwnd ForegroundWindow() override { return FromHwnd(GetForegroundWindow()); }

 private:
  HWND window_;
  HANDLE process_ = nullptr;
};

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Where the answers go. A program of the Windows subsystem has no console of its own: a handle
// the caller gave (a pipe or a file, as PowerShell gives when it keeps the output) is used as
// it is, and otherwise the console of the process that started this one. Started from a
// shortcut or a launcher, there is neither.
class Console {
 public:
  Console() {
    out_ = GetStdHandle(STD_OUTPUT_HANDLE);
    err_ = GetStdHandle(STD_ERROR_HANDLE);
    if (Usable(out_) && Usable(err_)) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
      console_ =
          CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    }
    if (!Usable(out_)) out_ = console_;
    if (!Usable(err_)) err_ = console_;
  }
  ~Console() {
    if (Usable(console_)) CloseHandle(console_);
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  bool Present() const { return Usable(out_) || Usable(err_); }
  void Out(const std::string& text) { Write(out_, text); }
  void Err(const std::string& text) { Write(err_, text); }

 private:
  static void Write(HANDLE handle, const std::string& text) {
    if (text.empty() || !Usable(handle)) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
      const std::wstring wide = Widen(text);
      WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
  }

  HANDLE out_ = nullptr;
  HANDLE err_ = nullptr;
  HANDLE console_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (args == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(args[i]));
  LocalFree(args);
  return arguments;
}

int RunCommandLine(const CommandLine& line) {
  Console console;
  Win32RunningInstance instance;
  const CommandOutcome outcome = RunCommand(line, instance);
  if (console.Present()) {
    console.Out(outcome.out);
    console.Err(outcome.err);
  } else if (line.command == Command::Help) {
    // Asked for the usage, or given a bad argument, from a shortcut or a launcher: the person
    // who set it up learns what is wrong.
    const bool bad = !outcome.err.empty();
    MessageBoxW(nullptr, Widen(bad ? outcome.err : outcome.out).c_str(), L"Ombrix",
                MB_OK | (bad ? MB_ICONERROR : MB_ICONINFORMATION));
  }
  return outcome.exitCode;
}

}  // namespace ombrix::win32
