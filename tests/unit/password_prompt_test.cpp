#include "appearance/password_prompt.h"

#include <gtest/gtest.h>

#include "heart_fixture.h"
#include "lang/messages.h"
#include "lang/translation.h"

namespace ombrix {
namespace {

class PasswordPrompts : public Started {
 protected:
  // The user answers the prompt that is open: types the text and presses a button.
  void Answer(const std::string& typed, const std::string& button = "btnOk") {
    world.ui.userActions.push_back([this, typed, button] {
      Form* prompt = world.forms.Loaded("frmPassword");
      ASSERT_NE(prompt, nullptr) << "no password prompt is open";
      labels.push_back(prompt->Find("lblPassword")->Caption);
      prompt->Find("txtPassword")->Caption = typed;
      prompt->OnClick(*prompt->Find(button));
    });
  }
  std::vector<std::string> labels;
};

TEST_F(PasswordPrompts, ADesktopWithAPasswordIsEnteredOnlyWithItExactly) {
  const Hwnd a = world.Open("A", 10);
  Desk(2).sPassword = "Secret";
  Send(1027, 51);  // desktop 3 has none: no question
  EXPECT_EQ(program.desk.iCurDesk, 3);
  EXPECT_TRUE(labels.empty());
  Send(1027, 49);

  Answer("secret");  // the wrong case
  Send(1027, 50);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a));
  ASSERT_FALSE(world.ui.boxes.empty());
  EXPECT_EQ(world.ui.boxes.back().text, "Wrong password!");
  EXPECT_EQ(program.busy.RequestRefusal(), 0);

  Answer("Secret", "btnCancel");
  Send(1027, 50);
  EXPECT_EQ(program.desk.iCurDesk, 1);

  Answer("Secret");
  const size_t boxes = world.ui.boxes.size();
  Send(1027, 50);
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_FALSE(Visible(a));
  EXPECT_EQ(world.ui.boxes.size(), boxes);
  EXPECT_EQ(labels, std::vector<std::string>(3, "Input DESKTOP Password"));
  EXPECT_EQ(world.forms.Loaded("frmPassword"), nullptr);
}

TEST_F(PasswordPrompts, HotKeysAndTrayClicksOnlyBringTheOpenPromptForward) {
  Desk(2).sPassword = "pw";
  world.ui.userActions.push_back([this] {
    EXPECT_NE(program.busy.OpenDialog(), 0);
    EXPECT_TRUE(Send(1027, 52).bHandled);  // Win+4 while the prompt is open
    EXPECT_EQ(world.windows.foreground, program.busy.OpenDialog());
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
    EXPECT_TRUE(world.ui.popups.empty());
  });
  Answer("pw");
  Send(1027, 50);
  EXPECT_EQ(program.desk.iCurDesk, 2);
  EXPECT_EQ(program.busy.OpenDialog(), 0);
}

TEST_F(PasswordPrompts, ExitAsksForTheProgramPasswordButTheSessionEndAndOutsideClosesDoNot) {
  program.settings.sGlobalPass = "admin";
  program.bExitRequested = true;
  Answer("wrong");
  EXPECT_FALSE(UnloadMainWindow(program, UnloadReason::FormCode));
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_EQ(labels, std::vector<std::string>{"Input PROGRAM Password"});

  // A close request from outside is refused by shut-down anyway: nobody is asked.
  program.bExitRequested = false;
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  EXPECT_EQ(labels.size(), 1u);

  program.bExitRequested = true;
  Answer("admin");
  EXPECT_TRUE(UnloadMainWindow(program, UnloadReason::FormCode));
  EXPECT_TRUE(world.ui.mainDestroyed);
  EXPECT_NE(world.store.sections["Settings"]["GlobalPass"], "");  // stored scrambled
  EXPECT_NE(world.store.sections["Settings"]["GlobalPass"], "admin");
}

TEST_F(PasswordPrompts, TheScrambledMessagesComeOutInTheLoadedLanguage) {
  world.files.files[world.process.folder + "\\italiano.lng"] =
      "[Ombrix]\r\nVersion=1.0\r\n[GLOBAL]\r\n0019=Password errata!\r\n"
      "0021=Vuoi rimuovere la password?\r\n[frmPassword]\r\n"
      "lblPasswordDesk=Inserisci la password del DESKTOP\r\n";
  LoadLanguage(program, "italiano.lng", false);
  EXPECT_EQ(GetMsg(program, msgs::kRemovePassword),
            "Vuoi rimuovere la password?");
  Desk(5).sPassword = "x";
  Answer("y");
  Send(1027, 53);
  EXPECT_EQ(world.ui.boxes.back().text, "Password errata!");
  EXPECT_EQ(labels, std::vector<std::string>{"Inserisci la password del DESKTOP"});
}

}  // namespace
}  // namespace ombrix
