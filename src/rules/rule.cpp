#include "rules/rule.h"

namespace ombrix {

namespace {

bool TestHolds(const clsPI& application, const std::string& lowerPattern, int32_t which,
               TextCompare mode) {
  return !lowerPattern.empty() && application.ContainLowerText(lowerPattern, which, mode);
}

}  // namespace

PreparedRule::PreparedRule(const clsRule& rule)
    : rule_(rule), lowerText_(LowerText(rule.sWinText)), lowerClass_(LowerText(rule.sWinClass)) {}

bool PreparedRule::Matches(const clsPI& application) const {
  if (rule_.bWinText && rule_.bWinClass) {
    const bool title = TestHolds(application, lowerText_, kTitleOnly, rule_.iWinTextMode);
    const bool cls = TestHolds(application, lowerClass_, kClassOnly, rule_.iWinClassMode);
    return rule_.bAnd ? title && cls : title || cls;
  }
  if (rule_.bWinText) return TestHolds(application, lowerText_, kTitleOnly, rule_.iWinTextMode);
  if (rule_.bWinClass) {
    return TestHolds(application, lowerClass_, kClassOnly, rule_.iWinClassMode);
  }
  return false;
}

bool RuleMatches(const clsRule& rule, const clsPI& application) {
  return PreparedRule(rule).Matches(application);
}

}  // namespace ombrix
