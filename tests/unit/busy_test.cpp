// Every busy state against every entry point: what the program does with an event that arrives
// while it is in the middle of something.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "app/lifecycle.h"
#include "app/program.h"
#include "events/window_notices.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

// A busy state as a test enters it: a guard held for the length of one entry point's call.
struct State {
  const char* name;
  std::function<void(Program&, std::function<void()>)> hold;
};

void Holding(Program& program, Busy what, const std::function<void()>& event) {
  const BusyState::Guard guard = program.busy.Enter(what);
  event();
}

const State kStates[] = {
    {"idle", [](Program&, std::function<void()> event) { event(); }},
    {"dialog",
     [](Program& p, std::function<void()> event) {
       const BusyState::DialogGuard dialog = p.busy.EnterDialog(p.lMainHwnd);
       event();
     }},
    {"message box", [](Program& p, auto event) { Holding(p, Busy::MessageBox, event); }},
    {"tray menu", [](Program& p, auto event) { Holding(p, Busy::TrayMenu, event); }},
    {"switch", [](Program& p, auto event) { Holding(p, Busy::Switching, event); }},
    {"hot-key", [](Program& p, auto event) { Holding(p, Busy::HotKey, event); }},
    {"shut-down", [](Program& p, auto event) { Holding(p, Busy::Unloading, event); }},
    {"rule pass", [](Program& p, auto event) { Holding(p, Busy::RulePass, event); }},
};

// A started program with one window of another program on screen.
struct Started {
  Started() {
    world.store.Write("Settings", "FirstUse", "0");
    EXPECT_EQ(StartUp(program), StartOutcome::Running);
    window = world.Open("A", 10);
    world.windows.foreground = window;
  }
  MessageResult Send(uint32_t message, int32_t wParam, int32_t lParam = 0) {
    return program.mainWindow->OnSubscribedMessage(message, wParam, lParam);
  }
  // What the user sees when an event only brought the program forward.
  bool BroughtForward() const { return world.windows.foreground != window; }

  sim::World world;
  Program program{world.platform()};
  Hwnd window = 0;
};

// Each entry point: it runs the event while the state is held and says what came of it.
struct EntryPoint {
  const char* name;
  std::function<std::string(Started&, const State&)> outcome;
};

const EntryPoint kEntryPoints[] = {
    {"hot-key Win+2",
     [](Started& s, const State& state) -> std::string {
       state.hold(s.program, [&] { s.Send(msg::kHotKeyWin, '2'); });
       if (s.program.desk.iCurDesk == 2) return "switches";
       return s.BroughtForward() ? "brings forward" : "dropped";
     }},
    {"request go to 2",
     [](Started& s, const State& state) -> std::string {
       int32_t reply = 0;
       state.hold(s.program, [&] { reply = s.Send(msg::kGoToDesktop, 2).lReturn; });
       if (reply == reply::kDone) return "switches";
       return reply == reply::kUserBusy ? "refused: user busy" : reply == reply::kBusy ? "refused: busy" : "?";
     }},
    {"window notice",
     [](Started& s, const State& state) -> std::string {
       state.hold(s.program, [&] { s.Send(msg::kWindowCreated, s.window); });
       return s.program.notices.rulePassPending ? "taken" : "dropped";
     }},
    {"tray click",
     [](Started& s, const State& state) -> std::string {
       state.hold(s.program, [&] { s.program.mainWindow->OnTrayMouse(msg::kLButtonUp); });
       if (!s.world.ui.popups.empty()) return "opens the menu";
       return s.BroughtForward() ? "brings forward" : "dropped";
     }},
    {"rule-pass timer",
     [](Started& s, const State& state) -> std::string {
       s.Send(msg::kWindowCreated, s.window);  // a pass is waiting
       state.hold(s.program, [&] { s.program.mainWindow->OnTimer(kRulePassTimer); });
       return s.program.notices.rulePassPending ? "waits" : "runs the pass";
     }},
    {"exit from the menu",
     [](Started& s, const State& state) -> std::string {
       s.program.bExitRequested = true;
       bool ended = false;
       state.hold(s.program, [&] { ended = UnloadMainWindow(s.program, UnloadReason::FormCode); });
       return ended ? "ends" : "refused";
     }},
    {"end of session",
     [](Started& s, const State& state) -> std::string {
       state.hold(s.program, [&] {
         if (s.program.mainWindow->OnQueryEndSession()) s.program.mainWindow->OnEndSession(true);
       });
       return s.world.ui.mainDestroyed ? "ends" : "refused";
     }},
};

TEST(BusyState, EveryEntryPointAgainstEveryBusyState) {
  // Rows: entry points; columns: the states of kStates in order.
  const std::vector<std::vector<std::string>> expected = {
      // idle, dialog, message box, tray menu, switch, hot-key, shut-down, rule pass
      {"switches", "brings forward", "brings forward", "switches", "dropped", "dropped", "dropped",
       "dropped"},
      {"switches", "refused: user busy", "refused: user busy", "refused: user busy",
       "refused: busy", "refused: busy", "refused: busy", "refused: busy"},
      {"taken", "taken", "taken", "taken", "dropped", "dropped", "dropped", "dropped"},
      {"opens the menu", "brings forward", "brings forward", "dropped", "dropped", "dropped",
       "dropped", "dropped"},
      {"runs the pass", "runs the pass", "runs the pass", "runs the pass", "waits", "waits",
       "waits", "waits"},
      {"ends", "refused", "refused", "ends", "refused", "refused", "refused", "refused"},
      {"ends", "ends", "ends", "ends", "ends", "ends", "ends", "ends"},
  };
  for (size_t e = 0; e < std::size(kEntryPoints); ++e) {
    for (size_t st = 0; st < std::size(kStates); ++st) {
      Started started;
      EXPECT_EQ(kEntryPoints[e].outcome(started, kStates[st]), expected[e][st])
          << kEntryPoints[e].name << " while " << kStates[st].name;
      // Every guard is gone once the event is over: the program answers requests again.
      if (!started.world.ui.mainDestroyed) {
        EXPECT_EQ(started.program.busy.RequestRefusal(), 0)
            << kEntryPoints[e].name << " while " << kStates[st].name;
      }
    }
  }
}

}  // namespace
}  // namespace ombrix
