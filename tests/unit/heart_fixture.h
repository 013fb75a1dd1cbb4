// A started program on the simulated platform, with helpers to open windows and read state.
#pragma once

#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"

namespace ombrix {

class Started : public ::testing::Test {
 protected:
  void SetUp() override {
    world.store.sections["Settings"]["FirstUse"] = "0";
    ASSERT_EQ(StartUp(program), StartOutcome::Running);
  }

  bool Visible(Hwnd h) { return world.windows.IsWindowVisible(h); }
  clsDesktop& Desk(int n) { return program.desk.Desk(n); }
  // The window the hook reports as activated.
  void Activate(Hwnd h) { program.mainWindow->OnSubscribedMessage(1036, h, 0); }
  MessageResult Send(uint32_t message, int32_t wParam) {
    return program.mainWindow->OnSubscribedMessage(message, wParam, 0);
  }
  void HoldShift(bool held) { world.keyboard.held[16] = held; }

  sim::World world;
  Program program{world.platform()};
};

}  // namespace ombrix
