// Reports top-level windows of other programs that appear, go away or become the foreground.
// System events report what they can; a light poll finds what a system leaves unreported
// (Wine, for one, reports creation but neither showing, hiding, destruction nor activation).
// Both feed the same records, so each change is reported once, whichever source sees it first.
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "hooklib.h"
#include "platform/types.h"

namespace ombrix::hooklib {
namespace {

constexpr UINT kPollMs = 200;
// How long the notify window may take to answer whether a shell window stays hidden.
constexpr UINT kAskTimeoutMs = 200;

struct Entry {
  bool own = false;       // a window of the caller's process: never reported
  bool visible = false;   // as last seen
  bool reported = false;  // has been on screen, so its destruction is reported
  uint32_t seen = 0;      // the last poll that enumerated it
};

class WindowWatch {
 public:
  explicit WindowWatch(HWND notify) : notify_(notify), ownProcess_(GetCurrentProcessId()) {}

  void Start() {
    // Windows already on screen are the caller's to discover; they are not reported.
    for (HWND hwnd : TopLevelWindows()) {
      Entry& entry = Track(hwnd);
      entry.visible = entry.reported = IsWindowVisible(hwnd) != FALSE;
    }
    foreground_ = GetForegroundWindow();
  }

  void OnEvent(DWORD event, HWND hwnd) {
    switch (event) {
      case EVENT_SYSTEM_FOREGROUND:
        CheckForeground();
        break;
      case EVENT_OBJECT_CREATE:
      case EVENT_OBJECT_SHOW:
        if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) break;
        if (Entry& entry = Track(hwnd); !entry.own && !entry.visible && IsWindowVisible(hwnd)) {
          Shown(hwnd, entry);
        }
        break;
      case EVENT_OBJECT_HIDE:
        if (auto found = known_.find(hwnd); found != known_.end()) found->second.visible = false;
        break;
      case EVENT_OBJECT_DESTROY:
        if (auto found = known_.find(hwnd); found != known_.end()) Gone(found);
        break;
    }
  }

  void Poll() {
    ++poll_;
    for (HWND hwnd : TopLevelWindows()) Track(hwnd).seen = poll_;
    std::vector<HWND> shown;
    for (auto it = known_.begin(); it != known_.end();) {
      Entry& entry = it->second;
      if (entry.seen != poll_) {
        it = Gone(it);
        continue;
      }
      if (!entry.own) {
        const bool visible = IsWindowVisible(it->first) != FALSE;
        if (visible && !entry.visible) shown.push_back(it->first);
        entry.visible = visible;
      }
      ++it;
    }
    for (HWND hwnd : shown) Shown(hwnd, known_[hwnd]);
    CheckForeground();  // after the windows, so a new window is reported before its activation
  }

 private:
  using Known = std::unordered_map<HWND, Entry>;

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
    if (fresh) {
      it->second.own = Own(hwnd);
      it->second.seen = poll_;
    }
    return it->second;
  }

  // Pop-up menus, tooltips and their shadows come and go all the time and are never managed;
  // reporting them would only start needless rule passes.
  static bool IsTransient(HWND hwnd) {
    return HasClass(hwnd, {L"#32768", L"tooltips_class32", L"SysShadow"});
  }

  static bool IsShellFolder(HWND hwnd) {
    return HasClass(hwnd, {L"CabinetWClass", L"ExploreWClass", L"IEFrame"});
  }

  static bool HasClass(HWND hwnd, std::initializer_list<const wchar_t*> classes) {
    wchar_t name[32] = L"";
    if (GetClassNameW(hwnd, name, 32) == 0) return false;
    for (const wchar_t* candidate : classes) {
      if (lstrcmpiW(name, candidate) == 0) return true;
    }
    return false;
  }

  void Shown(HWND hwnd, Entry& entry) {
    entry.visible = true;
    if (IsTransient(hwnd)) return;
    entry.reported = true;
    if (IsShellFolder(hwnd)) {
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
    return known_.erase(it);
  }

  void CheckForeground() {
    const HWND foreground = GetForegroundWindow();
    if (foreground == foreground_) return;
    foreground_ = foreground;
    if (foreground != nullptr && !Own(foreground)) {
      PostMessageW(notify_, msg::kWindowActivated, HandleParam(foreground), 0);
    }
  }

  HWND notify_;
  DWORD ownProcess_;
  HWND foreground_ = nullptr;
  uint32_t poll_ = 0;
  Known known_;
};

WindowWatch* gWatch = nullptr;
HWINEVENTHOOK gObjectEvents = nullptr;
HWINEVENTHOOK gForegroundEvents = nullptr;
UINT_PTR gTimer = 0;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
  if (gWatch != nullptr && hwnd != nullptr && object == OBJID_WINDOW && child == CHILDID_SELF) {
    gWatch->OnEvent(event, hwnd);
  }
}

void CALLBACK OnPoll(HWND, UINT, UINT_PTR, DWORD) {
  if (gWatch != nullptr) gWatch->Poll();
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
  gTimer = SetTimer(nullptr, 0, kPollMs, OnPoll);
}

void StopWindowWatch() {
  if (gTimer != 0) KillTimer(nullptr, gTimer);
  if (gObjectEvents != nullptr) UnhookWinEvent(gObjectEvents);
  if (gForegroundEvents != nullptr) UnhookWinEvent(gForegroundEvents);
  gTimer = 0;
  gObjectEvents = gForegroundEvents = nullptr;
  delete gWatch;
  gWatch = nullptr;
}

}  // namespace ombrix::hooklib
