// Any bytes as a recovery file: start-up shows what it can and goes on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/lifecycle.h"
#include "app/program.h"
#include "app/recovery.h"
#include "platform/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix;
  sim::World world;
  world.Open("A", 10);
  world.files.files["C:\\Program Files\\Ombrix\\Ombrix.restore"] =
      std::string(reinterpret_cast<const char*>(data), size);
  Program program{world.platform()};
  StartUp(program);
  const auto handles = DecodeRecoveryHandles(std::string(reinterpret_cast<const char*>(data), size));
  if (EncodeRecoveryHandles(handles).size() != size / 4 * 4) __builtin_trap();
  return 0;
}
