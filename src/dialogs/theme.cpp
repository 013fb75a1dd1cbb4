#include "dialogs/theme.h"

#include "app/program.h"
#include "core/text.h"

namespace ombrix {

void ApplyTheme(Program& program, const std::string& name) {
  Platform& p = program.platform;
  const std::string folder = WithBackslash(p.system.ProgramFolder()) + "themes\\" + name;
  // "default" without a folder of its own is the built-in set.
  const bool builtIn = !p.files.FolderExists(folder);
  if (name.empty() || (builtIn && name != kDefaultTheme)) return;
  for (int n = 1; n <= kDesktopCount; ++n) {
    const std::string path = folder + "\\" + std::to_string(n) + ".ico";
    const IconHandle icon = !builtIn && p.files.FileExists(path) ? p.ui.LoadIconFile(path) : 0;
    program.Icona[n - 1] = icon != 0 ? icon : p.ui.DesktopIcon(n);
  }
  p.tray.ChangeIcon(1, program.Icona[program.desk.iCurDesk - 1]);
}

}  // namespace ombrix
