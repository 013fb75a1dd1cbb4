#include "lang/messages.h"

#include "app/program.h"

namespace ombrix {

std::string GetMsg(const Program& /*program*/, const std::string& /*id*/,
                   const std::string& defaultText) {
  return defaultText;
}

namespace {

int ShowBox(Program& program, const std::string& text, unsigned style) {
  const std::string title = GetMsg(program, "0002", "Attention!");
  program.bMsgBoxOpen = true;
  const int result = program.platform.ui.MessageBox(0, text, title, style);
  program.bMsgBoxOpen = false;
  return result;
}

}  // namespace

void ErrorBox(Program& program, const std::string& text) { ShowBox(program, text, mb::kError); }

void InfoBox(Program& program, const std::string& text) { ShowBox(program, text, mb::kInfo); }

bool AskYesNo(Program& program, const std::string& question) {
  return ShowBox(program, question, mb::kYesNo) == mb::kYes;
}

}  // namespace ombrix
