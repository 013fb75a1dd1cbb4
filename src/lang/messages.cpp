#include "lang/messages.h"

#include "app/program.h"

namespace ombrix {

std::string GetMsg(const Program& /*program*/, const std::string& /*id*/,
                   const std::string& defaultText) {
  return defaultText;
}

namespace {

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

}  // namespace

std::string GetMsgFmt(const Program& program, const std::string& id, const std::string& defaultText,
                      const std::string& p1, const std::string& p2, const std::string& p3,
                      const std::string& p4) {
  std::string text = GetMsg(program, id, defaultText);
  const std::string* params[] = {&p1, &p2, &p3, &p4};
  for (int i = 0; i < 4; ++i) text = ReplaceAll(text, "%" + std::to_string(i + 1), *params[i]);
  return text;
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
