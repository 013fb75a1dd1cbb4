// A started program on the simulated platform, with helpers to open windows, read state and
// act as the user on its dialogs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/sim/sim.h"

namespace ombrix {

// A control as a test names it: by its name and index, as language files do.
inline Control& Ctl(Form& form, const std::string& name, int index = -1) {
  return sim::ControlNamed(form, name, index);
}

inline std::vector<std::string> Texts(const Control& list) {
  std::vector<std::string> texts;
  for (const ListItem& item : list.ListItems) texts.push_back(item.Text);
  return texts;
}

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

  // What the user does at the next wait of a modal loop, on the loaded form of that name.
  void Then(const std::string& form, std::function<void(Form&)> act) {
    world.ui.userActions.push_back([this, form, act] {
      Form* loaded = world.forms.Loaded(form);
      ASSERT_NE(loaded, nullptr) << form << " is not open";
      act(*loaded);
    });
  }
  // The user types into the password prompt and presses one of its buttons.
  void AnswerPrompt(const std::string& typed, const std::string& button = "btnOk") {
    Then("frmPassword", [this, typed, button](Form& prompt) {
      world.forms.Type(prompt, "txtPassword", typed);
      world.forms.Click(prompt, button);
    });
  }
  void Click(Form& form, const std::string& name, int index = -1) {
    world.forms.Click(form, name, index);
  }
  void Type(Form& form, const std::string& name, const std::string& text) {
    world.forms.Type(form, name, text);
  }
  std::string LastBox() { return world.ui.boxes.empty() ? "" : world.ui.boxes.back().text; }

  sim::World world;
  Program program{world.platform()};
};

}  // namespace ombrix
