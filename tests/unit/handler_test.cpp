#include <gtest/gtest.h>

#include "events/hotkeys.h"
#include "events/message_filter.h"
#include "rules/rule.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "core/discovery.h"
#include "switching/move.h"
#include "switching/switch.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class Handler : public Started {};

TEST_F(Handler, HotKeysFollowTheirModifierSettings) {
  program.settings.bAltNumbers = true;
  EXPECT_TRUE(Send(1025, 51).bHandled);
  EXPECT_EQ(program.desk.iCurDesk, 3);
  program.settings.bAltNumbers = false;
  program.settings.bAlt = true;
  Send(1025, 52);  // digits off: nothing
  EXPECT_EQ(program.desk.iCurDesk, 3);
  Send(1025, 37);  // arrows on
  EXPECT_EQ(program.desk.iCurDesk, 2);
  Send(1026, 49);  // Ctrl keys are off by default
  EXPECT_EQ(program.desk.iCurDesk, 2);
  Send(1027, 54);  // Win+digit is on by default
  EXPECT_EQ(program.desk.iCurDesk, 6);
  EXPECT_TRUE(Send(1027, 65).bHandled);  // unknown key, but the message is still consumed
}

TEST_F(Handler, HotKeyDeliveredInsideTheRulePassPumpSwitchesAndThePassGoesOn) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  // While the pass for B's notice pumps messages, Win+2 arrives.
  world.ui.queue.push_back({program.lMainHwnd, 1027, 50, 0});
  Send(1034, b);
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_FALSE(Visible(a) || Visible(b));
  EXPECT_EQ(Desk(1).opi.Count(), 2);
  EXPECT_EQ(Desk(2).opi.Count(), 0);
}

TEST_F(Handler, RequestsSentWhileARulePassWaitsOnAWindowAreRefusedAsBusy) {
  clsRule maximize;
  maximize.bWinText = true;
  maximize.sWinText = "B";
  maximize.iWinTextMode = TextCompare::EqualTo;
  maximize.iAction = RuleAction::Maximize;
  program.colRules.Add(maximize.Clone());
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  std::vector<int32_t> replies;
  world.windows.duringShow = [&](Hwnd shown, int) {
    if (shown != b) return;
    replies.push_back(program.mainWindow->OnSubscribedMessage(msg::kGoToDesktop, 2, 0).lReturn);
    replies.push_back(program.mainWindow->OnSubscribedMessage(msg::kCurrentDesktop, 0, 0).lReturn);
  };
  Send(1034, b);
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(replies, (std::vector<int32_t>{reply::kBusy, 1}));
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a) && Visible(b));
  EXPECT_EQ(program.mainWindow->OnSubscribedMessage(msg::kGoToDesktop, 2, 0).lReturn, reply::kDone);
}

TEST_F(Handler, WindowShownByAnApplicationOfAHiddenDesktopIsHiddenAgain) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd a2 = world.Open("A tool", 10, a);
  const Hwnd b = world.Open("B", 11);
  ScanDesktop(program, 1);
  MoveApplication(program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(a)), 4);
  EXPECT_FALSE(Visible(a));
  world.windows.Get(a)->visible = true;  // the program shows its window by itself
  const size_t tracked = program.oWinOrder.Count();
  Send(1034, a);
  EXPECT_FALSE(Visible(a));
  EXPECT_FALSE(Visible(a2));
  EXPECT_TRUE(Visible(b));
  EXPECT_EQ(program.oWinOrder.Count(), tracked);
  EXPECT_FALSE(program.notices.rulePassPending);
}

TEST_F(Handler, ActivationRemembersOnlyVisibleWindowsOfOtherProcesses) {
  const Hwnd mine = world.Open("Mine", world.process.processId);
  const Hwnd hidden = world.Open("Hidden", 60);
  world.windows.Get(hidden)->visible = false;
  const Hwnd theirs = world.Open("Theirs", 61);
  Activate(mine);
  Activate(hidden);
  EXPECT_EQ(program.lActiveHwnd, 0);
  Activate(theirs);
  EXPECT_EQ(program.lActiveHwnd, theirs);
}

TEST_F(Handler, ShellRestartIsNoticedAtTheNextCreatedWindow) {
  world.windows.Create({.className = "Progman", .text = "Program Manager", .style = 0x96000000});
  world.tray.present = false;  // the new shell has no icon of ours
  Send(1034, world.Open("X", 70));
  EXPECT_TRUE(world.tray.present);
  EXPECT_NE(program.lProgman, 0);
}

TEST_F(Handler, TrayShiftClicksStepThroughTheDesktopsAndWrap) {
  HoldShift(true);
  program.mainWindow->OnTrayMouse(514);
  EXPECT_EQ(program.desk.iCurDesk, 9);
  program.mainWindow->OnTrayMouse(517);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  program.mainWindow->OnTrayMouse(517);
  EXPECT_EQ(program.desk.iCurDesk, 2);
  program.mainWindow->OnTrayMouse(515);  // double clicks do nothing
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_TRUE(world.ui.popups.empty());
}

TEST_F(Handler, GoToMenuItemSwitches) {
  world.ui.choosePopupItem = [](const Menu&) { return menu_id::kGoToFirst + 6; };
  program.mainWindow->OnTrayMouse(517);
  EXPECT_EQ(program.desk.iCurDesk, 7);
  ASSERT_EQ(world.ui.popups.size(), 1u);
  const Menu& goTo = world.ui.popups[0].items[0];
  EXPECT_EQ(goTo.items[2].Caption, "Desktop 2");
}

TEST(HotKeys, LibraryIsToldTheGroupsAndIgnoresAllWhenNoneOrDisabled) {
  sim::World world;
  Program program{world.platform()};
  program.bHooksAvailable = true;
  program.mMenu = BuildMainMenu();
  ApplyHotKeys(program);  // defaults: the three Win groups
  EXPECT_EQ(world.hooks.flags["TakeWinArrows"], 1);
  EXPECT_EQ(world.hooks.flags["TakeWinNum"], 1);
  EXPECT_EQ(world.hooks.flags["TakeAltNum"], 0);

  program.settings = Settings{};
  program.settings.bWin = program.settings.bWinNumbers = false;  // only Shift+Win+digit
  ApplyHotKeys(program);
  EXPECT_EQ(world.hooks.flags["TakeWinNum"], 1);
  EXPECT_EQ(world.hooks.flags["TakeWinArrows"], 0);

  program.settings.bShiftWinNumbers = false;  // nothing on at all
  ApplyHotKeys(program);
  EXPECT_EQ(world.hooks.flags["IgnoreHook"], 1);

  program.settings = Settings{};
  ToggleDisableHotKeys(program);
  EXPECT_EQ(world.hooks.flags["IgnoreHook"], 1);
  ToggleDisableHotKeys(program);
  EXPECT_EQ(world.hooks.flags["IgnoreHook"], 0);
  EXPECT_EQ(world.hooks.flags["TakeWinNum"], 1);
}

TEST(HookLibrary, MissingLibraryOrHookIsReportedOnceAndTheProgramRuns) {
  struct Case {
    bool loadable, hookable;
    std::vector<std::string> calls;  // what the library is told, start to exit
  };
  for (const Case& c : {Case{false, true, {}}, Case{true, false, {"SetHook", "UnHook"}}}) {
    sim::World world;
    world.store.sections["Settings"]["FirstUse"] = "0";
    world.hooks.loadable = c.loadable;
    world.hooks.hookable = c.hookable;
    Program program{world.platform()};
    ASSERT_EQ(StartUp(program), StartOutcome::Running);
    ASSERT_EQ(world.ui.boxes.size(), 1u) << c.loadable;
    EXPECT_EQ(world.ui.boxes[0].text, msgs::kHotKeysUnavailable.text);
    EXPECT_FALSE(world.hooks.hooked);
    EXPECT_TRUE(world.tray.present);
    world.ui.boxAnswers = {6};
    world.ui.choosePopupItem = [](const Menu&) { return menu_id::kExit; };
    program.mainWindow->OnTrayMouse(517);
    EXPECT_TRUE(world.ui.mainDestroyed);
    EXPECT_EQ(world.hooks.calls, c.calls) << c.loadable;
  }
}

TEST(HookLibrary, HookIsSetAtStartWithTheMainWindowAndRemovedBeforeAnyWindowIsShown) {
  sim::World world;
  const Hwnd a = world.Open("A", 10);
  Program program{world.platform()};
  ASSERT_EQ(StartUp(program), StartOutcome::Running);
  EXPECT_EQ(world.hooks.notify, program.lMainHwnd);
  EXPECT_EQ(world.hooks.calls.front(), "SetHook");
  int16_t two = 2;
  SwitchDesktop(program, two);
  ASSERT_FALSE(world.windows.IsWindowVisible(a));
  bool hookedAtFirstShow = true;
  world.windows.duringShow = [&](Hwnd, int) { hookedAtFirstShow = world.hooks.hooked; };
  program.mainWindow->OnQueryEndSession();
  program.mainWindow->OnEndSession(true);
  EXPECT_FALSE(hookedAtFirstShow);
  EXPECT_TRUE(world.windows.IsWindowVisible(a));
}

TEST(MessageFilter, OnlyTheShellsMessagesCrossIntoAnElevatedInstance) {
  using enum IncomingMessage;
  for (IncomingMessage message : {HookNotice, Request, SecondInstance, TrayCallback, TaskbarCreated}) {
    const bool shell = message == TrayCallback || message == TaskbarCreated;
    EXPECT_EQ(AdmitFromLowerIntegrity(message, true), shell) << static_cast<int>(message);
    EXPECT_FALSE(AdmitFromLowerIntegrity(message, false)) << static_cast<int>(message);
  }
}

}  // namespace
}  // namespace ombrix
