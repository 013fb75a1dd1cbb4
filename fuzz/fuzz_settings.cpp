// Any stored texts for the settings: start-up reads them without failing, and a stored password
// of any form is tested without failing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/lifecycle.h"
#include "app/program.h"
#include "app/settings.h"
#include "appearance/passwords.h"
#include "platform/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix;
  const std::string input(reinterpret_cast<const char*>(data), size);
  sim::World world;
  auto& settings = world.store.sections["Settings"];
  std::vector<std::string> names = {"Language", "GlobalPass", "Theme", "FirstUse", "Win"};
  for (int n = 1; n <= 9; ++n) {
    for (const DesktopKey& key : DesktopKeys()) names.push_back(DesktopKeyName(key.name, n));
  }
  size_t start = 0;
  for (const std::string& name : names) {
    if (start > input.size()) break;
    size_t end = input.find('\0', start);
    if (end == std::string::npos) end = input.size();
    settings[name] = input.substr(start, end - start);
    start = end + 1;
  }
  Program program{world.platform()};
  StartUp(program);
  PasswordMatches(world.process, "typed", program.settings.sGlobalPass);
  const int32_t number = DecodeNumber(input);
  if (number < 0 && (input.empty() || input[0] != '-')) __builtin_trap();
  return 0;
}
