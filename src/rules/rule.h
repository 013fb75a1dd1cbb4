// Application rules: what to look for in an application's windows and what to do on a match.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/list.h"
#include "core/records.h"

namespace ombrix {

// What a rule does to the applications it matches; stored as these numbers. A number from a
// hand-edited store that names no action is kept as it is and does nothing.
enum class RuleAction : int32_t {
  MoveToDesk = 0,
  Maximize = 1,
  Minimize = 2,
  Close = 3,
  Kill = 4,
  Visibility = 5,
  IgnoreApp = 6,
};

class clsRule {
 public:
  std::string sRuleName;
  bool bWinText = false;
  TextCompare iWinTextMode = TextCompare::Contains;
  std::string sWinText;
  bool bAnd = false;
  bool bWinClass = false;
  TextCompare iWinClassMode = TextCompare::Contains;
  std::string sWinClass;
  RuleAction iAction = RuleAction::MoveToDesk;
  int16_t iDestDesk = 0;

  std::shared_ptr<clsRule> Clone() const { return std::make_shared<clsRule>(*this); }
};

using RuleList = List<clsRule>;

// Whether the rule holds for the application. Each active test holds when any one window
// satisfies it. An active test with an empty pattern (only a hand-edited store has one) never
// holds: an empty text is contained in every title and would let one stray rule close, kill
// or move every application on the desktop.
bool RuleMatches(const clsRule& rule, const clsPI& application);

// A rule with its patterns in lower case, for passes that test it against many applications.
class PreparedRule {
 public:
  explicit PreparedRule(const clsRule& rule);
  bool Matches(const clsPI& application) const;

 private:
  const clsRule& rule_;
  std::string lowerText_;
  std::string lowerClass_;
};

}  // namespace ombrix
