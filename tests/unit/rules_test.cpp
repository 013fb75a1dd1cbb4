#include <gtest/gtest.h>

#include "core/discovery.h"
#include "heart_fixture.h"
#include "rules/apply.h"
#include "rules/rule.h"
#include "rules/store.h"

namespace ombrix {
namespace {

std::shared_ptr<clsPI> AppOf(std::vector<std::pair<std::string, std::string>> windows) {
  auto app = std::make_shared<clsPI>();
  Hwnd h = 100;
  for (auto& [title, cls] : windows) {
    auto w = std::make_shared<clsWI>();
    w->lHwnd = h += 4;
    w->window_text = title;
    w->class_name = cls;
    app->oWin.Add(w);
  }
  return app;
}

clsRule TitleRule(const std::string& pattern, TextCompare mode,
                  RuleAction action = RuleAction::Maximize) {
  clsRule rule;
  rule.bWinText = true;
  rule.sWinText = pattern;
  rule.iWinTextMode = mode;
  rule.iAction = action;
  return rule;
}

TEST(RuleMatching, TestsCombineAcrossTheApplicationsWindows) {
  const auto notes = AppOf({{"Notes - Editor", "EditWnd"}, {"Untitled", "ToolWnd"}});
  EXPECT_TRUE(RuleMatches(TitleRule("NOTE", TextCompare::Contains), *notes));
  EXPECT_FALSE(RuleMatches(TitleRule("notes", TextCompare::EqualTo), *notes));
  EXPECT_TRUE(RuleMatches(TitleRule("- EDITOR", TextCompare::EndsWith), *notes));
  EXPECT_FALSE(RuleMatches(TitleRule("Notes - Editor and more", TextCompare::StartsWith), *notes));
  EXPECT_TRUE(RuleMatches(TitleRule("\xC3\xA9t\xC3\xA9", TextCompare::StartsWith),  // "été"
                          *AppOf({{"\xC3\x89T\xC3\x89 \xC3\xA0 Paris", "Cls"}})));
  // "doesn't contain" holds for one window of two, and so does "contains"
  EXPECT_TRUE(RuleMatches(TitleRule("notes", TextCompare::NotContains), *notes));

  clsRule both = TitleRule("zzz", TextCompare::Contains);
  both.bWinClass = true;
  both.sWinClass = "toolwnd";
  both.iWinClassMode = TextCompare::EqualTo;
  both.bAnd = false;
  EXPECT_TRUE(RuleMatches(both, *notes));  // title fails, class holds
  both.bAnd = true;
  EXPECT_FALSE(RuleMatches(both, *notes));
  both.sWinText = "notes";  // title and class satisfied by different windows
  EXPECT_TRUE(RuleMatches(both, *notes));

  const auto single = AppOf({{"Notes", "EditWnd"}});
  clsRule lacking = TitleRule("note", TextCompare::NotContains);
  lacking.bWinClass = true;
  lacking.sWinClass = "edit";
  lacking.bAnd = true;
  EXPECT_FALSE(RuleMatches(lacking, *single));

  clsRule off;
  off.sWinText = "Notes";
  EXPECT_FALSE(RuleMatches(off, *single));
  EXPECT_FALSE(RuleMatches(TitleRule("x", TextCompare::NotContains), *AppOf({})));
  EXPECT_FALSE(RuleMatches(TitleRule("Notes", static_cast<TextCompare>(7)), *single));
  // An empty pattern never holds: it would match every window.
  for (int32_t mode : {0, 1, 2, 3, 4}) {
    EXPECT_FALSE(RuleMatches(TitleRule("", static_cast<TextCompare>(mode)), *single)) << mode;
  }
  clsRule cls;
  cls.bWinClass = true;
  EXPECT_FALSE(RuleMatches(cls, *single));
}

// Every field the editor sets is read back on a real store by tests/e2e/rules.sh; here are those
// it never sets.
TEST(RuleStore, RoundTripKeepsTheOrFlagAndAllOrNothingIsWrittenAndOddValuesReadSafely) {
  sim::MemoryStore store;
  RuleList rules;
  auto first = std::make_shared<clsRule>(
      TitleRule("  padded  ", TextCompare::EndsWith, RuleAction::Visibility));
  first->bAnd = false;
  rules.Add(first);
  rules.Add(std::make_shared<clsRule>(TitleRule("second", TextCompare::Contains)));
  ASSERT_TRUE(SaveRules(store, rules));
  const RuleList read = ReadRules(store);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_FALSE(read[1].bAnd);
  EXPECT_EQ(read[1].iWinTextMode, TextCompare::EndsWith);
  EXPECT_EQ(read[1].sWinText, "  padded  ");

  RuleList one;
  one.Add(first);
  ASSERT_TRUE(SaveRules(store, one));
  EXPECT_EQ(ReadRules(store).Count(), 1);

  // A write refused part-way leaves the rules as they were, not a mixture of old and new.
  const auto before = store.sections;
  store.lockedKeys = {"Action2"};
  EXPECT_FALSE(SaveRules(store, rules));
  EXPECT_EQ(store.sections, before);

  // Missing and odd values read safely.
  store.sections.clear();
  EXPECT_EQ(ReadRules(store).Count(), 0);
  auto& v = store.sections["Rules"];
  v["NumRules"] = "2";
  v["RuleName1"] = "Only name";
  v["DestDesk2"] = "99999";
  v["Action2"] = "99999999999";
  v["RuleName3"] = "stale";
  const RuleList odd = ReadRules(store);
  ASSERT_EQ(odd.Count(), 2);
  EXPECT_TRUE(odd[1].bAnd);  // missing And reads true
  EXPECT_FALSE(odd[1].bWinText || odd[1].bWinClass);
  EXPECT_EQ(odd[2].iDestDesk, 32767);
  EXPECT_EQ(static_cast<int32_t>(odd[2].iAction), 2147483647);
  v["NumRules"] = "-4";
  EXPECT_EQ(ReadRules(store).Count(), 0);
  v["NumRules"] = "70000";
  EXPECT_EQ(ReadRules(store).Count(), 32767);
}

class RulePass : public Started {
 protected:
  void Rules(std::vector<clsRule> list) {
    program.colRules.Clear();
    for (auto& r : list) program.colRules.Add(std::make_shared<clsRule>(r));
  }
};

// On real windows (tests/e2e/rules.sh): stored rules moving a new window, also after a restart.
TEST_F(RulePass, RulesActInListOrderAndNotOnWhatAnEarlierOneMovedOrIgnores) {
  const Hwnd a = world.Open("Mail one", 10);
  const Hwnd b = world.Open("Mail two", 11);
  const Hwnd other = world.Open("Other", 12);
  const Hwnd monitor = world.Open("Monitor", 13);
  clsRule here = TitleRule("other", TextCompare::EqualTo, RuleAction::MoveToDesk);
  here.iDestDesk = 1;  // the current desktop, and then no desktop at all: nothing moves
  clsRule nowhere = here;
  nowhere.iDestDesk = 12;
  clsRule move = TitleRule("mail", TextCompare::StartsWith, RuleAction::MoveToDesk);
  move.iDestDesk = 4;
  Rules({TitleRule("monitor", TextCompare::EqualTo, RuleAction::IgnoreApp), here, nowhere, move,
         TitleRule("o", TextCompare::Contains, RuleAction::Maximize),
         TitleRule("other", TextCompare::EqualTo, RuleAction::Minimize),
         TitleRule("other", TextCompare::EqualTo, RuleAction::Maximize)});
  world.windows.showCalls.clear();
  ApplyRules(program, false);
  EXPECT_FALSE(Visible(a) || Visible(b));
  EXPECT_EQ(Desk(4).opi.Count(), 2);
  EXPECT_FALSE(world.windows.Get(a)->maximized || world.windows.Get(b)->maximized);
  std::vector<std::pair<Hwnd, int>> commands;
  for (const auto& call : world.windows.showCalls) {
    if (call.first == other || call.first == monitor) commands.push_back(call);
  }
  EXPECT_EQ(commands, (std::vector<std::pair<Hwnd, int>>{{other, 3}, {other, 6}, {other, 3}}));
  // An ignored application is not on the desktop: no switch hides it (rules.sh).
  EXPECT_EQ(Desk(1).opi.Count(), 1);
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(monitor), -1);
}

// On real windows (rules.sh): a close request that does not wait for a window that never answers.
TEST_F(RulePass, CloseAsksTheApplicationsFirstWindowOnly) {
  const Hwnd a = world.Open("Editor", 10);
  const Hwnd tool = world.Open("Editor tool", 10, a);
  Rules({TitleRule("editor", TextCompare::StartsWith, RuleAction::Close)});
  ApplyRules(program, false);
  EXPECT_FALSE(world.windows.IsWindow(a));
  EXPECT_TRUE(world.windows.IsWindow(tool));
}

// On real windows (rules.sh, switching.sh): killing a matched program, and never the shell.
TEST_F(RulePass, KillNeverEndsThisProgramOrACriticalOneAndSaysWhyItFailed) {
  for (uint32_t pid : {10u, 11u, 12u}) world.Open("App " + std::to_string(pid), pid);
  const uint32_t own = world.process.processId;
  world.process.processes = {{10, true}, {11, false}, {12, true}, {own, true}};
  world.process.critical = {12};
  Rules({TitleRule("zzz", TextCompare::NotContains, RuleAction::Kill)});
  ApplyRules(program, false);
  EXPECT_EQ(world.process.killed, (std::vector<uint32_t>{10}));
  EXPECT_EQ(Desk(1).opi.Count(), 3);  // a killed application stays until the next pass
  EXPECT_EQ(KillProcess(program, 11), -2);
  EXPECT_EQ(KillProcess(program, 99), -3);
  EXPECT_EQ(KillProcess(program, 12), kKillRefused);
  EXPECT_EQ(KillProcess(program, static_cast<int32_t>(own)), kKillRefused);
  EXPECT_EQ(world.process.killed, (std::vector<uint32_t>{10}));
}

// On real windows (rules.sh, switching.sh): level 5, and a window whose program does not answer.
TEST_F(RulePass, VisibilityLevelsAreKeptInRangeAndNeedLayeredWindows) {
  EXPECT_EQ(OpacityAlpha(VisibilityPercent(0)), 102);
  EXPECT_EQ(OpacityAlpha(VisibilityPercent(10)), 255);
  EXPECT_EQ(VisibilityPercent(300), 100);
  EXPECT_EQ(VisibilityPercent(-300), 0);
  const Hwnd clock = world.Open("Clock", 10);
  clsRule fade = TitleRule("clock", TextCompare::EqualTo, RuleAction::Visibility);
  fade.iDestDesk = 5;
  Rules({fade});
  world.process.versionCode = 7;  // systems before this code have no layered windows
  ApplyRules(program, false);
  EXPECT_EQ(world.windows.ExStyle(clock) & 0x80000, 0u);
}

// New-window notices gather for a moment and are handled by one rule pass.
class Notices : public RulePass {
 protected:
  void Notice(Hwnd h) { Send(1034, h); }
  int passes() const { return world.windows.enumerations - enumerationsAtStart_; }
  void SetUp() override {
    RulePass::SetUp();
    clsRule move = TitleRule("mover", TextCompare::StartsWith, RuleAction::MoveToDesk);
    move.iDestDesk = 3;
    Rules({move});
    enumerationsAtStart_ = world.windows.enumerations;
  }

 private:
  int enumerationsAtStart_ = 0;
};

TEST_F(Notices, ABurstOfNewWindowsCostsOnePassThatWaitsWhileBusyAndActsOnEachOfThem) {
  std::vector<Hwnd> movers;
  for (int i = 0; i < 10; ++i) {
    movers.push_back(world.Open("Mover " + std::to_string(i), 100 + i));
    Notice(movers.back());
  }
  const Hwnd stays = world.Open("Stays", 200);
  Notice(stays);
  {
    // As while a password prompt of a switch is open.
    const BusyState::Guard hotKey = program.busy.Enter(Busy::HotKey);
    world.clock.Advance(5 * kRulePassDelayMs);
    EXPECT_EQ(passes(), 0);
  }
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), 1);
  for (Hwnd h : movers) EXPECT_FALSE(Visible(h));
  EXPECT_EQ(Desk(3).opi.Count(), 10);
  EXPECT_TRUE(Visible(stays));
  world.clock.Advance(10 * kRulePassDelayMs);
  EXPECT_EQ(passes(), 1);  // nothing more to do, no further pass
  EXPECT_FALSE(world.ui.TimerRunning(kRulePassTimer));
}

TEST_F(Notices, ASwitchRunsThePendingPassFirstAndTheWindowsItShowsAreNotNew) {
  const Hwnd early = world.Open("Mover early", 10);
  Notice(early);
  Send(1027, 50);  // Win+2 before the pass was due: the pass of desktop 1 runs first
  EXPECT_EQ(Desk(3).GetProcessIdxByHandle(early), 1);
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(early), -1);
  Send(1027, 51);
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(program.desk.iCurDesk, 3);
  EXPECT_TRUE(Visible(early));

  Send(1027, 49);
  std::vector<Hwnd> windows;
  for (int i = 0; i < 5; ++i) windows.push_back(world.Open("App " + std::to_string(i), 100 + i));
  ApplyRules(program, false);
  Send(1027, 50);
  Send(1027, 49);
  const int switched = passes();
  for (Hwnd h : windows) Notice(h);  // the library reports every window the switch showed
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), switched);
  const Hwnd mover = world.Open("Mover", 300);
  for (Hwnd h : windows) Notice(h);  // a second report of a shown window counts as new again
  Notice(mover);
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), switched + 1);
  EXPECT_FALSE(Visible(mover));

  // A shown window whose notice comes late counts as new again.
  Send(1027, 51);
  Send(1027, 49);
  world.clock.Advance(kShownByProgramMs);
  const int late = passes();
  Notice(windows[0]);
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), late + 1);
}

}  // namespace
}  // namespace ombrix
