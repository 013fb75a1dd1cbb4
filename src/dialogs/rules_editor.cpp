#include "dialogs/rules_editor.h"

#include <optional>

#include "app/program.h"
#include "app/settings.h"
#include "appearance/password_prompt.h"
#include "core/discovery.h"
#include "core/text.h"
#include "dialogs/application_list.h"
#include "lang/messages.h"
#include "rules/store.h"

namespace ombrix {

namespace {

constexpr int kMaxNameLength = 255;
constexpr int kMaxPatternLength = 1023;  // the longest title or class discovery reads
constexpr int kVisibilityLevels = 10;

std::vector<std::string> Numbers(int count) {
  std::vector<std::string> numbers;
  for (int n = 1; n <= count; ++n) numbers.push_back(std::to_string(n));
  return numbers;
}

// Rule names are compared without case and without blanks at their ends.
bool SameName(const std::string& a, const std::string& b) {
  return LowerText(TrimBlanks(a)) == LowerText(TrimBlanks(b));
}

bool Chose(const Control& combo) {
  return combo.ListIndex >= 0 && static_cast<size_t>(combo.ListIndex) < combo.Items.size();
}

// The position of a stored value in a combo box, or -1 when the box has no such item.
int PositionOf(const Control& combo, int32_t value) {
  return value >= 0 && static_cast<size_t>(value) < combo.Items.size() ? value : -1;
}

template <typename Value>
struct Choice {
  Value value;
  MessageText text;
};
// The comparisons and the actions, in the order their combo boxes list them.
constexpr Choice<TextCompare> kCompares[] = {
    {TextCompare::Contains, msgs::kContains},     {TextCompare::NotContains, msgs::kNotContains},
    {TextCompare::StartsWith, msgs::kStartsWith}, {TextCompare::EndsWith, msgs::kEndsWith},
    {TextCompare::EqualTo, msgs::kEqualTo}};
constexpr Choice<RuleAction> kActions[] = {
    {RuleAction::MoveToDesk, msgs::kMoveToDesk}, {RuleAction::Maximize, msgs::kMaximize},
    {RuleAction::Minimize, msgs::kMinimize},     {RuleAction::Close, msgs::kClose},
    {RuleAction::Kill, msgs::kKill},             {RuleAction::Visibility, msgs::kVisibility},
    {RuleAction::IgnoreApp, msgs::kIgnoreApp}};

template <typename Value, size_t N>
std::vector<std::string> ChoiceTexts(const Program& program, const Choice<Value> (&choices)[N]) {
  std::vector<std::string> texts;
  for (const Choice<Value>& choice : choices) texts.push_back(GetMsg(program, choice.text));
  return texts;
}

// The item of a value; -1 for a value a hand-edited store gave that the box does not list.
template <typename Value, size_t N>
int PositionOf(const Choice<Value> (&choices)[N], Value value) {
  for (size_t i = 0; i < N; ++i) {
    if (choices[i].value == value) return static_cast<int>(i);
  }
  return -1;
}

// The value of the item chosen in the combo box, or nothing.
template <typename Value, size_t N>
std::optional<Value> Chosen(const Choice<Value> (&choices)[N], const Control& combo) {
  if (combo.ListIndex < 0 || static_cast<size_t>(combo.ListIndex) >= N) return std::nullopt;
  return choices[combo.ListIndex].value;
}

// Whether the action takes a number: the desktop to move to, or the visibility level.
bool TakesNumber(std::optional<RuleAction> action) {
  return action == RuleAction::MoveToDesk || action == RuleAction::Visibility;
}

}  // namespace

frmRules::frmRules(Program& program) : Dialog(program) {
  Name = "frmRules";
  Caption = "Application Rules";
  width = 620;
  height = 492;
  centred = true;
  using K = ControlKind;
  Add({.Name = "lblInfo",
       .Caption = "Use this dialog to set rules for starting applications",
       .bounds = {12, 10, 608, 28}});
  Add({.Name = "lblRunningApps",
       .Caption = "Running applications (filtered)",
       .bounds = {12, 36, 300, 54}});
  runningApps_ = Add({.Name = "lstIconApp", .kind = K::PictureList, .bounds = {12, 56, 300, 222}});
  Add({.Name = "lblRulesList", .Caption = "Rules list", .bounds = {312, 36, 520, 54}});
  ruleList_ = Add({.Name = "lstRules", .kind = K::ListBox, .bounds = {312, 56, 520, 222}});
  up_ = Add({.Name = "btnUp", .kind = K::Button, .Caption = "Up", .bounds = {528, 56, 608, 82}});
  down_ =
      Add({.Name = "btnDown", .kind = K::Button, .Caption = "Down", .bounds = {528, 88, 608, 114}});
  deleteRule_ = Add({.Name = "btnDeleteRule",
                     .kind = K::Button,
                     .Caption = "Delete Rule",
                     .bounds = {528, 196, 608, 222}});
  Add({.Name = "lblNewRules",
       .Caption = "New Rules",
       .bounds = {12, 236, 608, 254},
       .font = {.bold = true}});
  Add({.Name = "lblRuleName", .Caption = "Rule Name:", .bounds = {12, 264, 150, 282}});
  ruleName_ = Add({.Name = "txtRuleName",
                   .kind = K::TextBox,
                   .bounds = {152, 260, 440, 282},
                   .MaxLength = kMaxNameLength});
  textTest_ = Add({.Name = "chkWinText",
                   .kind = K::CheckBox,
                   .Caption = "if window text",
                   .bounds = {12, 294, 150, 314}});
  textCompare_ = Add({.Name = "cmbContain1", .kind = K::ComboBox, .bounds = {152, 292, 300, 314}});
  textPattern_ = Add({.Name = "txtWinText",
                      .kind = K::TextBox,
                      .bounds = {308, 292, 608, 314},
                      .MaxLength = kMaxPatternLength});
  andOr_ = Add({.Name = "cmbAndOr", .kind = K::ComboBox, .bounds = {152, 324, 240, 346}});
  classTest_ = Add({.Name = "chkWinClass",
                    .kind = K::CheckBox,
                    .Caption = "if window class",
                    .bounds = {12, 358, 150, 378}});
  classCompare_ = Add({.Name = "cmbContain2", .kind = K::ComboBox, .bounds = {152, 356, 300, 378}});
  classPattern_ = Add({.Name = "txtWinClass",
                       .kind = K::TextBox,
                       .bounds = {308, 356, 608, 378},
                       .MaxLength = kMaxPatternLength});
  action_ = Add({.Name = "cmbAction", .kind = K::ComboBox, .bounds = {152, 390, 300, 412}});
  number_ = Add({.Name = "cmbDeskNumber", .kind = K::ComboBox, .bounds = {308, 390, 372, 412}});
  addRule_ = Add({.Name = "btnAddRule",
                  .kind = K::Button,
                  .Caption = "Add Rule",
                  .bounds = {508, 388, 608, 414}});
  problem_ =
      Add({.Name = "lblRuleProblem", .bounds = {12, 422, 608, 440}, .foreColour = Rgb(160, 0, 0)});
  ok_ = Add({.Name = "btnOk", .kind = K::Button, .Caption = "Ok", .bounds = {428, 454, 508, 480}});
  cancel_ = Add({.Name = "btnCancel",
                 .kind = K::Button,
                 .Caption = "Cancel",
                 .bounds = {528, 454, 608, 480},
                 .Cancel = true});
}

void frmRules::OnLoad() {
  LoadDialog();
  for (const auto& rule : program_.colRules) workingList.Add(rule->Clone());
  LoadRules();
  for (const ControlId compare : {textCompare_, classCompare_}) {
    At(compare).Items = ChoiceTexts(program_, kCompares);
    At(compare).ListIndex = 0;
  }
  At(andOr_).Items = {GetMsg(program_, msgs::kAnd), GetMsg(program_, msgs::kOr)};
  At(andOr_).ListIndex = 0;
  At(number_).Items = Numbers(kDesktopCount);
  At(number_).ListIndex = 0;
  At(action_).Items = ChoiceTexts(program_, kActions);
  At(action_).ListIndex = 0;
  UpdateTests();
  UpdateButtons();
  // Filled at load as well: where the system refuses the dialog the foreground, it is not
  // activated until the user clicks it.
  LoadList();
}

void frmRules::LoadRules() {
  Control& list = At(ruleList_);
  list.ListItems.clear();
  for (const auto& rule : workingList) list.ListItems.push_back({"", rule->sRuleName});
  list.ListIndex = -1;
}

void frmRules::LoadList() {
  ScanDesktop(program_, program_.desk.iCurDesk);
  Control& list = At(runningApps_);
  list.ListItems.clear();
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    if (!ListsApplicationsOf(program_, d)) continue;
    for (ListItem& item : ApplicationItems(program_, d)) list.ListItems.push_back(std::move(item));
  }
  if (list.ListIndex >= static_cast<int>(list.ListItems.size())) list.ListIndex = -1;
}

void frmRules::OnActivate(bool) { LoadList(); }

void frmRules::OnClick(Control& control) {
  if (control == runningApps_) {
    ShowPickedApplication();
  } else if (control == ruleList_) {
    ShowPickedRule();
  } else if (control == textTest_ || control == classTest_) {
    UpdateTests();
  } else if (control == addRule_) {
    AddRule();
  } else if (control == deleteRule_) {
    DeleteRule();
  } else if (control == up_) {
    MoveRule(-1);
  } else if (control == down_) {
    MoveRule(1);
  } else if (control == ok_) {
    Confirm();
  } else if (control == cancel_) {
    HideDialog();
  }
}

// Any text typed or item chosen may change what keeps the rule from being added.
void frmRules::OnChange(Control& control) {
  if (control == action_) UpdateDeskNumber();
  Validate();
}

IconHandle frmRules::OnItemPicture(Control&, const ListItem& item) {
  return ApplicationPicture(program_, item.Key);
}

void frmRules::ShowPickedApplication() {
  const ListItem* item = SelectedItem(At(runningApps_));
  if (item == nullptr) return;
  const ApplicationPlace place = FindApplication(program_, item->Key);
  if (place.position < 1) {  // gone since the list was filled
    LoadList();
    return;
  }
  const clsPI& app = program_.desk.Desk(place.desk).opi[place.position];
  At(textPattern_).Caption = app.GetText(kTitleOnly);
  At(classPattern_).Caption = app.GetText(kClassOnly);
  Validate();
}

void frmRules::ShowPickedRule() {
  UpdateButtons();
  const int i = At(ruleList_).ListIndex;
  if (i < 0 || i >= workingList.Count()) return;
  const clsRule& rule = workingList[i + 1];
  At(ruleName_).Caption = rule.sRuleName;
  At(textTest_).Value = rule.bWinText;
  At(textCompare_).ListIndex = PositionOf(kCompares, rule.iWinTextMode);
  At(textPattern_).Caption = rule.sWinText;
  At(andOr_).ListIndex = rule.bAnd ? 0 : 1;
  At(classTest_).Value = rule.bWinClass;
  At(classCompare_).ListIndex = PositionOf(kCompares, rule.iWinClassMode);
  At(classPattern_).Caption = rule.sWinClass;
  At(action_).ListIndex = PositionOf(kActions, rule.iAction);
  UpdateDeskNumber();
  At(number_).ListIndex = PositionOf(At(number_), rule.iDestDesk - 1);
  UpdateTests();
}

// And and Or matter only when both tests are on; the desktop or level only for the actions
// that take one.
void frmRules::UpdateTests() {
  const bool text = At(textTest_).Value;
  const bool cls = At(classTest_).Value;
  At(textCompare_).Enabled = text;
  At(textPattern_).Enabled = text;
  At(andOr_).Enabled = text && cls;
  At(classCompare_).Enabled = cls;
  At(classPattern_).Enabled = cls;
  At(action_).Enabled = text || cls;
  At(number_).Enabled = (text || cls) && TakesNumber(Chosen(kActions, At(action_)));
  Validate();
}

void frmRules::UpdateDeskNumber() {
  Control& number = At(number_);
  const std::optional<RuleAction> action = Chosen(kActions, At(action_));
  number.Enabled = TakesNumber(action);
  if (!number.Enabled) return;
  number.Items = Numbers(action == RuleAction::MoveToDesk ? kDesktopCount : kVisibilityLevels);
  number.ListIndex = 0;
}

void frmRules::UpdateButtons() {
  const int i = At(ruleList_).ListIndex;
  const int count = static_cast<int>(At(ruleList_).ListItems.size());
  const bool selected = i >= 0 && i < count;
  At(deleteRule_).Enabled = selected;
  At(up_).Enabled = selected && i >= 1;
  At(down_).Enabled = selected && i < count - 1;
}

void frmRules::Validate() {
  const std::string problem = RuleProblem();
  At(addRule_).Enabled = problem.empty();
  At(problem_).Caption = problem;
}

std::string frmRules::RuleProblem() {
  const bool text = At(textTest_).Value;
  const bool cls = At(classTest_).Value;
  const std::optional<RuleAction> action = Chosen(kActions, At(action_));
  if (TrimBlanks(At(ruleName_).Caption).empty()) return GetMsg(program_, msgs::kRuleNeedsName);
  if (!text && !cls) return GetMsg(program_, msgs::kRuleNeedsTest);
  if ((text && !Chose(At(textCompare_))) || (cls && !Chose(At(classCompare_)))) {
    return GetMsg(program_, msgs::kRuleNeedsMode);
  }
  // Blanks count: a title may contain them.
  if (text && At(textPattern_).Caption.empty()) return GetMsg(program_, msgs::kRuleNeedsText);
  if (cls && At(classPattern_).Caption.empty()) return GetMsg(program_, msgs::kRuleNeedsClass);
  if (!Chose(At(action_))) return GetMsg(program_, msgs::kRuleNeedsAction);
  if (action == RuleAction::MoveToDesk && !Chose(At(number_))) {
    return GetMsg(program_, msgs::kRuleNeedsDesktop);
  }
  if (action == RuleAction::Visibility && !Chose(At(number_))) {
    return GetMsg(program_, msgs::kRuleNeedsLevel);
  }
  return "";
}

bool frmRules::RuleExists(const std::string& name) const {
  for (const auto& rule : workingList) {
    if (SameName(rule->sRuleName, name)) return true;
  }
  return false;
}

clsRule frmRules::EditedRule() {
  clsRule rule;
  rule.sRuleName = TrimBlanks(At(ruleName_).Caption);
  rule.bWinText = At(textTest_).Value;
  rule.iWinTextMode = Chosen(kCompares, At(textCompare_)).value_or(TextCompare::Contains);
  rule.sWinText = At(textPattern_).Caption;
  rule.bAnd = At(andOr_).ListIndex == 0;
  rule.bWinClass = At(classTest_).Value;
  rule.iWinClassMode = Chosen(kCompares, At(classCompare_)).value_or(TextCompare::Contains);
  rule.sWinClass = At(classPattern_).Caption;
  rule.iAction = Chosen(kActions, At(action_)).value_or(RuleAction::MoveToDesk);
  const Control& number = At(number_);
  rule.iDestDesk = static_cast<int16_t>(
      Chose(number) ? DecodeNumber(number.Items[static_cast<size_t>(number.ListIndex)]) : 0);
  return rule;
}

void frmRules::AddRule() {
  if (!RuleProblem().empty()) return;
  if (RuleExists(At(ruleName_).Caption)) {
    ErrorBox(program_, GetMsg(program_, msgs::kRuleExists));
    return;
  }
  workingList.Add(std::make_shared<clsRule>(EditedRule()));
  LoadRules();
  UpdateButtons();
}

void frmRules::DeleteRule() {
  Control& list = At(ruleList_);
  const int i = list.ListIndex;
  if (i < 0 || i >= workingList.Count()) return;
  workingList.Remove(i + 1);
  sLastDeleted = list.ListItems[static_cast<size_t>(i)].Text;
  list.ListItems.erase(list.ListItems.begin() + i);
  list.ListIndex = -1;
  UpdateButtons();
}

void frmRules::MoveRule(int by) {
  Control& list = At(ruleList_);
  const int i = list.ListIndex;
  const int to = i + by;
  if (i < 0 || i >= workingList.Count() || to < 0 || to >= workingList.Count()) return;
  workingList.Insert(to + 1, workingList.Remove(i + 1));
  std::swap(list.ListItems[static_cast<size_t>(i)], list.ListItems[static_cast<size_t>(to)]);
  list.ListIndex = to;
  UpdateButtons();
}

void frmRules::Confirm() {
  if (!program_.settings.sGlobalPass.empty() && !PasswordPrompt(program_, -1)) return;
  const std::string& name = At(ruleName_).Caption;
  if (RuleProblem().empty() && !RuleExists(name) && !SameName(name, sLastDeleted) &&
      AskYesNo(program_, GetMsg(program_, msgs::kAddRuleBeforeExit))) {
    AddRule();
  }
  RuleList rules;
  for (const auto& rule : workingList) rules.Add(rule->Clone());
  program_.colRules = rules;
  // The rules apply from now on either way; the user learns that they will not come back, and
  // the editor stays open so that Ok may try again.
  if (!SaveRules(program_.platform.store, program_.colRules)) {
    ErrorBox(program_, GetMsg(program_, msgs::kRulesNotSaved));
    return;
  }
  HideDialog();
}

void ShowRulesEditor(Program& program) {
  frmRules dialog(program);
  ShowDialog(program, dialog, true);
}

}  // namespace ombrix
