// Costs of the record lookups and of reading the settings at start, as the lists grow.
#include <benchmark/benchmark.h>

#include "app/settings.h"
#include "core/records.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

clsDesktop DesktopWith(int applications, int windowsEach) {
  clsDesktop desk;
  Hwnd next = 16;
  for (int a = 0; a < applications; ++a) {
    auto app = std::make_shared<clsPI>();
    app->pID = 1000 + a;
    for (int w = 0; w < windowsEach; ++w) {
      auto win = std::make_shared<clsWI>();
      win->lHwnd = next += 4;
      win->window_text = "Window " + std::to_string(w);
      app->oWin.Add(win);
    }
    desk.opi.Add(app);
  }
  return desk;
}

void BM_GetProcessIdxByHandle(benchmark::State& state) {
  const clsDesktop desk = DesktopWith(static_cast<int>(state.range(0)), 3);
  const Hwnd last = desk.opi[desk.opi.Count()].oWin[3].lHwnd;
  for (auto _ : state) benchmark::DoNotOptimize(desk.GetProcessIdxByHandle(last));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GetProcessIdxByHandle)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

void BM_GetNumVisProc(benchmark::State& state) {
  const clsDesktop desk = DesktopWith(static_cast<int>(state.range(0)), 3);
  for (auto _ : state) benchmark::DoNotOptimize(desk.GetNumVisProc());
}
BENCHMARK(BM_GetNumVisProc)->Arg(10)->Arg(100)->Arg(1000);

void BM_ReadAllSettings(benchmark::State& state) {
  sim::MemoryStore store;
  for (int n = 1; n <= 9; ++n) {
    store.sections["Settings"][DesktopKeyName("DeskName", n)] = "  Desk  ";
    store.sections["Settings"][DesktopKeyName("WallpaperType", n)] = "2";
  }
  for (auto _ : state) {
    Settings settings;
    for (ReadAt at : {ReadAt::Start, ReadAt::BeforeAutoStart, ReadAt::AfterAutoStart}) {
      ReadProgramKeys(store, at, settings);
    }
    DesktopSet set;
    set.CreateDesktops();
    for (int n = 1; n <= 9; ++n) ReadDesktopKeys(store, n, set.Desk(n));
    benchmark::DoNotOptimize(set);
  }
}
BENCHMARK(BM_ReadAllSettings);

}  // namespace
}  // namespace ombrix
