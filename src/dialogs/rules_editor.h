// The rules editor: lists, adds, deletes and reorders the application rules on a copy of the
// program's list, which Ok (with the program password, when there is one) makes the program's
// and saves. The running applications help to write a rule: picking one fills the patterns.
#pragma once

#include <string>

#include "rules/rule.h"
#include "ui/dialog.h"

namespace ombrix {

class frmRules : public Dialog {
 public:
  explicit frmRules(Program& program);

  RuleList workingList;     // clones of the program's rules; all editing happens here
  std::string sLastDeleted;  // the list text of the rule deleted last

  // Refills the rules list from the working list.
  void LoadRules();
  // Rescans the current desktop and refills the running applications.
  void LoadList();

  void OnLoad() override;
  void OnActivate(bool active) override;
  void OnClick(Control& control) override;
  void OnChange(Control& control) override;
  IconHandle OnItemPicture(Control& list, const ListItem& item) override;

 private:
  void ShowPickedApplication();
  void ShowPickedRule();
  // Enables the controls of the checked tests, then validates.
  void UpdateTests();
  void UpdateDeskNumber();
  void UpdateButtons();
  // Tells what keeps the edited rule from being added, and enables Add Rule when nothing does.
  void Validate();
  // The first reason the edited rule cannot be added; empty when it can.
  std::string RuleProblem();
  bool RuleExists(const std::string& name) const;
  clsRule EditedRule();
  void AddRule();
  void DeleteRule();
  // Moves the selected rule one place towards the start (-1) or the end (+1).
  void MoveRule(int by);
  void Confirm();

  ControlId runningApps_;
  ControlId ruleList_;
  ControlId up_;
  ControlId down_;
  ControlId deleteRule_;
  ControlId ruleName_;
  ControlId textTest_;  // the check box that turns the window-text test on
  ControlId textCompare_;
  ControlId textPattern_;
  ControlId andOr_;
  ControlId classTest_;
  ControlId classCompare_;
  ControlId classPattern_;
  ControlId action_;
  ControlId number_;  // the desktop to move to, or the visibility level
  ControlId addRule_;
  ControlId problem_;
  ControlId ok_;
  ControlId cancel_;
};

// Runs the editor through ShowDialog.
void ShowRulesEditor(Program& program);

}  // namespace ombrix
