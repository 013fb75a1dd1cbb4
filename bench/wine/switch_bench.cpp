// switch_bench.exe: what a desktop switch of the real Ombrix costs over the bare hiding and
// showing of the same windows, both measured in one run on one set of windows.
//
//   switch_bench [OMBRIX_EXE [ROUNDS]]
//
// Opens 50 windows in 5 child processes (this program in its child mode, each pumping its
// messages), starts OMBRIX_EXE when given (else waits for a running Ombrix), then per round times
// (a) ShowWindow SW_HIDE and then SW_SHOW over the 50 windows, and (b) a switch to desktop 2 and
// back, sent to Ombrix's main window as the Win+2 and Win+1 messages (SendMessage returns when
// the handler is done). Prints each round, the medians and their ratio.
//
// Every wait pumps this thread's messages: under Wine a program that waits without pumping sees
// stalls of about 2 s.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kChildren = 5;
constexpr int kWindowsPerChild = 10;
constexpr int kWindows = kChildren * kWindowsPerChild;
constexpr wchar_t kBenchClass[] = L"OmbrixBenchWin";
constexpr UINT kWinHotKey = WM_USER + 3;
constexpr WPARAM kDigit1 = '1';
constexpr WPARAM kDigit2 = '2';
// Ombrix counts as idle again once it answers this many pings in a row, each within kQuickMs.
constexpr int kQuietPings = 30;
constexpr double kQuickMs = 3.0;
constexpr double kSettleLimitMs = 8000.0;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& holds) {
  const DWORD start = GetTickCount();
  while (!holds()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpFor(20);
  }
  return true;
}

int Child(int index, DWORD parentPid) {
  HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parentPid);
  if (parent == nullptr) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kBenchClass;
  RegisterClassW(&wc);
  for (int i = 0; i < kWindowsPerChild; ++i) {
    const std::wstring title = L"bench " + std::to_wstring(index) + L"-" + std::to_wstring(i);
    HWND hwnd = CreateWindowExW(0, kBenchClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                40 + 20 * i, 40 + 60 * index, 320, 200, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
  }
  // Ends with the parent, so no window outlives a run.
  while (MsgWaitForMultipleObjects(1, &parent, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    Pump();
  }
  return 0;
}

std::vector<HWND> BenchWindows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        wchar_t name[64] = L"";
        GetClassNameW(hwnd, name, 64);
        if (lstrcmpW(name, kBenchClass) == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int CountVisible(const std::vector<HWND>& windows) {
  return static_cast<int>(std::count_if(windows.begin(), windows.end(),
                                        [](HWND h) { return IsWindowVisible(h) != FALSE; }));
}

bool Start(const std::wstring& commandLine, PROCESS_INFORMATION& info) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info) != FALSE;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double BareLoop(const std::vector<HWND>& windows) {
  const double start = Now();
  for (HWND hwnd : windows) ShowWindow(hwnd, SW_HIDE);
  for (HWND hwnd : windows) ShowWindow(hwnd, SW_SHOW);
  return Now() - start;
}

// A switch that has not returned after this long has hung Ombrix; the run stops there.
constexpr UINT kSwitchLimitMs = 30000;

bool SendHotKey(HWND ombrix, WPARAM digit) {
  DWORD_PTR reply = 0;
  if (SendMessageTimeoutW(ombrix, kWinHotKey, digit, 0, SMTO_NORMAL, kSwitchLimitMs, &reply)) {
    return true;
  }
  std::printf("Ombrix did not finish a switch within %u ms\n", kSwitchLimitMs);
  return false;
}

// The time of a switch to desktop 2 and back, or a negative figure when Ombrix hung.
double SwitchThereAndBack(HWND ombrix) {
  const double start = Now();
  if (!SendHotKey(ombrix, kDigit2) || !SendHotKey(ombrix, kDigit1)) return -1.0;
  return Now() - start;
}

// Every window that a step hides and shows comes back to Ombrix as a window notice, each handled
// with a pass of the rules, which a later step would otherwise wait for. Waits until Ombrix answers
// promptly again; returns how long that took.
double Settle(HWND ombrix) {
  const double start = Now();
  double quietSince = start;
  int quiet = 0;
  while (quiet < kQuietPings && Now() - start < kSettleLimitMs) {
    const double sent = Now();
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(ombrix, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &reply);
    if (Now() - sent <= kQuickMs) {
      if (quiet++ == 0) quietSince = sent;
    } else {
      quiet = 0;
    }
    PumpFor(10);
  }
  return quietSince - start;
}

// One switch there and back whose effect is checked: Ombrix has all 50 windows on desktop 1.
bool SwitchHidesAndShows(HWND ombrix, const std::vector<HWND>& windows) {
  if (!SendHotKey(ombrix, kDigit2)) return false;
  PumpFor(100);
  const int left = CountVisible(windows);
  if (!SendHotKey(ombrix, kDigit1)) return false;
  PumpFor(100);
  const int back = CountVisible(windows);
  std::printf("check: %d of %d windows visible on desktop 2, %d back on desktop 1\n", left, kWindows,
              back);
  return left == 0 && back == kWindows;
}

int Parent(const wchar_t* ombrixExe, int rounds) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::vector<HANDLE> children;
  for (int i = 0; i < kChildren; ++i) {
    PROCESS_INFORMATION info{};
    const std::wstring line = L"\"" + std::wstring(self) + L"\" child " + std::to_wstring(i) + L" " +
                              std::to_wstring(GetCurrentProcessId());
    if (!Start(line, info)) {
      std::printf("could not start child %d: error %lu\n", i, GetLastError());
      return 1;
    }
    CloseHandle(info.hThread);
    children.push_back(info.hProcess);
  }
  auto endChildren = [&] {
    for (HANDLE child : children) {
      TerminateProcess(child, 0);
      CloseHandle(child);
    }
  };
  std::vector<HWND> windows;
  if (!WaitFor(30000, [&] {
        windows = BenchWindows();
        return static_cast<int>(windows.size()) == kWindows && CountVisible(windows) == kWindows;
      })) {
    std::printf("only %zu windows opened\n", windows.size());
    endChildren();
    return 1;
  }
  std::printf("%d windows open in %d processes\n", kWindows, kChildren);

  if (ombrixExe != nullptr) {
    PROCESS_INFORMATION info{};
    if (!Start(L"\"" + std::wstring(ombrixExe) + L"\"", info)) {
      std::printf("could not start Ombrix: error %lu\n", GetLastError());
      endChildren();
      return 1;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  HWND ombrix = nullptr;
  if (!WaitFor(30000, [&] { return (ombrix = FindWindowW(L"ThunderRT6FormDC", L"OmbrixMainWND")); })) {
    std::printf("no Ombrix main window\n");
    endChildren();
    return 1;
  }
  // Start-up ends with a rule pass and the splash: let both finish.
  PumpFor(4000);
  if (!SwitchHidesAndShows(ombrix, windows)) {
    std::printf("Ombrix does not switch these windows; no figures\n");
    endChildren();
    return 1;
  }
  Settle(ombrix);

  // The order alternates, so a drift over the run weighs on both figures alike.
  std::vector<double> bare, switched, afterBare, afterSwitch;
  for (int round = 1; round <= rounds; ++round) {
    for (int step = 0; step < 2; ++step) {
      if ((step == 0) == (round % 2 == 1)) {
        bare.push_back(BareLoop(windows));
        afterBare.push_back(Settle(ombrix));
      } else {
        const double figure = SwitchThereAndBack(ombrix);
        if (figure < 0) {
          endChildren();
          return 1;
        }
        switched.push_back(figure);
        afterSwitch.push_back(Settle(ombrix));
      }
    }
    std::printf("round %d: bare hide+show %.1f ms, switch 2 and back %.1f ms"
                " (Ombrix busy afterwards: %.0f ms and %.0f ms)\n",
                round, bare.back(), switched.back(), afterBare.back(), afterSwitch.back());
  }
  const bool intact = CountVisible(windows) == kWindows;
  endChildren();

  const double bareMedian = Median(bare);
  const double switchMedian = Median(switched);
  const double ratio = switchMedian / bareMedian;
  std::printf("median over %d rounds, %d windows: bare %.1f ms, switch %.1f ms, ratio %.3f "
              "(target at most 1.15: %s)\n",
              rounds, kWindows, bareMedian, switchMedian, ratio, ratio <= 1.15 ? "met" : "NOT met");
  std::printf("Ombrix busy with window notices afterwards (median): %.0f ms after the bare loop, "
              "%.0f ms after the switch\n",
              Median(afterBare), Median(afterSwitch));
  if (!intact) std::printf("warning: not every window was on screen after the last round\n");
  for (double figure : {bareMedian, switchMedian}) {
    if (figure > 1800.0 && figure < 2200.0) {
      std::printf("warning: a median near 2,000 ms looks like a Wine stall, not a cost\n");
    }
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && lstrcmpW(argv[1], L"child") == 0) {
    return Child(_wtoi(argv[2]), static_cast<DWORD>(_wtoi(argv[3])));
  }
  const wchar_t* ombrix = argc >= 2 ? argv[1] : nullptr;
  const int rounds = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 9;
  setvbuf(stdout, nullptr, _IONBF, 0);
  return Parent(ombrix, rounds);
}
