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
  controls = {
      Placed("lblInfo", K::Label, "Use this dialog to set rules for starting applications",
               {12, 10, 608, 28}),
      Placed("lblRunningApps", K::Label, "Running applications (filtered)", {12, 36, 300, 54}),
      Placed("lstIconApp", K::PictureList, "", {12, 56, 300, 222}),
      Placed("lblRulesList", K::Label, "Rules list", {312, 36, 520, 54}),
      Placed("lstRules", K::ListBox, "", {312, 56, 520, 222}),
      Placed("btnUp", K::Button, "Up", {528, 56, 608, 82}),
      Placed("btnDown", K::Button, "Down", {528, 88, 608, 114}),
      Placed("btnDeleteRule", K::Button, "Delete Rule", {528, 196, 608, 222}),
      Placed("lblNewRules", K::Label, "New Rules", {12, 236, 608, 254}),
      Placed("lblRuleName", K::Label, "Rule Name:", {12, 264, 150, 282}),
      Placed("txtRuleName", K::TextBox, "", {152, 260, 440, 282}),
      Placed("chkWinText", K::CheckBox, "if window text", {12, 294, 150, 314}),
      Placed("cmbContain1", K::ComboBox, "", {152, 292, 300, 314}),
      Placed("txtWinText", K::TextBox, "", {308, 292, 608, 314}),
      Placed("cmbAndOr", K::ComboBox, "", {152, 324, 240, 346}),
      Placed("chkWinClass", K::CheckBox, "if window class", {12, 358, 150, 378}),
      Placed("cmbContain2", K::ComboBox, "", {152, 356, 300, 378}),
      Placed("txtWinClass", K::TextBox, "", {308, 356, 608, 378}),
      Placed("cmbAction", K::ComboBox, "", {152, 390, 300, 412}),
      Placed("cmbDeskNumber", K::ComboBox, "", {308, 390, 372, 412}),
      Placed("btnAddRule", K::Button, "Add Rule", {508, 388, 608, 414}),
      Placed("lblRuleProblem", K::Label, "", {12, 422, 608, 440}),
      Placed("btnOk", K::Button, "Ok", {428, 454, 508, 480}),
      Placed("btnCancel", K::Button, "Cancel", {528, 454, 608, 480}),
  };
  C("lblNewRules").font.bold = true;
  C("lblRuleProblem").foreColour = Rgb(160, 0, 0);
  C("txtRuleName").MaxLength = kMaxNameLength;
  C("txtWinText").MaxLength = kMaxPatternLength;
  C("txtWinClass").MaxLength = kMaxPatternLength;
  C("btnCancel").Cancel = true;
}

void frmRules::OnLoad() {
  LoadDialog();
  for (const auto& rule : program_.colRules) workingList.Add(rule->Clone());
  LoadRules();
  for (const char* name : {"cmbContain1", "cmbContain2"}) {
    C(name).Items = ChoiceTexts(program_, kCompares);
    C(name).ListIndex = 0;
  }
  C("cmbAndOr").Items = {GetMsg(program_, msgs::kAnd), GetMsg(program_, msgs::kOr)};
  C("cmbAndOr").ListIndex = 0;
  C("cmbDeskNumber").Items = Numbers(kDesktopCount);
  C("cmbDeskNumber").ListIndex = 0;
  C("cmbAction").Items = ChoiceTexts(program_, kActions);
  C("cmbAction").ListIndex = 0;
  UpdateTests();
  UpdateButtons();
  // Filled at load as well: where the system refuses the dialog the foreground, it is not
  // activated until the user clicks it.
  LoadList();
}

void frmRules::LoadRules() {
  Control& list = C("lstRules");
  list.ListItems.clear();
  for (const auto& rule : workingList) list.ListItems.push_back({"", rule->sRuleName});
  list.ListIndex = -1;
}

void frmRules::LoadList() {
  ScanDesktop(program_, program_.desk.iCurDesk);
  Control& list = C("lstIconApp");
  list.ListItems.clear();
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    if (!ListsApplicationsOf(program_, d)) continue;
    for (ListItem& item : ApplicationItems(program_, d)) list.ListItems.push_back(std::move(item));
  }
  if (list.ListIndex >= static_cast<int>(list.ListItems.size())) list.ListIndex = -1;
}

void frmRules::OnActivate(bool) { LoadList(); }

void frmRules::OnClick(Control& control) {
  const std::string& name = control.Name;
  if (name == "lstIconApp") {
    ShowPickedApplication();
  } else if (name == "lstRules") {
    ShowPickedRule();
  } else if (name == "chkWinText" || name == "chkWinClass") {
    UpdateTests();
  } else if (name == "btnAddRule") {
    AddRule();
  } else if (name == "btnDeleteRule") {
    DeleteRule();
  } else if (name == "btnUp") {
    MoveRule(-1);
  } else if (name == "btnDown") {
    MoveRule(1);
  } else if (name == "btnOk") {
    Confirm();
  } else if (name == "btnCancel") {
    HideDialog();
  }
}

void frmRules::OnChange(Control& control) {
  if (control.Name == "cmbAction") UpdateDeskNumber();
  if (control.kind == ControlKind::TextBox || control.Name == "cmbAction" ||
      control.Name == "cmbDeskNumber" || control.Name == "cmbContain1" ||
      control.Name == "cmbContain2") {
    Validate();
  }
}

IconHandle frmRules::OnItemPicture(Control&, const ListItem& item) {
  return ApplicationPicture(program_, item.Key);
}

void frmRules::ShowPickedApplication() {
  const ListItem* item = SelectedItem(C("lstIconApp"));
  if (item == nullptr) return;
  const ApplicationPlace place = FindApplication(program_, item->Key);
  if (place.position < 1) {  // gone since the list was filled
    LoadList();
    return;
  }
  const clsPI& app = program_.desk.Desk(place.desk).opi[place.position];
  C("txtWinText").Caption = app.GetText(kTitleOnly);
  C("txtWinClass").Caption = app.GetText(kClassOnly);
  Validate();
}

void frmRules::ShowPickedRule() {
  UpdateButtons();
  const int i = C("lstRules").ListIndex;
  if (i < 0 || i >= workingList.Count()) return;
  const clsRule& rule = workingList[i + 1];
  C("txtRuleName").Caption = rule.sRuleName;
  C("chkWinText").Value = rule.bWinText;
  C("cmbContain1").ListIndex = PositionOf(kCompares, rule.iWinTextMode);
  C("txtWinText").Caption = rule.sWinText;
  C("cmbAndOr").ListIndex = rule.bAnd ? 0 : 1;
  C("chkWinClass").Value = rule.bWinClass;
  C("cmbContain2").ListIndex = PositionOf(kCompares, rule.iWinClassMode);
  C("txtWinClass").Caption = rule.sWinClass;
  C("cmbAction").ListIndex = PositionOf(kActions, rule.iAction);
  UpdateDeskNumber();
  C("cmbDeskNumber").ListIndex = PositionOf(C("cmbDeskNumber"), rule.iDestDesk - 1);
  UpdateTests();
}

// And and Or matter only when both tests are on; the desktop or level only for the actions
// that take one.
void frmRules::UpdateTests() {
  const bool text = C("chkWinText").Value;
  const bool cls = C("chkWinClass").Value;
  C("cmbContain1").Enabled = text;
  C("txtWinText").Enabled = text;
  C("cmbAndOr").Enabled = text && cls;
  C("cmbContain2").Enabled = cls;
  C("txtWinClass").Enabled = cls;
  C("cmbAction").Enabled = text || cls;
  C("cmbDeskNumber").Enabled = (text || cls) && TakesNumber(Chosen(kActions, C("cmbAction")));
  Validate();
}

void frmRules::UpdateDeskNumber() {
  Control& number = C("cmbDeskNumber");
  const std::optional<RuleAction> action = Chosen(kActions, C("cmbAction"));
  number.Enabled = TakesNumber(action);
  if (!number.Enabled) return;
  number.Items = Numbers(action == RuleAction::MoveToDesk ? kDesktopCount : kVisibilityLevels);
  number.ListIndex = 0;
}

void frmRules::UpdateButtons() {
  const int i = C("lstRules").ListIndex;
  const int count = static_cast<int>(C("lstRules").ListItems.size());
  const bool selected = i >= 0 && i < count;
  C("btnDeleteRule").Enabled = selected;
  C("btnUp").Enabled = selected && i >= 1;
  C("btnDown").Enabled = selected && i < count - 1;
}

void frmRules::Validate() {
  const std::string problem = RuleProblem();
  C("btnAddRule").Enabled = problem.empty();
  C("lblRuleProblem").Caption = problem;
}

std::string frmRules::RuleProblem() {
  const bool text = C("chkWinText").Value;
  const bool cls = C("chkWinClass").Value;
  const std::optional<RuleAction> action = Chosen(kActions, C("cmbAction"));
  if (TrimBlanks(C("txtRuleName").Caption).empty()) return GetMsg(program_, msgs::kRuleNeedsName);
  if (!text && !cls) return GetMsg(program_, msgs::kRuleNeedsTest);
  if ((text && !Chose(C("cmbContain1"))) || (cls && !Chose(C("cmbContain2")))) {
    return GetMsg(program_, msgs::kRuleNeedsMode);
  }
  // Blanks count: a title may contain them.
  if (text && C("txtWinText").Caption.empty()) return GetMsg(program_, msgs::kRuleNeedsText);
  if (cls && C("txtWinClass").Caption.empty()) return GetMsg(program_, msgs::kRuleNeedsClass);
  if (!Chose(C("cmbAction"))) return GetMsg(program_, msgs::kRuleNeedsAction);
  if (action == RuleAction::MoveToDesk && !Chose(C("cmbDeskNumber"))) {
    return GetMsg(program_, msgs::kRuleNeedsDesktop);
  }
  if (action == RuleAction::Visibility && !Chose(C("cmbDeskNumber"))) {
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
  rule.sRuleName = TrimBlanks(C("txtRuleName").Caption);
  rule.bWinText = C("chkWinText").Value;
  rule.iWinTextMode = Chosen(kCompares, C("cmbContain1")).value_or(TextCompare::Contains);
  rule.sWinText = C("txtWinText").Caption;
  rule.bAnd = C("cmbAndOr").ListIndex == 0;
  rule.bWinClass = C("chkWinClass").Value;
  rule.iWinClassMode = Chosen(kCompares, C("cmbContain2")).value_or(TextCompare::Contains);
  rule.sWinClass = C("txtWinClass").Caption;
  rule.iAction = Chosen(kActions, C("cmbAction")).value_or(RuleAction::MoveToDesk);
  const Control& number = C("cmbDeskNumber");
  rule.iDestDesk = static_cast<int16_t>(
      Chose(number) ? DecodeNumber(number.Items[static_cast<size_t>(number.ListIndex)]) : 0);
  return rule;
}

void frmRules::AddRule() {
  if (!RuleProblem().empty()) return;
  if (RuleExists(C("txtRuleName").Caption)) {
    ErrorBox(program_, GetMsg(program_, msgs::kRuleExists));
    return;
  }
  workingList.Add(std::make_shared<clsRule>(EditedRule()));
  LoadRules();
  UpdateButtons();
}

void frmRules::DeleteRule() {
  Control& list = C("lstRules");
  const int i = list.ListIndex;
  if (i < 0 || i >= workingList.Count()) return;
  workingList.Remove(i + 1);
  sLastDeleted = list.ListItems[static_cast<size_t>(i)].Text;
  list.ListItems.erase(list.ListItems.begin() + i);
  list.ListIndex = -1;
  UpdateButtons();
}

void frmRules::MoveRule(int by) {
  Control& list = C("lstRules");
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
  const std::string& name = C("txtRuleName").Caption;
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
