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

// A busy state: none (idle), the open dialog, or one a guard enters.
struct State {
  const char* name;
  std::optional<Busy> held;
  bool dialog = false;
};
const State kStates[] = {{"idle", {}},
                         {"dialog", {}, true},
                         {"message box", Busy::MessageBox},
                         {"tray menu", Busy::TrayMenu},
                         {"switch", Busy::Switching},
                         {"hot-key", Busy::HotKey},
                         {"shut-down", Busy::Unloading},
                         {"rule pass", Busy::RulePass}};

// A started program with one window of another program on screen, in one busy state.
struct Started {
  explicit Started(const State& in) : state(in) {
    world.store.Write("Settings", "FirstUse", "0");
    EXPECT_EQ(StartUp(program), StartOutcome::Running);
    window = world.Open("A", 10);
    world.windows.foreground = window;
  }
  // Runs the event with the state held, as an entry point meets it.
  void Holding(const std::function<void()>& event) {
    std::optional<BusyState::DialogGuard> dialog;
    std::optional<BusyState::Guard> guard;
    if (state.dialog) dialog.emplace(program.busy, program.lMainHwnd);
    if (state.held) guard.emplace(program.busy, *state.held);
    event();
  }
  MessageResult Send(uint32_t message, int32_t wParam) {
    return program.mainWindow->OnSubscribedMessage(message, wParam, 0);
  }
  // What the user sees when an event only brought the program forward.
  bool BroughtForward() const { return world.windows.foreground != window; }

  const State& state;
  sim::World world;
  Program program{world.platform()};
  Hwnd window = 0;
};

// Each entry point: it runs the event while the state is held and says what came of it.
struct EntryPoint {
  const char* name;
  const char* (*outcome)(Started&);
};

const EntryPoint kEntryPoints[] = {
    {"hot-key Win+2",
     [](Started& s) {
       s.Holding([&] { s.Send(msg::kHotKeyWin, '2'); });
       if (s.program.desk.iCurDesk == 2) return "switches";
       return s.BroughtForward() ? "forward" : "dropped";
     }},
    {"request go to 2",
     [](Started& s) {
       int32_t reply = 0;
       s.Holding([&] { reply = s.Send(msg::kGoToDesktop, 2).lReturn; });
       if (reply == reply::kDone) return "switches";
       return reply == reply::kUserBusy ? "user-busy" : reply == reply::kBusy ? "busy" : "?";
     }},
    {"window notice",
     [](Started& s) {
       s.Holding([&] { s.Send(msg::kWindowCreated, s.window); });
       return s.program.notices.rulePassPending ? "taken" : "dropped";
     }},
    {"tray click",
     [](Started& s) {
       s.Holding([&] { s.program.mainWindow->OnTrayMouse(msg::kLButtonUp); });
       if (!s.world.ui.popups.empty()) return "menu";
       return s.BroughtForward() ? "forward" : "dropped";
     }},
    {"rule-pass timer",
     [](Started& s) {
       s.Send(msg::kWindowCreated, s.window);  // a pass is waiting
       s.Holding([&] { s.program.mainWindow->OnTimer(kRulePassTimer); });
       return s.program.notices.rulePassPending ? "waits" : "runs";
     }},
    {"exit from the menu",
     [](Started& s) {
       s.program.bExitRequested = true;
       bool ended = false;
       s.Holding([&] { ended = UnloadMainWindow(s.program, UnloadReason::FormCode); });
       return ended ? "ends" : "refused";
     }},
    {"end of session",
     [](Started& s) {
       s.Holding([&] {
         if (s.program.mainWindow->OnQueryEndSession()) s.program.mainWindow->OnEndSession(true);
       });
       return s.world.ui.mainDestroyed ? "ends" : "refused";
     }},
};

TEST(BusyState, EveryEntryPointAgainstEveryBusyState) {
  // Rows: entry points. Columns: idle, dialog, message box, tray menu, switch, hot-key, shut-down,
  // rule pass.
  const char* const expected[] = {
      "switches forward forward switches dropped dropped dropped dropped",
      "switches user-busy user-busy user-busy busy busy busy busy",
      "taken taken taken taken dropped dropped dropped dropped",
      "menu forward forward dropped dropped dropped dropped dropped",
      "runs runs runs runs waits waits waits waits",
      "ends refused refused ends refused refused refused refused",
      "ends ends ends ends ends ends ends ends",
  };
  for (size_t e = 0; e < std::size(kEntryPoints); ++e) {
    std::string row;
    for (const State& state : kStates) {
      Started started(state);
      row += std::string(row.empty() ? "" : " ") + kEntryPoints[e].outcome(started);
      // Every guard is gone once the event is over: the program answers requests again.
      if (!started.world.ui.mainDestroyed) {
        EXPECT_EQ(started.program.busy.RequestRefusal(), 0)
            << kEntryPoints[e].name << " while " << state.name;
      }
    }
    EXPECT_EQ(row, expected[e]) << kEntryPoints[e].name;
  }
}

}  // namespace
}  // namespace ombrix
