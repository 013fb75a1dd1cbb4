#include "app/desktop_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"
#include "switching/move.h"

namespace ombrix {
namespace {

TEST(DesktopRecordFile, ReadsBackWhatItWroteAndLeavesOutEveryBadLine) {
  DesktopRecord record{.written = 1700000000123, .current = 3};
  record.windows = {{1, 0x10010, 77, "Notepad"}, {9, -2, 4000000000u, "Class with blanks"}};
  const std::optional<DesktopRecord> back = DecodeDesktopRecord(EncodeDesktopRecord(record));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->written, record.written);
  EXPECT_EQ(back->current, 3);
  ASSERT_EQ(back->windows.size(), 2u);
  EXPECT_EQ(back->windows[1].hwnd, -2);
  EXPECT_EQ(back->windows[1].processId, 4000000000u);
  EXPECT_EQ(back->windows[1].className, "Class with blanks");

  const std::string head = "Ombrix desktops 1\r\nwritten 5\r\ncurrent 2\r\n";
  const auto kept = DecodeDesktopRecord(
      head + "0 100 7 Out\r\n10 100 7 Out\n-1 100 7 Out\nx 100 7 Garbage\n2 0 7 NoHandle\n" +
      "2 100 0x7 Hex\n2 100 7\n2 100 7 \n\x01\x02\xff\n3 200 8 Kept\n4 300 9 Trunc");
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->windows.size(), 2u);
  EXPECT_EQ(kept->windows[0].className, "Kept");
  EXPECT_EQ(kept->windows[1].className, "Trunc");  // the live window's class decides later

  EXPECT_EQ(DecodeDesktopRecord(head.substr(0, 30) + "\n")->current, 1);  // cut in "current"
  EXPECT_FALSE(DecodeDesktopRecord(""));
  EXPECT_FALSE(DecodeDesktopRecord("Ombrix desktops 1\r\nwritten soon\r\ncurrent 2\r\n"));
  EXPECT_FALSE(DecodeDesktopRecord("Ombrix desktops 2\r\nwritten 5\r\ncurrent 2\r\n"));
  EXPECT_FALSE(DecodeDesktopRecord(std::string("\0\0\0\0", 4)));
}

// A program that runs, is killed, and starts again on the same machine.
class AfterACrash : public ::testing::Test {
 protected:
  void SetUp() override {
    world.store.sections["Settings"]["FirstUse"] = "0";
    a = world.Open("A", 10);
    b = world.Open("B", 20);
    c = world.Open("C", 30);
    Start();
    program->lActiveHwnd = b;
    MoveApplication(*program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(b)), 2);
    MoveApplication(*program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(c)), 3);
    Go(2);
    world.Crash();
    program.reset();
  }
  void Start() {
    program = std::make_unique<Program>(world.platform());
    ASSERT_EQ(StartUp(*program), StartOutcome::Running);
  }
  clsDesktop& Desk(int n) { return program->desk.Desk(n); }
  void Go(int n) { program->mainWindow->OnSubscribedMessage(1027, 48 + n, 0); }
  bool Visible(Hwnd h) { return world.windows.IsWindowVisible(h); }
  std::string RecordPath() const { return world.process.folder + "\\Ombrix.desktops"; }
  std::string& RecordText() { return world.files.files[RecordPath()]; }

  sim::World world;
  std::unique_ptr<Program> program;
  Hwnd a = 0, b = 0, c = 0;
};

TEST_F(AfterACrash, EveryWindowGoesBackToItsDesktopAndTheUserToTheirs) {
  const Hwnd later = world.Open("Opened after the crash", 40);
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 2);
  EXPECT_TRUE(Visible(b) && Visible(later));  // the later window stays in front of the user
  EXPECT_FALSE(Visible(a) || Visible(c));
  Go(1);
  EXPECT_TRUE(Visible(a));
  EXPECT_FALSE(Visible(b) || Visible(c) || Visible(later));
  Go(3);
  EXPECT_TRUE(Visible(c));
  EXPECT_FALSE(Visible(a) || Visible(b) || Visible(later));

  // A normal exit leaves nothing to restore.
  EXPECT_TRUE(world.files.FileExists(RecordPath()));
  program->bExitRequested = true;
  ASSERT_TRUE(UnloadMainWindow(*program, UnloadReason::FormCode));
  EXPECT_FALSE(world.files.FileExists(RecordPath()));
}

TEST_F(AfterACrash, WindowsTheRecordNoLongerKnowsComeOnScreenWhereTheUserIs) {
  // C's handle now belongs to another process; B's window has another class.
  std::string text = RecordText();
  const std::string cLine = "3 " + std::to_string(c) + " 30 ";
  ASSERT_NE(text.find(cLine), std::string::npos);
  text.replace(text.find(cLine), cLine.size(), "3 " + std::to_string(c) + " 31 ");
  world.windows.Get(b)->className = "Another";
  RecordText() = text;
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 2);  // entered, though nothing of it came back
  EXPECT_TRUE(Visible(b) && Visible(c));
  Go(1);
  EXPECT_TRUE(Visible(a));
}

TEST_F(AfterACrash, ARecordFromBeforeTheSystemStartOrTurnedOffIsNotUsed) {
  world.files.modified[RecordPath()] = world.process.StartTime() - 1;
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a) && Visible(b) && Visible(c));
  EXPECT_FALSE(world.files.FileExists(RecordPath()));

  // A record whose own time is before the system start, in a file written since.
  MoveApplication(*program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(c)), 3);
  world.Crash();
  program.reset();
  std::string text = RecordText();
  const size_t written = text.find("written ");
  text.replace(written, text.find('\r', written) - written, "written 5");
  RecordText() = text;
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(c));

  MoveApplication(*program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(c)), 3);
  world.Crash();
  program.reset();
  world.store.sections["Settings"]["RestoreDesktops"] = "0";
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a) && Visible(b) && Visible(c));
}

// The windows of a desktop with a password never come on screen before it is typed, not even
// behind a box that holds the start.
TEST_F(AfterACrash, ADesktopWithAPasswordShowsNothingBeforeItIsTyped) {
  const Hwnd later = world.Open("Opened after the crash", 40);
  world.store.sections["Settings"]["DeskPass2"] = "7DQE";  // "x"
  world.store.sections["Settings"]["Language"] = "missing.lng";  // an error box at start
  world.windows.showCalls.clear();
  auto shownSoFar = [&] {
    return std::count_if(world.windows.showCalls.begin(), world.windows.showCalls.end(),
                         [&](const auto& call) { return call.first == b && call.second != 0; });
  };
  world.ui.duringBox = [&] { EXPECT_FALSE(Visible(b) || Visible(c)); };
  world.ui.userActions.push_back([&] {
    EXPECT_EQ(shownSoFar(), 0) << "shown before the password was asked";
    Form* prompt = world.forms.Loaded("frmPassword");
    ASSERT_NE(prompt, nullptr);
    prompt->OnClick(sim::ControlNamed(*prompt, "btnCancel"));
  });
  Start();
  EXPECT_FALSE(world.ui.boxes.empty());
  EXPECT_EQ(shownSoFar(), 0);
  EXPECT_EQ(program->desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a) && Visible(later));
  EXPECT_FALSE(Visible(b) || Visible(c));  // still on their own desktops
  EXPECT_NE(Desk(2).GetProcessIdxByHandle(b), -1);
}

// Given the password, the user is back where they were, with what was opened meanwhile.
TEST_F(AfterACrash, WithItsPasswordTheUserIsBackOnTheirDesktop) {
  const Hwnd later = world.Open("Opened after the crash", 40);
  world.store.sections["Settings"]["DeskPass2"] = "7DQE";  // "x"
  world.ui.userActions.push_back([&] {
    EXPECT_FALSE(Visible(b) || Visible(c));
    Form* prompt = world.forms.Loaded("frmPassword");
    ASSERT_NE(prompt, nullptr);
    world.forms.Type(*prompt, "txtPassword", "x");
    world.forms.Click(*prompt, "btnOk");
  });
  Start();
  EXPECT_EQ(program->desk.iCurDesk, 2);
  EXPECT_TRUE(Visible(b) && Visible(later));
  EXPECT_FALSE(Visible(a) || Visible(c));
  Go(1);
  EXPECT_TRUE(Visible(a));
  EXPECT_FALSE(Visible(b) || Visible(c) || Visible(later));
}

}  // namespace
}  // namespace ombrix
