// Requests other programs send to the main window: go to a desktop, move an application, ask
// for the current desktop, exit.
#include <gtest/gtest.h>

#include <functional>

#include "heart_fixture.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

const std::string kRecoveryPath = "C:\\Program Files\\Ombrix\\Ombrix.restore";
const std::string kDesktopRecordPath = "C:\\Program Files\\Ombrix\\Ombrix.desktops";

class Requests : public Started {
 protected:
  int32_t Ask(uint32_t message, int32_t wParam = 0, int32_t lParam = 0) {
    const MessageResult result = program.mainWindow->OnSubscribedMessage(message, wParam, lParam);
    EXPECT_TRUE(result.bHandled) << message;
    return result.lReturn;
  }
  void GoTo(int16_t desk) { SwitchDesktop(program, desk); }
};

// Going to a desktop, by number or a step, and the replies through the command line:
// tests/unit/command_line_test.cpp. Numbers no command line sends are refused as well.
TEST_F(Requests, GoToRefusesWhatIsNotADesktop) {
  for (int32_t bad : {0, 10, -1, 51}) EXPECT_EQ(Ask(msg::kGoToDesktop, bad), reply::kBadDesktop);
  for (int32_t bad : {0, 2, -9}) EXPECT_EQ(Ask(msg::kStepDesktop, bad), reply::kBadDesktop);
  EXPECT_EQ(program.desk.iCurDesk, 1);
}

TEST_F(Requests, EveryDesktopChangeIsPostedToEachSubscriberUntilItGoes) {
  const Hwnd bar = world.Open("Status bar", 20);
  const Hwnd widget = world.Open("Widget", 21);
  EXPECT_EQ(Ask(msg::kSubscribe, bar), reply::kDone);
  EXPECT_EQ(Ask(msg::kSubscribe, bar), reply::kDone);  // once only
  EXPECT_EQ(Ask(msg::kSubscribe, widget), reply::kDone);
  EXPECT_EQ(Ask(msg::kSubscribe, 0x7777), reply::kUnknownWindow);
  const uint32_t changed = world.windows.RegisterMessage("OmbrixDesktopChanged");
  const auto newsFor = [&](Hwnd hwnd) {
    std::vector<std::pair<int32_t, int32_t>> news;
    for (const auto& posted : world.windows.posted) {
      if (posted.hwnd == hwnd && posted.message == changed) {
        news.emplace_back(posted.wParam, posted.lParam);
      }
    }
    return news;
  };
  using News = std::vector<std::pair<int32_t, int32_t>>;

  // Whatever switches: a request, a hot-key, the tray menu, a step.
  EXPECT_EQ(Ask(msg::kGoToDesktop, 2), reply::kDone);
  Ask(msg::kGoToDesktop, 2);  // no change, no news
  HoldShift(false);
  Send(msg::kHotKeyWin, '3');
  OnGoToItem(program, 7);
  EXPECT_EQ(Ask(msg::kStepDesktop, -1), 6);
  EXPECT_EQ(newsFor(bar), (News{{2, 1}, {3, 2}, {7, 3}, {6, 7}}));
  EXPECT_EQ(newsFor(widget), newsFor(bar));
  for (const auto& sent : world.windows.sent) EXPECT_NE(sent.message, changed) << "never sent";

  EXPECT_EQ(Ask(msg::kUnsubscribe, widget), reply::kDone);
  world.windows.Destroy(bar);
  GoTo(1);
  GoTo(2);
  EXPECT_EQ(newsFor(widget).size(), 4u);
  EXPECT_EQ(newsFor(bar).size(), 5u) << "a window that is gone is dropped at the first failed post";

  // Beyond the cap a window is refused until one of the subscribers goes.
  std::vector<Hwnd> many;
  while (many.size() < DesktopSubscribers::kMaxSubscribers) {
    many.push_back(world.Open("Listener", 30));
    ASSERT_EQ(Ask(msg::kSubscribe, many.back()), reply::kDone);
  }
  EXPECT_EQ(Ask(msg::kSubscribe, widget), reply::kSubscribersFull);
  world.windows.Destroy(many.front());
  EXPECT_EQ(Ask(msg::kSubscribe, widget), reply::kDone);
}

TEST_F(Requests, MoveTakesTheWholeApplicationOfTheWindowAndSaysWhyItCannot) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd tool = world.Open("A tool", 10, a);
  const Hwnd b = world.Open("B", 11);
  HoldShift(false);
  EXPECT_EQ(Ask(msg::kMoveApplication, tool, 4), reply::kDone);
  EXPECT_FALSE(Visible(a) || Visible(tool));
  EXPECT_TRUE(Visible(b));
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_NE(Desk(4).GetProcessIdxByHandle(a), -1);
  EXPECT_TRUE(world.files.FileExists(kRecoveryPath));

  EXPECT_EQ(Ask(msg::kMoveApplication, a, 2), reply::kOtherDesktop);
  EXPECT_EQ(Ask(msg::kMoveApplication, 0x7777, 2), reply::kUnknownWindow);
  EXPECT_EQ(Ask(msg::kMoveApplication, program.lMainHwnd, 2), reply::kUnknownWindow);
  EXPECT_EQ(Ask(msg::kMoveApplication, b, 0), reply::kBadDesktop);
  EXPECT_NE(Desk(4).GetProcessIdxByHandle(a), -1);
  EXPECT_TRUE(Visible(b));

  // A window opened since the last look at the desktop is found by the rescan.
  const Hwnd c = world.Open("C", 12);
  EXPECT_EQ(Ask(msg::kMoveApplication, c, 1), reply::kDone);  // already there
  EXPECT_TRUE(Visible(c));
  EXPECT_EQ(Ask(msg::kMoveApplication, c, 9), reply::kDone);
  EXPECT_FALSE(Visible(c));
}

TEST_F(Requests, ExitIsTheNormalShutDownWithoutQuestionUnlessAProgramPasswordGuardsIt) {
  const Hwnd a = world.Open("A", 10);
  GoTo(2);
  const Hwnd b = world.Open("B", 11);
  GoTo(3);
  ASSERT_FALSE(Visible(a) || Visible(b));
  ASSERT_TRUE(world.files.FileExists(kDesktopRecordPath));
  program.settings.sGlobalPass = "admin";
  bool asked = false;
  world.ui.userActions.push_back([&] {
    asked = true;
    Form* prompt = world.forms.Loaded("frmPassword");
    if (prompt != nullptr) prompt->OnClick(Ctl(*prompt, "btnCancel"));
  });
  EXPECT_EQ(Ask(msg::kExitProgram), reply::kPasswordProtected);
  EXPECT_FALSE(asked) << "nobody may be at the screen to answer";
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_FALSE(Visible(a) || Visible(b));

  program.settings.sGlobalPass.clear();
  EXPECT_EQ(Ask(msg::kExitProgram), reply::kDone);
  EXPECT_FALSE(asked);
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_TRUE(Visible(a) && Visible(b));
  EXPECT_FALSE(world.files.FileExists(kDesktopRecordPath));
  EXPECT_TRUE(world.ui.boxes.empty());
}

TEST_F(Requests, RefusedWhileBusyWithoutChangingTheExitTheUserAsked) {
  const Hwnd a = world.Open("A", 10);
  {
    const BusyState::Guard switching = program.busy.Enter(Busy::Switching);
    EXPECT_EQ(Ask(msg::kMoveApplication, a, 2), reply::kBusy);
    EXPECT_EQ(Ask(msg::kCurrentDesktop), 1);
    // Shut-down that refuses drops the request, or a later close from outside would be an exit.
    EXPECT_FALSE(ExitOnRequest(program));
    EXPECT_FALSE(program.bExitRequested);
  }
  EXPECT_TRUE(Visible(a));
  // The Exit command's own question is open: the request leaves the user's choice standing.
  program.bExitRequested = true;
  const BusyState::Guard box = program.busy.Enter(Busy::MessageBox);
  EXPECT_EQ(Ask(msg::kExitProgram), reply::kUserBusy);
  EXPECT_TRUE(program.bExitRequested);
  EXPECT_TRUE(world.tray.present);
}

}  // namespace
}  // namespace ombrix
