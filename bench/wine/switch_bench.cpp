// switch_bench.exe: what the real Ombrix costs, next to the bare hiding and showing of the same
// windows, all measured in one run on one set of windows under Wine.
//
//   switch_bench OMBRIX_EXE [ROUNDS [IDLE_SECONDS]]
//
// Opens 50 windows in 5 child processes (this program in its child mode, each pumping its
// messages), starts OMBRIX_EXE, and reports:
//   - idle: Ombrix's own CPU over IDLE_SECONDS with nothing happening, once with every window on
//     the desktop on screen and once with all of them on a hidden desktop;
//   - per round, alternating: (a) ShowWindow SW_HIDE and then SW_SHOW over the 50 windows, timed
//     and with this process's CPU; (b) a switch to desktop 2 and back, sent to Ombrix's main
//     window as the Win+2 and Win+1 messages (SendMessage returns when the handler is done),
//     timed and with Ombrix's CPU from the first message to 10 s after the second;
//   - how long a rule takes to move a new window away (scripts/bench.sh stores the rule);
//   - the medians, their ratios, and Ombrix's resident memory.
// CPU times are the kernel's own (/proc/<pid>/task/*/schedstat, in nanoseconds, every thread of
// the process), read through Wine's drive Z:, which maps the Unix root.
//
// Every wait pumps this thread's messages: under Wine a program that waits without pumping sees
// stalls of about 2 s.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
constexpr unsigned kAfterSwitchMs = 10000;  // Ombrix's CPU is counted this long after a switch
// Ombrix counts as idle again once it answers this many pings in a row, each within kQuickMs.
constexpr int kQuietPings = 30;
constexpr double kQuickMs = 3.0;
constexpr double kSettleLimitMs = 8000.0;
// Targets the figures are read against.
constexpr double kIdleTargetPercent = 0.2;
constexpr double kCpuRatioTarget = 3.0;
constexpr double kLatencyRatioTarget = 1.15;
constexpr double kRuleTargetMs = 300.0;
constexpr int kRuleTrials = 5;

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

// --- Unix process figures through drive Z: ---------------------------------------------------

std::string ReadUnixFile(const std::wstring& path) {
  std::string text;
  if (FILE* file = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    fclose(file);
  }
  return text;
}

std::vector<std::wstring> UnixDirectory(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Nanoseconds that every thread of Unix process pid has run; -1 when it cannot be read.
long long ProcessCpuNs(const std::wstring& pid) {
  const std::wstring tasks = L"Z:\\proc\\" + pid + L"\\task";
  long long total = 0;
  bool any = false;
  for (const std::wstring& task : UnixDirectory(tasks)) {
    const std::string stat = ReadUnixFile(tasks + L"\\" + task + L"\\schedstat");
    if (stat.empty()) continue;
    total += std::strtoll(stat.c_str(), nullptr, 10);
    any = true;
  }
  return any ? total : -1;
}

// The first Unix process whose arguments satisfy the test; empty when there is none. Wine opens
// files in its server, so Z:\proc\self would be the server: processes are found by their
// arguments instead.
std::wstring UnixPidWhere(const std::function<bool(const std::vector<std::string>&)>& test) {
  for (const std::wstring& name : UnixDirectory(L"Z:\\proc")) {
    if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string line = ReadUnixFile(L"Z:\\proc\\" + name + L"\\cmdline");
    std::vector<std::string> args;
    size_t at = 0;
    while (at < line.size()) {
      size_t end = line.find('\0', at);
      if (end == std::string::npos) end = line.size();
      args.push_back(line.substr(at, end - at));
      at = end + 1;
    }
    while (!args.empty() && args.back().empty()) args.pop_back();
    if (!args.empty() && test(args)) return name;
  }
  return L"";
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A line of /proc/<pid>/status such as "VmRSS:   12345 kB", as kilobytes; -1 when absent.
long long StatusKb(const std::wstring& pid, const char* field) {
  const std::string status = ReadUnixFile(L"Z:\\proc\\" + pid + L"\\status");
  const size_t at = status.find(field);
  if (at == std::string::npos) return -1;
  return std::strtoll(status.c_str() + at + std::strlen(field) + 1, nullptr, 10);
}

// --- The windows ------------------------------------------------------------------------------

// Opens count windows titled "<prefix>-<i>" and pumps messages until the parent ends.
int Child(const std::wstring& prefix, int count, int row, DWORD parentPid) {
  HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parentPid);
  if (parent == nullptr) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kBenchClass;
  RegisterClassW(&wc);
  for (int i = 0; i < count; ++i) {
    const std::wstring title = prefix + L"-" + std::to_wstring(i);
    HWND hwnd = CreateWindowExW(0, kBenchClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                40 + 20 * i, 40 + 60 * row, 320, 200, nullptr, nullptr,
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

// --- Measuring ---------------------------------------------------------------------------------

struct Bench {
  HWND ombrix = nullptr;
  std::wstring ombrixPid;
  std::wstring selfPid;
  std::vector<HWND> windows;

  double OmbrixCpuMs() const { return static_cast<double>(ProcessCpuNs(ombrixPid)) / 1e6; }
  double SelfCpuMs() const { return static_cast<double>(ProcessCpuNs(selfPid)) / 1e6; }
};

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

// Waits until Ombrix answers promptly again.
void Settle(HWND ombrix) {
  const double start = Now();
  int quiet = 0;
  while (quiet < kQuietPings && Now() - start < kSettleLimitMs) {
    const double sent = Now();
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(ombrix, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &reply);
    quiet = Now() - sent <= kQuickMs ? quiet + 1 : 0;
    PumpFor(10);
  }
}

struct BareFigures {
  double ms;
  double cpuMs;
};

BareFigures BareLoop(const Bench& bench) {
  const double cpu = bench.SelfCpuMs();
  const double start = Now();
  for (HWND hwnd : bench.windows) ShowWindow(hwnd, SW_HIDE);
  for (HWND hwnd : bench.windows) ShowWindow(hwnd, SW_SHOW);
  const double ms = Now() - start;
  return {ms, bench.SelfCpuMs() - cpu};
}

struct SwitchFigures {
  double ms = -1;  // negative when Ombrix hung
  double cpuMs = 0;
  double cpuDuringMs = 0;  // the part spent before the second message returned
};

// A switch to desktop 2 and back; the CPU figure runs on until kAfterSwitchMs after it.
SwitchFigures SwitchThereAndBack(const Bench& bench) {
  SwitchFigures figures;
  const double cpu = bench.OmbrixCpuMs();
  const double start = Now();
  if (!SendHotKey(bench.ombrix, kDigit2) || !SendHotKey(bench.ombrix, kDigit1)) return figures;
  figures.ms = Now() - start;
  figures.cpuDuringMs = bench.OmbrixCpuMs() - cpu;
  PumpFor(kAfterSwitchMs);
  figures.cpuMs = bench.OmbrixCpuMs() - cpu;
  return figures;
}

// Ombrix's CPU over seconds of nothing happening, in percent of one core.
double IdlePercent(const Bench& bench, int seconds) {
  Settle(bench.ombrix);
  PumpFor(2000);
  const double cpu = bench.OmbrixCpuMs();
  const double start = Now();
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  return (bench.OmbrixCpuMs() - cpu) / (Now() - start) * 100.0;
}

// One switch there and back whose effect is checked: Ombrix has all 50 windows on desktop 1.
bool SwitchHidesAndShows(const Bench& bench) {
  if (!SendHotKey(bench.ombrix, kDigit2)) return false;
  PumpFor(100);
  const int left = CountVisible(bench.windows);
  if (!SendHotKey(bench.ombrix, kDigit1)) return false;
  PumpFor(100);
  const int back = CountVisible(bench.windows);
  std::printf("check: %d of %d windows visible on desktop 2, %d back on desktop 1\n", left, kWindows,
              back);
  return left == 0 && back == kWindows;
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

// scripts/bench.sh stores a rule that moves windows titled "bench mover..." to desktop 3. Opens
// such windows one at a time and times each from the moment it is seen on screen to the
// moment the rule has hidden it. The children join the others, ended with them.
std::vector<double> RuleLatencies(const wchar_t* self, std::vector<HANDLE>& children) {
  std::vector<double> latencies;
  for (int trial = 0; trial < kRuleTrials; ++trial) {
    const std::wstring title = L"bench mover " + std::to_wstring(trial);
    PROCESS_INFORMATION info{};
    const std::wstring line = L"\"" + std::wstring(self) + L"\" child \"" + title + L"\" 1 6 " +
                              std::to_wstring(GetCurrentProcessId());
    if (!Start(line, info)) break;
    CloseHandle(info.hThread);
    children.push_back(info.hProcess);
    const std::wstring name = title + L"-0";
    HWND window = nullptr;
    double shown = 0;
    // Polled without waiting in between, so the figure is not rounded up to a wait.
    const double giveUpAt = Now() + 10000.0;
    while (Now() < giveUpAt) {
      Pump();
      if (window == nullptr) window = FindWindowW(kBenchClass, name.c_str());
      if (window != nullptr && shown == 0 && IsWindowVisible(window)) shown = Now();
      if (shown != 0 && !IsWindowVisible(window)) break;
      Sleep(1);
    }
    if (shown == 0 || IsWindowVisible(window)) break;
    latencies.push_back(Now() - shown);
    PumpFor(500);
  }
  return latencies;
}

int Parent(const wchar_t* ombrixExe, int rounds, int idleSeconds) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::vector<HANDLE> children;
  auto endChildren = [&] {
    for (HANDLE child : children) {
      TerminateProcess(child, 0);
      CloseHandle(child);
    }
  };
  for (int i = 0; i < kChildren; ++i) {
    PROCESS_INFORMATION info{};
    const std::wstring line = L"\"" + std::wstring(self) + L"\" child \"bench " +
                              std::to_wstring(i) + L"\" " + std::to_wstring(kWindowsPerChild) +
                              L" " + std::to_wstring(i) + L" " +
                              std::to_wstring(GetCurrentProcessId());
    if (!Start(line, info)) {
      std::printf("could not start child %d: error %lu\n", i, GetLastError());
      endChildren();
      return 1;
    }
    CloseHandle(info.hThread);
    children.push_back(info.hProcess);
  }
  Bench bench;
  if (!WaitFor(30000, [&] {
        bench.windows = BenchWindows();
        return static_cast<int>(bench.windows.size()) == kWindows &&
               CountVisible(bench.windows) == kWindows;
      })) {
    std::printf("only %zu windows opened\n", bench.windows.size());
    endChildren();
    return 1;
  }
  std::printf("%d windows open in %d processes\n", kWindows, kChildren);

  // Started with its Windows path as its only argument, which is then its Unix command line.
  PROCESS_INFORMATION info{};
  if (!Start(ombrixExe, info)) {
    std::printf("could not start Ombrix: error %lu\n", GetLastError());
    endChildren();
    return 1;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (!WaitFor(30000, [&] {
        return (bench.ombrix = FindWindowW(L"ThunderRT6FormDC", L"OmbrixMainWND")) != nullptr;
      })) {
    std::printf("no Ombrix main window\n");
    endChildren();
    return 1;
  }
  const int length = WideCharToMultiByte(CP_UTF8, 0, ombrixExe, -1, nullptr, 0, nullptr, nullptr);
  std::string exeUtf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, ombrixExe, -1, exeUtf8.data(), length, nullptr, nullptr);
  exeUtf8.pop_back();
  bench.ombrixPid = UnixPidWhere(
      [&](const std::vector<std::string>& args) { return args.size() == 1 && args[0] == exeUtf8; });
  // This process, started by scripts/bench.sh with Ombrix's path; its children say "child".
  bench.selfPid = UnixPidWhere([&](const std::vector<std::string>& args) {
    return args.size() >= 2 && EndsWith(args[0], "switch_bench.exe") && args[1] == exeUtf8;
  });
  if (bench.ombrixPid.empty() || bench.OmbrixCpuMs() < 0 || bench.SelfCpuMs() < 0) {
    std::printf("cannot read the processes' CPU time under /proc\n");
    endChildren();
    return 1;
  }
  // Start-up ends with a rule pass and the splash: let both finish.
  PumpFor(5000);
  if (!SwitchHidesAndShows(bench)) {
    std::printf("Ombrix does not switch these windows; no figures\n");
    endChildren();
    return 1;
  }

  const double idleShown = IdlePercent(bench, idleSeconds);
  std::printf("idle, %d windows on screen: %.3f %% of a core over %d s\n", kWindows, idleShown,
              idleSeconds);
  if (!SendHotKey(bench.ombrix, kDigit2)) {
    endChildren();
    return 1;
  }
  const double idleHidden = IdlePercent(bench, idleSeconds);
  std::printf("idle, %d windows on a hidden desktop: %.3f %% of a core over %d s\n", kWindows,
              idleHidden, idleSeconds);
  if (!SendHotKey(bench.ombrix, kDigit1)) {
    endChildren();
    return 1;
  }
  Settle(bench.ombrix);

  // The order alternates, so a drift over the run weighs on both figures alike.
  std::vector<double> bareMs, bareCpu, switchMs, switchCpu, switchCpuDuring;
  for (int round = 1; round <= rounds; ++round) {
    for (int step = 0; step < 2; ++step) {
      Settle(bench.ombrix);
      PumpFor(500);
      if ((step == 0) == (round % 2 == 1)) {
        const BareFigures bare = BareLoop(bench);
        bareMs.push_back(bare.ms);
        bareCpu.push_back(bare.cpuMs);
      } else {
        const SwitchFigures switched = SwitchThereAndBack(bench);
        if (switched.ms < 0) {
          endChildren();
          return 1;
        }
        switchMs.push_back(switched.ms);
        switchCpu.push_back(switched.cpuMs);
        switchCpuDuring.push_back(switched.cpuDuringMs);
      }
    }
    std::printf("round %d: bare hide+show %.1f ms (its CPU %.1f ms); switch 2 and back %.1f ms "
                "(Ombrix's CPU %.1f ms, with the %u s after %.1f ms)\n",
                round, bareMs.back(), bareCpu.back(), switchMs.back(), switchCpuDuring.back(),
                kAfterSwitchMs / 1000, switchCpu.back());
  }
  const bool intact = CountVisible(bench.windows) == kWindows;
  const std::vector<double> ruleMs = RuleLatencies(self, children);
  const long long rss = StatusKb(bench.ombrixPid, "VmRSS:");
  const long long peak = StatusKb(bench.ombrixPid, "VmHWM:");
  endChildren();

  const double latencyRatio = Median(switchMs) / Median(bareMs);
  const double cpuRatio = Median(switchCpu) / Median(bareCpu);
  std::printf("\n== summary: %d windows in %d processes, medians of %d rounds\n", kWindows,
              kChildren, rounds);
  std::printf("idle CPU:        %.3f %% on screen, %.3f %% hidden (target at most %.1f %%: %s)\n",
              idleShown, idleHidden, kIdleTargetPercent,
              Verdict(std::max(idleShown, idleHidden) <= kIdleTargetPercent));
  std::printf("CPU per switch:  Ombrix %.1f ms (there and back, with the %u s after; %.1f ms of "
              "it while switching) vs bare loop %.1f ms; ratio %.2f (target at most %.0f: %s)\n",
              Median(switchCpu), kAfterSwitchMs / 1000, Median(switchCpuDuring), Median(bareCpu),
              cpuRatio, kCpuRatioTarget, Verdict(cpuRatio <= kCpuRatioTarget));
  std::printf("switch latency:  Ombrix %.1f ms vs bare loop %.1f ms; ratio %.3f (target at most "
              "%.2f: %s)\n",
              Median(switchMs), Median(bareMs), latencyRatio, kLatencyRatioTarget,
              Verdict(latencyRatio <= kLatencyRatioTarget));
  if (ruleMs.empty()) {
    std::printf("rule latency:    no figure: the windows of the rule did not go\n");
  } else {
    std::printf("rule latency:    a new window moved away by a rule %.0f ms after it showed up "
                "(median of %zu, worst %.0f; target at most %.0f ms: %s)\n",
                Median(ruleMs), ruleMs.size(), *std::max_element(ruleMs.begin(), ruleMs.end()),
                kRuleTargetMs, Verdict(Median(ruleMs) <= kRuleTargetMs));
  }
  std::printf("memory:          Ombrix resident %lld kB (peak %lld kB)\n", rss, peak);
  if (!intact) std::printf("warning: not every window was on screen after the last round\n");
  for (double figure : {Median(bareMs), Median(switchMs)}) {
    if (figure > 1800.0 && figure < 2200.0) {
      std::printf("warning: a median near 2,000 ms looks like a Wine stall, not a cost\n");
    }
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 6 && lstrcmpW(argv[1], L"child") == 0) {
    return Child(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), static_cast<DWORD>(_wtoi(argv[5])));
  }
  if (argc < 2) {
    std::printf("usage: switch_bench OMBRIX_EXE [ROUNDS [IDLE_SECONDS]]\n");
    return 2;
  }
  const int rounds = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 9;
  const int idleSeconds = argc >= 4 ? std::max(1, _wtoi(argv[3])) : 60;
  setvbuf(stdout, nullptr, _IONBF, 0);
  return Parent(argv[1], rounds, idleSeconds);
}
