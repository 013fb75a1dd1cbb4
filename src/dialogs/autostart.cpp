#include "dialogs/autostart.h"

#include "app/program.h"
#include "core/text.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr const char* kMissing = "?";

cRegistry EntryOf(Program& program, bool bAllUsers, const char* key) {
  cRegistry entry(program);
  entry.ClassKey = bAllUsers ? kLocalMachineKey : kCurrentUserKey;
  entry.SectionKey = key;
  entry.ValueKey = ExeName(program);
  entry.Default = std::string(kMissing);
  entry.ValueType = reg::kText;
  return entry;
}

bool Present(cRegistry& entry) {
  const RegistryValue value = entry.Value();
  const auto* text = std::get_if<std::string>(&value);
  return text == nullptr || *text != kMissing;
}

void Remove(Program& program, bool bAllUsers, const char* key) {
  cRegistry entry = EntryOf(program, bAllUsers, key);
  (void)entry.DeleteValue();  // a missing value is the usual case
}

}  // namespace

std::string ExecutablePath(const std::string& folder, const std::string& fileName) {
  std::string path = WithBackslash(folder) + fileName;
  if (path.size() < 4 || LowerText(path.substr(path.size() - 4)) != ".exe") path += ".exe";
  return path;
}

int16_t GetAutoStart(Program& program, bool bAllUsers) {
  cRegistry every = EntryOf(program, bAllUsers, kRunKey);
  if (Present(every)) return autostart::kEveryLogOn;
  cRegistry next = EntryOf(program, bAllUsers, kRunOnceKey);
  return Present(next) ? autostart::kNextLogOn : autostart::kNone;
}

RegistryResult SetAutoStart(Program& program, bool bAllUsers, int16_t mode) {
  System& system = program.platform.system;
  std::string quoted = "\"";
  quoted += ExecutablePath(system.ProgramFolder(), system.ProgramFileName());
  quoted += '"';
  if (mode != autostart::kNextLogOn) Remove(program, bAllUsers, kRunOnceKey);
  if (mode != autostart::kEveryLogOn) Remove(program, bAllUsers, kRunKey);
  if (mode == autostart::kNone) return std::nullopt;
  cRegistry entry =
      EntryOf(program, bAllUsers, mode == autostart::kEveryLogOn ? kRunKey : kRunOnceKey);
  return entry.SetValue(quoted);
}

void ApplyAutoStart(Program& program) {
  (void)SetAutoStart(program, true, autostart::kNone);  // refused without the rights
  const bool wanted = program.settings.bAutoStart;
  const RegistryResult failure =
      SetAutoStart(program, false, wanted ? autostart::kEveryLogOn : autostart::kNone);
  const bool present = GetAutoStart(program, false) == autostart::kEveryLogOn;
  if (!failure && present == wanted) return;
  program.settings.bAutoStart = present;
  std::string where = "HKEY_CURRENT_USER\\";
  where += kRunKey;
  const MessageText& message = wanted ? msgs::kAutoStartNotWritten : msgs::kAutoStartNotRemoved;
  std::string text = GetMsgFmt(program, message.id, message.text, where);
  if (failure) {
    text += "\r\n\r\n";
    text += ErrorText(*failure);
  }
  ErrorBox(program, text);
}

}  // namespace ombrix
