// Discovery, stacking order and a full switch as the number of windows grows. The simulated
// platform answers in constant time, so the figures are the program's own cost.
#include <benchmark/benchmark.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "core/discovery.h"
#include "platform/sim/sim.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

// A started program with n windows: applications of three windows each (one unowned, two
// owned), every one reported to the tracker, and a tracker that has seen many more.
struct Desktop {
  explicit Desktop(int windows) {
    world.store.sections["Settings"]["FirstUse"] = "0";
    world.store.sections["Settings"]["ShowCurDesk"] = "0";
    for (int i = 0; i < windows; i += 3) {
      const uint32_t pid = 100 + static_cast<uint32_t>(i);
      const Hwnd main = world.Open("Application " + std::to_string(i), pid);
      for (int k = 1; k < 3 && i + k < windows; ++k) world.Open("Tool", pid, main);
    }
    StartUp(program);
    for (Hwnd h : world.windows.TopLevelWindows()) program.oWinOrder.WindowCreated(h);
    for (Hwnd h = 1; h < 20000; h += 4) program.oWinOrder.WindowCreated(h);
  }
  sim::World world;
  Program program{world.platform()};
};

void BM_ScanDesktop(benchmark::State& state) {
  Desktop d(static_cast<int>(state.range(0)));
  for (auto _ : state) ScanDesktop(d.program, 1);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ScanDesktop)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

void BM_OrderWindows(benchmark::State& state) {
  Desktop d(static_cast<int>(state.range(0)));
  ScanDesktop(d.program, 1);
  for (auto _ : state) d.program.oWinOrder.OrderWindows(d.program.desk.Desk(1));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OrderWindows)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

// Desktop 1 holds the windows; each iteration switches to desktop 2 and back.
void BM_SwitchThereAndBack(benchmark::State& state) {
  Desktop d(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int16_t target = 2;
    SwitchDesktop(d.program, target);
    target = 1;
    SwitchDesktop(d.program, target);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SwitchThereAndBack)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

}  // namespace
}  // namespace ombrix
