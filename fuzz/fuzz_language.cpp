// Any bytes as a language file: the reader, the loading rules and the lookups must not crash,
// hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/program.h"
#include "lang/form_translation.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "platform/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix;
  sim::World world;
  Program program{world.platform()};
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  world.files.files["C:\\Program Files\\Ombrix\\fuzz.lng"] = bytes;
  LoadLanguage(program, "fuzz.lng", false);
  for (const MessageText& message : AllMessages()) GetMsg(program, message);
  GetMsgFmt(program, "0032", "%1 %2", "%2", "x");
  Form form;
  form.Name = "frmMain";
  form.Add({.Name = "lblDesk", .Index = 0});
  form.Add({.Name = "txtName", .kind = ControlKind::TextBox});
  TranslateForm(program, form);
  return 0;
}
