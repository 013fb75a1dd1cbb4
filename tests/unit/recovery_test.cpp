#include "app/recovery.h"

#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "rules/apply.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

const std::string kPath = "C:\\Program Files\\Ombrix\\Ombrix.restore";
const std::string kUserPath = "C:\\Users\\me\\AppData\\Local\\Ombrix\\Ombrix.restore";
const std::string kRecordPath = "C:\\Program Files\\Ombrix\\Ombrix.desktops";

std::shared_ptr<clsPI> AppWith(std::initializer_list<Hwnd> handles) {
  auto app = std::make_shared<clsPI>();
  for (Hwnd h : handles) {
    auto w = std::make_shared<clsWI>();
    w->lHwnd = h;
    app->oWin.Add(w);
  }
  return app;
}

TEST(RecoveryFile, ListsEveryHandleAsLittleEndianIntegers) {
  sim::World world;
  Program program{world.platform()};
  program.desk.CreateDesktops();
  program.desk.Desk(1).opi.Add(AppWith({300, 500}));
  program.desk.Desk(3).opi.Add(AppWith({700}));
  WriteRecoveryFile(program);
  const std::string expected("\x2C\x01\x00\x00\xF4\x01\x00\x00\xBC\x02\x00\x00", 12);
  EXPECT_EQ(world.files.files[kPath], expected);
  EXPECT_EQ(DecodeRecoveryHandles(EncodeRecoveryHandles({-2, 0x7FFFFFFF})),
            (std::vector<Hwnd>{-2, 0x7FFFFFFF}));
  // A truncated file reads its whole entries only.
  EXPECT_EQ(DecodeRecoveryHandles(expected.substr(0, 9)), (std::vector<Hwnd>{300, 500}));
  program.desk.CreateDesktops();
  WriteRecoveryFile(program);
  EXPECT_EQ(world.files.files[kPath], "");
  world.process.folder = "D:\\";  // a drive root gets no second backslash
  EXPECT_EQ(RecoveryFilePath(program), "D:\\Ombrix.restore");
}

TEST(RecoveryFile, UnwritableProgramFolderFallsBackToTheUserDataFolder) {
  sim::World world;
  Program program{world.platform()};
  program.desk.CreateDesktops();
  program.desk.Desk(2).opi.Add(AppWith({42}));
  world.files.readOnlyFolders = {"C:\\Program Files"};
  WriteRecoveryFile(program);
  EXPECT_FALSE(world.files.FileExists(kPath));
  ASSERT_TRUE(world.files.FileExists(kUserPath));
  EXPECT_EQ(DecodeRecoveryHandles(world.files.files[kUserPath]), (std::vector<Hwnd>{42}));
  // Once the folder is writable again the stale fallback goes.
  world.files.readOnlyFolders.clear();
  WriteRecoveryFile(program);
  EXPECT_TRUE(world.files.FileExists(kPath));
  EXPECT_FALSE(world.files.FileExists(kUserPath));
}

// Window handles are reused after a restart, so a file older than the system's start could
// name windows that other programs keep hidden.
TEST(RecoveryFile, StartShowsWhatFilesOfThisSystemStartListAndDeletesOlderOnes) {
  for (bool programFolderFileIsOld : {false, true}) {
    sim::World world;
    const Hwnd a = world.Open("A", 10);
    const Hwnd b = world.Open("B", 11);
    world.windows.Get(a)->visible = false;
    world.windows.Get(b)->visible = false;
    world.files.files[kPath] = EncodeRecoveryHandles({a, 0x5555});  // 0x5555 is long gone
    world.files.files[kUserPath] = EncodeRecoveryHandles({b});
    const int64_t systemStart = world.process.StartTime();
    world.files.modified[kPath] = programFolderFileIsOld ? systemStart - 1 : systemStart;
    Program program{world.platform()};
    ASSERT_EQ(StartUp(program), StartOutcome::Running);
    EXPECT_EQ(world.windows.IsWindowVisible(a), !programFolderFileIsOld);
    EXPECT_TRUE(world.windows.IsWindowVisible(b));
    EXPECT_EQ(program.desk.Desk(1).opi.Count(), programFolderFileIsOld ? 1 : 2);
    // A file that is used stays until the next switch or exit.
    EXPECT_EQ(world.files.FileExists(kPath), !programFolderFileIsOld);
    EXPECT_TRUE(world.files.FileExists(kUserPath));
  }
}

// An installation for every user shares its folder: each user's files live in their own data
// folder, and what another user's run left beside the program is not read, nor deleted.
TEST(RecoveryFile, ASharedProgramFolderIsLeftToItsOtherUsers) {
  sim::World world;
  world.store.sections["Settings"]["FirstUse"] = "0";
  world.files.othersFolders = {"C:\\Program Files"};
  const Hwnd theirs = world.Open("Theirs", 10);
  world.windows.Get(theirs)->visible = false;
  const std::string theirFile = EncodeRecoveryHandles({theirs});
  world.files.files[kPath] = theirFile;
  Program program{world.platform()};
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_FALSE(world.windows.IsWindowVisible(theirs));
  const Hwnd mine = world.Open("Mine", 11);
  int16_t target = 2;
  SwitchDesktop(program, target);
  EXPECT_EQ(DecodeRecoveryHandles(world.files.files[kUserPath]), (std::vector<Hwnd>{mine}));
  EXPECT_TRUE(world.files.FileExists("C:\\Users\\me\\AppData\\Local\\Ombrix\\Ombrix.desktops"));
  EXPECT_FALSE(world.files.FileExists(kRecordPath));
  ASSERT_TRUE(ExitOnRequest(program));
  EXPECT_FALSE(world.files.FileExists(kUserPath));
  EXPECT_EQ(world.files.files[kPath], theirFile);
}

// No run writes a file near the cap: a huge (or sparse) one must not stop the start with a
// failed allocation before the hidden windows come back. It goes, and the user is told.
TEST(RecoveryFile, FilesTooLargeToBeItsOwnAreDeletedUnreadAndReported) {
  sim::World world;
  world.store.sections["Settings"]["FirstUse"] = "0";
  const Hwnd hidden = world.Open("Hidden", 10);
  world.windows.Get(hidden)->visible = false;
  world.files.files[kUserPath] = EncodeRecoveryHandles({hidden});
  world.files.files[kPath] = world.files.files[kRecordPath] = "x";
  world.files.sizes[kPath] = uint64_t{8} << 30;
  world.files.sizes[kRecordPath] = kLargestRecoveryFile + 1;
  Program program{world.platform()};
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_TRUE(world.windows.IsWindowVisible(hidden));
  EXPECT_FALSE(world.files.FileExists(kPath) || world.files.FileExists(kRecordPath));
  ASSERT_EQ(world.tray.balloons.size(), 2u);
  EXPECT_EQ(world.tray.balloons[0].text,
            "Ombrix deleted " + kPath + " unread: it is too large to be a file of its own.");
}

class Exit : public Started {};

TEST_F(Exit, EveryWindowComesBackTheFileGoesAndShellWindowsStayOpen) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd folder = world.Open("Docs", 30, 0, "CabinetWClass");
  int16_t target = 2;
  SwitchDesktop(program, target);
  const Hwnd b = world.Open("B", 11);
  target = 3;
  SwitchDesktop(program, target);
  ASSERT_TRUE(world.files.FileExists(kPath));
  EXPECT_FALSE(Visible(a) || Visible(b));
  world.ui.boxAnswers = {6};
  world.ui.choosePopupItem = [](const Menu&) { return 1; };
  program.mainWindow->OnTrayMouse(517);
  EXPECT_EQ(world.ui.boxes.back().text, "Exit Ombrix?");
  EXPECT_EQ(world.ui.boxes.back().style, 36u);
  ASSERT_TRUE(world.ui.mainDestroyed);
  EXPECT_EQ(program.iUnloadMode, UnloadReason::FormCode);
  EXPECT_TRUE(Visible(a) && Visible(b) && Visible(folder));
  for (const auto& m : world.windows.posted) EXPECT_FALSE(m.hwnd == folder && m.message == 16);
  EXPECT_FALSE(world.files.FileExists(kPath));
  EXPECT_FALSE(world.tray.present);
}

TEST_F(Exit, SessionEndClosesTheShellWindowsStillHidden) {
  const Hwnd folder = world.Open("Docs", 30, 0, "CabinetWClass");
  const Hwnd recorded = world.Open("Pictures", 31, 0, "CabinetWClass");
  int16_t target = 2;
  SwitchDesktop(program, target);
  // The folder's record is gone while the program still holds it hidden.
  Desk(1).opi.Remove(Desk(1).GetProcessIdxByHandle(folder));
  program.mainWindow->OnQueryEndSession();
  program.mainWindow->OnEndSession(true);
  EXPECT_TRUE(Visible(recorded));
  bool closed = false;
  for (const auto& m : world.windows.posted) closed = closed || (m.hwnd == folder && m.message == 16);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(program.colHiddenExplorer.Empty());
}

TEST_F(Exit, SessionEndArrivingInsideASwitchLeavesTheSwitchSafe) {
  world.Open("A", 10);
  world.Open("B", 11);
  world.windows.duringShow = [&](Hwnd, int) {
    program.mainWindow->OnQueryEndSession();
    program.mainWindow->OnEndSession(true);
  };
  int16_t target = 2;
  SwitchDesktop(program, target);
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_EQ(Desk(1).opi.Count(), 2);
}

TEST_F(Exit, RecoveryFileThatCannotBeWrittenIsReportedOnceInABalloon) {
  world.Open("A", 10);
  world.files.readOnlyFolders = {"C:\\"};
  world.tray.present = false;  // no icon to show a balloon at: the next write tries again
  int16_t target = 2;
  SwitchDesktop(program, target);
  EXPECT_TRUE(world.tray.balloons.empty());
  world.tray.present = true;
  for (int16_t desk : {1, 3, 1}) {
    target = desk;
    SwitchDesktop(program, target);
  }
  ASSERT_EQ(world.tray.balloons.size(), 1u);
  EXPECT_EQ(world.tray.balloons[0].text, msgs::kNoRecoveryFile.text);
  EXPECT_EQ(world.tray.balloons[0].iconType, 2);
  EXPECT_TRUE(world.files.files.empty());
}

}  // namespace
}  // namespace ombrix
