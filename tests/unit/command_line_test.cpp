// Ombrix.exe with a command: what is parsed from the arguments, and the exit code and texts each
// command ends with against a running program.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

using Args = std::vector<std::string>;

// On real windows (tests/e2e/requests.sh): --go with a number, next and prev, --move with and
// without a hexadecimal --window, --current and --exit.
TEST(CommandLineParse, ReadsEveryCommandAndLeavesOtherTextToTheTrayProgram) {
  for (const Args& start :
       {Args{}, Args{"DEBUG=SI"}, Args{"debug=si"}, Args{"/min", "--go"}, Args{"-min"}}) {
    EXPECT_EQ(ParseCommandLine(start).command, Command::Start) << ::testing::PrintToString(start);
  }
  EXPECT_EQ(ParseCommandLine({"--GO", "Next"}).step, 1);
  EXPECT_EQ(ParseCommandLine({"--window", "6699", "--move", "2"}).window, 6699);
  // 64-bit handles carry 32 significant bits, sign-extended.
  EXPECT_EQ(ParseCommandLine({"--move", "2", "--window", "0xFFFFFFFF80001234"}).window,
            static_cast<Hwnd>(0x80001234u));
  EXPECT_EQ(ParseCommandLine({"--move", "2", "--window", "-2147479500"}).window,
            static_cast<Hwnd>(0x80001034u));
  for (const char* help : {"--help", "-h", "/?"}) {
    const CommandLine line = ParseCommandLine({help});
    EXPECT_EQ(line.command, Command::Help);
    EXPECT_TRUE(line.error.empty());
  }
}

TEST(CommandLineParse, AMalformedCommandIsABadArgumentWithTheUsageAndAsksNothing) {
  const std::string bad =
      "--go 0|--go 10|--go x|--go 3x|--go -3|--go|--move|--move n|--go 3 --exit|--current "
      "--current|--window 5|--current --window 5|--move 3 --window 0|--move 3 --window abc|"
      "--move 3 --window 0x1FFFFFFFF|--frobnicate";
  sim::SimWindowSystem windows;
  sim::SimRunningInstance nobody(windows);
  nobody.answers = false;
  std::istringstream lines(bad);
  for (std::string line; std::getline(lines, line, '|');) {
    std::istringstream words(line);
    const Args args{std::istream_iterator<std::string>(words), {}};
    const CommandOutcome outcome = RunCommand(ParseCommandLine(args), nobody);
    EXPECT_EQ(outcome.exitCode, exitcode::kBadArgument) << line;
    EXPECT_NE(outcome.err.find("\nUsage: Ombrix.exe"), std::string::npos) << outcome.err;
  }
}

// A started program that Ombrix.exe with a command finds.
class CommandLineRuns : public ::testing::Test {
 protected:
  CommandLineRuns() {
    world.store.Write("Settings", "FirstUse", "0");
    EXPECT_EQ(StartUp(program), StartOutcome::Running);
    instance.mainWindow = program.mainWindow.get();
  }
  CommandOutcome Run(const Args& args) { return RunCommand(ParseCommandLine(args), instance); }
  // The exit code, and that a refusal says why in one line and prints nothing else.
  int Refused(const Args& args) {
    const CommandOutcome outcome = Run(args);
    EXPECT_TRUE(outcome.out.empty()) << outcome.out;
    EXPECT_TRUE(outcome.err.starts_with("Ombrix: ") &&
                outcome.err.find('\n') + 1 == outcome.err.size())
        << outcome.err;
    return outcome.exitCode;
  }

  sim::World world;
  Program program{world.platform()};
  sim::SimRunningInstance instance{world.windows};
};

// On real windows (tests/e2e/requests.sh): --current, --go with a number or a step, --move of the
// window in front or of a given one, --exit, and the refusals for another desktop, a password not
// given, a menu open, Exit guarded and no Ombrix running, each with its exit code and output.
TEST_F(CommandLineRuns, AStepPastTheLastDesktopNeedsCyclingAndExitSaysItEnded) {
  SwitchDesktop(program, 9);
  EXPECT_EQ(Run({"--go", "9"}).exitCode, exitcode::kDone);  // already there
  EXPECT_EQ(Refused({"--go", "next"}), exitcode::kNoDesktopThere);
  program.settings.bCicleDesktops = true;
  EXPECT_EQ(Run({"--go", "next"}).out, "1\n");
  const CommandOutcome outcome = Run({"--exit"});
  EXPECT_EQ(outcome.exitCode, exitcode::kDone);
  EXPECT_EQ(outcome.out, "Ombrix has ended\n");
  EXPECT_TRUE(world.ui.mainDestroyed);
}

TEST_F(CommandLineRuns, TheOtherRefusalsHaveTheirOwnCodesAndChangeNothing) {
  const Hwnd b = world.Open("B", 11);
  EXPECT_EQ(Run({"--move", "2", "--window", "0x7777"}).exitCode, exitcode::kBadArgument);
  EXPECT_EQ(Refused({"--move", "2", "--window", std::to_string(program.lMainHwnd)}),
            exitcode::kUnknownWindow);
  {
    const BusyState::Guard switching = program.busy.Enter(Busy::Switching);
    EXPECT_EQ(Refused({"--go", "2"}), exitcode::kBusy);
  }
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_TRUE(world.windows.IsWindowVisible(b));
  instance.answers = false;
  EXPECT_EQ(Refused({"--current"}), exitcode::kNoAnswer);
  EXPECT_EQ(Run({"--help"}).out, UsageText());
}

}  // namespace
}  // namespace ombrix
