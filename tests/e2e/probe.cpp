// probe.exe: looks at and acts on windows, processes and the registry from inside Wine, for the
// end-to-end tests, scripts/screenshots.sh and scripts/bench.sh. A command prints what it saw and
// exits 0 when its check holds, 1 when it does not, 2 on bad usage. Every wait pumps this thread's
// messages: under Wine a thread that waits without pumping stalls each hide or switch by 2 s.
//
// WIN names a top-level window by its title, by "@CLASS" or by "@CLASS:TITLE"; MS is milliseconds.
// Commands chained with "--" run in turn until one fails: keys win+2 -- wait hidden 5000 Alpha.
//
//   wait STATE MS WIN...   every WIN reaches STATE within MS: shown, hidden, gone, zoomed, iconic,
//                          foreground or alpha=N (layered with that alpha); prints each one
//   hold STATE MS WIN...   every WIN stays in STATE for MS
//   watch MS WIN...        every WIN stays hidden for MS, looked at every 2 ms: not for a moment
//                          on screen
//   flash WIN MIN MAX keys COMBO | start EXE
//                          after the keys, or starting EXE, WIN appears (within 3 s, or 15 s),
//                          stays at least MIN and is gone within MAX; prints its controls
//   main-window MS         Ombrix's main window appears, its program idles, and it is hidden
//   processes COUNT MS [EXE]  exactly COUNT processes of EXE (Ombrix.exe) run within MS
//   kill EXE...            ends every process of these file names
//   activate WIN           brings WIN to the foreground
//   keys COMBO...          presses combinations such as win+2, shift+win+3 or esc, as a user does
//   post WIN MSG [WPARAM [LPARAM]]
//   send WIN MSG [WPARAM [LPARAM [REPLY]]]
//                          answered within 10 s (and with REPLY); a WPARAM "win:WIN" is its handle
//   msgbox TITLE TEXT MS [yes|no]
//                          a box shows TEXT (\n: a line break); the probe presses OK, Yes or No
//   menu MS [ITEM]         prints Ombrix's open menus, the newest first (see Menu), or clicks ITEM
//   controls WIN           each child: class, text, shown, enabled, checked, a combo box's choice,
//                          a tab strip's tab, the items of a combo box or list
//   type WIN TEXT [N]      types into the N-th shown edit box, a character message each
//   click WIN CAPTION      presses the button of that caption once it is shown and enabled (10 s)
//   combo WIN N TEXT       chooses TEXT in the N-th shown combo box, as a user does
//   tab WIN N              clicks tab N (from 0) of the tab strip with the mouse
//   item-point WIN N TEXT  prints the screen point "x y" of an item of the N-th list ("*": the
//                          list itself)
//   place WIN X Y WIDTH HEIGHT
//   wallpaper-set PATH     sets the wallpaper as the system's own settings do
//   reg KEY NAME [VALUE MS]  prints a text value under HKEY_CURRENT_USER\KEY, or waits until it is
//                          VALUE (case ignored); a KEY without "\" is Software\Ombrix\KEY
//   reg-set KEY NAME=VALUE...
//   reg-lock KEY on|off    denies, or allows again, writing under KEY
//   list                   the visible or titled top-level windows, for a failure's log

#include <windows.h>
// These need <windows.h> first.
#include <commctrl.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

namespace {

using std::wstring;
using Windows = std::vector<HWND>;

std::string Utf8(const wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

void Print(const char* format, va_list args) {
  std::vfprintf(stdout, format, args);
  std::puts("");
  std::fflush(stdout);
}

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print(format, args);
  va_end(args);
}

// Says why a check does not hold and gives its exit code.
int Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print(format, args);
  va_end(args);
  return 1;
}

DWORD Number(const wchar_t* text) { return std::wcstoul(text, nullptr, 0); }
bool Same(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

// Runs this thread's messages for `ms`.
void PumpFor(DWORD ms) {
  for (DWORD start = GetTickCount(), spent = 0; spent < ms; spent = GetTickCount() - start) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Looks at `holds` every 20 ms, pumping in between, until it is true or `ms` have passed.
bool WaitFor(DWORD ms, const std::function<bool()>& holds) {
  for (const DWORD start = GetTickCount(); !holds(); PumpFor(20)) {
    if (GetTickCount() - start >= ms) return false;
  }
  return true;
}

wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

bool Is(HWND hwnd, const wchar_t* cls) { return lstrcmpiW(ClassOf(hwnd).c_str(), cls) == 0; }
bool IsList(HWND hwnd) { return Is(hwnd, WC_LISTVIEWW) || Is(hwnd, L"ListBox"); }

// A control's text: WM_GETTEXT is carried across processes; a thread that does not answer gives
// none.
wstring TextOf(HWND hwnd) {
  wchar_t text[2048] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      1000, nullptr);
  return text;
}

// A text on one line: a box shows its line breaks as CR LF, and the tests write them as \n.
std::string OneLine(const wstring& text) {
  wstring out;
  for (wchar_t c : text) {
    if (c != L'\r') out += c == L'\n' ? wstring(L"\\n") : wstring(1, c);
  }
  return Utf8(out);
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

HWND Find(const wstring& name) {
  const size_t colon = name.find(L':');
  if (name.empty() || name[0] != L'@') return FindWindowW(nullptr, name.c_str());
  if (colon == wstring::npos) return FindWindowW(name.c_str() + 1, nullptr);
  return FindWindowW(name.substr(1, colon - 1).c_str(), name.c_str() + colon + 1);
}

Windows Children(HWND parent) {
  Windows children;
  for (HWND child = GetWindow(parent, GW_CHILD); parent && child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// The N-th (from 1) child that `matches`.
HWND NthChild(HWND parent, int n, const std::function<bool(HWND)>& matches) {
  for (HWND child : Children(parent)) {
    if (matches(child) && --n == 0) return child;
  }
  return nullptr;
}

HWND NthShown(HWND parent, const wchar_t* cls, int n) {
  return NthChild(parent, n, [&](HWND child) { return Is(child, cls) && IsWindowVisible(child); });
}

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM windows) {
  reinterpret_cast<Windows*>(windows)->push_back(hwnd);
  return TRUE;
}

Windows TopLevelWindows() {
  Windows windows;
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
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

void Describe(const std::string& what, HWND hwnd) {
  if (!hwnd) {
    Say("%s: no such window", what.c_str());
    return;
  }
  wchar_t title[1024] = {};
  GetWindowTextW(hwnd, title, 1024);  // reads the caption without asking the window's thread
  Say("%s: hwnd=0x%llx pid=%lu class=\"%s\" title=\"%s\" visible=%d zoomed=%d iconic=%d "
      "foreground=%d",
      what.c_str(), reinterpret_cast<unsigned long long>(hwnd), ProcessOf(hwnd),
      Utf8(ClassOf(hwnd)).c_str(), Utf8(title).c_str(), IsWindowVisible(hwnd), IsZoomed(hwnd),
      IsIconic(hwnd), GetForegroundWindow() == hwnd);
}

// ---- Window states ----

bool KnownState(const wchar_t* state) {
  for (const wchar_t* known : {L"shown", L"hidden", L"gone", L"zoomed", L"iconic", L"foreground"}) {
    if (Same(state, known)) return true;
  }
  return std::wcsncmp(state, L"alpha=", 6) == 0;
}

bool InState(const wchar_t* state, const wchar_t* name) {
  HWND hwnd = Find(name);
  BYTE alpha = 0;
  DWORD flags = 0;
  if (Same(state, L"gone") || !hwnd) return Same(state, L"gone") && !hwnd;
  if (Same(state, L"shown") || Same(state, L"hidden"))
    return IsWindowVisible(hwnd) == Same(state, L"shown");
  if (Same(state, L"zoomed")) return IsZoomed(hwnd);
  if (Same(state, L"iconic")) return IsIconic(hwnd);
  if (Same(state, L"foreground")) return GetForegroundWindow() == hwnd;
  return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
         GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
         alpha == Number(state + 6);
}

// A wait ends well as soon as every window is in the state, a hold ends badly as soon as one is
// not.
int WaitState(bool hold, const wchar_t* state, DWORD ms, int count, wchar_t** names) {
  auto all = [&] {
    return std::all_of(names, names + count, [&](wchar_t* name) { return InState(state, name); });
  };
  const DWORD start = GetTickCount();
  const bool held = hold ? !WaitFor(ms, [&] { return !all(); }) : WaitFor(ms, all);
  Say("%s %s after %lu ms", held ? "all" : "not all", Utf8(state).c_str(), GetTickCount() - start);
  for (int i = 0; i < count; ++i) Describe(Utf8(names[i]), Find(names[i]));
  return held ? 0 : 1;
}

// A hold that sees a window that comes on screen for a moment only: each window is found once, so
// that a look costs one question.
int Watch(DWORD ms, int count, wchar_t** names) {
  Windows windows;
  for (int i = 0; i < count; ++i) {
    windows.push_back(Find(names[i]));
    if (!windows.back()) return Fail("no window %s", Utf8(names[i]).c_str());
  }
  const DWORD start = GetTickCount();
  unsigned looks = 0;
  for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start, ++looks) {
    for (int i = 0; i < count; ++i) {
      if (IsWindowVisible(windows[i])) {
        return Fail("%s on screen after %lu ms, at look %u", Utf8(names[i]).c_str(), spent, looks);
      }
    }
    PumpFor(2);
  }
  Say("all hidden at %u looks in %lu ms", looks, ms);
  return 0;
}

int MainWindow(DWORD ms) {
  HWND hwnd = nullptr;
  if (!WaitFor(ms, [&] { return (hwnd = Find(L"@ThunderRT6FormDC:OmbrixMainWND")) != nullptr; })) {
    return Fail("no main window of Ombrix after %lu ms", ms);
  }
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(hwnd));
  WaitForInputIdle(process, ms);
  CloseHandle(process);
  PumpFor(200);
  Describe("main window", hwnd);
  return IsWindow(hwnd) && !IsWindowVisible(hwnd) ? 0 : 1;
}

// ---- Processes ----

int Kill(int count, wchar_t** names) {
  std::vector<HANDLE> ended;
  for (int i = 0; i < count; ++i) {
    for (DWORD pid : ProcessesNamed(names[i])) {
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (process && pid != GetCurrentProcessId() && TerminateProcess(process, 1))
        ended.push_back(process);
    }
  }
  const bool gone = WaitFor(10000, [&] {
    return std::all_of(ended.begin(), ended.end(),
                       [](HANDLE p) { return WaitForSingleObject(p, 0) == WAIT_OBJECT_0; });
  });
  Say("ended %zu processes", ended.size());
  return gone ? 0 : 1;
}

// ---- Input ----

// The keys of each combination go down in order and up in reverse.
int PressKeys(int count, wchar_t** combos) {
  static const std::pair<wstring, WORD> kNamed[] = {
      {L"shift", VK_SHIFT}, {L"ctrl", VK_CONTROL}, {L"alt", VK_MENU}, {L"win", VK_LWIN},
      {L"esc", VK_ESCAPE},  {L"enter", VK_RETURN}, {L"tab", VK_TAB}};
  auto send = [](INPUT key, DWORD up) {
    key.ki.dwFlags |= up;
    SendInput(1, &key, sizeof key);
    PumpFor(30);
  };
  for (int i = 0; i < count; ++i) {
    std::vector<INPUT> keys;
    for (wstring rest = combos[i]; !rest.empty();) {
      const size_t plus = rest.find(L'+');
      const wstring name = rest.substr(0, plus);
      rest = plus == wstring::npos ? L"" : rest.substr(plus + 1);
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      // A letter or digit is its own key code.
      key.ki.wVk = name.size() == 1 && std::iswalnum(name[0])
                       ? static_cast<WORD>(std::towupper(name[0]))
                       : 0;
      for (const auto& [text, code] : kNamed) key.ki.wVk = text == name ? code : key.ki.wVk;
      if (key.ki.wVk == 0) {
        Say("unknown key %s", Utf8(name).c_str());
        return 2;
      }
      key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key.ki.wVk, MAPVK_VK_TO_VSC));
      key.ki.dwFlags = key.ki.wVk == VK_LWIN ? KEYEVENTF_EXTENDEDKEY : 0;
      keys.push_back(key);
    }
    for (const INPUT& key : keys) send(key, 0);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) send(*key, KEYEVENTF_KEYUP);
  }
  return 0;
}

void ClickAt(LONG x, LONG y) {
  SetCursorPos(x, y);
  PumpFor(100);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  PumpFor(100);
}

// ---- Messages ----

int Message(bool send, int n, wchar_t** a) {
  HWND hwnd = Find(a[0]);
  const bool handle = n > 2 && std::wcsncmp(a[2], L"win:", 4) == 0;
  const WPARAM wParam = handle  ? reinterpret_cast<WPARAM>(Find(a[2] + 4))
                        : n > 2 ? std::wcstoull(a[2], nullptr, 0)
                                : 0;
  const LPARAM lParam = n > 3 ? std::wcstoll(a[3], nullptr, 0) : 0;
  DWORD_PTR reply = 0;
  if (!hwnd || (handle && !wParam)) return Fail("no such window");
  if (!send) return PostMessageW(hwnd, Number(a[1]), wParam, lParam) ? 0 : 1;
  if (!SendMessageTimeoutW(hwnd, Number(a[1]), wParam, lParam, SMTO_NORMAL, 10000, &reply)) {
    return Fail("no answer within 10 s");
  }
  const long value = static_cast<int32_t>(reply);  // a 32-bit reply, negative for a refusal
  Say("replied %ld", value);
  return n > 4 && value != std::wcstol(a[4], nullptr, 0) ? 1 : 0;
}

int MessageBoxCheck(const wchar_t* title, const wchar_t* text, DWORD ms, const wchar_t* answer) {
  HWND box = nullptr;
  auto closed = [&] { return !IsWindow(box) || !IsWindowVisible(box); };
  auto shown = [&] {
    box = FindWindowW(L"#32770", title);
    return (box || (box = FindWindowW(nullptr, title))) && !closed();
  };
  if (!WaitFor(ms, shown)) {
    return Fail("no box titled %s after %lu ms", Utf8(title).c_str(), ms);
  }
  bool matched = false;
  for (HWND child : Children(box)) {
    if (!Is(child, L"Static") || TextOf(child).empty()) continue;
    Say("text: \"%s\"", OneLine(TextOf(child)).c_str());
    matched = matched || OneLine(TextOf(child)) == Utf8(text);
  }
  PostMessageW(box, WM_COMMAND, !answer ? IDOK : Same(answer, L"yes") ? IDYES : IDNO, 0);
  if (!WaitFor(5000, closed)) PostMessageW(box, WM_CLOSE, 0, 0);
  if (!matched) Say("expected text \"%s\" not shown", Utf8(text).c_str());
  return matched && WaitFor(5000, closed) ? 0 : 1;
}

// ---- Controls ----

// Sends a list view message whose lParam points to `block` in the list's own process, since the
// system carries no such pointer across processes; `aim` may point into the block there first.
LRESULT SendThere(HWND list, UINT message, WPARAM wParam, std::vector<char>& block,
                  const std::function<void(char* there)>& aim = nullptr) {
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               ProcessOf(list));
  auto* there = static_cast<char*>(
      VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE));
  LRESULT result = 0;
  if (there) {
    if (aim) aim(there);
    WriteProcessMemory(process, there, block.data(), block.size(), nullptr);
    result = SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(there));
    ReadProcessMemory(process, there, block.data(), block.size(), nullptr);
    VirtualFreeEx(process, there, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return result;
}

std::vector<wstring> Items(HWND control) {
  std::vector<wstring> items;
  const bool combo = Is(control, L"ComboBox");
  if (combo || Is(control, L"ListBox")) {
    for (LRESULT i = 0; i < SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0); ++i) {
      wstring text(
          static_cast<size_t>(SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)),
          L'\0');
      SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                   reinterpret_cast<LPARAM>(text.data()));
      items.push_back(text.c_str());
    }
  }
  for (LRESULT i = 0;
       Is(control, WC_LISTVIEWW) && i < SendMessageW(control, LVM_GETITEMCOUNT, 0, 0); ++i) {
    std::vector<char> block(sizeof(LVITEMW) + 1024 * sizeof(wchar_t));
    auto* item = reinterpret_cast<LVITEMW*>(block.data());
    item->cchTextMax = 1024;
    SendThere(control, LVM_GETITEMTEXTW, i, block, [&](char* there) {
      item->pszText = reinterpret_cast<wchar_t*>(there + sizeof(LVITEMW));
    });
    items.push_back(reinterpret_cast<wchar_t*>(block.data() + sizeof(LVITEMW)));
  }
  return items;
}

void PrintControls(HWND window) {
  for (HWND child : Children(window)) {
    std::printf("%s \"%s\" %s %s", Utf8(ClassOf(child)).c_str(), OneLine(TextOf(child)).c_str(),
                IsWindowVisible(child) ? "shown" : "hidden",
                IsWindowEnabled(child) ? "enabled" : "disabled");
    if (Is(child, L"Button"))
      std::printf(SendMessageW(child, BM_GETCHECK, 0, 0) ? " checked" : " unchecked");
    const std::vector<wstring> items = Items(child);
    if (Is(child, L"ComboBox")) {
      const auto chosen = static_cast<size_t>(SendMessageW(child, CB_GETCURSEL, 0, 0));
      std::printf(" chosen=\"%s\"", chosen < items.size() ? Utf8(items[chosen]).c_str() : "");
    }
    if (Is(child, WC_TABCONTROLW)) {
      std::printf(" tab=%d/%d", static_cast<int>(SendMessageW(child, TCM_GETCURSEL, 0, 0)),
                  static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0)));
    }
    for (size_t i = 0; i < items.size(); ++i)
      std::printf("%s%s", i ? "|" : " items=", Utf8(items[i]).c_str());
    Say("");
  }
}

int Combo(HWND window, int n, const wchar_t* text) {
  HWND combo = NthShown(window, L"ComboBox", n);
  const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text));
  if (!combo || index == CB_ERR) return Fail("no combo box %d with %s", n, Utf8(text).c_str());
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The notice a combo box sends its parent when the user chooses an item.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return 0;
}

// Only the process that owns a tab strip knows where its tabs are, so the header row is clicked
// from the left until the wanted tab is the chosen one.
int Tab(HWND window, int wanted) {
  HWND tabs = NthChild(window, 1, [](HWND child) { return Is(child, WC_TABCONTROLW); });
  auto chosen = [&] { return tabs && SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted; };
  RECT strip{};
  GetWindowRect(tabs, &strip);
  SetForegroundWindow(window);
  for (LONG x = strip.left + 6; x < strip.right && !chosen(); x += 12) {
    ClickAt(x, strip.top + GetSystemMetrics(SM_CYMENU) / 2 + 2);
  }
  return WaitFor(2000, chosen) ? 0 : 1;
}

int ItemPoint(HWND window, int n, const wchar_t* text) {
  HWND list = NthChild(window, n, IsList);
  const std::vector<wstring> items = Items(list);
  const auto found = std::find(items.begin(), items.end(), wstring(text));
  std::vector<char> block(sizeof(RECT));
  auto* rect = reinterpret_cast<RECT*>(block.data());
  if (list && Same(text, L"*")) {
    GetWindowRect(list, rect);
  } else if (found != items.end() && Is(list, WC_LISTVIEWW)) {
    rect->left = LVIR_LABEL;
    SendThere(list, LVM_GETITEMRECT, static_cast<WPARAM>(found - items.begin()), block);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(rect), 2);
  } else {
    return Fail("no item %s in list view %d", Utf8(text).c_str(), n);
  }
  Say("%ld %ld", (rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2);
  return 0;
}

// ---- Menus ----

// The average colour of the screen rectangle's pixels that are neither a menu's background nor
// its text, normal or greyed: what the item's picture shows.
std::string PictureColour(LONG left, LONG top, LONG right, LONG bottom) {
  HDC screen = GetDC(nullptr);
  const COLORREF ignored[] = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT),
                              GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_3DHILIGHT),
                              CLR_INVALID};
  long r = 0, g = 0, b = 0, n = 0;
  for (LONG y = top; y < bottom; ++y) {
    for (LONG x = left; x < right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      if (std::find(std::begin(ignored), std::end(ignored), pixel) != std::end(ignored)) continue;
      r += GetRValue(pixel), g += GetGValue(pixel), b += GetBValue(pixel), ++n;
    }
  }
  ReleaseDC(nullptr, screen);
  return n == 0 ? "none"
                : std::to_string(r / n) + "," + std::to_string(g / n) + "," + std::to_string(b / n);
}

// Prints Ombrix's open menus, read by menureader.dll from inside the thread that shows them
// (menu_reader.cpp), as "menu LEFT TOP RIGHT BOTTOM" and "item KIND STATE COLOUR TEXT" lines, where
// COLOUR is that of the item's picture column ("none" when blank); or clicks the text item
// `choice`.
int Menu(DWORD ms, const wchar_t* choice) {
  HWND menu = nullptr;
  auto open = [&] {
    for (HWND hwnd : TopLevelWindows())
      menu = Is(hwnd, L"#32768") && IsWindowVisible(hwnd) ? hwnd : menu;
    return menu != nullptr;
  };
  if (!WaitFor(ms, open)) return Fail("no menu of Ombrix open after %lu ms", ms);
  PumpFor(300);  // the menu paints its items
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wcscpy(std::wcsrchr(path, L'\\') + 1, L"menureader.dll");
  HMODULE reader = LoadLibraryW(path);
  auto hook =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(reader, "ReadMenuHook")));
  GetTempPathW(MAX_PATH, path);
  const wstring file = wstring(path) + L"ombrix-menu.txt";
  DeleteFileW(file.c_str());
  HHOOK hooked =
      hook ? SetWindowsHookExW(WH_GETMESSAGE, hook, reader, GetWindowThreadProcessId(menu, nullptr))
           : nullptr;
  PostMessageW(menu, RegisterWindowMessageW(L"OmbrixTestReadMenu"), 0, 0);
  const bool written = hooked && WaitFor(5000, [&] {
                         return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
                       });
  if (hooked) UnhookWindowsHookEx(hooked);
  FILE* in = written ? _wfopen(file.c_str(), L"rb") : nullptr;
  std::string lines;
  for (char line[2048]; in && std::fgets(line, sizeof line, in);) {
    line[std::strcspn(line, "\r\n")] = '\0';
    char kind[16] = {}, state[16] = {};
    RECT r{};
    int text = 0;
    if (std::sscanf(line, "item %15s %15s %ld %ld %ld %ld %n", kind, state, &r.left, &r.top,
                    &r.right, &r.bottom, &text) < 6) {
      lines += std::string(line) + "\n";
      continue;
    }
    std::string shown = line + text;
    shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
    if (choice && std::strcmp(kind, "text") == 0 && shown == Utf8(choice)) {
      std::fclose(in);
      ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      return 0;
    }
    const std::string colour =
        choice ? "" : PictureColour(r.left, r.top, r.left + 2 * (r.bottom - r.top), r.bottom);
    lines += std::string("item ") + kind + " " + state + " " + colour + " " + (line + text) + "\n";
  }
  if (in) std::fclose(in);
  std::fputs(in ? lines.c_str() : "the menu reader wrote nothing\n", stdout);
  if (choice) Say("no item %s", Utf8(choice).c_str());
  return in && !choice ? 0 : 1;
}

// ---- Registry ----

wstring KeyPath(const wchar_t* key) {
  return std::wcschr(key, L'\\') ? wstring(key) : L"Software\\Ombrix\\" + wstring(key);
}

// Read anew at every look: the system's own values, such as the wallpaper, change under a process.
int Reg(int n, wchar_t** a) {
  wchar_t value[4096] = {};
  bool present = false;
  const bool matched = WaitFor(n == 4 ? Number(a[3]) : 0, [&] {
    DWORD bytes = sizeof value;
    present =
        !RegGetValueW(HKEY_CURRENT_USER, KeyPath(a[0]).c_str(), a[1],
                      RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &bytes);
    return present && n == 4 && lstrcmpiW(value, a[2]) == 0;
  });
  Say("%s", present ? Utf8(value).c_str() : "missing");
  return matched || (n == 2 && present) ? 0 : 1;
}

int RegSet(const wchar_t* key, int count, wchar_t** pairs) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &handle, nullptr);
  for (int i = 0; i < count && status == ERROR_SUCCESS; ++i) {
    wchar_t* value = std::wcschr(pairs[i], L'=');
    if (!value) {
      Say("no NAME=VALUE: %s", Utf8(pairs[i]).c_str());
      return 2;
    }
    *value++ = L'\0';
    status = RegSetValueExW(handle, pairs[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? 0 : 1;
}

// Everyone may read the key; writing, creating below it and deleting are denied, or allowed again.
int RegLock(const wchar_t* key, bool locked) {
  HKEY handle = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const bool done =
      RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0, WRITE_DAC | KEY_READ,
                      nullptr, &handle, nullptr) == ERROR_SUCCESS &&
      ConvertStringSecurityDescriptorToSecurityDescriptorW(
          locked ? L"D:P(A;CI;KR;;;WD)" : L"D:P(A;CI;KA;;;WD)", SDDL_REVISION_1, &descriptor,
          nullptr) &&
      RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
  LocalFree(descriptor);
  RegCloseKey(handle);
  return done ? 0 : 1;
}

// ---- Commands ----

int Flash(const wchar_t* name, DWORD minMs, DWORD maxMs, bool keys, wchar_t* what) {
  wstring commandLine = L"\"" + wstring(what) + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION started{};
  if (keys ? PressKeys(1, &what) != 0
           : !CreateProcessW(what, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started)) {
    return Fail("could not press or start %s", Utf8(what).c_str());
  }
  HWND hwnd = nullptr;
  if (!WaitFor(std::max<DWORD>(keys ? 3000 : 15000, maxMs),
               [&] { return (hwnd = Find(name)) && IsWindowVisible(hwnd); })) {
    return Fail("%s did not appear", Utf8(name).c_str());
  }
  const DWORD appeared = GetTickCount();
  Describe("shown", hwnd);
  PrintControls(hwnd);
  const bool gone = WaitFor(maxMs, [&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); });
  const DWORD stayed = GetTickCount() - appeared;
  Say("%s after %lu ms", gone ? "gone" : "still shown", stayed);
  return gone && stayed >= minMs ? 0 : 1;
}

int Run(const wstring& command, int n, wchar_t** a) {
  auto is = [&](const wchar_t* name, int least, int most) {
    return command == name && n >= least && n <= most;
  };
  if ((is(L"wait", 3, 99) || is(L"hold", 3, 99)) && KnownState(a[0])) {
    return WaitState(command == L"hold", a[0], Number(a[1]), n - 2, a + 2);
  }
  if (is(L"watch", 2, 99)) return Watch(Number(a[0]), n - 1, a + 1);
  if (is(L"flash", 5, 5) && (Same(a[3], L"keys") || Same(a[3], L"start"))) {
    return Flash(a[0], Number(a[1]), Number(a[2]), Same(a[3], L"keys"), a[4]);
  }
  if (is(L"main-window", 1, 1)) return MainWindow(Number(a[0]));
  if (is(L"processes", 2, 3)) {
    size_t seen = 0;
    const bool reached = WaitFor(Number(a[1]), [&] {
      return (seen = ProcessesNamed(n == 3 ? a[2] : L"Ombrix.exe").size()) == Number(a[0]);
    });
    Say("%zu processes", seen);
    return reached ? 0 : 1;
  }
  if (is(L"kill", 1, 99)) return Kill(n, a);
  if (is(L"activate", 1, 1)) {
    // Asked again while waiting: a switch that is still ending may bring its own window forward.
    HWND hwnd = Find(a[0]);
    auto active = [&] {
      if (hwnd && GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
      return hwnd && GetForegroundWindow() == hwnd;
    };
    return WaitFor(3000, active) ? 0 : 1;
  }
  if (is(L"keys", 1, 99)) return PressKeys(n, a);
  if (is(L"post", 2, 4) || is(L"send", 2, 5)) return Message(command == L"send", n, a);
  if (is(L"msgbox", 3, 4))
    return MessageBoxCheck(a[0], a[1], Number(a[2]), n == 4 ? a[3] : nullptr);
  if (is(L"menu", 1, 2)) return Menu(Number(a[0]), n == 2 ? a[1] : nullptr);
  HWND window = n > 0 ? Find(a[0]) : nullptr;
  if (is(L"controls", 1, 1)) return window ? (PrintControls(window), 0) : 1;
  if (is(L"type", 2, 3)) {
    HWND edit = NthShown(window, L"Edit", n == 3 ? static_cast<int>(Number(a[2])) : 1);
    for (const wchar_t* c = a[1]; edit && *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
    return edit ? 0 : 1;
  }
  if (is(L"click", 2, 2)) {
    HWND button = nullptr;
    WaitFor(10000, [&] {
      button = FindWindowExW(Find(a[0]), nullptr, L"Button", a[1]);
      return button && IsWindowEnabled(button) && IsWindowVisible(button);
    });
    return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (is(L"combo", 3, 3)) return Combo(window, static_cast<int>(Number(a[1])), a[2]);
  if (is(L"tab", 2, 2)) return Tab(window, static_cast<int>(Number(a[1])));
  if (is(L"item-point", 3, 3)) return ItemPoint(window, static_cast<int>(Number(a[1])), a[2]);
  if (is(L"place", 5, 5)) {
    const bool placed =
        window && SetWindowPos(window, nullptr, _wtoi(a[1]), _wtoi(a[2]), _wtoi(a[3]), _wtoi(a[4]),
                               SWP_NOZORDER | SWP_NOACTIVATE);
    return PumpFor(100), placed ? 0 : 1;
  }
  if (is(L"wallpaper-set", 1, 1)) {
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, a[0],
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
  }
  if (is(L"reg", 2, 2) || is(L"reg", 4, 4)) return Reg(n, a);
  if (is(L"reg-set", 2, 99)) return RegSet(a[0], n - 1, a + 1);
  if (is(L"reg-lock", 2, 2)) return RegLock(a[0], Same(a[1], L"on"));
  if (is(L"list", 0, 0)) {
    for (HWND hwnd : TopLevelWindows()) {
      wchar_t title[2] = {};
      if (IsWindowVisible(hwnd) || (GetWindowTextW(hwnd, title, 2) && !Is(hwnd, L"IME")))
        Describe("window", hwnd);
    }
    return 0;
  }
  std::fputs("usage: probe COMMAND ARGS...; the commands are described in tests/e2e/probe.cpp\n",
             stderr);
  return 2;
}

}  // namespace

// Commands chained with "--" run in turn until one fails.
int wmain(int argc, wchar_t** argv) {
  int status = argc < 2 ? Run(L"", 0, argv) : 0;
  for (int first = 1, end = 1; status == 0 && first < argc; first = ++end) {
    while (end < argc && !Same(argv[end], L"--")) ++end;
    status = Run(argv[first], end - first - 1, argv + first + 1);
  }
  return status;
}
