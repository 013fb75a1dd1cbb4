#include "events/hotkey_match.h"

#include <gtest/gtest.h>

namespace ombrix {
namespace {

constexpr Modifiers kAlt{.alt = true};
constexpr Modifiers kCtrl{.ctrl = true};
constexpr Modifiers kWin{.win = true};
constexpr HotKeyFlags kAll{true, true, true, true, true, true};  // every group, not ignoring

// On real keys (tests/e2e/switching.sh, settings_dialog.sh): Win, Shift+Win, Alt with digits.
TEST(HotKeyMatch, ArrowsAndDigitsReportTheirModifiersMessageOnlyWhenTheirGroupIsOn) {
  EXPECT_EQ(MatchHotKey(37, kAlt, kAll), 1025u);
  EXPECT_EQ(MatchHotKey(57, kAlt, kAll), 1025u);
  EXPECT_EQ(MatchHotKey(40, kCtrl, kAll), 1026u);
  EXPECT_EQ(MatchHotKey(49, kCtrl, kAll), 1026u);
  EXPECT_EQ(MatchHotKey(39, kWin, kAll), 1027u);
  for (int vk : {36, 41, 48 /* digit 0 */, 58, 65 /* A */, 97 /* numpad 1 */}) {
    EXPECT_EQ(MatchHotKey(vk, kWin, kAll), 0u) << vk;
  }
  // Each group on its own; a group of another modifier does not leak.
  EXPECT_EQ(MatchHotKey(37, kWin, {.winNum = true}), 0u);
  EXPECT_EQ(MatchHotKey(50, kWin, {.winArrows = true}), 0u);
  EXPECT_EQ(MatchHotKey(50, kAlt, {.ctrlNum = true, .winNum = true}), 0u);
  EXPECT_EQ(MatchHotKey(38, kCtrl, {.altArrows = true, .winArrows = true}), 0u);
  EXPECT_EQ(MatchHotKey(38, kCtrl, {.ctrlArrows = true}), 1026u);
  // Shift joins digits only; other sets of modifiers, or ignoring, report nothing.
  EXPECT_EQ(MatchHotKey(52, {.alt = true, .shift = true}, kAll), 1025u);
  EXPECT_EQ(MatchHotKey(37, {.win = true, .shift = true}, kAll), 0u);
  EXPECT_EQ(MatchHotKey(51, {.shift = true}, kAll), 0u);
  EXPECT_EQ(MatchHotKey(50, {}, kAll), 0u);
  EXPECT_EQ(MatchHotKey(50, {.alt = true, .ctrl = true}, kAll), 0u);  // AltGr
  EXPECT_EQ(MatchHotKey(37, {.alt = true, .win = true}, kAll), 0u);
  HotKeyFlags ignoring = kAll;
  ignoring.ignore = true;
  for (Modifiers held : {kAlt, kCtrl, kWin}) {
    EXPECT_EQ(MatchHotKey(37, held, ignoring), 0u);
    EXPECT_EQ(MatchHotKey(49, held, ignoring), 0u);
  }
}

}  // namespace
}  // namespace ombrix
