// Any bytes as a recovery file and as a desktop record: start-up shows what it can, puts back
// what it recognises and goes on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/desktop_record.h"
#include "app/lifecycle.h"
#include "app/program.h"
#include "app/recovery.h"
#include "platform/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  sim::World world;
  world.Open("A", 10);
  world.files.files["C:\\Program Files\\Ombrix\\Ombrix.restore"] = bytes;
  world.files.files["C:\\Program Files\\Ombrix\\Ombrix.desktops"] = bytes;
  Program program{world.platform()};
  StartUp(program);
  const auto handles = DecodeRecoveryHandles(bytes);
  if (EncodeRecoveryHandles(handles).size() != size / 4 * 4) __builtin_trap();
  // A record that reads at all reads back the same from its own writing.
  if (const auto record = DecodeDesktopRecord(bytes)) {
    const auto again = DecodeDesktopRecord(EncodeDesktopRecord(*record));
    if (!again || again->windows.size() != record->windows.size() ||
        again->current != record->current || again->written != record->written) {
      __builtin_trap();
    }
  }
  return 0;
}
