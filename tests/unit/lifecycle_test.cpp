#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "appearance/passwords.h"
#include "platform/sim/sim.h"
#include "ui/splash.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class Lifecycle : public ::testing::Test {
 protected:
  sim::World world;
  Program program{world.platform()};

  Hwnd Foreign(std::string title, uint32_t pid = 77) {
    sim::SimWindow w;
    w.className = "Notepad";
    w.text = std::move(title);
    w.processId = pid;
    return world.windows.Create(w);
  }
  Hwnd OwnWindow(std::string title) { return Foreign(std::move(title), world.process.processId); }

  // Right-clicks the tray icon and picks the menu item with that id.
  void ChooseFromTrayMenu(int id) {
    world.ui.choosePopupItem = [id](const Menu&) { return id; };
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  }
};

TEST_F(Lifecycle, EmptyStoreStartsWithDefaultsTrayIconAndWelcome) {
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_EQ(program.settings.sLanguage, "English - Built In");
  EXPECT_TRUE(program.settings.bWin);
  EXPECT_EQ(program.desk.desktops.Count(), 9);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_EQ(program.desk.iShownDesk, 1);
  EXPECT_TRUE(world.tray.present);
  EXPECT_EQ(world.tray.owner, program.lMainHwnd);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1");
  EXPECT_EQ(world.tray.icon, world.ui.DesktopIcon(1));
  ASSERT_EQ(world.tray.balloons.size(), 1u);
  EXPECT_EQ(world.tray.balloons[0].text,
            "Welcome to Ombrix! Click over this icon to use the program!");
  EXPECT_EQ(world.tray.balloons[0].iconType, 1);
  EXPECT_EQ(world.tray.balloons[0].timeoutMs, 30000);
  EXPECT_EQ(world.store.sections["Settings"]["FirstUse"], "0");
  EXPECT_EQ(world.windows.foreground, program.lMainHwnd);
}

TEST_F(Lifecycle, MainWindowIsHiddenWithItsClassAndCaption) {
  StartUp(program);
  const Hwnd main = world.windows.FindWindow("ThunderRT6FormDC", "OmbrixMainWND");
  ASSERT_NE(main, 0);
  EXPECT_EQ(main, program.lMainHwnd);
  EXPECT_FALSE(world.windows.IsWindowVisible(main));
}

TEST_F(Lifecycle, LaterStartShowsNoWelcome) {
  world.store.sections["Settings"]["FirstUse"] = "0";
  StartUp(program);
  EXPECT_TRUE(world.tray.balloons.empty());
}

TEST_F(Lifecycle, SecondInstancePokesTheFirstAndChangesNothing) {
  const Hwnd first = world.windows.Create({.className = "ThunderRT6FormDC",
                                           .text = "OmbrixMainWND", .visible = false});
  const Hwnd other = Foreign("Editor");
  world.process.anotherInstance = true;
  world.store.sections["Settings"]["Win"] = "0";
  const auto before = world.store.sections;

  EXPECT_EQ(StartUp(program), StartOutcome::AnotherInstance);
  ASSERT_EQ(world.windows.posted.size(), 1u);
  EXPECT_EQ(world.windows.posted[0].hwnd, first);
  EXPECT_EQ(world.windows.posted[0].message, 1044u);
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text, "The application is already running");
  EXPECT_EQ(world.ui.boxes[0].title, "Attention!");
  EXPECT_EQ(world.ui.boxes[0].style, 64u);
  EXPECT_EQ(world.store.sections, before);
  EXPECT_TRUE(world.windows.IsWindowVisible(other));
  EXPECT_TRUE(world.windows.showCalls.empty());
  EXPECT_EQ(world.ui.mainEvents, nullptr);
  EXPECT_EQ(world.forms.loads, 0);
}

TEST_F(Lifecycle, SecondInstanceWithoutAWindowStillTellsTheUser) {
  world.process.anotherInstance = true;
  EXPECT_EQ(StartUp(program), StartOutcome::AnotherInstance);
  EXPECT_TRUE(world.windows.posted.empty());
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_FALSE(program.bMsgBoxOpen);
}

TEST_F(Lifecycle, MessageBoxFlagIsSetOnlyWhileTheBoxIsOpen) {
  world.process.anotherInstance = true;
  bool openDuringBox = false;
  world.ui.duringBox = [&] { openDuringBox = program.bMsgBoxOpen; };
  StartUp(program);
  EXPECT_TRUE(openDuringBox);
  EXPECT_FALSE(program.bMsgBoxOpen);
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
    sim::SimWindow own{.className = "Tool", .text = "Own", .processId = w.process.processId};
    const Hwnd mine = w.windows.Create(own);
    const Hwnd theirs = w.windows.Create({.className = "X", .text = "Theirs", .processId = 9});
    StartUp(p);
    EXPECT_EQ(w.windows.IsWindowVisible(mine), commandLine == "DEBUG=SI") << commandLine;
    EXPECT_TRUE(w.windows.IsWindowVisible(theirs));
    EXPECT_TRUE(w.windows.IsWindowVisible(p.lSplashHwnd)) << commandLine;
  }
}

TEST_F(Lifecycle, SplashShowsTheVersionAndClosesItselfAfterThreeAndAHalfSeconds) {
  StartUp(program);
  ASSERT_NE(program.lSplashHwnd, 0);
  EXPECT_TRUE(world.windows.IsWindowVisible(program.lSplashHwnd));
  EXPECT_EQ(program.splash->Find("lblVersion")->Caption, "Version 1.8.3");
  EXPECT_EQ(program.splash->Find("lblWhat")->Caption, "Ombrix");
  EXPECT_NE(program.splash->Find("lblInfo")->Caption.find("\r\n"), std::string::npos);
  world.clock.Advance(3499);
  EXPECT_TRUE(world.windows.IsWindow(program.lSplashHwnd));
  world.clock.Advance(1);
  EXPECT_FALSE(world.windows.IsWindow(program.lSplashHwnd));
  EXPECT_EQ(program.splash->hwnd, 0);
  world.clock.Advance(10000);  // an unloaded form gets no more ticks
}

TEST_F(Lifecycle, GoToItemsHavePlaceholdersAndTheCurrentDesktopIsDisabled) {
  world.store.sections["Settings"]["DeskName4"] = " Mail ";
  StartUp(program);
  Menu* goTo = program.mMenu.Find("mGoTo");
  ASSERT_EQ(goTo->items.size(), 10u);
  EXPECT_FALSE(goTo->items[0].Visible);
  EXPECT_EQ(goTo->items[3].Caption, "OMBRIXDESK3");
  EXPECT_FALSE(goTo->items[1].Enabled);
  EXPECT_TRUE(goTo->items[2].Enabled);
  EXPECT_EQ(MenuItemInfo(program, "OMBRIXDESK4").text, "Mail");
  EXPECT_EQ(MenuItemInfo(program, "OMBRIXDESK5").text, "Desktop 5");
  EXPECT_EQ(MenuItemInfo(program, "&Exit").text, "&Exit");
}

TEST_F(Lifecycle, ShowTrayAgainRecreatesTheIconWithTheDeskopCount) {
  const Hwnd progman = world.windows.Create(
      {.className = "Progman", .text = "Program Manager", .style = 0x96000000});
  StartUp(program);
  auto app = std::make_shared<clsPI>();
  auto win = std::make_shared<clsWI>();
  win->window_text = "Doc";
  app->oWin.Add(win);
  program.desk.Desk(1).opi.Add(app);
  program.lProgman = 0;
  const int removes = world.tray.removes;

  auto result = program.mainWindow->OnSubscribedMessage(1044, 0, 0);
  EXPECT_FALSE(result.bHandled);
  EXPECT_EQ(world.tray.removes, removes + 1);
  EXPECT_TRUE(world.tray.present);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 1 apps");
  EXPECT_EQ(program.lProgman, progman);

  world.tray.present = false;  // Explorer restarted: the icon is gone
  program.mainWindow->OnTaskbarCreated();
  EXPECT_TRUE(world.tray.present);
}

TEST_F(Lifecycle, ExitAnsweredYesShutsDown) {
  StartUp(program);
  world.ui.boxAnswers = {6};
  ChooseFromTrayMenu(menu_id::kExit);
  ASSERT_EQ(world.ui.boxes.back().text, "Exit Ombrix?");
  EXPECT_EQ(world.ui.boxes.back().style, 36u);
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_FALSE(world.tray.present);
  EXPECT_EQ(program.iUnloadMode, unload::kFormCode);
  EXPECT_FALSE(program.bUnloading);
}

TEST_F(Lifecycle, ExitAnsweredNoLeavesNoStandingRequest) {
  StartUp(program);
  world.ui.boxAnswers = {7};
  ChooseFromTrayMenu(menu_id::kExit);
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_FALSE(program.bExitRequested);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  EXPECT_TRUE(world.tray.present);
}

TEST_F(Lifecycle, CloseFromOutsideIsRefused) {
  StartUp(program);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_TRUE(world.tray.present);
  EXPECT_EQ(program.iUnloadMode, unload::kFormControlMenu);
}

TEST_F(Lifecycle, ShutDownIsRefusedWhileBusyUnlessTheSessionEnds) {
  StartUp(program);
  program.bExitRequested = true;
  struct Busy {
    const char* what;
    std::function<void(Program&, bool)> set;
  };
  const std::vector<Busy> busy = {
      {"dialog", [](Program& p, bool on) { p.lDialogHwnd = on ? 55 : 0; }},
      {"message box", [](Program& p, bool on) { p.bMsgBoxOpen = on; }},
      {"hot-key", [](Program& p, bool on) { p.bHotKeyBusy = on; }},
      {"switch", [](Program& p, bool on) { p.bSwitching = on; }},
  };
  for (const Busy& b : busy) {
    b.set(program, true);
    EXPECT_FALSE(UnloadMainWindow(program, unload::kFormCode)) << b.what;
    EXPECT_TRUE(world.tray.present) << b.what;
    b.set(program, false);
  }
  program.bSwitching = true;
  program.lDialogHwnd = 55;
  EXPECT_TRUE(program.mainWindow->OnQueryEndSession());
  program.mainWindow->OnEndSession(true);
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_FALSE(world.tray.present);
}

TEST_F(Lifecycle, CancelledSessionEndForgetsTheReason) {
  StartUp(program);
  EXPECT_TRUE(program.mainWindow->OnQueryEndSession());
  EXPECT_EQ(program.iUnloadMode, unload::kAppWindows);
  program.mainWindow->OnEndSession(false);
  EXPECT_EQ(program.iUnloadMode, 0);
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
}

TEST_F(Lifecycle, ShutDownStoresTheProgramPasswordScrambledOrDeletesIt) {
  world.store.sections["Settings"]["GlobalPass"] = EncodePassword("pw");
  StartUp(program);
  EXPECT_EQ(program.settings.sGlobalPass, "pw");
  program.mainWindow->OnQueryEndSession();
  program.mainWindow->OnEndSession(true);
  EXPECT_EQ(DecodePassword(world.store.sections["Settings"]["GlobalPass"]), "pw");

  sim::World w;
  Program p{w.platform()};
  w.store.sections["Settings"]["GlobalPass"] = "";
  StartUp(p);
  p.mainWindow->OnQueryEndSession();
  p.mainWindow->OnEndSession(true);
  EXPECT_EQ(w.store.sections["Settings"].count("GlobalPass"), 0u);
}

TEST_F(Lifecycle, TrayClicksWhileBusyOnlyBringTheDialogForward) {
  StartUp(program);
  const Hwnd dialog = OwnWindow("Dialog");
  program.lDialogHwnd = dialog;
  world.ui.choosePopupItem = [](const Menu&) { return menu_id::kExit; };
  program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  EXPECT_EQ(world.windows.foreground, dialog);
  EXPECT_TRUE(world.ui.popups.empty());
  program.lDialogHwnd = 0;
  program.bSwitching = true;
  program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  EXPECT_TRUE(world.ui.popups.empty());
}

TEST_F(Lifecycle, MessagesBeforeTheSubscriptionAreNotHandled) {
  MainWindow events(program);
  EXPECT_FALSE(events.OnSubscribedMessage(1044, 0, 0).bHandled);
  EXPECT_EQ(world.tray.adds, 0);
}

}  // namespace
}  // namespace ombrix
