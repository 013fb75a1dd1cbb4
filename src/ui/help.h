// The user guide: OmbrixIta.chm beside the program when the language is Italian, otherwise
// OmbrixEng.chm.
#pragma once

#include <string>

namespace ombrix {

class Program;

std::string HelpFilePath(Program& program);
// Opens the guide in the system's help viewer; a missing or unopenable file is reported.
void ShowHelp(Program& program);

}  // namespace ombrix
