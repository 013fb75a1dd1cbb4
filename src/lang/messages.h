// User-visible messages and the three message boxes through which they are shown.
#pragma once

#include <string>

namespace ombrix {

class Program;

// The text of message id; the built-in English text until a language is loaded.
std::string GetMsg(const Program& program, const std::string& id, const std::string& defaultText);

// GetMsg with "%1".."%4" replaced by p1..p4, each over the text the previous left.
std::string GetMsgFmt(const Program& program, const std::string& id, const std::string& defaultText,
                      const std::string& p1, const std::string& p2 = "",
                      const std::string& p3 = "", const std::string& p4 = "");

// Modal message boxes titled by message "0002"; bMsgBoxOpen is set while one is open.
void ErrorBox(Program& program, const std::string& text);
void InfoBox(Program& program, const std::string& text);
bool AskYesNo(Program& program, const std::string& question);

namespace mb {
constexpr unsigned kError = 16;
constexpr unsigned kInfo = 64;
constexpr unsigned kYesNo = 36;
constexpr int kYes = 6;
}  // namespace mb

}  // namespace ombrix
