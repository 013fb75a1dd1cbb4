// Ombrix.exe with a command: the request goes to the running instance, and the process ends
// with an exit code that says how it went. It never becomes a second tray program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class RunningInstance;

enum class Command {
  Start,  // no command: the tray program starts (an argument not written as a command is
          // ignored, as before)
  Help,
  GoTo,  // a desktop by number
  Step,  // the next or the previous desktop
  Move,  // the application of a window to a desktop
  Current,
  Exit,
};

struct CommandLine {
  Command command = Command::Start;
  int16_t desk = 0;   // GoTo, Move: 1..9
  int32_t step = 0;   // Step: 1 next, -1 previous
  Hwnd window = 0;    // Move: the window given; 0 for the one in front
  std::string error;  // not empty: a bad argument, and what is wrong with it
};

// The exit codes; `--current` ends with the desktop's number, 1..9, instead of kDone.
namespace exitcode {
constexpr int kDone = 0;
constexpr int kBadArgument = 10;
constexpr int kNotRunning = 11;
constexpr int kNoAnswer = 12;
constexpr int kBusy = 13;
constexpr int kUserBusy = 14;
constexpr int kPasswordNotGiven = 15;
constexpr int kExitGuarded = 16;
constexpr int kUnknownWindow = 17;
constexpr int kOtherDesktop = 18;
constexpr int kNoDesktopThere = 19;
}  // namespace exitcode

// What the process prints (each text a whole line or lines) and its exit code.
struct CommandOutcome {
  int exitCode = exitcode::kDone;
  std::string out;
  std::string err;
};

// The arguments after the program's own name, as the system splits them.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

// Carries the command out through the running instance.
CommandOutcome RunCommand(const CommandLine& line, RunningInstance& instance);

}  // namespace ombrix
