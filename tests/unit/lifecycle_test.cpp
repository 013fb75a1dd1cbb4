#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "app/recovery.h"
#include "appearance/passwords.h"
#include "lang/messages.h"
#include "platform/sim/sim.h"
#include "ui/splash.h"
#include "ui/tray_icon.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class Lifecycle : public ::testing::Test {
 protected:
  // Right-clicks the tray icon and picks the menu item with that id.
  void ChooseFromTrayMenu(int id) {
    world.ui.choosePopupItem = [id](const Menu&) { return id; };
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  }

  sim::World world;
  Program program{world.platform()};
};

TEST_F(Lifecycle, FirstStartHasDefaultsTrayIconAndWelcomeAndALaterStartNoWelcome) {
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_EQ(program.settings.sLanguage, "English - Built In");
  EXPECT_TRUE(program.settings.bWin);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_EQ(world.tray.owner, program.lMainHwnd);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1");
  EXPECT_EQ(world.tray.icon, world.ui.DesktopIcon(1));
  ASSERT_EQ(world.tray.balloons.size(), 1u);
  EXPECT_EQ(world.tray.balloons[0].text, msgs::kWelcome.text);
  EXPECT_EQ(world.windows.foreground, program.lMainHwnd);

  sim::World later;
  later.store = world.store;
  Program again{later.platform()};
  ASSERT_EQ(StartUp(again), StartOutcome::Running);
  EXPECT_TRUE(later.tray.present);
  EXPECT_TRUE(later.tray.balloons.empty());
}

TEST_F(Lifecycle, MainWindowThatCannotBeCreatedIsReportedAndTheProcessFails) {
  world.ui.mainWindowFails = true;
  EXPECT_EQ(StartUp(program), StartOutcome::NoMainWindow);
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text, msgs::kNoMainWindow.text);
  EXPECT_FALSE(world.tray.present);
  EXPECT_TRUE(world.hooks.calls.empty());
  EXPECT_NE(ExitCode(StartOutcome::NoMainWindow), 0);
}

TEST_F(Lifecycle, SecondInstancePokesTheFirstTellsTheUserAndChangesNothing) {
  for (bool firstHasAWindow : {true, false}) {
    sim::World w;
    const Hwnd first = firstHasAWindow ? w.windows.Create({.className = "ThunderRT6FormDC",
                                                           .text = "OmbrixMainWND",
                                                           .visible = false})
                                       : 0;
    const Hwnd other = w.Open("Editor", 77);
    const Hwnd hidden = w.Open("Hidden by the first", 78);
    w.windows.Get(hidden)->visible = false;
    w.files.files[w.process.folder + "\\Ombrix.restore"] = EncodeRecoveryHandles({hidden});
    w.process.anotherInstance = true;
    w.store.sections["Settings"]["Win"] = "0";
    const auto before = w.store.sections;
    Program p{w.platform()};
    bool flagWhileOpen = false;
    w.ui.duringBox = [&] { flagWhileOpen = p.busy.RequestRefusal() == reply::kUserBusy; };

    EXPECT_EQ(StartUp(p), StartOutcome::AnotherInstance);
    ASSERT_EQ(w.windows.posted.size(), firstHasAWindow ? 1u : 0u);
    if (firstHasAWindow) {
      EXPECT_EQ(w.windows.posted[0].hwnd, first);
      EXPECT_EQ(w.windows.posted[0].message, 1044u);
    }
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].text, "The application is already running");
    EXPECT_TRUE(flagWhileOpen);
    EXPECT_EQ(w.store.sections, before);
    EXPECT_TRUE(w.windows.IsWindowVisible(other));
    EXPECT_TRUE(w.windows.showCalls.empty()) << "the first instance's hidden windows stay hidden";
    EXPECT_EQ(w.ui.mainEvents, nullptr);
    EXPECT_EQ(w.forms.loads, 0);
  }
}

TEST_F(Lifecycle, DebuggerEndsTheStartBeforeAnyWindow) {
  world.process.debugger = true;
  EXPECT_EQ(StartUp(program), StartOutcome::DebuggerAttached);
  EXPECT_EQ(world.ui.mainEvents, nullptr);
  EXPECT_EQ(world.forms.loads, 0);
}

TEST_F(Lifecycle, OwnWindowsAreHiddenExceptTheSplashUnlessDebugCommandLine) {
  for (const std::string commandLine : {"", "debug=si", "DEBUG=SI ", "DEBUG=SI"}) {
    sim::World w;
    Program p{w.platform()};
    w.process.commandLine = commandLine;
    const Hwnd mine = w.Open("Own", w.process.processId);
    const Hwnd theirs = w.Open("Theirs", 9);
    ASSERT_EQ(StartUp(p), StartOutcome::Running);
    EXPECT_EQ(w.windows.IsWindowVisible(mine), commandLine == "DEBUG=SI") << commandLine;
    EXPECT_TRUE(w.windows.IsWindowVisible(theirs));
    EXPECT_TRUE(w.windows.IsWindowVisible(p.lSplashHwnd)) << commandLine;
  }
}

TEST_F(Lifecycle, SplashShowsTheVersionAndClosesItselfAfterThreeAndAHalfSeconds) {
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_TRUE(world.windows.IsWindowVisible(program.lSplashHwnd));
  EXPECT_EQ(sim::ControlNamed(*program.splash, "lblVersion").Caption, "Version 1.8.3");
  world.clock.Advance(3499);
  EXPECT_TRUE(world.windows.IsWindow(program.lSplashHwnd));
  world.clock.Advance(1);
  EXPECT_FALSE(world.windows.IsWindow(program.lSplashHwnd));
  EXPECT_EQ(program.splash->hwnd, 0);
}

TEST_F(Lifecycle, ShowTrayAgainRecreatesTheIconWithTheDesktopCount) {
  const Hwnd progman = world.windows.Create(
      {.className = "Progman", .text = "Program Manager", .style = 0x96000000});
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  auto app = std::make_shared<clsPI>();
  auto win = std::make_shared<clsWI>();
  win->window_text = "Doc";
  app->oWin.Add(win);
  program.desk.Desk(1).opi.Add(app);
  program.lProgman = 0;

  EXPECT_FALSE(program.mainWindow->OnSubscribedMessage(1044, 0, 0).bHandled);
  EXPECT_EQ(world.tray.removes, 1);
  EXPECT_TRUE(world.tray.present);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 1 apps");
  EXPECT_EQ(program.lProgman, progman);
}

TEST_F(Lifecycle, TrayIconRefusedIsRetriedUntilTheShellTakesItOrTwoMinutesPass) {
  world.tray.shellUp = false;
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_FALSE(world.tray.present);
  world.clock.Advance(30000);
  world.tray.shellUp = true;
  world.clock.Advance(kTrayRetryIntervalMs);
  EXPECT_TRUE(world.tray.present);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 0 apps");
  EXPECT_FALSE(world.ui.TimerRunning(kTrayRetryTimer));
  // The first-use welcome waited for the icon.
  ASSERT_EQ(world.tray.balloons.size(), 1u);
  EXPECT_EQ(world.tray.balloons[0].text, msgs::kWelcome.text);
  EXPECT_TRUE(world.ui.boxes.empty());

  // TaskbarCreated ends the retries at once.
  world.tray.shellUp = false;
  program.mainWindow->OnTaskbarCreated();
  world.tray.shellUp = true;
  program.mainWindow->OnTaskbarCreated();
  EXPECT_TRUE(world.tray.present);
  EXPECT_FALSE(world.ui.TimerRunning(kTrayRetryTimer));

  world.tray.shellUp = false;
  program.mainWindow->OnTaskbarCreated();  // a shell that restarts and is not ready yet
  world.clock.Advance(kTrayRetryForMs - kTrayRetryIntervalMs);
  EXPECT_TRUE(world.ui.boxes.empty());
  world.clock.Advance(kTrayRetryIntervalMs);
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text, msgs::kNoTrayIcon.text);
  world.clock.Advance(10 * kTrayRetryForMs);
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_FALSE(world.ui.TimerRunning(kTrayRetryTimer));
  world.tray.shellUp = true;
  program.mainWindow->OnTaskbarCreated();
  EXPECT_TRUE(world.tray.present);
}

TEST_F(Lifecycle, CloseRequestsFromOutsideAreRefusedAfterADeclinedExitOrSessionEnd) {
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  EXPECT_EQ(program.iUnloadMode, UnloadReason::FormControlMenu);

  world.ui.boxAnswers = {7};
  ChooseFromTrayMenu(menu_id::kExit);
  EXPECT_FALSE(program.bExitRequested);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());

  EXPECT_TRUE(program.mainWindow->OnQueryEndSession());
  program.mainWindow->OnEndSession(false);  // the session end was called off
  EXPECT_EQ(program.iUnloadMode, UnloadReason::FormControlMenu);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  // A session end that this instance was never asked about is forged: nothing happens.
  program.settings.sGlobalPass = "pw";
  program.mainWindow->OnEndSession(true);
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_TRUE(world.tray.present);
}

TEST_F(Lifecycle, ShutDownStoresTheProgramPasswordAsHeldOrDeletesIt) {
  const std::string scrambled = EncodePassword("pw");
  world.store.sections["Settings"]["GlobalPass"] = scrambled;
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  world.store.sections["Settings"].erase("GlobalPass");
  program.mainWindow->OnQueryEndSession();
  program.mainWindow->OnEndSession(true);
  EXPECT_TRUE(world.ui.mainDestroyed) << "the session end asks for no password";
  EXPECT_EQ(world.store.sections["Settings"]["GlobalPass"], scrambled);

  sim::World w;
  Program p{w.platform()};
  w.store.sections["Settings"]["GlobalPass"] = "";
  ASSERT_EQ(StartUp(p), StartOutcome::Running);
  p.mainWindow->OnQueryEndSession();
  p.mainWindow->OnEndSession(true);
  EXPECT_EQ(w.store.sections["Settings"].count("GlobalPass"), 0u);
}

TEST_F(Lifecycle, MessagesArrivingWhileTheMainWindowLoadsAreNotHandled) {
  world.ui.queue.push_back({0, msg::kShowTrayAgain, 0, 0});  // delivered by the load's DoEvents
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_TRUE(world.ui.queue.empty());
  EXPECT_EQ(world.tray.adds, 1);
  EXPECT_EQ(world.tray.removes, 0);
}

}  // namespace
}  // namespace ombrix
