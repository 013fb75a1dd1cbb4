// Reports top-level windows of other programs that appear, go away or become the foreground.
//
// Windows reports all of that through window events, and then nothing is polled at all. Some
// systems report less (Wine reports creation only), so the watch first checks what the system
// reports: it shows, hides and destroys a window of its own and listens. Until that window's
// show, hide and destruction have all come back as events, a poll stands in, shaped to cost
// next to nothing while nothing happens:
//   - a window the system has just reported created is looked at closely until it shows up;
//   - hidden windows are looked at every two seconds, so one that comes back is seen;
//   - windows on screen are looked at twice after a hot-key, or after the window in front went
//     out of sight, when a switch hides them, so that their coming back is seen later;
//   - the foreground window once a second, and at once before a hot-key is reported;
//   - the whole window list now and then, for windows that went away unseen.
// Every source feeds the same records, so each change is reported once.
#include <algorithm>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "hooklib.h"
#include "platform/types.h"

namespace ombrix::hooklib {
namespace {

// How long the notify window may take to answer whether a shell window stays hidden.
constexpr UINT kAskTimeoutMs = 200;

// The poll that stands in for missing events.
constexpr DWORD kFreshEveryMs = 40;         // a window created but not yet shown
constexpr DWORD kFreshForMs = 3000;         // how long a created window counts as just created
constexpr DWORD kHiddenEveryMs = 2000;      // hidden windows
constexpr DWORD kForegroundEveryMs = 1000;  // the foreground window
constexpr DWORD kListEveryMs = 30000;       // the whole list, for windows gone unseen
// Windows on screen are looked at this long after activity.
constexpr DWORD kAfterActivityMs[] = {150, 600};

// How long the watch listens for the events of its own test window.
constexpr DWORD kSelfTestMs = 3000;

// What a window's class makes of it; read once, when it first shows up.
enum class Kind { Unknown, Ordinary, Transient, ShellFolder };

struct Entry {
  bool own = false;       // a window of the caller's process: never reported
  bool visible = false;   // as last seen
  bool reported = false;  // has been on screen, so its destruction is reported
  DWORD createdAt = 0;    // tick of its creation event while it has not shown up; 0 after
  Kind kind = Kind::Unknown;
};

// Visibility of a top-level window in one question: its parent, the desktop, is always
// visible. Gone when the handle no longer names a window.
enum class Seen { Hidden, Visible, Gone };

Seen Look(HWND hwnd) {
  SetLastError(ERROR_SUCCESS);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (style == 0 && GetLastError() == ERROR_INVALID_WINDOW_HANDLE) return Seen::Gone;
  return (style & WS_VISIBLE) != 0 ? Seen::Visible : Seen::Hidden;
}

bool Due(DWORD now, DWORD at) { return static_cast<LONG>(now - at) >= 0; }

// The next time on a fixed grid, so that the poll's timer keeps one interval; a grid that
// fell behind starts again from now.
void Advance(DWORD& at, DWORD every, DWORD now) {
  at += every;
  if (Due(now, at)) at = now + every;
}

class WindowWatch {
 public:
  explicit WindowWatch(HWND notify) : notify_(notify), ownProcess_(GetCurrentProcessId()) {}

  void Start() {
    // Windows already on screen are the caller's to discover; they are not reported.
    for (HWND hwnd : TopLevelWindows()) {
      Entry& entry = Track(hwnd);
      entry.visible = entry.reported = Look(hwnd) == Seen::Visible;
    }
    foreground_ = GetForegroundWindow();
    const DWORD now = GetTickCount();
    nextHidden_ = now + kHiddenEveryMs;
    nextForeground_ = now + kForegroundEveryMs;
    nextList_ = now + kListEveryMs;
  }

  // True while the poll must stand in for events the system does not send.
  bool Polling() const { return !eventsProven_; }

  // The system reported its show, hide and destruction events for the watch's own window.
  void EventsProven() { eventsProven_ = true; }

  void OnEvent(DWORD event, HWND hwnd) {
    switch (event) {
      case EVENT_SYSTEM_FOREGROUND:
        CheckForeground();
        break;
      case EVENT_OBJECT_CREATE:
      case EVENT_OBJECT_SHOW: {
        if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) break;
        Entry& entry = Track(hwnd);
        if (entry.own || entry.visible) break;
        if (Look(hwnd) == Seen::Visible) {
          Shown(hwnd, entry);
        } else if (event == EVENT_OBJECT_CREATE && entry.createdAt == 0) {
          entry.createdAt = NonZero(GetTickCount());
          ++fresh_;
        }
        break;
      }
      case EVENT_OBJECT_HIDE:
        if (auto found = known_.find(hwnd); found != known_.end()) found->second.visible = false;
        break;
      case EVENT_OBJECT_DESTROY:
        if (auto found = known_.find(hwnd); found != known_.end()) Gone(found);
        break;
    }
  }

  // Something is going on: windows may be hidden and shown in the next moments.
  void Activity() {
    const DWORD now = GetTickCount();
    activityRounds_.clear();
    for (DWORD after : kAfterActivityMs) activityRounds_.push_back(now + after);
  }

  // A hot-key is about to be reported: the foreground window it applies to goes first.
  void BeforeHotKey() {
    CheckForeground();
    Activity();
  }

  // One tick of the poll; returns the milliseconds until the next one is due.
  UINT Poll() {
    const DWORD now = GetTickCount();
    if (Due(now, nextList_)) {
      Advance(nextList_, kListEveryMs, now);
      ForgetVanished();
    }
    bool onScreen = false;
    while (!activityRounds_.empty() && Due(now, activityRounds_.front())) {
      activityRounds_.erase(activityRounds_.begin());
      onScreen = true;
    }
    const bool hidden = Due(now, nextHidden_);
    if (hidden) Advance(nextHidden_, kHiddenEveryMs, now);
    if (onScreen || hidden || fresh_ > 0) LookAround(onScreen, hidden, now);
    if (Due(now, nextForeground_) || onScreen) {
      // After the windows, so a new window is reported before its activation.
      Advance(nextForeground_, kForegroundEveryMs, now);
      CheckForeground();
    }
    return Wait(GetTickCount());
  }

  // Milliseconds until the next look is due.
  UINT Wait(DWORD now) const {
    DWORD next = nextHidden_;
    for (DWORD at : {nextForeground_, nextList_}) {
      if (static_cast<LONG>(at - next) < 0) next = at;
    }
    if (!activityRounds_.empty() && static_cast<LONG>(activityRounds_.front() - next) < 0) {
      next = activityRounds_.front();
    }
    if (fresh_ > 0 && static_cast<LONG>(now + kFreshEveryMs - next) < 0) next = now + kFreshEveryMs;
    const LONG wait = static_cast<LONG>(next - now);
    return static_cast<UINT>(std::max<LONG>(wait, USER_TIMER_MINIMUM));
  }

 private:
  using Known = std::unordered_map<HWND, Entry>;

  static DWORD NonZero(DWORD tick) { return tick == 0 ? 1 : tick; }

  static std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND hwnd, LPARAM list) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
  }

  bool Own(HWND hwnd) const {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process == ownProcess_;
  }

  Entry& Track(HWND hwnd) {
    auto [it, fresh] = known_.try_emplace(hwnd);
    if (fresh) it->second.own = Own(hwnd);
    return it->second;
  }

  // Windows created a moment ago always; those on screen or those hidden when asked.
  void LookAround(bool onScreen, bool hidden, DWORD now) {
    std::vector<HWND> shown;
    std::vector<HWND> gone;
    for (auto& [hwnd, entry] : known_) {
      if (entry.own) continue;
      const bool freshOne = entry.createdAt != 0;
      if (!freshOne && !(entry.visible ? onScreen : hidden)) continue;
      const Seen seen = Look(hwnd);
      if (seen == Seen::Gone) {
        gone.push_back(hwnd);
        continue;
      }
      const bool visible = seen == Seen::Visible;
      if (visible && !entry.visible) shown.push_back(hwnd);
      entry.visible = visible;
      if (freshOne && !visible && now - entry.createdAt >= kFreshForMs) {
        entry.createdAt = 0;
        --fresh_;
      }
    }
    for (HWND hwnd : shown) Shown(hwnd, known_[hwnd]);
    for (HWND hwnd : gone) {
      if (auto found = known_.find(hwnd); found != known_.end()) Gone(found);
    }
  }

  // Windows destroyed unseen go; new windows whose creation went unreported join.
  void ForgetVanished() {
    const std::vector<HWND> present = TopLevelWindows();
    std::unordered_map<HWND, bool> alive;
    alive.reserve(present.size());
    for (HWND hwnd : present) alive[hwnd] = true;
    for (auto it = known_.begin(); it != known_.end();) {
      it = alive.count(it->first) != 0 ? std::next(it) : Gone(it);
    }
    for (HWND hwnd : present) Track(hwnd);
  }

  // Pop-up menus, tooltips and their shadows come and go all the time and are never managed:
  // reporting them would only start needless rule passes. Shell folder windows the caller
  // hid itself must stay hidden.
  static Kind KindOf(HWND hwnd) {
    wchar_t name[32] = L"";
    if (GetClassNameW(hwnd, name, 32) == 0) return Kind::Unknown;
    auto any = [&name](std::initializer_list<const wchar_t*> classes) {
      for (const wchar_t* candidate : classes) {
        if (lstrcmpiW(name, candidate) == 0) return true;
      }
      return false;
    };
    if (any({L"#32768", L"tooltips_class32", L"SysShadow"})) return Kind::Transient;
    if (any({L"CabinetWClass", L"ExploreWClass", L"IEFrame"})) return Kind::ShellFolder;
    return Kind::Ordinary;
  }

  void Shown(HWND hwnd, Entry& entry) {
    entry.visible = true;
    if (entry.createdAt != 0) {
      entry.createdAt = 0;
      --fresh_;
    }
    if (entry.kind == Kind::Unknown) entry.kind = KindOf(hwnd);
    if (entry.kind == Kind::Transient) return;
    entry.reported = true;
    if (entry.kind == Kind::ShellFolder) {
      // SMTO_BLOCK: no hook call may run inside this wait and change the records.
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutW(notify_, msg::kHiddenShellQuery, HandleParam(hwnd), 0,
                              SMTO_ABORTIFHUNG | SMTO_BLOCK, kAskTimeoutMs, &answer) &&
          answer == 1) {
        ShowWindowAsync(hwnd, SW_HIDE);  // never wait on another program's thread
        return;
      }
    }
    PostMessageW(notify_, msg::kWindowCreated, HandleParam(hwnd), 0);
  }

  Known::iterator Gone(Known::iterator it) {
    if (it->second.reported && !it->second.own) {
      PostMessageW(notify_, msg::kWindowDestroyed, HandleParam(it->first), 0);
    }
    if (it->second.createdAt != 0) --fresh_;
    return known_.erase(it);
  }

  void CheckForeground() {
    const HWND foreground = GetForegroundWindow();
    if (foreground == foreground_) return;
    foreground_ = foreground;
    // A switch hides the window that was in front: then the windows on screen are worth a look.
    // A click from one window to another is not.
    if (Polling() && lastOther_ != nullptr && Look(lastOther_) != Seen::Visible) Activity();
    if (foreground != nullptr && !Own(foreground)) {
      lastOther_ = foreground;
      PostMessageW(notify_, msg::kWindowActivated, HandleParam(foreground), 0);
    }
  }

  HWND notify_;
  DWORD ownProcess_;
  HWND foreground_ = nullptr;
  HWND lastOther_ = nullptr;  // the last window of another program that was in front
  bool eventsProven_ = false;
  int fresh_ = 0;  // entries with createdAt set
  DWORD nextHidden_ = 0;
  DWORD nextForeground_ = 0;
  DWORD nextList_ = 0;
  std::vector<DWORD> activityRounds_;  // when every window is looked at next, earliest first
  Known known_;
};

// The watch's own window, shown, hidden and destroyed at once, and the events seen for it.
struct SelfTest {
  HWINEVENTHOOK hook = nullptr;
  HWND window = nullptr;  // destroyed already; only its events are compared with it
  bool shown = false;
  bool hidden = false;
  bool destroyed = false;
  DWORD startedAt = 0;
};

WindowWatch* gWatch = nullptr;
SelfTest gSelfTest;
HWINEVENTHOOK gObjectEvents = nullptr;
HWINEVENTHOOK gForegroundEvents = nullptr;
UINT_PTR gTimer = 0;
UINT gTimerMs = 0;

void StopSelfTest() {
  if (gSelfTest.hook != nullptr) UnhookWinEvent(gSelfTest.hook);
  gSelfTest = SelfTest{};
}

void CALLBACK OnPoll(HWND, UINT, UINT_PTR, DWORD);

// 0 stops the poll. The timer repeats, so it is set again only for another interval; with no
// window, SetTimer replaces the timer whose id it is given.
void SetPollWait(UINT ms) {
  if (ms == gTimerMs && (ms == 0 || gTimer != 0)) return;
  gTimerMs = ms;
  if (ms == 0) {
    if (gTimer != 0) KillTimer(nullptr, gTimer);
    gTimer = 0;
  } else {
    gTimer = SetTimer(nullptr, gTimer, ms, OnPoll);
  }
}

void CALLBACK OnPoll(HWND, UINT, UINT_PTR, DWORD) {
  if (gWatch == nullptr || !gWatch->Polling()) return;
  // A system that has not reported the test window's events by now never will.
  if (gSelfTest.hook != nullptr && GetTickCount() - gSelfTest.startedAt >= kSelfTestMs) {
    StopSelfTest();
  }
  SetPollWait(gWatch->Poll());
}

// Something the poll should look at sooner than planned.
void Reschedule() {
  if (gWatch != nullptr && gWatch->Polling()) SetPollWait(gWatch->Wait(GetTickCount()));
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
  if (gWatch == nullptr || hwnd == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) {
    return;
  }
  gWatch->OnEvent(event, hwnd);
  Reschedule();  // a window created but not shown yet is looked at closely from now on
}

void CALLBACK OnSelfTestEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD) {
  if (hwnd == nullptr || hwnd != gSelfTest.window || object != OBJID_WINDOW ||
      child != CHILDID_SELF) {
    return;
  }
  if (event == EVENT_OBJECT_SHOW) gSelfTest.shown = true;
  if (event == EVENT_OBJECT_HIDE) gSelfTest.hidden = true;
  if (event == EVENT_OBJECT_DESTROY) gSelfTest.destroyed = true;
  if (gSelfTest.shown && gSelfTest.hidden && gSelfTest.destroyed && gWatch != nullptr) {
    StopSelfTest();
    gWatch->EventsProven();
    SetPollWait(0);
  }
}

// Shows, hides and destroys a tiny window off the screen, without activating it. Its events
// arrive through this thread's message loop like every other event.
void StartSelfTest() {
  const DWORD process = GetCurrentProcessId();
  const DWORD thread = GetCurrentThreadId();
  gSelfTest.hook = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE, nullptr,
                                   OnSelfTestEvent, process, thread, WINEVENT_OUTOFCONTEXT);
  if (gSelfTest.hook == nullptr) return;
  gSelfTest.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP,
                                     -32000, -32000, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (gSelfTest.window == nullptr) {
    StopSelfTest();  // the poll stays
    return;
  }
  gSelfTest.startedAt = GetTickCount();
  ShowWindow(gSelfTest.window, SW_SHOWNOACTIVATE);
  ShowWindow(gSelfTest.window, SW_HIDE);
  DestroyWindow(gSelfTest.window);
}

}  // namespace

void StartWindowWatch(HWND notify) {
  gWatch = new WindowWatch(notify);
  gWatch->Start();
  constexpr DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  // Out of context: the callbacks run on this thread, inside its message loop.
  gObjectEvents =
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr, OnWinEvent, 0, 0, flags);
  gForegroundEvents = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                      OnWinEvent, 0, 0, flags);
  SetPollWait(gWatch->Wait(GetTickCount()));
  if (gObjectEvents != nullptr && gForegroundEvents != nullptr) StartSelfTest();
}

void BeforeHotKeyReport() {
  if (gWatch == nullptr) return;
  gWatch->BeforeHotKey();
  Reschedule();
}

void StopWindowWatch() {
  StopSelfTest();
  SetPollWait(0);
  if (gObjectEvents != nullptr) UnhookWinEvent(gObjectEvents);
  if (gForegroundEvents != nullptr) UnhookWinEvent(gForegroundEvents);
  gObjectEvents = gForegroundEvents = nullptr;
  delete gWatch;
  gWatch = nullptr;
}

}  // namespace ombrix::hooklib
