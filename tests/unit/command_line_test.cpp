// Ombrix.exe with a command: what is parsed from the arguments, and the exit code and texts each
// command ends with against a running program.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "heart_fixture.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineParse, ReadsEveryCommandAndLeavesOtherTextToTheTrayProgram) {
  for (const Args& start :
       {Args{}, Args{"DEBUG=SI"}, Args{"debug=si"}, Args{"/min", "--go"}, Args{"-min"}}) {
    EXPECT_EQ(ParseCommandLine(start).command, Command::Start) << ::testing::PrintToString(start);
  }
  CommandLine line = ParseCommandLine({"--go", "3"});
  EXPECT_EQ(line.command, Command::GoTo);
  EXPECT_EQ(line.desk, 3);
  EXPECT_EQ(ParseCommandLine({"--GO", "Next"}).step, 1);
  EXPECT_EQ(ParseCommandLine({"--go", "prev"}).step, -1);
  line = ParseCommandLine({"--move", "4"});
  EXPECT_EQ(line.command, Command::Move);
  EXPECT_EQ(line.desk, 4);
  EXPECT_EQ(line.window, 0);
  EXPECT_EQ(ParseCommandLine({"--move", "4", "--window", "0x1A2B"}).window, 0x1A2B);
  EXPECT_EQ(ParseCommandLine({"--window", "6699", "--move", "2"}).window, 6699);
  // 64-bit handles carry 32 significant bits, sign-extended.
  EXPECT_EQ(ParseCommandLine({"--move", "2", "--window", "0xFFFFFFFF80001234"}).window,
            static_cast<Hwnd>(0x80001234u));
  EXPECT_EQ(ParseCommandLine({"--move", "2", "--window", "-2147479500"}).window,
            static_cast<Hwnd>(0x80001034u));
  EXPECT_EQ(ParseCommandLine({"--current"}).command, Command::Current);
  EXPECT_EQ(ParseCommandLine({"--exit"}).command, Command::Exit);
  for (const char* help : {"--help", "-h", "/?"}) {
    line = ParseCommandLine({help});
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

class CommandLineRuns : public Started {
 protected:
  void SetUp() override {
    Started::SetUp();
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

  sim::SimRunningInstance instance{world.windows};
};

TEST_F(CommandLineRuns, EachCommandDoesItsRequestAndEndsWithItsCode) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  CommandOutcome outcome = Run({"--current"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "1\n");
  world.windows.foreground = a;
  EXPECT_EQ(Run({"--move", "4"}).exitCode, exitcode::kDone);
  EXPECT_NE(Desk(4).GetProcessIdxByHandle(a), -1);
  EXPECT_EQ(Run({"--move", "5", "--window", std::to_string(b)}).exitCode, exitcode::kDone);
  EXPECT_FALSE(Visible(b));
  outcome = Run({"--go", "3"});
  EXPECT_EQ(outcome.exitCode, exitcode::kDone);
  EXPECT_EQ(outcome.out, "3\n");
  EXPECT_EQ(program.desk.iCurDesk, 3);
  EXPECT_EQ(Run({"--go", "3"}).exitCode, exitcode::kDone);  // already there
  EXPECT_EQ(Run({"--go", "next"}).out, "4\n");
  EXPECT_TRUE(Visible(a));
  EXPECT_EQ(Run({"--go", "prev"}).out, "3\n");
  EXPECT_EQ(Run({"--current"}).exitCode, 3);

  SwitchDesktop(program, 9);
  EXPECT_EQ(Refused({"--go", "next"}), exitcode::kNoDesktopThere);
  program.settings.bCicleDesktops = true;
  EXPECT_EQ(Run({"--go", "next"}).out, "1\n");

  outcome = Run({"--exit"});
  EXPECT_EQ(outcome.exitCode, exitcode::kDone);
  EXPECT_EQ(outcome.out, "Ombrix has ended\n");
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_TRUE(Visible(a) && Visible(b));
}

TEST_F(CommandLineRuns, EachRefusalHasItsOwnCodeAndChangesNothing) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  EXPECT_EQ(Run({"--move", "2", "--window", "0x7777"}).exitCode, exitcode::kBadArgument);
  EXPECT_EQ(Refused({"--move", "2", "--window", std::to_string(program.lMainHwnd)}),
            exitcode::kUnknownWindow);
  EXPECT_EQ(Run({"--move", "2", "--window", std::to_string(b)}).exitCode, exitcode::kDone);
  EXPECT_EQ(Refused({"--move", "3", "--window", std::to_string(b)}), exitcode::kOtherDesktop);

  Desk(5).sPassword = "pw";
  world.ui.userActions.push_back([this] {
    Form* prompt = world.forms.Loaded("frmPassword");
    ASSERT_NE(prompt, nullptr);
    prompt->OnClick(Ctl(*prompt, "btnCancel"));
  });
  EXPECT_EQ(Refused({"--go", "5"}), exitcode::kPasswordNotGiven);
  {
    const BusyState::Guard switching = program.busy.Enter(Busy::Switching);
    EXPECT_EQ(Refused({"--go", "2"}), exitcode::kBusy);
  }
  {
    const BusyState::Guard box = program.busy.Enter(Busy::MessageBox);
    EXPECT_EQ(Refused({"--go", "next"}), exitcode::kUserBusy);
  }
  program.settings.sGlobalPass = "admin";
  EXPECT_EQ(Refused({"--exit"}), exitcode::kExitGuarded);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a) && !Visible(b));

  instance.answers = false;
  EXPECT_EQ(Refused({"--current"}), exitcode::kNoAnswer);
  instance.mainWindow = nullptr;
  EXPECT_EQ(Refused({"--go", "3"}), exitcode::kNotRunning);
  EXPECT_EQ(Run({"--help"}).out, UsageText());
}

}  // namespace
}  // namespace ombrix
