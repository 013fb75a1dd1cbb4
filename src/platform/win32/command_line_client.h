// Ombrix.exe started with a command, on Windows: the arguments as the system splits them, the
// running instance found by its main window, and the console of whoever started this process.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

namespace ombrix::win32 {

// The arguments after the program's own name.
std::vector<std::string> CommandLineArguments();

// Carries the command out and returns the process's exit code.
int RunCommandLine(const CommandLine& line);

}  // namespace ombrix::win32
