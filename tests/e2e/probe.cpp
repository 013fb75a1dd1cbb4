// probe.exe: looks at windows, processes and the registry from inside Wine for the end-to-end tests.
// Each subcommand prints what it saw and exits 0 when its check holds, 1 when it does not, 2 on bad usage.
// Waits keep pumping this thread's messages: under Wine a thread that waits without pumping can stall.

#include <windows.h>
#include <tlhelp32.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
constexpr wchar_t kMainCaption[] = L"OmbrixMainWND";
constexpr wchar_t kProcessName[] = L"Ombrix.exe";
constexpr wchar_t kSettingsRoot[] = L"Software\\Ombrix";
constexpr DWORD kPollMs = 20;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Runs this thread's messages until `ms` have passed.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Polls `holds` until it is true or `timeoutMs` have passed; true when it held.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& holds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (holds()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpFor(kPollMs);
  }
}

DWORD ParseMs(const wchar_t* text) { return static_cast<DWORD>(std::wcstoul(text, nullptr, 10)); }

// "*" stands for any class or any caption.
const wchar_t* OrAny(const wchar_t* text) { return std::wcscmp(text, L"*") == 0 ? nullptr : text; }

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

HWND MainWindow() { return FindWindowW(kMainClass, kMainCaption); }

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0) found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// A visible top-level window of `pid` other than the main window, or null.
HWND OtherVisibleWindowOf(DWORD pid) {
  for (HWND hwnd : TopLevelWindows()) {
    if (ProcessOf(hwnd) == pid && IsWindowVisible(hwnd) && hwnd != MainWindow()) return hwnd;
  }
  return nullptr;
}

void Describe(const char* what, HWND hwnd) {
  Say("%s: hwnd=0x%llx pid=%lu class=\"%s\" caption=\"%s\" visible=%d", what,
      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)), ProcessOf(hwnd),
      Utf8(ClassOf(hwnd)).c_str(), Utf8(WindowText(hwnd)).c_str(), IsWindowVisible(hwnd) ? 1 : 0);
}

// main-window [TIMEOUT_MS]: the main window exists, is top-level, and stays hidden once its program idles.
int MainWindowCheck(DWORD timeoutMs) {
  HWND hwnd = nullptr;
  if (!WaitFor(timeoutMs, [&] { return (hwnd = MainWindow()) != nullptr; })) {
    Say("no window of class ThunderRT6FormDC with caption OmbrixMainWND");
    return 1;
  }
  if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(hwnd))) {
    WaitForInputIdle(process, timeoutMs);
    CloseHandle(process);
  }
  PumpFor(200);
  if (!IsWindow(hwnd)) {
    Say("the main window went away");
    return 1;
  }
  Describe("main window", hwnd);
  if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) {
    Say("the main window is not a top-level window");
    return 1;
  }
  if (IsWindowVisible(hwnd)) {
    Say("the main window is visible");
    return 1;
  }
  return 0;
}

int WaitWindow(const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs) {
  HWND hwnd = nullptr;
  if (!WaitFor(timeoutMs, [&] { return (hwnd = FindWindowW(OrAny(cls), OrAny(caption))) != nullptr; })) {
    Say("no such window after %lu ms", timeoutMs);
    return 1;
  }
  Describe("found", hwnd);
  return 0;
}

int WaitGone(const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs) {
  if (!WaitFor(timeoutMs, [&] { return FindWindowW(OrAny(cls), OrAny(caption)) == nullptr; })) {
    Describe("still there", FindWindowW(OrAny(cls), OrAny(caption)));
    return 1;
  }
  Say("gone");
  return 0;
}

// stays CLASS CAPTION MS: the window exists throughout and still answers messages at the end.
int Stays(const wchar_t* cls, const wchar_t* caption, DWORD ms) {
  HWND hwnd = FindWindowW(OrAny(cls), OrAny(caption));
  if (!hwnd) {
    Say("no such window");
    return 1;
  }
  if (WaitFor(ms, [&] { return !IsWindow(hwnd); })) {
    Say("the window went away");
    return 1;
  }
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &reply)) {
    Say("the window does not answer");
    return 1;
  }
  Describe("still there", hwnd);
  return 0;
}

int Post(const wchar_t* cls, const wchar_t* caption, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = FindWindowW(OrAny(cls), OrAny(caption));
  if (!hwnd) {
    Say("no such window");
    return 1;
  }
  if (!PostMessageW(hwnd, msg, wParam, lParam)) {
    Say("PostMessage failed: %lu", GetLastError());
    return 1;
  }
  Say("posted %u to 0x%llx", msg, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  return 0;
}

std::vector<std::wstring> StaticTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        std::wstring text = WindowText(child);
        if (lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0 && !text.empty()) {
          reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// msgbox TITLE TEXT TIMEOUT_MS: a visible box with that title shows that text; the probe then presses OK.
int MessageBoxCheck(const wchar_t* title, const wchar_t* text, DWORD timeoutMs) {
  HWND box = nullptr;
  auto visibleBox = [&] {
    box = FindWindowW(L"#32770", title);
    if (!box) box = FindWindowW(nullptr, title);
    return box && IsWindowVisible(box);
  };
  if (!WaitFor(timeoutMs, visibleBox)) {
    Say("no visible window titled \"%s\" after %lu ms", Utf8(title).c_str(), timeoutMs);
    return 1;
  }
  Describe("box", box);
  bool matched = false;
  for (const std::wstring& shown : StaticTexts(box)) {
    Say("text: \"%s\"", Utf8(shown).c_str());
    if (shown == text) matched = true;
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (!WaitFor(5000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
    PostMessageW(box, WM_CLOSE, 0, 0);
    if (!WaitFor(5000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
      Say("the box did not close");
      return 1;
    }
  }
  if (!matched) {
    Say("expected text \"%s\" not shown", Utf8(text).c_str());
    return 1;
  }
  Say("closed");
  return 0;
}

// send-endsession [TIMEOUT_MS]: the session-end pair of messages, as Windows sends them at log-off.
int SendEndSession(DWORD timeoutMs) {
  HWND hwnd = MainWindow();
  if (!hwnd) {
    Say("no main window");
    return 1;
  }
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, timeoutMs,
                           &reply)) {
    Say("WM_QUERYENDSESSION got no reply: error %lu", GetLastError());
    return 1;
  }
  Say("WM_QUERYENDSESSION reply %llu", static_cast<unsigned long long>(reply));
  if (reply == 0) {
    Say("the program refused to end the session");
    return 1;
  }
  // The window may be destroyed while handling this one, so a failed send is not an error here.
  BOOL sent = SendMessageTimeoutW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, timeoutMs,
                                  &reply);
  Say("WM_ENDSESSION sent=%d", sent ? 1 : 0);
  return 0;
}

HKEY OpenSection(const wchar_t* section, REGSAM access) {
  std::wstring path = std::wstring(kSettingsRoot) + L"\\" + section;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

bool ReadSetting(const wchar_t* section, const wchar_t* name, std::wstring& value) {
  HKEY key = OpenSection(section, KEY_READ);
  if (!key) return false;
  wchar_t buffer[4096] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  DWORD type = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return false;
  value = buffer;
  return true;
}

int RegGet(const wchar_t* section, const wchar_t* name) {
  std::wstring value;
  if (!ReadSetting(section, name, value)) {
    Say("missing");
    return 1;
  }
  Say("%s", Utf8(value).c_str());
  return 0;
}

int RegWait(const wchar_t* section, const wchar_t* name, const wchar_t* expected, DWORD timeoutMs) {
  std::wstring value;
  bool present = false;
  if (WaitFor(timeoutMs, [&] { return (present = ReadSetting(section, name, value)) && value == expected; })) {
    Say("%s", Utf8(value).c_str());
    return 0;
  }
  if (present) {
    Say("\"%s\", expected \"%s\"", Utf8(value).c_str(), Utf8(expected).c_str());
  } else {
    Say("missing");
  }
  return 1;
}

int RegClear() {
  LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    Say("could not delete HKCU\\Software\\Ombrix: %ld", status);
    return 1;
  }
  Say("cleared");
  return 0;
}

int WaitProcessCount(DWORD count, DWORD timeoutMs) {
  size_t seen = 0;
  if (!WaitFor(timeoutMs, [&] { return (seen = ProcessesNamed(kProcessName).size()) == count; })) {
    Say("%zu Ombrix processes, expected %lu", seen, count);
    return 1;
  }
  Say("%lu Ombrix processes", count);
  return 0;
}

// kill NAME...: ends every process with one of these file names and waits until they are gone.
int KillProcesses(int count, wchar_t** names) {
  std::vector<HANDLE> ended;
  for (int i = 0; i < count; ++i) {
    for (DWORD pid : ProcessesNamed(names[i])) {
      if (pid == GetCurrentProcessId()) continue;
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (!process) continue;
      if (TerminateProcess(process, 1)) {
        ended.push_back(process);
      } else {
        CloseHandle(process);
      }
    }
  }
  const bool gone = WaitFor(10000, [&] {
    for (HANDLE process : ended) {
      if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return false;
    }
    return true;
  });
  for (HANDLE process : ended) CloseHandle(process);
  Say("ended %zu processes", ended.size());
  return gone ? 0 : 1;
}

// splash EXE MIN_MS MAX_MS: starts the program; a visible window of its own other than the main window
// must appear, stay for at least MIN_MS and be gone (closed or hidden) within MAX_MS of appearing.
int SplashCheck(const wchar_t* exe, DWORD minMs, DWORD maxMs) {
  std::wstring commandLine = std::wstring(L"\"") + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const DWORD start = GetTickCount();
  if (!CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    Say("could not start %s: error %lu", Utf8(exe).c_str(), GetLastError());
    return 1;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  HWND splash = nullptr;
  if (!WaitFor(15000, [&] { return (splash = OtherVisibleWindowOf(info.dwProcessId)) != nullptr; })) {
    Say("no visible window of the program besides the main window within 15000 ms");
    return 1;
  }
  const DWORD shown = GetTickCount();
  Describe("splash", splash);
  Say("appeared %lu ms after the start", shown - start);
  const bool gone = WaitFor(maxMs, [&] { return !IsWindow(splash) || !IsWindowVisible(splash); });
  const DWORD stayed = GetTickCount() - shown;
  if (!gone) {
    Say("still visible %lu ms after it appeared", stayed);
    return 1;
  }
  Say("gone %lu ms after it appeared", stayed);
  if (stayed < minMs) {
    Say("expected it to stay at least %lu ms", minMs);
    return 1;
  }
  if (HWND other = OtherVisibleWindowOf(info.dwProcessId)) {
    Describe("another visible window", other);
    return 1;
  }
  return 0;
}

int Usage() {
  std::fputs(
      "usage: probe main-window [TIMEOUT_MS]\n"
      "       probe wait-window CLASS CAPTION TIMEOUT_MS   (\"*\" matches any)\n"
      "       probe wait-gone CLASS CAPTION TIMEOUT_MS\n"
      "       probe stays CLASS CAPTION MS\n"
      "       probe post CLASS CAPTION MSG [WPARAM [LPARAM]]\n"
      "       probe msgbox TITLE TEXT TIMEOUT_MS\n"
      "       probe send-endsession [TIMEOUT_MS]\n"
      "       probe reg-get SECTION KEY\n"
      "       probe reg-wait SECTION KEY VALUE TIMEOUT_MS\n"
      "       probe reg-clear\n"
      "       probe wait-processes COUNT TIMEOUT_MS\n"
      "       probe kill NAME...\n"
      "       probe splash EXE MIN_MS MAX_MS\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  const int n = argc - 2;
  wchar_t** a = argv + 2;
  if (command == L"main-window" && n <= 1) return MainWindowCheck(n == 1 ? ParseMs(a[0]) : 15000);
  if (command == L"wait-window" && n == 3) return WaitWindow(a[0], a[1], ParseMs(a[2]));
  if (command == L"wait-gone" && n == 3) return WaitGone(a[0], a[1], ParseMs(a[2]));
  if (command == L"stays" && n == 3) return Stays(a[0], a[1], ParseMs(a[2]));
  if (command == L"post" && n >= 3 && n <= 5) {
    return Post(a[0], a[1], static_cast<UINT>(std::wcstoul(a[2], nullptr, 0)),
                n >= 4 ? static_cast<WPARAM>(std::wcstoull(a[3], nullptr, 0)) : 0,
                n >= 5 ? static_cast<LPARAM>(std::wcstoll(a[4], nullptr, 0)) : 0);
  }
  if (command == L"msgbox" && n == 3) return MessageBoxCheck(a[0], a[1], ParseMs(a[2]));
  if (command == L"send-endsession" && n <= 1) return SendEndSession(n == 1 ? ParseMs(a[0]) : 10000);
  if (command == L"reg-get" && n == 2) return RegGet(a[0], a[1]);
  if (command == L"reg-wait" && n == 4) return RegWait(a[0], a[1], a[2], ParseMs(a[3]));
  if (command == L"reg-clear" && n == 0) return RegClear();
  if (command == L"wait-processes" && n == 2) return WaitProcessCount(ParseMs(a[0]), ParseMs(a[1]));
  if (command == L"kill" && n >= 1) return KillProcesses(n, a);
  if (command == L"splash" && n == 3) return SplashCheck(a[0], ParseMs(a[1]), ParseMs(a[2]));
  return Usage();
}
