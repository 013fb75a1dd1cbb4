// One full rule pass (discovery of the desktop, the ignore-only walk, then the walk with the
// actions): 100 rules over 100 applications of three windows each.
#include <benchmark/benchmark.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"
#include "rules/apply.h"

namespace ombrix {
namespace {

void BM_FullRulePass(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  sim::World world;
  world.store.sections["Settings"]["FirstUse"] = "0";
  for (int a = 0; a < count; ++a) {
    const uint32_t pid = 100 + static_cast<uint32_t>(a);
    const Hwnd main = world.Open("Document " + std::to_string(a) + " - Editor", pid);
    world.Open("Find", pid, main);
    world.Open("Replace", pid, main);
  }
  Program program{world.platform()};
  StartUp(program);
  // Rules that test titles and classes in every mode and never match, so every rule meets
  // every application and nothing leaves the desktop between iterations.
  for (int r = 0; r < count; ++r) {
    auto rule = std::make_shared<clsRule>();
    rule->sRuleName = "Rule " + std::to_string(r);
    rule->bWinText = true;
    rule->sWinText = "Spreadsheet " + std::to_string(r);
    rule->iWinTextMode = static_cast<TextCompare>(r % 5 == 1 ? 4 : r % 5);
    rule->bWinClass = r % 2 == 0;
    rule->sWinClass = "NoSuchClass";
    rule->bAnd = r % 3 == 0;
    rule->iAction = RuleAction::Maximize;
    program.colRules.Add(rule);
  }
  for (auto _ : state) ApplyRules(program, false);
  state.SetComplexityN(count);
}
BENCHMARK(BM_FullRulePass)->Arg(100);

}  // namespace
}  // namespace ombrix
