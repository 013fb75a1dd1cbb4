// Any stored texts in the "Rules" section: reading them must give a safe rule list, and a rule
// pass with those rules must not crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"
#include "rules/apply.h"
#include "rules/store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix;
  static const char* kKeys[] = {"RuleName", "CheckWinText", "WinTextMode", "WinText", "And",
                                "CheckWinClass", "WinClassMode", "WinClass", "Action",
                                "DestDesk"};
  const std::string input(reinterpret_cast<const char*>(data), size);
  sim::World world;
  auto& rules = world.store.sections["Rules"];
  // The input is split at NUL bytes into the values of NumRules and the keys of rules 1..3;
  // the count is kept small so one input stays fast.
  size_t start = 0;
  int field = 0;
  while (start <= input.size() && field < 31) {
    size_t end = input.find('\0', start);
    if (end == std::string::npos) end = input.size();
    const std::string value = input.substr(start, end - start);
    if (field == 0) {
      rules["NumRules"] = value.size() > 2 ? value.substr(0, 2) : value;
    } else {
      rules[kKeys[(field - 1) % 10] + std::to_string((field - 1) / 10 + 1)] = value;
    }
    ++field;
    start = end + 1;
  }
  world.store.sections["Settings"]["FirstUse"] = "0";
  world.Open("Notepad - note", 10);
  world.Open("Mines", 11, 0, "WineMine");
  Program program{world.platform()};
  StartUp(program);
  ApplyRules(program, false);
  SaveRules(world.store, ReadRules(world.store));
  return 0;
}
