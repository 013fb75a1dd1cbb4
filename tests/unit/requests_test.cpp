// Requests other programs send to the main window: go to a desktop, move an application, ask
// for the current desktop, exit.
#include <gtest/gtest.h>

#include <functional>

#include "heart_fixture.h"
#include "switching/switch.h"

namespace ombrix {
namespace {

const std::string kRecoveryPath = "C:\\Program Files\\Ombrix\\Ombrix.restore";

class Requests : public Started {
 protected:
  int32_t Ask(uint32_t message, int32_t wParam = 0, int32_t lParam = 0) {
    const MessageResult result = program.mainWindow->OnSubscribedMessage(message, wParam, lParam);
    EXPECT_TRUE(result.bHandled) << message;
    return result.lReturn;
  }
  void GoTo(int16_t desk) { SwitchDesktop(program, desk); }
};

// On real windows (tests/e2e/requests.sh): going to a desktop by number or a step, and exit,
// also guarded by the program password, with their replies as exit codes. Numbers no command
// line sends are refused as well.
TEST_F(Requests, GoToRefusesWhatIsNotADesktop) {
  for (int32_t bad : {0, 10, -1, 51}) EXPECT_EQ(Ask(msg::kGoToDesktop, bad), reply::kBadDesktop);
  for (int32_t bad : {0, 2, -9}) EXPECT_EQ(Ask(msg::kStepDesktop, bad), reply::kBadDesktop);
  EXPECT_EQ(program.desk.iCurDesk, 1);
}

// On real windows (tests/e2e/requests.sh): the user guide's subscriber hears of switches by a
// request, a hot-key and the tray menu, each as the desktop entered and the one left.
TEST_F(Requests, EveryDesktopChangeIsPostedToEachSubscriberOnceUntilItGoes) {
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

  EXPECT_EQ(Ask(msg::kGoToDesktop, 2), reply::kDone);
  Ask(msg::kGoToDesktop, 2);  // no change, no news
  EXPECT_EQ(Ask(msg::kStepDesktop, -1), 1);
  EXPECT_EQ(newsFor(bar), (News{{2, 1}, {1, 2}}));
  EXPECT_EQ(newsFor(widget), newsFor(bar));
  for (const auto& sent : world.windows.sent) EXPECT_NE(sent.message, changed) << "never sent";

  EXPECT_EQ(Ask(msg::kUnsubscribe, widget), reply::kDone);
  world.windows.Destroy(bar);
  GoTo(2);
  GoTo(3);
  EXPECT_EQ(newsFor(widget).size(), 2u);
  EXPECT_EQ(newsFor(bar).size(), 3u) << "a window that is gone is dropped at the first failed post";

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

// On real windows (requests.sh): the whole application of an owned window moves, the desktop
// shown stays, and a window on another desktop is refused.
TEST_F(Requests, MoveFindsANewWindowAndSaysWhyItCannotMoveOne) {
  const Hwnd a = world.Open("A", 10);
  const Hwnd b = world.Open("B", 11);
  EXPECT_EQ(Ask(msg::kMoveApplication, a, 4), reply::kDone);
  EXPECT_TRUE(world.files.FileExists(kRecoveryPath));
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

// Requests refused while busy, as every other entry point: busy_test.cpp.
TEST_F(Requests, AnExitRefusedWhileBusyLeavesTheExitTheUserAskedAsItWas) {
  {
    const BusyState::Guard switching = program.busy.Enter(Busy::Switching);
    // Shut-down that refuses drops the request, or a later close from outside would be an exit.
    EXPECT_FALSE(ExitOnRequest(program));
    EXPECT_FALSE(program.bExitRequested);
  }
  // The Exit command's own question is open: the request leaves the user's choice standing.
  program.bExitRequested = true;
  const BusyState::Guard box = program.busy.Enter(Busy::MessageBox);
  EXPECT_EQ(Ask(msg::kExitProgram), reply::kUserBusy);
  EXPECT_TRUE(program.bExitRequested);
  EXPECT_TRUE(world.tray.present);
}

}  // namespace
}  // namespace ombrix
