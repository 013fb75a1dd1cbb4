// Icon themes: a folder "themes\<name>" beside the program with the desktop pictures 1.ico to
// 9.ico. The theme "default" stands for the built-in pictures.
#pragma once

#include <string>

#include "app/settings.h"

namespace ombrix {

class Program;

// Loads the theme's desktop pictures and shows the current desktop's in the tray at once. A
// desktop whose icon is missing or cannot be read gets its built-in picture; a theme that does
// not exist changes nothing, but "default" without a folder is the built-in set.
void ApplyTheme(Program& program, const std::string& name);

}  // namespace ombrix
