#include "app/command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "core/records.h"
#include "core/text.h"
#include "platform/platform.h"

namespace ombrix {

namespace {

bool IsHelp(const std::string& arg) {
  return arg == "--help" || arg == "-h" || arg == "-?" || arg == "/?";
}

// Only a first argument written as a command makes this run a command: any other text is
// ignored, as it always was, and the tray program starts.
bool IsCommandLine(const std::vector<std::string>& args) {
  return !args.empty() && (args[0].starts_with("--") || IsHelp(LowerText(args[0])));
}

std::optional<int16_t> ParseDesktop(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.starts_with('-')) {
    return std::nullopt;
  }
  if (value < 1 || value > kDesktopCount) return std::nullopt;
  return static_cast<int16_t>(value);
}

// A window handle as programs print it: in decimal (AutoHotkey, PowerShell) or in hexadecimal
// after "0x". Its 32 significant bits may come sign-extended to 64.
std::optional<Hwnd> ParseWindowHandle(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  constexpr uint64_t kLowest32 = 0xFFFFFFFFull;
  constexpr uint64_t kSignExtended = 0xFFFFFFFF80000000ull;
  const bool fits =
      negative ? value <= 0x80000000ull : value <= kLowest32 || value >= kSignExtended;
  if (!fits || value == 0) return std::nullopt;
  const uint32_t bits = static_cast<uint32_t>(negative ? 0 - value : value);
  return static_cast<Hwnd>(bits);
}

CommandLine Bad(std::string why) {
  CommandLine line;
  line.command = Command::Help;
  line.error = std::move(why);
  return line;
}

std::string Line(const std::string& text) { return text + "\n"; }

CommandOutcome BadArgument(const std::string& why) {
  return {exitcode::kBadArgument, {}, Line("Ombrix: " + why) + UsageText()};
}

CommandOutcome Refused(int exitCode, const std::string& why) {
  return {exitCode, {}, Line("Ombrix: " + why)};
}

struct Refusal {
  int32_t reply;
  int exitCode;
  const char* why;
};

constexpr Refusal kRefusals[] = {
    {reply::kBusy, exitcode::kBusy, "Ombrix is busy: try again shortly"},
    {reply::kUserBusy, exitcode::kUserBusy,
     "a dialog, message box or menu of Ombrix is open: it has to be closed first"},
    {reply::kBadDesktop, exitcode::kNoDesktopThere,
     "there is no desktop that way (cycling among desktops is off)"},
    {reply::kUnknownWindow, exitcode::kUnknownWindow,
     "the window is not one of an application that Ombrix manages"},
    {reply::kOtherDesktop, exitcode::kOtherDesktop,
     "the window's application is on another desktop than the current one"},
    {reply::kNotSwitched, exitcode::kPasswordNotGiven,
     "the desktop has a password, and it was not given"},
    {reply::kPasswordProtected, exitcode::kExitGuarded,
     "the program password guards Exit: exit from the tray menu"},
};

struct Request {
  uint32_t message;
  int32_t wParam;
  int32_t lParam;
};

Request RequestOf(const CommandLine& line, Hwnd window) {
  switch (line.command) {
    case Command::GoTo:
      return {msg::kGoToDesktop, line.desk, 0};
    case Command::Step:
      return {msg::kStepDesktop, line.step, 0};
    case Command::Move:
      return {msg::kMoveApplication, window, line.desk};
    case Command::Exit:
      return {msg::kExitProgram, 0, 0};
    default:
      return {msg::kCurrentDesktop, 0, 0};
  }
}

bool IsDesktop(int32_t n) { return n >= 1 && n <= kDesktopCount; }

// The current desktop and a step answer with a desktop, the others with "done".
std::optional<CommandOutcome> Success(const CommandLine& line, int32_t answer,
                                      RunningInstance& instance) {
  switch (line.command) {
    case Command::Current:
      if (!IsDesktop(answer)) return std::nullopt;
      return CommandOutcome{answer, Line(std::to_string(answer)), {}};
    case Command::Step:
      if (!IsDesktop(answer)) return std::nullopt;
      return CommandOutcome{exitcode::kDone, Line(std::to_string(answer)), {}};
    case Command::Exit:
      if (answer != reply::kDone) return std::nullopt;
      // Whoever exits often starts again next: the old process must have let go by then.
      instance.WaitForEnd();
      return CommandOutcome{exitcode::kDone, Line("Ombrix has ended"), {}};
    default:
      if (answer != reply::kDone) return std::nullopt;
      return CommandOutcome{exitcode::kDone, Line(std::to_string(line.desk)), {}};
  }
}

std::string HandleText(Hwnd hwnd) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint32_t bits = static_cast<uint32_t>(hwnd); bits != 0; bits >>= 4) {
    text.insert(text.begin(), kDigits[bits & 0xF]);
  }
  return "0x" + text;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  if (!IsCommandLine(args)) return line;
  bool help = false;
  bool windowGiven = false;
  std::optional<Command> command;
  const auto setCommand = [&](Command c) {
    const bool first = !command;
    command = c;
    return first;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string option = LowerText(args[i]);
    if (IsHelp(option)) {
      help = true;
      continue;
    }
    if (option == "--current" || option == "--exit") {
      if (!setCommand(option == "--current" ? Command::Current : Command::Exit)) {
        return Bad("one command at a time");
      }
      continue;
    }
    if (option != "--go" && option != "--move" && option != "--window") {
      return Bad("unknown argument \"" + args[i] + "\"");
    }
    if (i + 1 == args.size()) return Bad(option + " needs a value");
    const std::string value = args[++i];
    if (option == "--window") {
      const std::optional<Hwnd> hwnd = ParseWindowHandle(value);
      if (!hwnd || windowGiven) return Bad("not a window handle: \"" + value + "\"");
      windowGiven = true;
      line.window = *hwnd;
      continue;
    }
    const std::string lowerValue = LowerText(value);
    if (option == "--go" && (lowerValue == "next" || lowerValue == "prev")) {
      if (!setCommand(Command::Step)) return Bad("one command at a time");
      line.step = lowerValue == "next" ? 1 : -1;
      continue;
    }
    const std::optional<int16_t> desk = ParseDesktop(value);
    if (!desk) {
      return Bad("not a desktop: \"" + value + "\" (1 to 9" +
                 (option == "--go" ? ", next or prev)" : ")"));
    }
    if (!setCommand(option == "--go" ? Command::GoTo : Command::Move)) {
      return Bad("one command at a time");
    }
    line.desk = *desk;
  }
  if (help) {
    line.command = Command::Help;
    return line;
  }
  if (!command) return Bad("no command");
  if (windowGiven && *command != Command::Move) return Bad("--window goes with --move");
  line.command = *command;
  return line;
}

std::string UsageText() {
  return "Usage: Ombrix.exe [command]\n"
         "Without a command Ombrix starts in the tray. A command goes to the Ombrix that runs:\n"
         "  --go N                  go to desktop N (1 to 9)\n"
         "  --go next, --go prev    go to the next or the previous desktop\n"
         "  --move N                move the application in front, with all its windows, to\n"
         "                          desktop N\n"
         "  --move N --window HWND  move the application of that window (a number, or 0x and\n"
         "                          hexadecimal digits)\n"
         "  --current               end with the number of the desktop shown, 1 to 9\n"
         "  --exit                  end Ombrix, showing the windows of every desktop\n"
         "  --help                  show this text\n"
         "Exit codes: 0 done, 1 to 9 the desktop shown (--current), 10 bad argument, 11 no\n"
         "Ombrix is running, 12 Ombrix did not answer, 13 Ombrix is busy, 14 a dialog or menu of\n"
         "Ombrix is open, 15 the desktop's password was not given, 16 the program password\n"
         "guards Exit, 17 not a window Ombrix manages, 18 the window is on another desktop,\n"
         "19 no desktop that way.\n";
}

CommandOutcome RunCommand(const CommandLine& line, RunningInstance& instance) {
  if (!line.error.empty()) return BadArgument(line.error);
  if (line.command == Command::Help || line.command == Command::Start) {
    return {exitcode::kDone, UsageText(), {}};
  }
  if (line.command == Command::Move && line.window != 0 && !instance.IsWindow(line.window)) {
    return BadArgument("not a window: " + HandleText(line.window));
  }
  if (!instance.Found()) return Refused(exitcode::kNotRunning, "no Ombrix is running");
  const Hwnd window =
      line.command == Command::Move && line.window == 0 ? instance.ForegroundWindow() : line.window;
  const Request request = RequestOf(line, window);
  const std::optional<int32_t> answer =
      instance.Ask(request.message, request.wParam, request.lParam);
  if (answer) {
    if (std::optional<CommandOutcome> done = Success(line, *answer, instance)) return *done;
    for (const Refusal& refusal : kRefusals) {
      if (refusal.reply == *answer) return Refused(refusal.exitCode, refusal.why);
    }
  }
  return Refused(exitcode::kNoAnswer, "Ombrix did not answer");
}

}  // namespace ombrix
