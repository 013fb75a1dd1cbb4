// probe.exe: looks at and acts on windows, processes and the registry from inside Wine, for the
// end-to-end tests, scripts/screenshots.sh and scripts/bench.sh. Each command prints what it saw
// and exits 0 when its check holds, 1 when it does not, 2 on bad usage. Every wait pumps this
// thread's messages: under Wine a thread that waits without pumping stalls each hide or switch.
//
// WIN names a top-level window by its title, by "@CLASS" or by "@CLASS:TITLE"; MS is milliseconds.
//
//   wait STATE MS WIN...        every WIN reaches STATE within MS: shown, hidden, gone, zoomed,
//                               iconic, foreground, or alpha=N (layered with that constant alpha)
//   hold STATE MS WIN...        every WIN stays in STATE for MS
//   flash WIN MIN MAX keys COMBO | start EXE
//                               after the keys, or starting EXE, WIN appears as a window of
//                               Ombrix.exe (within 3 s, or 15 s of a start), stays at least MIN
//                               and is gone within MAX; prints its controls
//   main-window MS              Ombrix's main window appears, its program idles, the window is
//   hidden processes COUNT MS [EXE]    exactly COUNT processes of EXE (Ombrix.exe) run within MS
//   kill EXE...                 ends every process of these file names
//   activate WIN                brings WIN to the foreground
//   keys COMBO...               presses combinations such as win+2, shift+win+3, esc, as a user
//   does post WIN MSG [WPARAM [LPARAM]] send WIN MSG [WPARAM [LPARAM [REPLY]]]
//                               answered within 10 s (and with REPLY); WPARAM "win:WIN" is a handle
//   msgbox TITLE TEXT MS [yes|no]
//                               a box shows TEXT ("\n" is a line break); the probe presses OK, Yes
//                               or No
//   menu MS [ITEM]              prints Ombrix's open menus, the newest first, or clicks ITEM in
//   them controls WIN                each child: class, text, shown, enabled, checked, a combo
//   box's
//                               choice and items, a tab strip's tab, a list's items
//   type WIN TEXT [N]           types into the N-th shown edit box, a character message each
//   click WIN CAPTION           presses the button of that caption
//   combo WIN N TEXT            chooses TEXT in the N-th shown combo box, as a user does
//   tab WIN N                   clicks tab N (from 0) of the tab strip with the mouse
//   item-point WIN N TEXT       prints the screen point "x y" of an item of the N-th list ("*": the
//   list) file-dialog TITLE PATH MS   chooses PATH in the system's open-file dialog of that title
//   place WIN X Y WIDTH HEIGHT  moves and sizes WIN
//   restore-lists FILE WIN...   the recovery file holds the handle of every WIN
//   wallpaper-set PATH          sets the wallpaper as the system's own settings do
//   reg KEY NAME [VALUE MS]     prints a text value under HKEY_CURRENT_USER\KEY, or waits until it
//                               is VALUE (case ignored); a KEY without "\" is Software\Ombrix\KEY
//   reg-set KEY NAME=VALUE...   writes text values
//   reg-clear                   deletes Software\Ombrix
//   reg-lock KEY on|off         denies, or allows again, writing under KEY
//   list                        the visible or titled top-level windows, for a failure's log

#include <aclapi.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

namespace {

using std::wstring;

constexpr wchar_t kMainWindow[] = L"@ThunderRT6FormDC:OmbrixMainWND";
constexpr wchar_t kOmbrix[] = L"Ombrix.exe";

std::string Utf8(const wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
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

DWORD Number(const wchar_t* text) { return static_cast<DWORD>(std::wcstoul(text, nullptr, 10)); }

// Runs this thread's messages for `ms`.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Looks at `holds` every 20 ms, pumping in between, until it is true or `ms` have passed.
bool WaitFor(DWORD ms, const std::function<bool()>& holds) {
  const DWORD start = GetTickCount();
  while (!holds()) {
    if (GetTickCount() - start >= ms) return false;
    PumpFor(20);
  }
  return true;
}

wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

bool Is(HWND hwnd, const wchar_t* cls) { return lstrcmpiW(ClassOf(hwnd).c_str(), cls) == 0; }

// A control's text through WM_GETTEXT, which the system carries across processes; a window whose
// thread does not answer gives none.
wstring TextOf(HWND hwnd) {
  wchar_t text[2048] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      1000, &ignored);
  return text;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

HWND Find(const wstring& name) {
  if (name.empty() || name[0] != L'@') return FindWindowW(nullptr, name.c_str());
  const size_t colon = name.find(L':');
  const wstring cls = name.substr(1, colon == wstring::npos ? wstring::npos : colon - 1);
  return FindWindowW(cls.c_str(), colon == wstring::npos ? nullptr : name.c_str() + colon + 1);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// The N-th (from 1) child that `matches`.
HWND NthChild(HWND parent, int n, const std::function<bool(HWND)>& matches) {
  if (parent == nullptr) return nullptr;
  for (HWND child : Children(parent)) {
    if (matches(child) && --n == 0) return child;
  }
  return nullptr;
}

HWND NthShown(HWND parent, const wchar_t* cls, int n) {
  return NthChild(parent, n, [&](HWND child) { return Is(child, cls) && IsWindowVisible(child); });
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM found) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0) found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

bool IsOmbrix(HWND hwnd) {
  const std::vector<DWORD> ombrix = ProcessesNamed(kOmbrix);
  return std::find(ombrix.begin(), ombrix.end(), ProcessOf(hwnd)) != ombrix.end();
}

void Describe(const char* what, HWND hwnd) {
  wchar_t title[1024] = {};
  GetWindowTextW(hwnd, title, 1024);  // reads the caption without asking the window's thread
  Say("%s: hwnd=0x%llx pid=%lu class=\"%s\" title=\"%s\" visible=%d zoomed=%d iconic=%d "
      "foreground=%d",
      what, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)), ProcessOf(hwnd),
      Utf8(ClassOf(hwnd)).c_str(), Utf8(title).c_str(), IsWindowVisible(hwnd) ? 1 : 0,
      IsZoomed(hwnd) ? 1 : 0, IsIconic(hwnd) ? 1 : 0, GetForegroundWindow() == hwnd ? 1 : 0);
}

// ---- Window states ----

bool Same(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

bool KnownState(const wchar_t* state) {
  for (const wchar_t* known : {L"shown", L"hidden", L"gone", L"zoomed", L"iconic", L"foreground"}) {
    if (Same(state, known)) return true;
  }
  return std::wcsncmp(state, L"alpha=", 6) == 0;
}

bool InState(const wchar_t* state, const wchar_t* name) {
  HWND hwnd = Find(name);
  if (Same(state, L"gone") || hwnd == nullptr) return Same(state, L"gone") && hwnd == nullptr;
  if (Same(state, L"shown")) return IsWindowVisible(hwnd);
  if (Same(state, L"hidden")) return !IsWindowVisible(hwnd);
  if (Same(state, L"zoomed")) return IsZoomed(hwnd);
  if (Same(state, L"iconic")) return IsIconic(hwnd);
  if (Same(state, L"foreground")) return GetForegroundWindow() == hwnd;
  BYTE alpha = 0;
  DWORD flags = 0;
  return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
         GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
         alpha == Number(state + 6);
}

// wait and hold: a wait ends well as soon as every window is in the state, a hold ends badly as
// soon as one is not.
int WaitState(bool hold, const wchar_t* state, DWORD ms, int count, wchar_t** names) {
  auto all = [&] {
    for (int i = 0; i < count; ++i) {
      if (!InState(state, names[i])) return false;
    }
    return true;
  };
  const DWORD start = GetTickCount();
  const bool held = hold ? !WaitFor(ms, [&] { return !all(); }) : WaitFor(ms, all);
  Say("%s %s after %lu ms", held ? "all" : "not all", Utf8(state).c_str(), GetTickCount() - start);
  for (int i = 0; i < count && !held; ++i) {
    if (HWND hwnd = Find(names[i])) {
      Describe(Utf8(names[i]).c_str(), hwnd);
    } else {
      Say("%s: no such window", Utf8(names[i]).c_str());
    }
  }
  return held ? 0 : 1;
}

int MainWindow(DWORD ms) {
  HWND hwnd = nullptr;
  if (!WaitFor(ms, [&] { return (hwnd = Find(kMainWindow)) != nullptr; })) {
    Say("no main window of Ombrix after %lu ms", ms);
    return 1;
  }
  if (HANDLE process =
          OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(hwnd))) {
    WaitForInputIdle(process, ms);
    CloseHandle(process);
  }
  PumpFor(200);
  Describe("main window", hwnd);
  return IsWindow(hwnd) && !IsWindowVisible(hwnd) ? 0 : 1;
}

// ---- Processes ----

int Processes(DWORD count, DWORD ms, const wchar_t* name) {
  size_t seen = 0;
  const bool reached = WaitFor(ms, [&] { return (seen = ProcessesNamed(name).size()) == count; });
  Say("%zu %s processes, expected %lu", seen, Utf8(name).c_str(), count);
  return reached ? 0 : 1;
}

int Kill(int count, wchar_t** names) {
  std::vector<HANDLE> ended;
  for (int i = 0; i < count; ++i) {
    for (DWORD pid : ProcessesNamed(names[i])) {
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (process && pid != GetCurrentProcessId() && TerminateProcess(process, 1)) {
        ended.push_back(process);
      } else if (process) {
        CloseHandle(process);
      }
    }
  }
  const bool gone = WaitFor(10000, [&] {
    return std::all_of(ended.begin(), ended.end(),
                       [](HANDLE p) { return WaitForSingleObject(p, 0) == WAIT_OBJECT_0; });
  });
  for (HANDLE process : ended) CloseHandle(process);
  Say("ended %zu processes", ended.size());
  return gone ? 0 : 1;
}

bool Start(const wchar_t* exe) {
  wstring commandLine = L"\"" + wstring(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    Say("could not start %s: error %lu", Utf8(exe).c_str(), GetLastError());
    return false;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

// ---- Input ----

int Activate(const wchar_t* name) {
  HWND hwnd = Find(name);
  if (hwnd) SetForegroundWindow(hwnd);
  if (!hwnd || !WaitFor(3000, [&] { return GetForegroundWindow() == hwnd; })) {
    Describe("the foreground window", GetForegroundWindow());
    return 1;
  }
  return 0;
}

WORD KeyCode(const wstring& name) {
  static const std::pair<const wchar_t*, WORD> kNamed[] = {
      {L"shift", VK_SHIFT}, {L"ctrl", VK_CONTROL}, {L"alt", VK_MENU}, {L"win", VK_LWIN},
      {L"esc", VK_ESCAPE},  {L"enter", VK_RETURN}, {L"tab", VK_TAB}};
  for (const auto& [text, code] : kNamed) {
    if (name == text) return code;
  }
  // A letter or digit is its own key code.
  return name.size() == 1 && std::iswalnum(name[0]) ? static_cast<WORD>(std::towupper(name[0])) : 0;
}

void SendKey(WORD code, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = code;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (code == VK_LWIN ? KEYEVENTF_EXTENDEDKEY : 0);
  SendInput(1, &input, sizeof input);
  PumpFor(30);
}

// The keys of each combination go down in order and up in reverse.
int PressKeys(int count, wchar_t** combos) {
  for (int i = 0; i < count; ++i) {
    std::vector<WORD> codes;
    for (const wchar_t* part = combos[i]; part != nullptr;) {
      const wchar_t* plus = std::wcschr(part, L'+');
      codes.push_back(KeyCode(plus ? wstring(part, plus) : wstring(part)));
      part = plus ? plus + 1 : nullptr;
    }
    if (std::find(codes.begin(), codes.end(), 0) != codes.end()) {
      Say("unknown key in %s", Utf8(combos[i]).c_str());
      return 2;
    }
    for (WORD code : codes) SendKey(code, false);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) SendKey(*code, true);
  }
  return 0;
}

void ClickAt(LONG x, LONG y) {
  SetCursorPos(x, y);
  PumpFor(100);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  PumpFor(100);
}

// ---- Messages ----

int Message(bool send, int n, wchar_t** a) {
  HWND hwnd = Find(a[0]);
  const bool handle = n > 2 && std::wcsncmp(a[2], L"win:", 4) == 0;
  const WPARAM wParam = handle  ? reinterpret_cast<WPARAM>(Find(a[2] + 4))
                        : n > 2 ? static_cast<WPARAM>(std::wcstoull(a[2], nullptr, 0))
                                : 0;
  if (hwnd == nullptr || (handle && wParam == 0)) {
    Say("no such window");
    return 1;
  }
  const auto message = static_cast<UINT>(std::wcstoul(a[1], nullptr, 0));
  const LPARAM lParam = n > 3 ? static_cast<LPARAM>(std::wcstoll(a[3], nullptr, 0)) : 0;
  if (!send) return PostMessageW(hwnd, message, wParam, lParam) ? 0 : 1;
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, 10000, &reply)) {
    Say("no answer to %u within 10 s", message);
    return 1;
  }
  const long value = static_cast<int32_t>(reply);  // a 32-bit reply, negative for a refusal
  Say("replied %ld to %u", value, message);
  return n > 4 && value != std::wcstol(a[4], nullptr, 0) ? 1 : 0;
}

// A text on one line: a box shows its line breaks as CR LF, and the tests write them as \n.
std::string OneLine(const wstring& text) {
  wstring out;
  for (wchar_t c : text) {
    if (c == L'\n') out += L"\\n";
    if (c != L'\r' && c != L'\n') out += c;
  }
  return Utf8(out);
}

int MessageBoxCheck(const wchar_t* title, const wchar_t* text, DWORD ms, const wchar_t* answer) {
  HWND box = nullptr;
  if (!WaitFor(ms, [&] {
        box = FindWindowW(L"#32770", title);
        if (!box) box = FindWindowW(nullptr, title);
        return box && IsWindowVisible(box);
      })) {
    Say("no box titled %s after %lu ms", Utf8(title).c_str(), ms);
    return 1;
  }
  bool matched = false;
  for (HWND child : Children(box)) {
    if (!Is(child, L"Static") || TextOf(child).empty()) continue;
    Say("text: \"%s\"", OneLine(TextOf(child)).c_str());
    matched = matched || OneLine(TextOf(child)) == Utf8(text);
  }
  const WORD button = !answer ? IDOK : Same(answer, L"yes") ? IDYES : IDNO;
  auto closed = [&] { return !IsWindow(box) || !IsWindowVisible(box); };
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  if (!WaitFor(5000, closed)) {
    PostMessageW(box, WM_CLOSE, 0, 0);
    if (!WaitFor(5000, closed)) Say("the box did not close");
  }
  if (!matched) Say("expected text \"%s\" not shown", Utf8(text).c_str());
  return matched && closed() ? 0 : 1;
}

// ---- Controls ----

// Memory in another process, for list view messages, whose pointers the system does not carry
// across processes.
class RemoteMemory {
 public:
  RemoteMemory(HWND owner, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           ProcessOf(owner));
    if (process_)
      base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  bool Usable() const { return base_ != nullptr; }
  LPARAM At(size_t offset) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(base_) + offset);
  }
  bool Write(size_t offset, const void* data, size_t size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
  size_t size_;
};

bool IsListView(HWND hwnd) { return Is(hwnd, WC_LISTVIEWW); }
bool IsList(HWND hwnd) { return IsListView(hwnd) || Is(hwnd, L"ListBox"); }

std::vector<wstring> Items(HWND control) {
  std::vector<wstring> items;
  if (Is(control, L"ComboBox") || Is(control, L"ListBox")) {
    const bool combo = Is(control, L"ComboBox");
    const auto count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wstring text(static_cast<size_t>(
                       SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)) +
                       1,
                   L'\0');
      text.resize(static_cast<size_t>(SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                                                   reinterpret_cast<LPARAM>(text.data()))));
      items.push_back(text);
    }
    return items;
  }
  constexpr size_t kChars = 1024;
  RemoteMemory memory(control, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  const auto count = memory.Usable() ? SendMessageW(control, LVM_GETITEMCOUNT, 0, 0) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    LVITEMW item{};
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(LVITEMW)));
    memory.Write(0, &item, sizeof item);
    wstring text(static_cast<size_t>(SendMessageW(control, LVM_GETITEMTEXTW, i, memory.At(0))),
                 L'\0');
    memory.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
    items.push_back(text);
  }
  return items;
}

void PrintControls(HWND window) {
  for (HWND child : Children(window)) {
    std::printf("%s \"%s\" %s %s", Utf8(ClassOf(child)).c_str(), OneLine(TextOf(child)).c_str(),
                IsWindowVisible(child) ? "shown" : "hidden",
                IsWindowEnabled(child) ? "enabled" : "disabled");
    if (Is(child, L"Button")) {
      std::printf(SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked"
                                                                        : " unchecked");
    }
    const std::vector<wstring> items =
        Is(child, L"ComboBox") || IsList(child) ? Items(child) : std::vector<wstring>();
    if (Is(child, L"ComboBox")) {
      const auto chosen = static_cast<size_t>(SendMessageW(child, CB_GETCURSEL, 0, 0));
      std::printf(" chosen=\"%s\"", chosen < items.size() ? Utf8(items[chosen]).c_str() : "");
    }
    if (Is(child, WC_TABCONTROLW)) {
      std::printf(" tab=%d/%d", static_cast<int>(SendMessageW(child, TCM_GETCURSEL, 0, 0)),
                  static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0)));
    }
    const char* separator = " items=";
    for (const wstring& item : items) {
      std::printf("%s%s", separator, Utf8(item).c_str());
      separator = "|";
    }
    Say("");
  }
}

int Controls(const wchar_t* name) {
  HWND window = Find(name);
  if (window) PrintControls(window);
  return window ? 0 : 1;
}

int Type(const wchar_t* name, const wchar_t* text, int n) {
  HWND edit = NthShown(Find(name), L"Edit", n);
  for (const wchar_t* c = text; edit && *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
  if (!edit) Say("no edit box %d", n);
  return edit ? 0 : 1;
}

int Click(const wchar_t* name, const wchar_t* caption) {
  HWND window = Find(name);
  HWND button = window ? FindWindowExW(window, nullptr, L"Button", caption) : nullptr;
  if (button) PostMessageW(button, BM_CLICK, 0, 0);
  if (!button) Say("no button \"%s\"", Utf8(caption).c_str());
  return button ? 0 : 1;
}

int Combo(const wchar_t* name, int n, const wchar_t* text) {
  HWND window = Find(name);
  HWND combo = NthShown(window, L"ComboBox", n);
  const LRESULT index = combo ? SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text))
                              : CB_ERR;
  if (index == CB_ERR) {
    Say(combo ? "no item \"%s\"" : "no such combo box", Utf8(text).c_str());
    return 1;
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The notice a combo box sends its parent when the user chooses an item.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return 0;
}

// Only the process that owns a tab strip knows where its tabs are, so the header row is clicked
// from the left until the wanted tab is the chosen one.
int Tab(const wchar_t* name, int wanted) {
  HWND window = Find(name);
  HWND tabs = NthChild(window, 1, [](HWND child) { return Is(child, WC_TABCONTROLW); });
  if (!tabs) {
    Say("no tab strip");
    return 1;
  }
  auto chosen = [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted; };
  SetForegroundWindow(window);
  RECT strip{};
  GetWindowRect(tabs, &strip);
  for (LONG x = strip.left + 6; x < strip.right && !chosen(); x += 12) {
    ClickAt(x, strip.top + GetSystemMetrics(SM_CYMENU) / 2 + 2);
  }
  return WaitFor(2000, chosen) ? 0 : 1;
}

int ItemPoint(const wchar_t* name, int n, const wchar_t* text) {
  HWND list = NthChild(Find(name), n, IsList);
  RECT rect{};
  if (list && Same(text, L"*")) {
    GetWindowRect(list, &rect);
  } else {
    const std::vector<wstring> items =
        list && IsListView(list) ? Items(list) : std::vector<wstring>();
    const auto found = std::find(items.begin(), items.end(), wstring(text));
    RemoteMemory memory(list, sizeof rect);
    if (found == items.end() || !memory.Usable()) {
      Say("no item \"%s\" in list view %d", Utf8(text).c_str(), n);
      return 1;
    }
    rect.left = LVIR_LABEL;
    memory.Write(0, &rect, sizeof rect);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(found - items.begin()), memory.At(0));
    memory.Read(0, &rect, sizeof rect);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  }
  Say("%ld %ld", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return list ? 0 : 1;
}

int FileDialog(const wchar_t* title, const wchar_t* path, DWORD ms) {
  HWND dialog = nullptr;
  HWND box = nullptr;
  // The file name box: the combo box cmb13 holding an edit box, or the edit box edt1.
  const bool found = WaitFor(ms, [&] {
    dialog = FindWindowW(L"#32770", title);
    box = dialog ? GetDlgItem(dialog, 0x47c) : nullptr;
    if (box && Is(box, L"ComboBoxEx32")) box = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    if (box && Is(box, L"ComboBox")) box = FindWindowExW(box, nullptr, L"Edit", nullptr);
    if (!box && dialog) box = GetDlgItem(dialog, 0x480);
    return box && IsWindowVisible(dialog);
  });
  if (!found) {
    Say("no file dialog with a file name box");
    return 1;
  }
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return WaitFor(5000, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }) ? 0 : 1;
}

int Place(const wchar_t* name, int x, int y, int width, int height) {
  HWND hwnd = Find(name);
  const bool placed =
      hwnd && SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(100);
  return placed ? 0 : 1;
}

// ---- Menus ----

struct MenuItem {
  std::string kind, text;
  RECT rect{};
};

// The average colour of the screen rectangle's pixels that are neither a menu's background nor
// its text, normal or greyed: what the item's picture shows.
std::string PictureColour(const RECT& rect) {
  HDC screen = GetDC(nullptr);
  const COLORREF ignored[] = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT),
                              GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_3DHILIGHT),
                              CLR_INVALID};
  long r = 0, g = 0, b = 0, n = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      if (std::find(std::begin(ignored), std::end(ignored), pixel) != std::end(ignored)) continue;
      r += GetRValue(pixel);
      g += GetGValue(pixel);
      b += GetBValue(pixel);
      ++n;
    }
  }
  ReleaseDC(nullptr, screen);
  return n == 0 ? "none"
                : std::to_string(r / n) + "," + std::to_string(g / n) + "," + std::to_string(b / n);
}

// Ombrix's open menus as menureader.dll writes them from inside the thread that shows them (see
// menu_reader.cpp), each item's line ending with " colour=" and the colour of its picture column.
bool ReadMenus(DWORD ms, std::vector<std::string>& lines, std::vector<MenuItem>& items) {
  HWND menu = nullptr;
  if (!WaitFor(ms, [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (Is(hwnd, L"#32768") && IsWindowVisible(hwnd) && IsOmbrix(hwnd))
            return (menu = hwnd) != nullptr;
        }
        return false;
      })) {
    Say("no menu of Ombrix open after %lu ms", ms);
    return false;
  }
  PumpFor(300);  // the menu paints its items
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wstring library = path;
  library = library.substr(0, library.find_last_of(L"\\/") + 1) + L"menureader.dll";
  HMODULE reader = LoadLibraryW(library.c_str());
  auto hook =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(reader, "ReadMenuHook")));
  GetTempPathW(MAX_PATH, path);
  const wstring file = wstring(path) + L"ombrix-menu.txt";
  DeleteFileW(file.c_str());
  HHOOK installed =
      hook ? SetWindowsHookExW(WH_GETMESSAGE, hook, reader, GetWindowThreadProcessId(menu, nullptr))
           : nullptr;
  PostMessageW(menu, RegisterWindowMessageW(L"OmbrixTestReadMenu"), 0, 0);
  const bool written = installed && WaitFor(5000, [&] {
                         return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
                       });
  if (installed) UnhookWindowsHookEx(installed);
  FILE* in = written ? _wfopen(file.c_str(), L"rb") : nullptr;
  char buffer[2048];
  while (in && std::fgets(buffer, sizeof buffer, in)) {
    std::string line = buffer;
    line.erase(line.find_last_not_of("\r\n") + 1);
    MenuItem item;
    char kind[16] = {};
    int consumed = 0;
    if (std::sscanf(line.c_str(), "item %*d %15s %*s %ld %ld %ld %ld %*d %n", kind, &item.rect.left,
                    &item.rect.top, &item.rect.right, &item.rect.bottom, &consumed) == 5) {
      item.kind = kind;
      item.text = line.substr(static_cast<size_t>(consumed));
      const LONG height = item.rect.bottom - item.rect.top;
      line += " colour=" + PictureColour({item.rect.left, item.rect.top,
                                          item.rect.left + 2 * height, item.rect.bottom});
      items.push_back(item);
    }
    lines.push_back(line);
  }
  if (in) std::fclose(in);
  if (!in) Say("the menu reader wrote nothing");
  return in != nullptr;
}

int Menu(DWORD ms, const wchar_t* choice) {
  std::vector<std::string> lines;
  std::vector<MenuItem> items;
  if (!ReadMenus(ms, lines, items)) return 1;
  for (const MenuItem& item : items) {
    std::string text = item.text;
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    if (choice && item.kind == "text" && text == Utf8(choice)) {
      ClickAt((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2);
      return 0;
    }
  }
  for (const std::string& line : lines) Say("%s", line.c_str());
  if (choice) Say("no item \"%s\"", Utf8(choice).c_str());
  return choice ? 1 : 0;
}

// ---- Files, wallpaper and registry ----

int RestoreLists(const wchar_t* path, int count, wchar_t** names) {
  std::vector<int32_t> handles;
  FILE* file = _wfopen(path, L"rb");
  for (int32_t value = 0; file && std::fread(&value, sizeof value, 1, file) == 1;)
    handles.push_back(value);
  if (file) std::fclose(file);
  int missing = file ? 0 : 1;
  for (int i = 0; i < count; ++i) {
    const auto handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(Find(names[i])));
    const bool listed =
        handle != 0 && std::find(handles.begin(), handles.end(), handle) != handles.end();
    Say("%s: 0x%x %s", Utf8(names[i]).c_str(), static_cast<unsigned>(handle),
        listed ? "listed" : "NOT listed");
    missing += listed ? 0 : 1;
  }
  return missing == 0 ? 0 : 1;
}

int WallpaperSet(const wchar_t* path) {
  wstring file = path;
  return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, file.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
             ? 0
             : 1;
}

wstring KeyPath(const wchar_t* key) {
  return std::wcschr(key, L'\\') ? wstring(key) : L"Software\\Ombrix\\" + wstring(key);
}

// Read anew at every look: the system's own values, such as the wallpaper, change under a process.
int Reg(int n, wchar_t** a) {
  wchar_t value[4096] = {};
  bool present = false;
  auto read = [&] {
    DWORD bytes = sizeof value;
    present = RegGetValueW(HKEY_CURRENT_USER, KeyPath(a[0]).c_str(), a[1],
                           RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                           &bytes) == ERROR_SUCCESS;
    return present && n == 4 && lstrcmpiW(value, a[2]) == 0;
  };
  const bool matched = WaitFor(n == 4 ? Number(a[3]) : 0, read);
  Say("%s", present ? Utf8(value).c_str() : "missing");
  return matched || (n == 2 && present) ? 0 : 1;
}

int RegSet(const wchar_t* key, int count, wchar_t** pairs) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    Say("cannot open %s", Utf8(KeyPath(key)).c_str());
    return 1;
  }
  int status = 0;
  for (int i = 0; i < count && status == 0; ++i) {
    const wstring pair = pairs[i];
    const size_t equals = pair.find(L'=');
    if (equals == wstring::npos) {
      status = 2;
      break;
    }
    const wstring value = pair.substr(equals + 1);
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(handle, pair.substr(0, equals).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()), bytes) != ERROR_SUCCESS) {
      status = 1;
    }
  }
  RegCloseKey(handle);
  return status;
}

int RegClear() {
  const LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ombrix");
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

// Everyone may read the key; writing, creating below it and deleting are denied, or allowed again.
int RegLock(const wchar_t* key, bool locked) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0, WRITE_DAC | KEY_READ,
                      nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = locked ? KEY_READ : KEY_ALL_ACCESS;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
  PACL acl = nullptr;
  DWORD status = SetEntriesInAclW(1, &access, nullptr, &acl);
  if (status == ERROR_SUCCESS) {
    status = SetSecurityInfo(handle, SE_REGISTRY_KEY,
                             DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                             nullptr, nullptr, acl, nullptr);
  }
  LocalFree(acl);
  FreeSid(everyone);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? 0 : 1;
}

int List() {
  for (HWND hwnd : TopLevelWindows()) {
    wchar_t title[2] = {};
    if (IsWindowVisible(hwnd) || (GetWindowTextW(hwnd, title, 2) > 0 && !Is(hwnd, L"IME")))
      Describe("window", hwnd);
  }
  return 0;
}

int Run(const wstring& command, int n, wchar_t** a) {
  auto is = [&](const wchar_t* name, int least, int most) {
    return command == name && n >= least && n <= most;
  };
  if ((is(L"wait", 3, 99) || is(L"hold", 3, 99)) && KnownState(a[0])) {
    return WaitState(command == L"hold", a[0], Number(a[1]), n - 2, a + 2);
  }
  if (is(L"flash", 5, 5) && (Same(a[3], L"keys") || Same(a[3], L"start"))) {
    const bool keys = Same(a[3], L"keys");
    if (keys ? PressKeys(1, a + 4) != 0 : !Start(a[4])) return 1;
    HWND hwnd = nullptr;
    const DWORD maxMs = Number(a[2]);
    if (!WaitFor(std::max<DWORD>(keys ? 3000 : 15000, maxMs),
                 [&] { return (hwnd = Find(a[0])) && IsWindowVisible(hwnd); })) {
      Say("%s did not appear", Utf8(a[0]).c_str());
      return 1;
    }
    const DWORD appeared = GetTickCount();
    Describe("shown", hwnd);
    PrintControls(hwnd);
    const bool ours = IsOmbrix(hwnd);
    const bool gone = WaitFor(maxMs, [&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); });
    const DWORD stayed = GetTickCount() - appeared;
    Say("%s after %lu ms%s", gone ? "gone" : "still shown", stayed,
        ours ? "" : ", not a window of Ombrix");
    return ours && gone && stayed >= Number(a[1]) ? 0 : 1;
  }
  if (is(L"main-window", 1, 1)) return MainWindow(Number(a[0]));
  if (is(L"processes", 2, 3)) return Processes(Number(a[0]), Number(a[1]), n == 3 ? a[2] : kOmbrix);
  if (is(L"kill", 1, 99)) return Kill(n, a);
  if (is(L"activate", 1, 1)) return Activate(a[0]);
  if (is(L"keys", 1, 99)) return PressKeys(n, a);
  if (is(L"post", 2, 4) || is(L"send", 2, 5)) return Message(command == L"send", n, a);
  if (is(L"msgbox", 3, 4))
    return MessageBoxCheck(a[0], a[1], Number(a[2]), n == 4 ? a[3] : nullptr);
  if (is(L"menu", 1, 2)) return Menu(Number(a[0]), n == 2 ? a[1] : nullptr);
  if (is(L"controls", 1, 1)) return Controls(a[0]);
  if (is(L"type", 2, 3)) return Type(a[0], a[1], n == 3 ? static_cast<int>(Number(a[2])) : 1);
  if (is(L"click", 2, 2)) return Click(a[0], a[1]);
  if (is(L"combo", 3, 3)) return Combo(a[0], static_cast<int>(Number(a[1])), a[2]);
  if (is(L"tab", 2, 2)) return Tab(a[0], static_cast<int>(Number(a[1])));
  if (is(L"item-point", 3, 3)) return ItemPoint(a[0], static_cast<int>(Number(a[1])), a[2]);
  if (is(L"file-dialog", 3, 3)) return FileDialog(a[0], a[1], Number(a[2]));
  if (is(L"place", 5, 5)) {
    return Place(a[0], _wtoi(a[1]), _wtoi(a[2]), _wtoi(a[3]), _wtoi(a[4]));
  }
  if (is(L"restore-lists", 2, 99)) return RestoreLists(a[0], n - 1, a + 1);
  if (is(L"wallpaper-set", 1, 1)) return WallpaperSet(a[0]);
  if (is(L"reg", 2, 2) || is(L"reg", 4, 4)) return Reg(n, a);
  if (is(L"reg-set", 2, 99)) return RegSet(a[0], n - 1, a + 1);
  if (is(L"reg-clear", 0, 0)) return RegClear();
  if (is(L"reg-lock", 2, 2)) return RegLock(a[0], Same(a[1], L"on"));
  if (is(L"list", 0, 0)) return List();
  std::fputs("usage: probe COMMAND ARGS...; the commands are described in tests/e2e/probe.cpp\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return argc < 2 ? Run(L"", 0, argv) : Run(argv[1], argc - 2, argv + 2);
}
