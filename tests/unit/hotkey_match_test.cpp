#include "events/hotkey_match.h"

#include <gtest/gtest.h>

namespace ombrix {
namespace {

constexpr Modifiers kAlt{.alt = true};
constexpr Modifiers kCtrl{.ctrl = true};
constexpr Modifiers kWin{.win = true};

HotKeyFlags AllGroups() {
  return {.altArrows = true,
          .ctrlArrows = true,
          .winArrows = true,
          .altNum = true,
          .ctrlNum = true,
          .winNum = true};
}

TEST(HotKeyMatch, EachModifierReportsItsOwnMessageForArrowsAndDigits) {
  const HotKeyFlags all = AllGroups();
  EXPECT_EQ(MatchHotKey(37, kAlt, all), 1025u);
  EXPECT_EQ(MatchHotKey(57, kAlt, all), 1025u);
  EXPECT_EQ(MatchHotKey(40, kCtrl, all), 1026u);
  EXPECT_EQ(MatchHotKey(49, kCtrl, all), 1026u);
  EXPECT_EQ(MatchHotKey(39, kWin, all), 1027u);
  EXPECT_EQ(MatchHotKey(51, kWin, all), 1027u);
}

TEST(HotKeyMatch, OnlyArrowsAndDigitsOneToNineAreHotKeys) {
  const HotKeyFlags all = AllGroups();
  for (int vk : {36, 41, 48 /* digit 0 */, 58, 65 /* A */, 97 /* numpad 1 */}) {
    EXPECT_EQ(MatchHotKey(vk, kWin, all), 0u) << vk;
  }
}

TEST(HotKeyMatch, EachGroupIsSwitchedOnItsOwn) {
  EXPECT_EQ(MatchHotKey(37, kWin, {.winNum = true}), 0u);
  EXPECT_EQ(MatchHotKey(50, kWin, {.winArrows = true}), 0u);
  EXPECT_EQ(MatchHotKey(50, kWin, {.winNum = true}), 1027u);
  EXPECT_EQ(MatchHotKey(38, kWin, {.winArrows = true}), 1027u);
  // A group of another modifier does not leak.
  EXPECT_EQ(MatchHotKey(50, kAlt, {.ctrlNum = true, .winNum = true}), 0u);
  EXPECT_EQ(MatchHotKey(38, kCtrl, {.altArrows = true, .winArrows = true}), 0u);
  EXPECT_EQ(MatchHotKey(38, kCtrl, {.ctrlArrows = true}), 1026u);
  EXPECT_EQ(MatchHotKey(55, kAlt, {.altNum = true}), 1025u);
}

TEST(HotKeyMatch, ShiftJoinsDigitsButNotArrows) {
  const HotKeyFlags all = AllGroups();
  EXPECT_EQ(MatchHotKey(51, {.win = true, .shift = true}, all), 1027u);
  EXPECT_EQ(MatchHotKey(52, {.alt = true, .shift = true}, all), 1025u);
  EXPECT_EQ(MatchHotKey(37, {.win = true, .shift = true}, all), 0u);
  EXPECT_EQ(MatchHotKey(39, {.ctrl = true, .shift = true}, all), 0u);
  EXPECT_EQ(MatchHotKey(51, {.shift = true}, all), 0u);
}

TEST(HotKeyMatch, NoneOrSeveralModifiersAreNotAHotKey) {
  const HotKeyFlags all = AllGroups();
  EXPECT_EQ(MatchHotKey(50, {}, all), 0u);
  EXPECT_EQ(MatchHotKey(50, {.alt = true, .ctrl = true}, all), 0u);  // AltGr
  EXPECT_EQ(MatchHotKey(37, {.alt = true, .win = true}, all), 0u);
  EXPECT_EQ(MatchHotKey(37, {.ctrl = true, .win = true}, all), 0u);
}

TEST(HotKeyMatch, IgnoreSilencesEveryGroup) {
  HotKeyFlags flags = AllGroups();
  flags.ignore = true;
  for (Modifiers held : {kAlt, kCtrl, kWin}) {
    EXPECT_EQ(MatchHotKey(37, held, flags), 0u);
    EXPECT_EQ(MatchHotKey(49, held, flags), 0u);
  }
}

}  // namespace
}  // namespace ombrix
