#include "dialogs/rules_editor.h"

#include <gtest/gtest.h>

#include "core/discovery.h"
#include "form_user.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "rules/store.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class RulesEditor : public Started {
 protected:
  // What the user does while the editor is open, one step per wait of its loop.
  void Then(const std::function<void(Form&)>& act) {
    world.ui.userActions.push_back([this, act] {
      Form* dialog = world.forms.Loaded("frmRules");
      ASSERT_NE(dialog, nullptr) << "the rules editor is not open";
      act(*dialog);
    });
  }
  // Opens the editor from the tray menu; it runs until a step closes it.
  void Open() {
    world.ui.choosePopupItem = [](const Menu&) { return menu_id::kApplicationRules; };
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
    EXPECT_EQ(world.forms.Loaded("frmRules"), nullptr);
  }
  // Writes a rule into the editor: a title test, and the action at its position with the
  // desk-number item at its position.
  static void Edit(Form& dialog, const std::string& name, const std::string& title, int action = 1,
                   int number = 0) {
    Type(dialog, "txtRuleName", name);
    SetCheck(dialog, "chkWinText", true);
    Type(dialog, "txtWinText", title);
    Pick(dialog, "cmbAction", action);
    Pick(dialog, "cmbDeskNumber", number);
  }
  static std::vector<std::string> Rules(Form& dialog) { return Texts(Ctl(dialog, "lstRules")); }
  std::vector<std::string> Names(const RuleList& rules) {
    std::vector<std::string> names;
    for (const auto& rule : rules) names.push_back(rule->sRuleName);
    return names;
  }
  void Stored(std::initializer_list<clsRule> rules) {
    RuleList list;
    for (const clsRule& rule : rules) list.Add(std::make_shared<clsRule>(rule));
    ASSERT_TRUE(SaveRules(world.store, list));
    program.colRules = ReadRules(world.store);
  }
  static clsRule Named(const std::string& name, int16_t destDesk = 2) {
    clsRule rule;
    rule.sRuleName = name;
    rule.bWinText = true;
    rule.sWinText = name;
    rule.iDestDesk = destDesk;
    return rule;
  }
};

TEST_F(RulesEditor, LoadsTheRulesAndTheRunningApplicationsAndCancelChangesNothing) {
  Stored({Named("Notes"), Named("Mail")});
  const Hwnd editor = world.Open("Editor", 10, 0, "EditClass");
  const auto stored = world.store.sections;
  Then([&](Form& dialog) {
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Notes", "Mail"}));
    EXPECT_FALSE(Ctl(dialog, "cmbAction").Enabled);  // no test is checked yet
    EXPECT_FALSE(Ctl(dialog, "btnDeleteRule").Enabled);
    ASSERT_EQ(Texts(Ctl(dialog, "lstIconApp")), std::vector<std::string>{"Editor"});
    Pick(dialog, "lstIconApp", 0);
    EXPECT_EQ(Ctl(dialog, "txtWinText").Caption, "Editor");
    EXPECT_EQ(Ctl(dialog, "txtWinClass").Caption, "EditClass");

    world.windows.Destroy(editor);
    ScanDesktop(program, 1);  // as a rule pass does, without filling the dialog's list
    Pick(dialog, "lstIconApp", 0);  // gone: the list is filled again
    EXPECT_TRUE(Ctl(dialog, "lstIconApp").ListItems.empty());
  });
  Then([&](Form& dialog) {
    Edit(dialog, "New", "x");
    Click(dialog, "btnAddRule");
    Pick(dialog, "lstRules", 0);
    Click(dialog, "btnDeleteRule");
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Mail", "New"}));
    Click(dialog, "btnCancel");
  });
  Open();
  EXPECT_EQ(Names(program.colRules), (std::vector<std::string>{"Notes", "Mail"}));
  EXPECT_EQ(world.store.sections, stored);
}

TEST_F(RulesEditor, AddDeleteAndReorderEditTheWorkingListThatOkSavesInOrder) {
  Stored({Named("Notes")});
  Then([&](Form& dialog) {
    Edit(dialog, "  NOTES ", "n");
    Click(dialog, "btnAddRule");
    EXPECT_EQ(world.ui.boxes.back().text, "This rule already exists in the list!");
    EXPECT_EQ(Ctl(dialog, "txtRuleName").Caption, "  NOTES ");  // the editor keeps its contents

    Edit(dialog, "  Mail ", " inbox ", 0, 4);
    Click(dialog, "btnAddRule");
    Edit(dialog, "Clock", "clock", 4);
    Click(dialog, "btnAddRule");
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Notes", "Mail", "Clock"}));

    Pick(dialog, "lstRules", 0);
    EXPECT_FALSE(Ctl(dialog, "btnUp").Enabled);
    Click(dialog, "btnDown");
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Mail", "Notes", "Clock"}));
    EXPECT_EQ(Ctl(dialog, "lstRules").ListIndex, 1);
    Click(dialog, "btnDown");
    EXPECT_FALSE(Ctl(dialog, "btnDown").Enabled);
    Click(dialog, "btnUp");
    Click(dialog, "btnUp");
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Notes", "Mail", "Clock"}));
    Pick(dialog, "lstRules", 2);
    Click(dialog, "btnDeleteRule");
    EXPECT_EQ(Rules(dialog), (std::vector<std::string>{"Notes", "Mail"}));
    Pick(dialog, "lstRules", 1);
    Click(dialog, "btnUp");
    // Showing a rule fills the editor with it.
    Pick(dialog, "lstRules", 0);
    EXPECT_EQ(Ctl(dialog, "txtRuleName").Caption, "Mail");
    EXPECT_EQ(Ctl(dialog, "txtWinText").Caption, " inbox ");
    EXPECT_EQ(Ctl(dialog, "cmbDeskNumber").ListIndex, 4);
    EXPECT_TRUE(Ctl(dialog, "cmbDeskNumber").Enabled);
    Click(dialog, "btnOk");  // the editor holds a listed rule: nothing is asked
  });
  Open();
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(Names(program.colRules), (std::vector<std::string>{"Mail", "Notes"}));
  const RuleList saved = ReadRules(world.store);
  ASSERT_EQ(Names(saved), (std::vector<std::string>{"Mail", "Notes"}));
  EXPECT_EQ(saved[1].sWinText, " inbox ");  // patterns are kept as typed
  EXPECT_EQ(saved[1].iAction, RuleAction::MoveToDesk);
  EXPECT_EQ(saved[1].iDestDesk, 5);
  EXPECT_TRUE(saved[1].bWinText && !saved[1].bWinClass && saved[1].bAnd);
}

TEST_F(RulesEditor, ValidationSaysWhatKeepsARuleFromBeingAdded) {
  clsRule broken = Named("Broken", 12);  // a destination only a hand-edited store holds
  Stored({broken});
  Then([&](Form& dialog) {
    auto problem = [&] { return Ctl(dialog, "lblRuleProblem").Caption; };
    auto addable = [&] { return Ctl(dialog, "btnAddRule").Enabled; };
    EXPECT_EQ(problem(), "Give the rule a name.");
    Type(dialog, "txtRuleName", "   ");
    EXPECT_FALSE(addable());
    Type(dialog, "txtRuleName", "Term");
    EXPECT_EQ(problem(), msgs::kRuleNeedsTest.text);
    SetCheck(dialog, "chkWinClass", true);
    EXPECT_EQ(problem(), msgs::kRuleNeedsClass.text);
    EXPECT_FALSE(Ctl(dialog, "cmbAndOr").Enabled);
    Type(dialog, "txtWinClass", "ConsoleWindowClass");
    EXPECT_TRUE(addable());
    EXPECT_EQ(problem(), "");
    SetCheck(dialog, "chkWinText", true);
    EXPECT_FALSE(addable());
    EXPECT_TRUE(Ctl(dialog, "cmbAndOr").Enabled);
    Type(dialog, "txtWinText", " ");  // blanks count as a pattern
    EXPECT_TRUE(addable());

    Pick(dialog, "cmbAction", static_cast<int>(RuleAction::Kill));
    EXPECT_FALSE(Ctl(dialog, "cmbDeskNumber").Enabled);
    Pick(dialog, "cmbAction", static_cast<int>(RuleAction::Visibility));
    EXPECT_EQ(Ctl(dialog, "cmbDeskNumber").Items.size(), 10u);
    EXPECT_EQ(Ctl(dialog, "cmbDeskNumber").ListIndex, 0);
    SetCheck(dialog, "chkWinText", false);
    SetCheck(dialog, "chkWinClass", false);
    EXPECT_FALSE(Ctl(dialog, "cmbAction").Enabled || Ctl(dialog, "cmbDeskNumber").Enabled);

    Pick(dialog, "lstRules", 0);
    EXPECT_EQ(problem(), "Choose the desktop to move to, from 1 to 9.");
    EXPECT_FALSE(addable());
    Type(dialog, "txtRuleName", "Fixed");
    Pick(dialog, "cmbDeskNumber", 8);
    EXPECT_TRUE(addable());
    Click(dialog, "btnAddRule");
    Click(dialog, "btnCancel");
  });
  Open();
}

TEST_F(RulesEditor, OkOffersToAddTheEditedRuleUnlessItWasJustDeleted) {
  Then([&](Form& dialog) {
    Edit(dialog, "Keep", "k");
    Click(dialog, "btnAddRule");
    Pick(dialog, "lstRules", 0);
    Click(dialog, "btnDeleteRule");
    Click(dialog, "btnOk");  // still holds the deleted rule: nothing is asked
  });
  Open();
  EXPECT_TRUE(world.ui.boxes.empty());
  EXPECT_EQ(program.colRules.Count(), 0);
  EXPECT_EQ(world.store.sections["Rules"]["NumRules"], "0");

  Then([&](Form& dialog) {
    Edit(dialog, "Zoom", "z");
    Click(dialog, "btnOk");
  });
  world.ui.boxAnswers = {mb::kYes};
  Open();
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text, "Do you want to add this rule before exit?");
  EXPECT_EQ(Names(ReadRules(world.store)), std::vector<std::string>{"Zoom"});
}

TEST_F(RulesEditor, OkAsksForTheProgramPasswordAndAWrongOneSavesNothing) {
  program.settings.sGlobalPass = "admin";
  const auto stored = world.store.sections;
  auto answer = [&](const std::string& typed) {
    world.ui.userActions.push_back([this, typed] {
      Form* prompt = world.forms.Loaded("frmPassword");
      ASSERT_NE(prompt, nullptr);
      Ctl(*prompt, "txtPassword").Caption = typed;
      Click(*prompt, "btnOk");
    });
  };
  Then([&](Form& dialog) {
    Edit(dialog, "Max", "m");
    Click(dialog, "btnAddRule");
    answer("wrong");
    Click(dialog, "btnOk");
    EXPECT_EQ(world.ui.boxes.back().text, "Wrong password!");
    EXPECT_EQ(world.store.sections, stored);
    EXPECT_EQ(program.colRules.Count(), 0);
    // The editor is the open dialog again: the tray only brings it forward.
    EXPECT_EQ(program.busy.OpenDialog(), dialog.hwnd);
    answer("admin");
    Click(dialog, "btnOk");
  });
  Open();
  EXPECT_EQ(Names(program.colRules), std::vector<std::string>{"Max"});
  EXPECT_EQ(Names(ReadRules(world.store)), std::vector<std::string>{"Max"});
}

TEST_F(RulesEditor, RulesThatCannotBeSavedStillApplyAndOkMayTryAgain) {
  const Hwnd window = world.Open("Target", 10);
  world.store.failWrites = true;
  Then([&](Form& dialog) {
    Edit(dialog, "Away", "Target", 0, 2);
    Click(dialog, "btnAddRule");
    Click(dialog, "btnOk");
    EXPECT_EQ(world.ui.boxes.back().text, msgs::kRulesNotSaved.text);
    EXPECT_TRUE(world.platform().windows.IsWindowVisible(dialog.hwnd)) << "the editor stays open";
    world.store.failWrites = false;
    Click(dialog, "btnOk");
  });
  Open();
  EXPECT_EQ(world.store.sections["Rules"]["NumRules"], "1");
  EXPECT_EQ(program.colRules.Count(), 1);
  EXPECT_FALSE(Visible(window));  // the pass after the editor moved it to desktop 3
  EXPECT_EQ(Desk(3).opi.Count(), 1);
}

}  // namespace
}  // namespace ombrix
