#include <gtest/gtest.h>

#include "app/program.h"
#include "../contract/find_window_contract.h"
#include "core/discovery.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

// An application of process pid with windows of the handles given, each with the title given.
std::shared_ptr<clsPI> App(int32_t pid, std::initializer_list<Hwnd> windows,
                           const std::string& title = "") {
  auto app = std::make_shared<clsPI>();
  app->pID = pid;
  for (Hwnd h : windows) {
    auto w = std::make_shared<clsWI>();
    w->lHwnd = h;
    w->window_text = title;
    app->oWin.Add(w);
  }
  return app;
}

class Discovery : public ::testing::Test {
 protected:
  Discovery() { program.desk.CreateDesktops(); }
  sim::World world;
  Program program{world.platform()};

  const clsDesktop& Desk(int n) { return program.desk.Desk(n); }
};

TEST_F(Discovery, UnownedWindowsBecomeApplicationsAndOwnedOnesJoinTheFirstOfTheirProcess) {
  const Hwnd first = world.Open("Mail", 10);
  const Hwnd second = world.Open("Mail 2", 10);  // now on top
  const Hwnd dialog = world.Open("Options", 10, first);
  const Hwnd lonelyOwned = world.Open("Progress", 20, 999);
  ScanDesktop(program, 1);
  const clsDesktop& d = Desk(1);
  ASSERT_EQ(d.opi.Count(), 3);
  // z-order from the top: second, then first; the owned ones come in the second pass
  EXPECT_EQ(d.opi[1].oWin[1].lHwnd, second);
  EXPECT_EQ(d.opi[1].oWin.Count(), 2);
  EXPECT_EQ(d.opi[1].oWin[2].lHwnd, dialog);
  EXPECT_EQ(d.opi[2].oWin[1].lHwnd, first);
  EXPECT_EQ(d.opi[3].pID, 20);
  EXPECT_EQ(d.opi[3].oWin[1].lHwnd, lonelyOwned);
  EXPECT_EQ(d.opi[1].thread, 11);
}

// On real windows (tests/e2e/switching.sh): untitled and top-most windows stay on screen.
TEST_F(Discovery, FiltersLeaveOutWhatIsNotManaged) {
  world.Open("Mine", world.process.processId);
  world.windows.Create(
      {.className = "Hidden", .text = "Hidden", .processId = 30, .visible = false});
  world.windows.Create({.className = "Shell_TrayWnd", .text = "Bar", .processId = 33});
  world.windows.Create({.className = "WorkerW", .text = "W", .processId = 33});
  world.windows.Create({.className = "__winex11_standalone_tray", .text = "Tray", .processId = 33});
  world.windows.Create(
      {.className = "Progman", .text = "Program Manager", .style = 0x96000000, .processId = 33});
  const Hwnd framedProgman = world.windows.Create(
      {.className = "Progman", .text = "Old shell", .style = 0x14CF0000, .processId = 34});
  ScanDesktop(program, 1);
  ASSERT_EQ(Desk(1).opi.Count(), 1);
  EXPECT_EQ(Desk(1).opi[1].oWin[1].lHwnd, framedProgman);
}

TEST_F(Discovery, SettingsDecideUntitledAndTopMostWindowsAndTitlesAreTrimmedAndCut) {
  program.settings.bIgnoreNoTitle = false;
  program.settings.bIgnoreTopMost = false;
  const Hwnd untitled = world.Open("", 40);
  const Hwnd flat = world.windows.Create(
      {.className = "Flat", .text = "Flat", .rect = {10, 10, 10, 300}, .processId = 41});
  const Hwnd topMost = world.windows.Create(
      {.className = "Clock", .text = "Clock", .exStyle = 0x8, .processId = 42});
  const Hwnd padded = world.Open("   Padded   ", 43);
  const Hwnd longTitle = world.Open(std::string(1500, 'x'), 44);
  ScanDesktop(program, 1);
  const clsDesktop& d = Desk(1);
  ASSERT_EQ(d.opi.Count(), 5);
  auto stateOf = [&](Hwnd h) { return d.opi[d.GetProcessIdxByHandle(h)].oWin[1].iHideFromList; };
  EXPECT_EQ(stateOf(untitled), kNoTitle);
  EXPECT_EQ(stateOf(flat), kZeroSize);
  EXPECT_EQ(stateOf(topMost), kListed);
  EXPECT_EQ(d.opi[d.GetProcessIdxByHandle(padded)].oWin[1].window_text, "Padded");
  EXPECT_EQ(d.opi[d.GetProcessIdxByHandle(longTitle)].oWin[1].window_text.size(), 1023u);
}

TEST_F(Discovery, WindowsBackOnScreenAreTakenFromTheFirstApplicationOfTheirProcessElsewhere) {
  const Hwnd returning = world.Open("Editor", 60);
  const Hwnd stays = world.Open("Editor 2", 60);
  world.windows.Get(stays)->visible = false;
  // desktop 3 holds one application with both windows, desktop 4 one with only the first
  program.desk.Desk(3).opi.Add(App(60, {returning, stays}));
  program.desk.Desk(4).opi.Add(App(60, {returning}));
  ScanDesktop(program, 1);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  ASSERT_EQ(Desk(3).opi.Count(), 1);
  EXPECT_EQ(Desk(3).opi[1].oWin.Count(), 1);
  EXPECT_EQ(Desk(3).opi[1].oWin[1].lHwnd, stays);
  EXPECT_EQ(Desk(4).opi.Count(), 0);  // its only window left, so the application went
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(returning), 1);
}

TEST(SimWindowSystem, FindWindowKeepsTheContract) {
  sim::World world;
  world.Open("Other", 10);
  const Hwnd window = world.Open("Find me", 11, 0, "OmbrixFindTest");
  world.Open("", 12);
  ExpectFindWindowContract(world.windows, window);
}

TEST(WinOrder, OrdersApplicationsByTheirNewestTrackedWindow) {
  // Tracker: B, A, C, B (oldest first); list A, B, C, D gives D, A, C, B.
  clsDesktop desk;
  desk.opi.Add(App(1, {10}, "A"));
  desk.opi.Add(App(2, {20, 21}, "B"));
  desk.opi.Add(App(3, {30}, "C"));
  desk.opi.Add(App(4, {40}, "D"));
  clsWinOrder order;
  for (Hwnd h : {20, 10, 30, 21}) order.WindowCreated(h);
  order.WindowCreated(0);
  order.WindowDestroyed(999);
  EXPECT_EQ(order.Count(), 4u);
  auto ordered = [&] {
    order.OrderWindows(desk);
    std::string result;
    for (const auto& app : desk.opi) result += app->GetText(1);
    return result;
  };
  EXPECT_EQ(ordered(), "DACB");
  order.WindowCreated(10);  // reported again: A becomes the newest
  EXPECT_EQ(ordered(), "DCBA");
  for (Hwnd h : {10, 30, 20, 21}) order.WindowDestroyed(h);
  EXPECT_EQ(ordered(), "DCBA");  // nothing tracked: the order stays
}

}  // namespace
}  // namespace ombrix
