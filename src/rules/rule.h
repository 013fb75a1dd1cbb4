// Application rules: what to look for in an application's windows and what to do on a match.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/list.h"
#include "core/records.h"

namespace ombrix {

enum eTextMode : int32_t {
  kModeContains = 0,
  kModeNotContains = 1,
  kModeStartsWith = 2,
  kModeEndsWith = 3,
  kModeEqualTo = 4,
};

enum eRuleAction : int32_t {
  kMoveToDesk = 0,
  kMaximize = 1,
  kMinimize = 2,
  kClose = 3,
  kKill = 4,
  kVisibility = 5,
  kIgnoreApp = 6,
};

class clsRule {
 public:
  std::string sRuleName;
  bool bWinText = false;
  int32_t iWinTextMode = kModeContains;
  std::string sWinText;
  bool bAnd = false;
  bool bWinClass = false;
  int32_t iWinClassMode = kModeContains;
  std::string sWinClass;
  int32_t iAction = kMoveToDesk;
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
