#include "dialogs/rules_editor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/discovery.h"
#include "heart_fixture.h"
#include "lang/messages.h"
#include "rules/store.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

using Names = std::vector<std::string>;

class RulesEditor : public Started {
 protected:
  void Then(const std::function<void(Form&)>& act) { Started::Then("frmRules", act); }
  // Opens the editor from the tray menu; it runs until a step closes it.
  void Open() {
    world.ui.choosePopupItem = [](const Menu&) { return menu_id::kApplicationRules; };
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
    EXPECT_EQ(world.forms.Loaded("frmRules"), nullptr);
  }
  void Pick(Form& dialog, const std::string& name, int at) { world.forms.Pick(dialog, name, at); }
  void Check(Form& dialog, const std::string& name) {
    if (!Ctl(dialog, name).Value) Click(dialog, name);
  }
  // Writes a rule with a title test into the editor: the action and, when the action takes
  // one, the number at their positions.
  void Edit(Form& dialog, const std::string& name, const std::string& title, int action = 1,
            int number = 0) {
    Type(dialog, "txtRuleName", name);
    Check(dialog, "chkWinText");
    Type(dialog, "txtWinText", title);
    Pick(dialog, "cmbAction", action);
    if (Ctl(dialog, "cmbDeskNumber").Enabled) Pick(dialog, "cmbDeskNumber", number);
  }
  static Names NamesOf(const RuleList& rules) {
    Names names;
    for (const auto& rule : rules) names.push_back(rule->sRuleName);
    return names;
  }
  // The program's rules: each looks for its name in the window text.
  void Stored(std::initializer_list<const char*> names, int16_t destDesk = 2) {
    for (const char* name : names) {
      auto rule = std::make_shared<clsRule>();
      rule->sRuleName = rule->sWinText = name;
      rule->bWinText = true;
      rule->iDestDesk = destDesk;
      program.colRules.Add(rule);
    }
  }
};

TEST_F(RulesEditor, AnApplicationGoneSinceTheListWasFilledRefillsItAndCancelChangesNothing) {
  Stored({"Notes", "Mail"});
  const Hwnd editor = world.Open("Editor", 10, 0, "EditClass");
  const auto stored = world.store.sections;
  Then([&](Form& dialog) {
    Pick(dialog, "lstIconApp", 0);
    EXPECT_EQ(Ctl(dialog, "txtWinClass").Caption, "EditClass");
    world.windows.Destroy(editor);
    ScanDesktop(program, 1);  // as a rule pass does, without filling the dialog's list
    Pick(dialog, "lstIconApp", 0);
    EXPECT_TRUE(Ctl(dialog, "lstIconApp").ListItems.empty());

    Edit(dialog, "New", "x");
    Click(dialog, "btnAddRule");
    Pick(dialog, "lstRules", 0);
    Click(dialog, "btnDeleteRule");
    EXPECT_EQ(Texts(Ctl(dialog, "lstRules")), (Names{"Mail", "New"}));
    Click(dialog, "btnCancel");
  });
  Open();
  EXPECT_EQ(NamesOf(program.colRules), (Names{"Notes", "Mail"}));
  EXPECT_EQ(world.store.sections, stored);
}

// The end-to-end test writes a rule and checks every stored field; this is the list's editing.
TEST_F(RulesEditor, AddDeleteAndReorderEditTheWorkingListThatOkSavesInOrder) {
  Stored({"Notes"});
  Then([&](Form& dialog) {
    Edit(dialog, "  NOTES ", "n");
    Click(dialog, "btnAddRule");
    EXPECT_EQ(LastBox(), "This rule already exists in the list!");
    Edit(dialog, "  Mail ", " inbox ", 0, 4);
    Click(dialog, "btnAddRule");
    Edit(dialog, "Clock", "clock", 4);
    Click(dialog, "btnAddRule");

    Pick(dialog, "lstRules", 0);
    EXPECT_FALSE(Ctl(dialog, "btnUp").Enabled);
    Click(dialog, "btnDown");
    Click(dialog, "btnDown");
    EXPECT_FALSE(Ctl(dialog, "btnDown").Enabled);
    Pick(dialog, "lstRules", 1);
    Click(dialog, "btnDeleteRule");
    Pick(dialog, "lstRules", 1);
    Click(dialog, "btnUp");
    Pick(dialog, "lstRules", 1);  // showing a rule fills the editor with it
    EXPECT_EQ(Ctl(dialog, "txtWinText").Caption, " inbox ");
    EXPECT_EQ(Ctl(dialog, "cmbDeskNumber").ListIndex, 4);
    Click(dialog, "btnOk");  // the editor holds a listed rule: nothing is asked
  });
  Open();
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(NamesOf(ReadRules(world.store)), (Names{"Notes", "Mail"}));
  EXPECT_EQ(NamesOf(program.colRules), (Names{"Notes", "Mail"}));
}

TEST_F(RulesEditor, ValidationSaysWhatKeepsARuleFromBeingAdded) {
  Stored({"Broken"}, 12);  // a destination only a hand-edited store holds
  Then([&](Form& dialog) {
    auto problem = [&] { return Ctl(dialog, "lblRuleProblem").Caption; };
    auto addable = [&] { return Ctl(dialog, "btnAddRule").Enabled; };
    EXPECT_EQ(problem(), "Give the rule a name.");
    Type(dialog, "txtRuleName", "Term");
    EXPECT_EQ(problem(), msgs::kRuleNeedsTest.text);
    Check(dialog, "chkWinClass");
    EXPECT_EQ(problem(), msgs::kRuleNeedsClass.text);
    Type(dialog, "txtWinClass", "ConsoleWindowClass");
    EXPECT_TRUE(addable());
    Check(dialog, "chkWinText");
    EXPECT_FALSE(addable());
    Type(dialog, "txtWinText", " ");  // blanks count as a pattern
    EXPECT_TRUE(addable());

    Pick(dialog, "cmbAction", static_cast<int>(RuleAction::Kill));
    EXPECT_FALSE(Ctl(dialog, "cmbDeskNumber").Enabled);
    Pick(dialog, "cmbAction", static_cast<int>(RuleAction::Visibility));
    EXPECT_EQ(Ctl(dialog, "cmbDeskNumber").Items.size(), 10u);

    Pick(dialog, "lstRules", 0);
    EXPECT_EQ(problem(), "Choose the desktop to move to, from 1 to 9.");
    EXPECT_FALSE(addable());
    Type(dialog, "txtRuleName", "Fixed");
    Pick(dialog, "cmbDeskNumber", 8);
    EXPECT_TRUE(addable());
    // The action chosen by the text the user reads is the action saved.
    const std::vector<std::string>& actions = Ctl(dialog, "cmbAction").Items;
    Pick(dialog, "cmbAction",
         static_cast<int>(std::find(actions.begin(), actions.end(), "Kill") - actions.begin()));
    Click(dialog, "btnAddRule");
    Click(dialog, "btnOk");
  });
  Open();
  ASSERT_EQ(program.colRules.Count(), 2);
  EXPECT_EQ(program.colRules[2].iAction, RuleAction::Kill);
}

TEST_F(RulesEditor, OkOffersToAddTheEditedRuleAndRulesThatCannotBeSavedStillApply) {
  const Hwnd window = world.Open("Target", 10);
  Then([&](Form& dialog) {
    Edit(dialog, "Keep", "k");
    Click(dialog, "btnAddRule");
    Pick(dialog, "lstRules", 0);
    Click(dialog, "btnDeleteRule");
    Click(dialog, "btnOk");  // still holds the deleted rule: nothing is asked
  });
  Open();
  EXPECT_TRUE(world.ui.boxes.empty());
  EXPECT_EQ(world.store.sections["Rules"]["NumRules"], "0");

  world.store.failWrites = true;
  world.ui.boxAnswers = {mb::kYes};
  Then([&](Form& dialog) {
    Edit(dialog, "Away", "Target", 0, 2);
    Click(dialog, "btnOk");
    EXPECT_EQ(world.ui.boxes.at(0).text, "Do you want to add this rule before exit?");
    EXPECT_EQ(LastBox(), msgs::kRulesNotSaved.text);
    EXPECT_TRUE(Visible(dialog.hwnd)) << "the editor stays open";
    world.store.failWrites = false;
    Click(dialog, "btnOk");
  });
  Open();
  EXPECT_EQ(NamesOf(ReadRules(world.store)), Names{"Away"});
  EXPECT_FALSE(Visible(window));  // the pass after the editor moved it to desktop 3
}

}  // namespace
}  // namespace ombrix
