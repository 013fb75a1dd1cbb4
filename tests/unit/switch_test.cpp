#include "switching/switch.h"

#include <gtest/gtest.h>

#include "app/desktop_record.h"
#include "core/discovery.h"
#include "heart_fixture.h"
#include "switching/move.h"
#include "ui/indicator.h"

namespace ombrix {
namespace {

class Switching : public Started {
 protected:
  void Go(int16_t target, Direction direction = Direction::None) {
    SwitchDesktop(program, target, direction);
  }
};

TEST_F(Switching, WindowsOfTheLeftDesktopHideAndComeBackInOrderWithTheActiveOneOnTop) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  const Hwnd c = world.Open("C", 12);
  for (Hwnd h : {a, b, c}) Send(1034, h);  // created in this order
  Activate(b);
  Go(2);
  EXPECT_FALSE(Visible(a) || Visible(b) || Visible(c));
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_EQ(Desk(1).lTopHwnd, b);
  EXPECT_EQ(Desk(1).opi.Count(), 3);

  const Hwnd other = world.Open("Other", 20);
  Go(1);
  EXPECT_TRUE(Visible(a) && Visible(b) && Visible(c));
  EXPECT_FALSE(Visible(other));
  EXPECT_EQ(Desk(2).GetProcessIdxByHandle(other), 1);
  EXPECT_EQ(world.windows.foreground, b);
  EXPECT_EQ(program.lActiveHwnd, b);
  // b raised on top, then the newest created; the main window at the bottom
  const auto order = world.windows.TopLevelWindows();
  EXPECT_EQ(order.front(), b);
  EXPECT_EQ(order.back(), program.lMainHwnd);
  auto at = [&](Hwnd h) { return std::find(order.begin(), order.end(), h) - order.begin(); };
  EXPECT_LT(at(c), at(a));
}

TEST_F(Switching, TrayIconTooltipMenuAndIndicatorFollowTheSwitch) {
  world.Open("A", 10);
  Desk(3).sDeskName = "Work";
  world.tray.tooltips.clear();
  Go(3);
  EXPECT_EQ(world.tray.icon, world.ui.DesktopIcon(3));
  // While the switch runs the tooltip names its target.
  EXPECT_EQ(world.tray.tooltips,
            (std::vector<std::string>{"Changing desktop to 3 ...", "DeskTop 3 -> 0 apps"}));
  for (const Menu& item : program.mMenu.Find("mGoTo")->items) {
    if (item.Index > 0) {
      EXPECT_EQ(item.Enabled, item.Index != 3) << item.Index;
    }
  }
  ASSERT_TRUE(program.indicator);
  EXPECT_EQ(Ctl(*program.indicator, "lblDesktop").Caption, " Work ");
  Go(1);
  EXPECT_EQ(world.tray.tooltip, "DeskTop 1 -> 1 apps");
}

TEST_F(Switching, RefusedSwitchesChangeNothing) {
  world.Open("A", 10);
  const int calls = static_cast<int>(world.windows.showCalls.size());
  const std::string tooltip = world.tray.tooltip;
  Go(1);
  Go(0);
  Go(10);
  Go(-2, Direction::Left);  // cycling is off
  {
    const BusyState::Guard switching = program.busy.Enter(Busy::Switching);
    Go(4);
  }
  EXPECT_EQ(static_cast<int>(world.windows.showCalls.size()), calls);
  EXPECT_EQ(world.tray.tooltip, tooltip);
  EXPECT_FALSE(program.indicator);
  EXPECT_EQ(program.desk.iCurDesk, 1);
}

TEST_F(Switching, ArrowsMoveOnTheGridAndWrapOnlyWithCycling) {
  struct Case {
    int16_t from;
    int vk;
    bool cycle;
    int16_t expected;
  };
  const std::vector<Case> cases = {
      {1, 37, false, 1}, {1, 37, true, 9},  {9, 39, false, 9}, {9, 39, true, 1},
      {2, 38, true, 8},  {8, 40, true, 2},  {2, 38, false, 2}, {3, 39, false, 4},
      {5, 38, false, 2}, {5, 40, false, 8}, {7, 40, false, 7}, {4, 53, false, 5},
  };
  for (const Case& c : cases) {
    sim::World w;
    w.store.sections["Settings"]["FirstUse"] = "0";
    w.store.sections["Settings"]["CicleDesktops"] = c.cycle ? "1" : "0";
    Program p{w.platform()};
    StartUp(p);
    int16_t start = c.from;
    SwitchDesktop(p, start);
    EXPECT_TRUE(SwitchByKey(p, c.vk));
    EXPECT_EQ(p.desk.iCurDesk, c.expected) << c.from << " key " << c.vk << " cycle " << c.cycle;
  }
  EXPECT_FALSE(SwitchByKey(program, 65));
  EXPECT_FALSE(SwitchByKey(program, 48));
}

TEST_F(Switching, MinimizedActiveWindowIsNotRememberedAndAClosedTopWindowIsNotActivated) {
  const Hwnd a = world.Open("A", 10);
  Activate(a);
  world.windows.Get(a)->minimized = true;
  Go(2);
  EXPECT_EQ(Desk(1).lTopHwnd, 0);
  Go(1);
  EXPECT_TRUE(world.windows.IsIconic(a));

  world.windows.Get(a)->minimized = false;
  Activate(a);
  Go(2);
  EXPECT_EQ(Desk(1).lTopHwnd, a);
  world.windows.Destroy(a);
  const Hwnd b = world.Open("B", 11);
  Activate(b);
  Go(1);
  EXPECT_EQ(program.lActiveHwnd, b);  // kept: the remembered window is gone
}

TEST_F(Switching, FocusIsTakenThroughTheForegroundThread) {
  const Hwnd a = world.Open("A", 10);
  Activate(a);
  world.windows.foreground = a;
  world.windows.attachedThreads.clear();
  TakeFocus(program);
  EXPECT_EQ(world.windows.focus, program.lMainHwnd);
  EXPECT_TRUE(world.windows.attachedThreads.empty());  // detached again
  world.windows.focus = 0;
  world.windows.foreground = program.lMainHwnd;  // our own thread: nothing to do
  world.windows.Get(program.lMainHwnd)->threadId = world.process.threadId;
  TakeFocus(program);
  EXPECT_EQ(world.windows.focus, 0);

  // A switch brings the remembered window to the front, taking the focus first only where the
  // system refuses it the foreground.
  world.windows.Get(program.lMainHwnd)->threadId = world.process.threadId + 1;
  Activate(a);
  world.windows.foreground = a;
  Go(2);
  Go(1);
  EXPECT_EQ(world.windows.foreground, a);
  EXPECT_EQ(world.windows.focus, 0);
  world.windows.foregroundLocked = true;
  Go(2);
  // Another program's window (not managed: it stays on top) holds the foreground.
  world.windows.foreground = world.windows.Create(
      {.className = "Clock", .text = "Clock", .exStyle = 0x8, .processId = 88, .threadId = 89});
  Go(1);
  EXPECT_EQ(world.windows.foreground, a);
  EXPECT_EQ(world.windows.focus, program.lMainHwnd);
  EXPECT_TRUE(world.windows.attachedThreads.empty());
}

TEST_F(Switching, ShellFolderWindowsAreListedWhileHiddenBySwitchOrMove) {
  const Hwnd folder = world.Open("Docs", 30, 0, "CabinetWClass");
  Go(2);
  EXPECT_TRUE(program.colHiddenExplorer.Contains(folder));
  EXPECT_EQ(Send(1037, folder).lReturn, 1);
  EXPECT_TRUE(Send(1037, folder).bHandled);
  Go(1);
  EXPECT_FALSE(program.colHiddenExplorer.Contains(folder));
  EXPECT_EQ(Send(1037, folder).lReturn, 0);
  MoveApplication(program, 1, 1, 2);
  EXPECT_TRUE(program.colHiddenExplorer.Contains(folder));
  MoveApplication(program, 2, 1, 1);
  EXPECT_FALSE(program.colHiddenExplorer.Contains(folder));
}

// An elevated program's windows, or those of a program that vetoes its hiding, stay on screen:
// they are on every desktop, listed where the user is, and the user is told once per program.
TEST_F(Switching, WindowsThatRefuseToHideStayListedWhereTheUserIsAndAreNamedOnce) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd hung = world.Open("Hung", 11);
  world.windows.Get(hung)->hung = true;  // hidden when it answers again: not a refusal
  const Hwnd admin = world.Open("Task Manager", 20);
  const Hwnd again = world.Open("Task Manager", 21);
  for (Hwnd h : {admin, again}) world.windows.Get(h)->refusesHide = true;
  world.process.programs = {{20, "Taskmgr.exe"}, {21, "Taskmgr.exe"}};
  Go(2);
  EXPECT_FALSE(Visible(a) || Visible(hung));
  EXPECT_TRUE(Visible(admin));
  EXPECT_EQ(Desk(1).opi.Count(), 2);
  EXPECT_EQ(Desk(2).opi.Count(), 2);
  const auto record =
      DecodeDesktopRecord(world.files.files["C:\\Program Files\\Ombrix\\Ombrix.desktops"]);
  ASSERT_TRUE(record);
  for (const RecordedWindow& w : record->windows) {
    EXPECT_EQ(w.desk, w.hwnd == admin || w.hwnd == again ? 2 : 1) << w.hwnd;
  }
  ASSERT_EQ(world.tray.balloons.size(), 1u);
  EXPECT_EQ(world.tray.balloons[0].text,
            "Taskmgr.exe stays on screen on every desktop: only Ombrix started with administrator "
            "rights can manage it.");

  const auto hides = [&] {
    return std::count(world.windows.showCalls.begin(), world.windows.showCalls.end(),
                      std::make_pair(admin, 0));
  };
  const auto tried = hides();
  Go(3);
  Go(1);
  MoveApplication(program, 1, static_cast<int16_t>(Desk(1).GetProcessIdxByHandle(admin)), 4);
  EXPECT_EQ(hides(), tried);  // not asked again
  EXPECT_TRUE(Visible(a) && Visible(admin));
  EXPECT_GT(Desk(1).GetProcessIdxByHandle(admin), 0);
  EXPECT_EQ(Desk(4).opi.Count(), 0);
  EXPECT_EQ(world.tray.balloons.size(), 1u);
}

// Without the hook library, or while its notices are dropped, no destruction is reported: the
// tracker forgets what is gone at each scan instead of growing as long as the program runs.
TEST_F(Switching, TrackerForgetsWindowsGoneWithoutANotice) {
  world.Open("Kept", 10);
  std::vector<Hwnd> brief;
  for (uint32_t i = 0; i < 300; ++i) brief.push_back(world.Open("Brief", 20 + i));
  Go(2);
  Go(1);  // the switch tracks every window it shows
  EXPECT_EQ(program.oWinOrder.Count(), 301u);
  for (Hwnd h : brief) world.windows.Destroy(h);
  ScanDesktop(program, 1);
  EXPECT_EQ(program.oWinOrder.Count(), 1u);
}

TEST_F(Switching, IndicatorSizesToItsTextAndGoesAfterOneSecond) {
  Desk(2).sDeskName = "A rather long desktop name";
  Go(2);
  frmSwitchDesk& indicator = *program.indicator;
  const Control& label = Ctl(indicator, "lblDesktop");
  const int textWidth = world.forms.MeasureText(label.font, label.Caption).cx;
  EXPECT_EQ(indicator.width, textWidth + 2 * 4 + 16);
  EXPECT_EQ(world.windows.TopLevelWindows().front(), indicator.hwnd);

  world.clock.Advance(600);
  Go(1);  // the second switch's name gets a full second
  EXPECT_EQ(label.Caption, " Desktop 1 ");
  world.clock.Advance(600);
  EXPECT_TRUE(Visible(indicator.hwnd));
  world.clock.Advance(400);
  EXPECT_FALSE(Visible(indicator.hwnd));
  Go(3);  // the same window serves every switch
  EXPECT_TRUE(Visible(indicator.hwnd));
  world.clock.Advance(1000);
  EXPECT_FALSE(Visible(indicator.hwnd));

  program.settings.bShowCurDesk = false;
  const int loads = world.forms.loads;
  Go(4);
  EXPECT_EQ(world.forms.loads, loads);
}

class Moving : public Started {};

TEST_F(Moving, MovedApplicationHidesAndBecomesTheOnlyAppsTopWindow) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd dialog = world.Open("A dialog", 10, a);
  const Hwnd b = world.Open("B", 11);
  ScanDesktop(program, 1);
  const int writes = world.files.replaces;
  const int from = Desk(1).GetProcessIdxByHandle(a);
  MoveApplication(program, 1, static_cast<int16_t>(from), 4);
  EXPECT_EQ(world.files.replaces, writes + 2);  // the recovery file and the desktop record
  EXPECT_FALSE(Visible(a) || Visible(dialog));
  EXPECT_TRUE(Visible(b));
  EXPECT_EQ(Desk(4).opi.Count(), 1);
  EXPECT_EQ(Desk(4).lTopHwnd, a);
  MoveApplication(program, 1, 1, 4);  // a second one leaves the top window alone
  EXPECT_EQ(Desk(4).lTopHwnd, a);
  EXPECT_EQ(Desk(4).opi[2].oWin[1].lHwnd, b);

  MoveApplication(program, 4, 1, 1);  // to the current desktop: shown at once
  EXPECT_TRUE(Visible(a) && Visible(dialog));
  EXPECT_EQ(Desk(1).opi.Count(), 1);
}

TEST_F(Moving, InvalidMovesChangeNothingAndWriteNothing) {
  world.Open("A", 10);
  ScanDesktop(program, 1);
  const int writes = world.files.replaces;
  MoveApplication(program, 1, 1, 1);
  MoveApplication(program, 1, 1, 0);
  MoveApplication(program, 1, 1, 10);
  MoveApplication(program, 1, 5, 2);
  EXPECT_EQ(world.files.replaces, writes);
  EXPECT_EQ(Desk(1).opi.Count(), 1);
}

TEST_F(Moving, ShiftWinDigitMovesTheLastActiveApplication) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  HoldShift(true);
  EXPECT_TRUE(Send(1027, 53).bHandled);  // no active window yet: nothing happens
  EXPECT_TRUE(Visible(a));
  Activate(a);
  Send(1027, 53);
  EXPECT_FALSE(Visible(a));
  EXPECT_TRUE(Visible(b));
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_EQ(Desk(5).GetProcessIdxByHandle(a), 1);
  Send(1027, 37);  // Shift with an arrow does nothing
  EXPECT_EQ(program.desk.iCurDesk, 1);
  Activate(b);
  Send(1027, 49);  // the current desktop's digit does nothing
  EXPECT_TRUE(Visible(b));
}

}  // namespace
}  // namespace ombrix
