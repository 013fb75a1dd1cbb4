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
}

TEST(RuleMatching, EmptyPatternNeverHolds) {
  const auto app = AppOf({{"Anything", "Cls"}});
  for (int32_t mode : {0, 1, 2, 3, 4}) {
    EXPECT_FALSE(RuleMatches(TitleRule("", static_cast<TextCompare>(mode)), *app)) << mode;
  }
  clsRule cls;
  cls.bWinClass = true;
  EXPECT_FALSE(RuleMatches(cls, *app));
}

// The editor's tests save and read rules too; here are the fields it never sets.
TEST(RuleStore, RoundTripKeepsTheOrFlagAndAShorterListReadsShorter) {
  sim::MemoryStore store;
  RuleList rules;
  auto first = std::make_shared<clsRule>(TitleRule("  padded  ", TextCompare::EndsWith, RuleAction::Visibility));
  first->bAnd = false;
  first->iDestDesk = 5;
  rules.Add(first);
  rules.Add(std::make_shared<clsRule>(TitleRule("second", TextCompare::Contains)));
  ASSERT_TRUE(SaveRules(store, rules));
  const RuleList read = ReadRules(store);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_FALSE(read[1].bAnd);
  EXPECT_EQ(read[1].iWinTextMode, TextCompare::EndsWith);
  EXPECT_EQ(read[1].iDestDesk, 5);
  EXPECT_EQ(read[2].sWinText, "second");

  RuleList one;
  one.Add(first);
  ASSERT_TRUE(SaveRules(store, one));
  EXPECT_EQ(ReadRules(store).Count(), 1);

  // A write refused part-way leaves the rules as they were, not a mixture of old and new.
  const auto before = store.sections;
  store.lockedKeys = {"Action2"};
  EXPECT_FALSE(SaveRules(store, rules));
  EXPECT_EQ(store.sections, before);
}

TEST(RuleStore, MissingAndOddValuesReadSafely) {
  sim::MemoryStore store;
  EXPECT_EQ(ReadRules(store).Count(), 0);
  auto& v = store.sections["Rules"];
  v["NumRules"] = "2";
  v["RuleName1"] = "Only name";
  v["DestDesk2"] = "99999";
  v["Action2"] = "99999999999";
  v["RuleName3"] = "stale";
  RuleList rules = ReadRules(store);
  ASSERT_EQ(rules.Count(), 2);
  EXPECT_TRUE(rules[1].bAnd);  // missing And reads true
  EXPECT_FALSE(rules[1].bWinText || rules[1].bWinClass);
  EXPECT_EQ(rules[2].iDestDesk, 32767);
  EXPECT_EQ(static_cast<int32_t>(rules[2].iAction), 2147483647);
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
  Hwnd Window(const std::string& title, uint32_t pid) { return world.Open(title, pid); }
};

TEST_F(RulePass, MovesEveryMatchingApplicationAndLaterRulesDoNotSeeThem) {
  const Hwnd a = Window("Mail one", 10);
  const Hwnd b = Window("Mail two", 11);
  const Hwnd c = Window("Other", 12);
  clsRule move = TitleRule("mail", TextCompare::StartsWith, RuleAction::MoveToDesk);
  move.iDestDesk = 4;
  Rules({move, TitleRule("mail", TextCompare::Contains, RuleAction::Maximize)});
  ApplyRules(program, false);
  EXPECT_FALSE(Visible(a) || Visible(b));
  EXPECT_TRUE(Visible(c));
  EXPECT_EQ(Desk(4).opi.Count(), 2);
  EXPECT_FALSE(world.windows.Get(a)->maximized || world.windows.Get(b)->maximized);
  EXPECT_EQ(Desk(1).opi.Count(), 1);
}

TEST_F(RulePass, RulesActInListOrderAndMovesToTheCurrentOrNoDesktopDoNothing) {
  const Hwnd a = Window("Mail", 10);
  clsRule here = TitleRule("mail", TextCompare::Contains, RuleAction::MoveToDesk);
  here.iDestDesk = 1;
  clsRule far = here;
  far.iDestDesk = 12;
  Rules({here, far, TitleRule("mail", TextCompare::EqualTo, RuleAction::Minimize),
         TitleRule("mail", TextCompare::EqualTo, RuleAction::Maximize)});
  world.windows.showCalls.clear();
  ApplyRules(program, false);
  std::vector<int> commands;
  for (auto& [h, cmd] : world.windows.showCalls) {
    if (h == a) commands.push_back(cmd);
  }
  EXPECT_EQ(commands, (std::vector<int>{6, 3}));
  EXPECT_EQ(Desk(1).opi.Count(), 1);
}

TEST_F(RulePass, CloseAsksTheFirstWindowOnlyAndDoesNotWaitForAHungOne) {
  const Hwnd a = Window("Editor", 10);
  const Hwnd tool = world.Open("Editor tool", 10, a);
  Rules({TitleRule("editor", TextCompare::StartsWith, RuleAction::Close)});
  ApplyRules(program, false);
  EXPECT_FALSE(world.windows.IsWindow(a));
  EXPECT_TRUE(world.windows.IsWindow(tool));
  const Hwnd hung = Window("Editor hung", 20);
  world.windows.Get(hung)->hung = true;
  ApplyRules(program, false);  // returns although the window never answers
  EXPECT_TRUE(world.windows.IsWindow(hung));
}

// The shell's folder windows are applications like any other; ending the shell would take the
// taskbar and the desktop with it.
TEST_F(RulePass, KillEndsTheProcessButNeverTheShellThisProgramOrACriticalOne) {
  for (uint32_t pid : {10u, 11u, 12u, 20u}) Window("App " + std::to_string(pid), pid);
  world.Open("Downloads", 20, 0, "CabinetWClass");
  world.Open("Taskbar", 20, 0, "Shell_TrayWnd");
  const uint32_t own = world.process.processId;
  world.process.processes = {{10, true}, {11, false}, {12, true}, {20, true}, {own, true}};
  world.process.critical = {12};
  Rules({TitleRule("zzz", TextCompare::NotContains, RuleAction::Kill)});
  ApplyRules(program, false);
  EXPECT_EQ(world.process.killed, (std::vector<uint32_t>{10}));
  EXPECT_EQ(Desk(1).opi.Count(), 5);  // a killed application stays until the next pass
  EXPECT_EQ(KillProcess(program, 11), -2);
  EXPECT_EQ(KillProcess(program, 99), -3);
  for (uint32_t refused : {12u, 20u, own}) {
    EXPECT_EQ(KillProcess(program, static_cast<int32_t>(refused)), kKillRefused) << refused;
  }
  EXPECT_EQ(world.process.killed, (std::vector<uint32_t>{10}));
}

TEST_F(RulePass, VisibilityLevelsGiveTheirAlpha) {
  EXPECT_EQ(OpacityAlpha(VisibilityPercent(0)), 102);
  EXPECT_EQ(OpacityAlpha(VisibilityPercent(10)), 255);
  const Hwnd a = Window("Clock", 10);
  clsRule fade = TitleRule("clock", TextCompare::EqualTo, RuleAction::Visibility);
  fade.iDestDesk = 5;
  Rules({fade});
  ApplyRules(program, false);
  EXPECT_EQ(world.windows.Get(a)->alpha, 178);
  // The style change waits for the window's program: one that does not answer is left alone.
  const Hwnd hung = Window("Clock", 12);
  world.windows.Get(hung)->hung = true;
  ApplyRules(program, false);
  EXPECT_EQ(world.windows.ExStyle(hung) & 0x80000, 0u);
  EXPECT_EQ(VisibilityPercent(300), 100);
  EXPECT_EQ(VisibilityPercent(-300), 0);
  // Systems older than the platform-version code 8 have no layered windows.
  const Hwnd old = Window("Clock", 11);
  world.process.versionCode = 7;
  ApplyRules(program, false);
  EXPECT_EQ(world.windows.ExStyle(old) & 0x80000, 0u);
}

TEST_F(RulePass, IgnoredApplicationsStayOutOfTheDesktopAndItsSwitches) {
  const Hwnd keep = Window("Monitor", 10);
  const Hwnd other = Window("Other", 11);
  Rules({TitleRule("monitor", TextCompare::EqualTo, RuleAction::IgnoreApp)});
  ScanDesktop(program, 1);
  EXPECT_EQ(Desk(1).opi.Count(), 1);
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(keep), -1);
  Send(1027, 50);
  EXPECT_TRUE(Visible(keep));
  EXPECT_FALSE(Visible(other));
  Send(1027, 49);
  EXPECT_TRUE(Visible(keep) && Visible(other));
}

TEST_F(RulePass, RulesFromTheStoreActOnANewWindow) {
  world.store.sections["Rules"] = {{"NumRules", "1"}, {"CheckWinText1", "1"},
                                   {"WinText1", "Mine"},  {"WinTextMode1", "4"},
                                   {"Action1", "0"},      {"DestDesk1", "3"}};
  sim::World w;
  w.store.sections = world.store.sections;
  Program p{w.platform()};
  StartUp(p);
  const Hwnd mine = w.Open("Mine", 10);
  p.mainWindow->OnSubscribedMessage(1034, mine, 0);
  w.clock.Advance(kRulePassDelayMs);
  EXPECT_FALSE(w.windows.IsWindowVisible(mine));
  p.mainWindow->OnSubscribedMessage(1027, 51, 0);
  EXPECT_TRUE(w.windows.IsWindowVisible(mine));
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

TEST_F(Notices, ABurstOfNewWindowsCostsOnePassThatActsOnEachOfThem) {
  std::vector<Hwnd> movers;
  for (int i = 0; i < 10; ++i) {
    movers.push_back(Window("Mover " + std::to_string(i), 100 + i));
    Notice(movers.back());
  }
  const Hwnd stays = Window("Stays", 200);
  Notice(stays);
  EXPECT_EQ(passes(), 0);
  EXPECT_TRUE(Visible(movers[0]));
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), 1);
  for (Hwnd h : movers) EXPECT_FALSE(Visible(h));
  EXPECT_EQ(Desk(3).opi.Count(), 10);
  EXPECT_TRUE(Visible(stays));
  world.clock.Advance(10 * kRulePassDelayMs);
  EXPECT_EQ(passes(), 1);  // nothing more to do, no further pass
}

TEST_F(Notices, WindowsTheSwitchShowsAreNotNewButANewWindowAmongThemIs) {
  std::vector<Hwnd> windows;
  for (int i = 0; i < 5; ++i) windows.push_back(Window("App " + std::to_string(i), 100 + i));
  ApplyRules(program, false);
  Send(1027, 50);
  Send(1027, 49);
  const int switched = passes();
  for (Hwnd h : windows) Notice(h);  // the library reports every window the switch showed
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), switched);
  const Hwnd mover = Window("Mover", 300);
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

TEST_F(Notices, APassHeldUpByABusyFlagRunsWhenItClears) {
  const Hwnd mover = Window("Mover", 10);
  Notice(mover);
  {
    // As while a password prompt of a switch is open.
    const BusyState::Guard hotKey = program.busy.Enter(Busy::HotKey);
    world.clock.Advance(5 * kRulePassDelayMs);
    EXPECT_EQ(passes(), 0);
  }
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(passes(), 1);
  EXPECT_FALSE(Visible(mover));
  EXPECT_FALSE(world.ui.TimerRunning(kRulePassTimer));
}

TEST_F(Notices, ASwitchRunsThePendingPassOfTheDesktopItLeavesFirst) {
  const Hwnd mover = Window("Mover", 10);
  Notice(mover);
  Send(1027, 50);  // Win+2 before the pass was due
  EXPECT_EQ(Desk(3).GetProcessIdxByHandle(mover), 1);
  EXPECT_EQ(Desk(1).GetProcessIdxByHandle(mover), -1);
  Send(1027, 51);
  EXPECT_TRUE(Visible(mover));
  world.clock.Advance(kRulePassDelayMs);
  EXPECT_EQ(program.desk.iCurDesk, 3);
  EXPECT_TRUE(Visible(mover));
}

}  // namespace
}  // namespace ombrix
