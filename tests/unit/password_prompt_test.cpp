#include "appearance/password_prompt.h"

#include <gtest/gtest.h>

#include "appearance/passwords.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "lang/translation.h"

namespace ombrix {
namespace {

class PasswordPrompts : public Started {
 protected:
  // Answers the prompt and notes the label it asked with.
  void Answer(const std::string& typed, const std::string& button = "btnOk") {
    Then("frmPassword", [this, typed, button](Form& prompt) {
      labels.push_back(Ctl(prompt, "lblPassword").Caption);
      Type(prompt, "txtPassword", typed);
      Click(prompt, button);
    });
  }
  std::vector<std::string> labels;
};

// A scrambled password of older versions works, and its first right entry stores a verifier.
TEST_F(PasswordPrompts, ADesktopWithAPasswordIsEnteredOnlyWithItExactly) {
  const Hwnd a = world.Open("A", 10);
  Desk(2).sPassword = EncodePassword("Secret");
  Answer("secret");  // the wrong case
  Send(1027, 50);
  EXPECT_EQ(program.desk.iCurDesk, 1);
  EXPECT_TRUE(Visible(a));
  EXPECT_EQ(LastBox(), "Wrong password!");
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
  EXPECT_TRUE(IsVerifier(Desk(2).sPassword));
  EXPECT_EQ(world.store.sections["Settings"]["DeskPass2"], Desk(2).sPassword);
}

TEST_F(PasswordPrompts, ExitAsksForTheProgramPasswordButACloseRequestFromOutsideDoesNot) {
  program.settings.sGlobalPass = "admin";
  program.bExitRequested = true;
  Answer("wrong");
  EXPECT_FALSE(UnloadMainWindow(program, UnloadReason::FormCode));
  EXPECT_FALSE(world.ui.mainDestroyed);
  EXPECT_EQ(labels, std::vector<std::string>{"Input PROGRAM Password"});

  // Shut-down refuses a close request from outside anyway: nobody is asked.
  program.bExitRequested = false;
  EXPECT_FALSE(program.mainWindow->OnCloseRequest());
  EXPECT_EQ(labels.size(), 1u);
}

TEST_F(PasswordPrompts, TheLabelAndTheMessagesComeInTheLoadedLanguage) {
  world.files.files[world.process.folder + "\\italiano.lng"] =
      "[Ombrix]\r\nVersion=1.0\r\n[GLOBAL]\r\n0019=Password errata!\r\n[frmPassword]\r\n"
      "lblPasswordDesk=Inserisci la password del DESKTOP\r\n";
  LoadLanguage(program, "italiano.lng", false);
  Desk(5).sPassword = "x";
  Answer("y");
  Send(1027, 53);
  EXPECT_EQ(LastBox(), "Password errata!");
  EXPECT_EQ(labels, std::vector<std::string>{"Inserisci la password del DESKTOP"});
}

}  // namespace
}  // namespace ombrix
