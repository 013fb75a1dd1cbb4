// probe.exe: looks at windows, processes and the registry from inside Wine for the end-to-end tests.
// Each subcommand prints what it saw and exits 0 when its check holds, 1 when it does not, 2 on bad usage.
// Waits keep pumping this thread's messages: under Wine a thread that waits without pumping can stall.

#include <windows.h>
#include <commctrl.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "probe_common.h"
#include "probe_forms.h"

namespace {

constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
constexpr wchar_t kMainCaption[] = L"OmbrixMainWND";
constexpr wchar_t kProcessName[] = L"Ombrix.exe";
constexpr wchar_t kSettingsRoot[] = L"Software\\Ombrix";

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

DWORD ParseMs(const wchar_t* text) { return static_cast<DWORD>(std::wcstoul(text, nullptr, 10)); }

// "*" stands for any class or any caption.
const wchar_t* OrAny(const wchar_t* text) { return std::wcscmp(text, L"*") == 0 ? nullptr : text; }

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
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

// post CLASS CAPTION MSG [WPARAM [LPARAM]]: posts to that window ("*" matches any).
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

// The two characters \n stand for a line break; a box shows its line breaks as CR LF.
std::wstring Unescape(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      out += L'\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::wstring WithoutCarriageReturns(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c != L'\r') out += c;
  }
  return out;
}

// msgbox TITLE TEXT TIMEOUT_MS [yes|no]: a visible box with that title shows that text; the probe then
// presses OK, or Yes or No.
int MessageBoxCheck(const wchar_t* title, const wchar_t* text, DWORD timeoutMs, WORD button = IDOK) {
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
  const std::wstring expected = Unescape(text);
  for (const std::wstring& shown : StaticTexts(box)) {
    Say("text: \"%s\"", Utf8(shown).c_str());
    if (WithoutCarriageReturns(shown) == expected) matched = true;
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
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

// reg-wait SECTION KEY VALUE TIMEOUT_MS: the setting holds that value within the time.
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

// reg-set SECTION NAME=VALUE...: writes text values, creating the section when it is missing.
int RegSet(const wchar_t* section, int count, wchar_t** pairs) {
  const std::wstring path = std::wstring(kSettingsRoot) + L"\\" + section;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    Say("cannot create %s", Utf8(path).c_str());
    return 1;
  }
  int status = 0;
  for (int i = 0; i < count; ++i) {
    const std::wstring pair = pairs[i];
    const size_t equals = pair.find(L'=');
    if (equals == std::wstring::npos) {
      status = 2;
      break;
    }
    const std::wstring name = pair.substr(0, equals);
    const std::wstring value = pair.substr(equals + 1);
    if (RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
      status = 1;
      break;
    }
  }
  RegCloseKey(key);
  Say(status == 0 ? "set" : "failed");
  return status;
}

// reg-clear: deletes every setting of Ombrix.
int RegClear() {
  LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    Say("could not delete HKCU\\Software\\Ombrix: %ld", status);
    return 1;
  }
  Say("cleared");
  return 0;
}

// wait-processes COUNT TIMEOUT_MS [NAME]: exactly COUNT processes of that file name (Ombrix.exe) run
// within the time.
int WaitProcessCount(DWORD count, DWORD timeoutMs, const wchar_t* name = kProcessName) {
  size_t seen = 0;
  if (!WaitFor(timeoutMs, [&] { return (seen = ProcessesNamed(name).size()) == count; })) {
    Say("%zu %s processes, expected %lu", seen, Utf8(name).c_str(), count);
    return 1;
  }
  Say("%lu %s processes", count, Utf8(name).c_str());
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

// A window named on the command line: "@CLASS" names it by class, anything else by title.
// States a named window can be in; "gone" means that no window has that name.
bool InState(const std::wstring& state, const wchar_t* name) {
  HWND hwnd = Named(name);
  if (state == L"gone") return hwnd == nullptr;
  if (hwnd == nullptr) return false;
  if (state == L"shown") return IsWindowVisible(hwnd) != FALSE;
  if (state == L"hidden") return IsWindowVisible(hwnd) == FALSE;
  if (state == L"zoomed") return IsZoomed(hwnd) != FALSE;
  if (state == L"iconic") return IsIconic(hwnd) != FALSE;
  if (state == L"foreground") return GetForegroundWindow() == hwnd;
  return false;
}

bool KnownState(const std::wstring& state) {
  for (const wchar_t* known : {L"gone", L"shown", L"hidden", L"zoomed", L"iconic", L"foreground"}) {
    if (state == known) return true;
  }
  return false;
}

void DescribeNamed(const wchar_t* name) {
  if (HWND hwnd = Named(name)) {
    Say("%s: visible=%d zoomed=%d iconic=%d foreground=%d", Utf8(name).c_str(),
        IsWindowVisible(hwnd) ? 1 : 0, IsZoomed(hwnd) ? 1 : 0, IsIconic(hwnd) ? 1 : 0,
        GetForegroundWindow() == hwnd ? 1 : 0);
  } else {
    Say("%s: no such window", Utf8(name).c_str());
  }
}

bool AllInState(const std::wstring& state, int count, wchar_t** names) {
  for (int i = 0; i < count; ++i) {
    if (!InState(state, names[i])) return false;
  }
  return true;
}

// wait STATE TIMEOUT_MS WIN...: every window reaches the state within the time.
int WaitState(const std::wstring& state, DWORD timeoutMs, int count, wchar_t** names) {
  const DWORD start = GetTickCount();
  const bool reached = WaitFor(timeoutMs, [&] { return AllInState(state, count, names); });
  if (!reached) {
    Say("not all %s after %lu ms:", Utf8(state).c_str(), timeoutMs);
    for (int i = 0; i < count; ++i) DescribeNamed(names[i]);
    return 1;
  }
  Say("all %s after %lu ms", Utf8(state).c_str(), GetTickCount() - start);
  return 0;
}

// hold STATE MS WIN...: every window is in the state from now on for the whole time.
int HoldState(const std::wstring& state, DWORD ms, int count, wchar_t** names) {
  const DWORD start = GetTickCount();
  if (WaitFor(ms, [&] { return !AllInState(state, count, names); })) {
    Say("left the state %s after %lu ms:", Utf8(state).c_str(), GetTickCount() - start);
    for (int i = 0; i < count; ++i) DescribeNamed(names[i]);
    return 1;
  }
  Say("all stayed %s for %lu ms", Utf8(state).c_str(), ms);
  return 0;
}

// activate WIN: WIN becomes the foreground window.
int Activate(const wchar_t* name) {
  HWND hwnd = Named(name);
  if (hwnd == nullptr) {
    Say("no such window");
    return 1;
  }
  SetForegroundWindow(hwnd);
  if (!WaitFor(3000, [&] { return GetForegroundWindow() == hwnd; })) {
    Describe("foreground is", GetForegroundWindow());
    return 1;
  }
  Say("active");
  return 0;
}

// A key combination such as "win+2" or "shift+win+3"; 0 in the list for an unknown name.
std::vector<WORD> ParseKeys(const std::wstring& combo) {
  std::vector<WORD> keys;
  size_t begin = 0;
  while (begin <= combo.size()) {
    size_t end = combo.find(L'+', begin);
    if (end == std::wstring::npos) end = combo.size();
    const std::wstring name = combo.substr(begin, end - begin);
    WORD vk = 0;
    if (name == L"shift") vk = VK_SHIFT;
    else if (name == L"ctrl") vk = VK_CONTROL;
    else if (name == L"alt") vk = VK_MENU;
    else if (name == L"win") vk = VK_LWIN;
    else if (name == L"left") vk = VK_LEFT;
    else if (name == L"right") vk = VK_RIGHT;
    else if (name == L"up") vk = VK_UP;
    else if (name == L"down") vk = VK_DOWN;
    else if (name == L"esc") vk = VK_ESCAPE;
    else if (name == L"enter") vk = VK_RETURN;
    else if (name == L"tab") vk = VK_TAB;
    else if (name == L"space") vk = VK_SPACE;
    else if (name.size() == 1 && name[0] >= L'a' && name[0] <= L'z') vk = static_cast<WORD>(name[0] - L'a' + 'A');
    else if (name.size() == 1 && name[0] >= L'0' && name[0] <= L'9') vk = static_cast<WORD>(name[0]);
    keys.push_back(vk);
    begin = end + 1;
  }
  return keys;
}

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LWIN || (vk >= VK_LEFT && vk <= VK_DOWN)) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  SendInput(1, &input, sizeof input);
  PumpFor(30);
}

// keys COMBO...: presses each combination as a user would, the keys down in order, up in reverse.
int PressKeys(int count, wchar_t** combos) {
  for (int i = 0; i < count; ++i) {
    const std::vector<WORD> keys = ParseKeys(combos[i]);
    for (WORD vk : keys) {
      if (vk == 0) {
        Say("unknown key in \"%s\"", Utf8(combos[i]).c_str());
        return 2;
      }
    }
    for (WORD vk : keys) SendKey(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) SendKey(*it, true);
    Say("pressed %s", Utf8(combos[i]).c_str());
  }
  return 0;
}

// send WIN MSG WPARAM TIMEOUT_MS: the window answers the sent message in time.
int Send(const wchar_t* name, UINT message, WPARAM wParam, DWORD timeoutMs) {
  HWND hwnd = Named(name);
  if (hwnd == nullptr) {
    Say("no such window");
    return 1;
  }
  DWORD_PTR reply = 0;
  const DWORD start = GetTickCount();
  if (!SendMessageTimeoutW(hwnd, message, wParam, 0, SMTO_NORMAL, timeoutMs, &reply)) {
    Say("no answer within %lu ms", timeoutMs);
    return 1;
  }
  Say("answered %llu after %lu ms", static_cast<unsigned long long>(reply), GetTickCount() - start);
  return 0;
}

// request MSG WPARAM LPARAM EXPECTED: sends the request to Ombrix's main window and waits at most
// 10 s for the reply, which must be EXPECTED. WPARAM "win:NAME" is the handle of that window.
int Request(UINT message, const wchar_t* wParamText, LPARAM lParam, long expected) {
  HWND main = MainWindow();
  if (main == nullptr) {
    Say("no main window");
    return 1;
  }
  WPARAM wParam = 0;
  if (std::wcsncmp(wParamText, L"win:", 4) == 0) {
    HWND hwnd = Named(wParamText + 4);
    if (hwnd == nullptr) {
      Say("no window \"%s\"", Utf8(wParamText + 4).c_str());
      return 1;
    }
    wParam = reinterpret_cast<WPARAM>(hwnd);
  } else {
    wParam = static_cast<WPARAM>(std::wcstoll(wParamText, nullptr, 0));
  }
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(main, message, wParam, lParam, SMTO_NORMAL, 10000, &reply)) {
    Say("no reply to %u within 10 s", message);
    return 1;
  }
  // The reply is a 32-bit value, negative for a refusal.
  const long value = static_cast<int32_t>(reply);
  Say("replied %ld to %u", value, message);
  return value == expected ? 0 : 1;
}

// place WIN X Y WIDTH HEIGHT: moves and sizes the window, for a screenshot.
int Place(const wchar_t* name, int x, int y, int width, int height) {
  HWND hwnd = Named(name);
  if (hwnd == nullptr || !SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) {
    Say("could not place \"%s\"", Utf8(name).c_str());
    return 1;
  }
  PumpFor(100);
  return 0;
}

// alpha WIN VALUE TIMEOUT_MS: the window becomes layered with that constant alpha.
int Alpha(const wchar_t* name, BYTE expected, DWORD timeoutMs) {
  BYTE alpha = 0;
  DWORD flags = 0;
  auto layered = [&] {
    HWND hwnd = Named(name);
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
           GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
           alpha == expected;
  };
  if (!WaitFor(timeoutMs, layered)) {
    Say("not layered with alpha %u (last read: alpha %u, flags %lu)", expected, alpha, flags);
    return 1;
  }
  Say("layered, alpha %u", alpha);
  return 0;
}

// known-folder-local: prints the user's local application-data folder.
int KnownFolderLocal() {
  PWSTR folder = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) return 1;
  std::printf("%s\n", Utf8(folder).c_str());
  CoTaskMemFree(folder);
  return 0;
}

// wallpaper-set PATH: sets the wallpaper as the system's own settings do, telling every window.
int WallpaperSet(const wchar_t* path) {
  std::wstring file = path;
  if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, file.data(),
                             SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
    Say("SystemParametersInfo refused the wallpaper: error %lu", GetLastError());
    return 1;
  }
  return 0;
}

// wallpaper-is PATH TIMEOUT_MS: the system's wallpaper becomes that file (case ignored). Read from
// the registry at every look: a process keeps the system parameters it read once.
int WallpaperIs(const wchar_t* expected, DWORD timeoutMs) {
  wchar_t current[MAX_PATH] = L"";
  auto matches = [&] {
    DWORD bytes = sizeof(current);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                     nullptr, current, &bytes) != ERROR_SUCCESS) {
      current[0] = L'\0';
    }
    return lstrcmpiW(current, expected) == 0;
  };
  if (!WaitFor(timeoutMs, matches)) {
    Say("the wallpaper is \"%s\"", Utf8(current).c_str());
    return 1;
  }
  return 0;
}

// restore-lists FILE WIN...: the recovery file holds the handle of every named window.
int RestoreLists(const wchar_t* path, int count, wchar_t** names) {
  std::vector<int32_t> handles;
  if (FILE* file = _wfopen(path, L"rb")) {
    int32_t value = 0;
    while (std::fread(&value, sizeof value, 1, file) == 1) handles.push_back(value);
    std::fclose(file);
  } else {
    Say("cannot read %s", Utf8(path).c_str());
    return 1;
  }
  Say("%zu handles", handles.size());
  int missing = 0;
  for (int i = 0; i < count; ++i) {
    HWND hwnd = Named(names[i]);
    const auto handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd));
    bool listed = false;
    for (int32_t h : handles) listed = listed || (hwnd != nullptr && h == handle);
    Say("%s: 0x%x %s", Utf8(names[i]).c_str(), static_cast<unsigned>(handle),
        listed ? "listed" : "NOT listed");
    if (!listed) ++missing;
  }
  return missing == 0 ? 0 : 1;
}

// flash KEYS CLASS CAPTION MIN_MS MAX_MS: after the keys, a visible window of Ombrix.exe with that
// class and caption appears within 3 s (or MAX_MS, when longer), stays at least MIN_MS and is gone
// within MAX_MS. Its texts are printed.
int Flash(wchar_t* keys, const wchar_t* cls, const wchar_t* caption, DWORD minMs, DWORD maxMs) {
  if (int status = PressKeys(1, &keys); status != 0) return status;
  const std::vector<DWORD> ombrix = ProcessesNamed(kProcessName);
  HWND hwnd = nullptr;
  auto shown = [&] {
    hwnd = FindWindowW(cls, caption);
    return hwnd && IsWindowVisible(hwnd);
  };
  const DWORD appearMs = std::max<DWORD>(3000, maxMs);
  if (!WaitFor(appearMs, shown)) {
    Say("no visible window of that class and caption within %lu ms", appearMs);
    return 1;
  }
  const DWORD appeared = GetTickCount();
  Describe("shown", hwnd);
  for (const std::wstring& text : StaticTexts(hwnd)) Say("text: \"%s\"", Utf8(text).c_str());
  bool ours = false;
  for (DWORD pid : ombrix) ours = ours || pid == ProcessOf(hwnd);
  if (!ours) {
    Say("the window is not Ombrix's");
    return 1;
  }
  const bool gone = WaitFor(maxMs, [&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); });
  const DWORD stayed = GetTickCount() - appeared;
  Say("%s after %lu ms", gone ? "gone" : "still shown", stayed);
  return gone && stayed >= minMs ? 0 : 1;
}

// no-msgbox TITLE MS: no visible window with that title shows up within the time.
int NoMessageBox(const wchar_t* title, DWORD ms) {
  HWND box = nullptr;
  if (WaitFor(ms, [&] { return (box = FindWindowW(nullptr, title)) && IsWindowVisible(box); })) {
    Describe("box", box);
    for (const std::wstring& shown : StaticTexts(box)) Say("text: \"%s\"", Utf8(shown).c_str());
    return 1;
  }
  Say("none");
  return 0;
}

// The open pop-up menu windows of Ombrix.exe, the newest first.
std::vector<HWND> OmbrixMenus() {
  std::vector<HWND> menus;
  const std::vector<DWORD> ombrix = ProcessesNamed(kProcessName);
  for (HWND hwnd : TopLevelWindows()) {
    if (ClassOf(hwnd) != L"#32768" || !IsWindowVisible(hwnd)) continue;
    for (DWORD pid : ombrix) {
      if (pid == ProcessOf(hwnd)) menus.push_back(hwnd);
    }
  }
  return menus;
}

std::wstring MenuFilePath() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"ombrix-menu.txt";
}

// The average colour of the pixels of the screen rectangle that are neither the menu's background
// nor its text (normal or greyed).
std::string PictureColour(const RECT& rect) {
  HDC screen = GetDC(nullptr);
  const COLORREF ignored[] = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT),
                              GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_3DHILIGHT)};
  long r = 0, g = 0, b = 0, n = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      if (pixel == CLR_INVALID ||
          std::find(std::begin(ignored), std::end(ignored), pixel) != std::end(ignored)) {
        continue;
      }
      r += GetRValue(pixel);
      g += GetGValue(pixel);
      b += GetBValue(pixel);
      ++n;
    }
  }
  ReleaseDC(nullptr, screen);
  if (n == 0) return "none";
  char text[48];
  std::snprintf(text, sizeof text, "%ld,%ld,%ld", r / n, g / n, b / n);
  return text;
}

struct MenuItemSeen {
  std::string kind, state, text, colour;
  RECT rect{};
  bool picture = false;
};

// Reads the open menus of Ombrix through menureader.dll, hooked into the thread that shows
// them. Each item's colour is that of its picture column on screen.
bool ReadMenus(DWORD timeoutMs, std::vector<std::string>& lines, std::vector<MenuItemSeen>& items) {
  std::vector<HWND> menus;
  if (!WaitFor(timeoutMs, [&] { return !(menus = OmbrixMenus()).empty(); })) {
    Say("no menu of Ombrix open after %lu ms", timeoutMs);
    return false;
  }
  PumpFor(300);  // the menu paints its items
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring library = self;
  library = library.substr(0, library.find_last_of(L"\\/") + 1) + L"menureader.dll";
  HMODULE reader = LoadLibraryW(library.c_str());
  auto* hook = reader ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                            GetProcAddress(reader, "ReadMenuHook")))
                      : nullptr;
  if (hook == nullptr) {
    Say("cannot load %s", Utf8(library).c_str());
    return false;
  }
  const std::wstring path = MenuFilePath();
  DeleteFileW(path.c_str());
  HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook, reader,
                                      GetWindowThreadProcessId(menus.front(), nullptr));
  PostMessageW(menus.front(), RegisterWindowMessageW(L"OmbrixTestReadMenu"), 0, 0);
  const bool written = WaitFor(5000, [&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
  if (installed) UnhookWindowsHookEx(installed);
  if (!written) {
    Say("the menu reader wrote nothing");
    return false;
  }
  FILE* file = _wfopen(path.c_str(), L"rb");
  char buffer[2048];
  while (file && std::fgets(buffer, sizeof buffer, file)) {
    std::string line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.rfind("item ", 0) == 0) {
      MenuItemSeen item;
      char kind[16] = {}, state[16] = {};
      int index = 0, picture = 0, consumed = 0;
      std::sscanf(line.c_str(), "item %d %15s %15s %ld %ld %ld %ld %d %n", &index, kind, state,
                  &item.rect.left, &item.rect.top, &item.rect.right, &item.rect.bottom, &picture,
                  &consumed);
      item.kind = kind;
      item.state = state;
      item.picture = picture != 0;
      item.text = line.substr(static_cast<size_t>(consumed));
      const LONG height = item.rect.bottom - item.rect.top;
      item.colour = PictureColour(RECT{item.rect.left, item.rect.top,
                                       item.rect.left + 2 * height, item.rect.bottom});
      line += " colour=" + item.colour;
      items.push_back(item);
    }
    lines.push_back(line);
  }
  if (file) std::fclose(file);
  return true;
}

// menu TIMEOUT_MS: prints the open menus of Ombrix, newest first.
int MenuCheck(DWORD timeoutMs) {
  std::vector<std::string> lines;
  std::vector<MenuItemSeen> items;
  if (!ReadMenus(timeoutMs, lines, items)) return 1;
  for (const std::string& line : lines) Say("%s", line.c_str());
  return 0;
}

std::string WithoutAmpersands(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '&') out += c;
  }
  return out;
}

// menu-choose TEXT TIMEOUT_MS: clicks the item of an open Ombrix menu that shows TEXT.
int MenuChoose(const std::string& text, DWORD timeoutMs) {
  std::vector<std::string> lines;
  std::vector<MenuItemSeen> items;
  if (!ReadMenus(timeoutMs, lines, items)) return 1;
  for (const MenuItemSeen& item : items) {
    if (item.kind == "text" && WithoutAmpersands(item.text) == text) {
      ClickAt((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2);
      Say("clicked %s", text.c_str());
      return 0;
    }
  }
  for (const std::string& line : lines) Say("%s", line.c_str());
  Say("no item \"%s\"", text.c_str());
  return 1;
}

// texts WIN: the static texts of a window.
int Texts(const wchar_t* name) {
  HWND hwnd = Named(name);
  if (hwnd == nullptr) {
    Say("no such window");
    return 1;
  }
  for (const std::wstring& text : StaticTexts(hwnd)) Say("%s", Utf8(WithoutCarriageReturns(text)).c_str());
  return 0;
}

// type WIN TEXT [N]: types the text into the window's first (or N-th) shown edit box, one
// character message each, as the keyboard does.
int Type(const wchar_t* name, const wchar_t* text, int n = 1) {
  HWND edit = NthShown(Named(name), L"Edit", n);
  if (edit == nullptr) {
    Say("no edit box %d", n);
    return 1;
  }
  for (const wchar_t* c = text; *c != L'\0'; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
  Say("typed");
  return 0;
}

// click WIN BUTTON: presses the button of that caption in the window, as a click does.
int ClickButton(const wchar_t* name, const wchar_t* caption) {
  HWND hwnd = Named(name);
  HWND button = hwnd ? FindWindowExW(hwnd, nullptr, L"Button", caption) : nullptr;
  if (button == nullptr) {
    Say("no button \"%s\"", Utf8(caption).c_str());
    return 1;
  }
  PostMessageW(button, BM_CLICK, 0, 0);
  Say("clicked");
  return 0;
}

// Memory in another process, for list view messages, which carry pointers the system does not
// carry across processes.
class RemoteMemory {
 public:
  RemoteMemory(HWND owner, size_t size) : size_(size) {
    DWORD pid = ProcessOf(owner);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteMemory() {
    if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  bool Usable() const { return base_ != nullptr; }
  char* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
  size_t size_;
};

bool IsListView(HWND hwnd) { return ClassOf(hwnd) == WC_LISTVIEWW; }

// The window's N-th list: list boxes and list views counted together, in the children's order.
HWND NthList(HWND parent, int n) {
  if (parent == nullptr) return nullptr;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((IsListView(child) || lstrcmpiW(ClassOf(child).c_str(), L"ListBox") == 0) && --n == 0) {
      return child;
    }
  }
  return nullptr;
}

std::vector<std::wstring> ListTexts(HWND list) {
  std::vector<std::wstring> texts;
  if (!IsListView(list)) {
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
      texts.push_back(text);
    }
    return texts;
  }
  constexpr size_t kChars = 1024;
  RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!memory.Usable()) return texts;
  const LRESULT count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(LVITEMW)));
    memory.Write(0, &item, sizeof item);
    const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                                        reinterpret_cast<LPARAM>(memory.At(0)));
    std::wstring text(static_cast<size_t>(length), L'\0');
    memory.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
    texts.push_back(text);
  }
  return texts;
}

// items WIN N: the texts of the window's N-th list, one a line.
int Items(const wchar_t* name, int n) {
  HWND list = NthList(Named(name), n);
  if (list == nullptr) {
    Say("no list %d", n);
    return 1;
  }
  for (const std::wstring& text : ListTexts(list)) Say("%s", Utf8(text).c_str());
  return 0;
}

// item-point WIN N TEXT: the screen point "x y" in the middle of the item of that text in the
// window's N-th list (a list view), or of the list itself when TEXT is "*".
int ItemPoint(const wchar_t* name, int n, const wchar_t* text) {
  HWND list = NthList(Named(name), n);
  if (list == nullptr || !IsListView(list)) {
    Say("no list view %d", n);
    return 1;
  }
  RECT rect{};
  if (std::wcscmp(text, L"*") == 0) {
    GetWindowRect(list, &rect);
  } else {
    const std::vector<std::wstring> texts = ListTexts(list);
    const auto found = std::find(texts.begin(), texts.end(), std::wstring(text));
    RemoteMemory memory(list, sizeof(RECT));
    if (found == texts.end() || !memory.Usable()) {
      Say("no item \"%s\"", Utf8(text).c_str());
      return 1;
    }
    rect.left = LVIR_LABEL;
    memory.Write(0, &rect, sizeof rect);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(found - texts.begin()),
                 reinterpret_cast<LPARAM>(memory.At(0)));
    memory.Read(0, &rect, sizeof rect);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  }
  std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return 0;
}

// list: the top-level windows that are visible or titled, for the log of a failed test.
int List() {
  for (HWND hwnd : TopLevelWindows()) {
    if (IsWindowVisible(hwnd) || (!WindowText(hwnd).empty() && ClassOf(hwnd) != L"IME")) {
      Describe("window", hwnd);
    }
  }
  return 0;
}

int Usage() {
  std::fputs("usage: probe COMMAND ARGS...; the commands are described in tests/e2e/probe.cpp\n",
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
  if (command == L"post" && n >= 3 && n <= 5) {
    return Post(a[0], a[1], static_cast<UINT>(std::wcstoul(a[2], nullptr, 0)),
                n >= 4 ? static_cast<WPARAM>(std::wcstoull(a[3], nullptr, 0)) : 0,
                n >= 5 ? static_cast<LPARAM>(std::wcstoll(a[4], nullptr, 0)) : 0);
  }
  if (command == L"msgbox" && n == 3) return MessageBoxCheck(a[0], a[1], ParseMs(a[2]));
  if (command == L"msgbox" && n == 4 && (std::wcscmp(a[3], L"yes") == 0 || std::wcscmp(a[3], L"no") == 0)) {
    return MessageBoxCheck(a[0], a[1], ParseMs(a[2]), std::wcscmp(a[3], L"yes") == 0 ? IDYES : IDNO);
  }
  if (command == L"send-endsession" && n <= 1) return SendEndSession(n == 1 ? ParseMs(a[0]) : 10000);
  if (command == L"reg-wait" && n == 4) return RegWait(a[0], a[1], a[2], ParseMs(a[3]));
  if (command == L"reg-set" && n >= 2) return RegSet(a[0], n - 1, a + 1);
  if (command == L"reg-clear" && n == 0) return RegClear();
  if (command == L"wait-processes" && n == 2) return WaitProcessCount(ParseMs(a[0]), ParseMs(a[1]));
  if (command == L"wait-processes" && n == 3) {
    return WaitProcessCount(ParseMs(a[0]), ParseMs(a[1]), a[2]);
  }
  if (command == L"kill" && n >= 1) return KillProcesses(n, a);
  if (command == L"splash" && n == 3) return SplashCheck(a[0], ParseMs(a[1]), ParseMs(a[2]));
  if ((command == L"wait" || command == L"hold") && n >= 3 && KnownState(a[0])) {
    return command == L"wait" ? WaitState(a[0], ParseMs(a[1]), n - 2, a + 2)
                              : HoldState(a[0], ParseMs(a[1]), n - 2, a + 2);
  }
  if (command == L"activate" && n == 1) return Activate(a[0]);
  if (command == L"keys" && n >= 1) return PressKeys(n, a);
  if (command == L"send" && n == 4) {
    return Send(a[0], static_cast<UINT>(std::wcstoul(a[1], nullptr, 0)),
                static_cast<WPARAM>(std::wcstoull(a[2], nullptr, 0)), ParseMs(a[3]));
  }
  if (command == L"request" && n == 4) {
    return Request(static_cast<UINT>(std::wcstoul(a[0], nullptr, 0)), a[1],
                   static_cast<LPARAM>(std::wcstoll(a[2], nullptr, 0)), std::wcstol(a[3], nullptr, 0));
  }
  if (command == L"place" && n == 5) {
    return Place(a[0], std::wcstol(a[1], nullptr, 10), std::wcstol(a[2], nullptr, 10),
                 std::wcstol(a[3], nullptr, 10), std::wcstol(a[4], nullptr, 10));
  }
  if (command == L"alpha" && n == 3) return Alpha(a[0], static_cast<BYTE>(ParseMs(a[1])), ParseMs(a[2]));
  if (command == L"restore-lists" && n >= 2) return RestoreLists(a[0], n - 1, a + 1);
  if (command == L"flash" && n == 5) return Flash(a[0], a[1], a[2], ParseMs(a[3]), ParseMs(a[4]));
  if (command == L"no-msgbox" && n == 2) return NoMessageBox(a[0], ParseMs(a[1]));
  if (command == L"menu" && n == 1) return MenuCheck(ParseMs(a[0]));
  if (command == L"menu-choose" && n == 2) return MenuChoose(Utf8(a[0]), ParseMs(a[1]));
  if (command == L"texts" && n == 1) return Texts(a[0]);
  if (command == L"click" && n == 2) return ClickButton(a[0], a[1]);
  if (command == L"type" && (n == 2 || n == 3)) return Type(a[0], a[1], n == 3 ? _wtoi(a[2]) : 1);
  if (command == L"items" && n == 2) return Items(a[0], _wtoi(a[1]));
  if (command == L"item-point" && n == 3) return ItemPoint(a[0], _wtoi(a[1]), a[2]);
  if (command == L"list" && n == 0) return List();
  if (command == L"known-folder-local" && n == 0) return KnownFolderLocal();
  if (command == L"wallpaper-set" && n == 1) return WallpaperSet(a[0]);
  if (command == L"wallpaper-is" && n == 2) return WallpaperIs(a[0], ParseMs(a[1]));
  if (const int status = FormCommand(command, n, a); status >= 0) return status;
  if (const int status = PrivacyCommand(command, n, a); status >= 0) return status;
  return Usage();
}
