#include "ui/help.h"

#include "app/program.h"
#include "core/text.h"
#include "lang/messages.h"
#include "ui/dialog.h"

namespace ombrix {

std::string HelpFilePath(Program& program) {
  const bool italian = LowerText(program.settings.sLanguage) == "italiano.lng";
  return WithBackslash(program.platform.system.ProgramFolder()) +
         (italian ? "OmbrixIta.chm" : "OmbrixEng.chm");
}

void ShowHelp(Program& program) {
  Platform& p = program.platform;
  const std::string path = HelpFilePath(program);
  if (!p.files.FileExists(path)) {
    ErrorBox(program, GetMsgFmt(program, msgs::kHelpMissing.id, msgs::kHelpMissing.text, path));
    return;
  }
  if (!p.shell.OpenDocument(program.lMainHwnd, path)) {
    ErrorBox(program, GetMsgFmt(program, msgs::kCannotOpen.id, msgs::kCannotOpen.text, path));
    return;
  }
  PutMainWindowAtBottom(program);
}

}  // namespace ombrix
