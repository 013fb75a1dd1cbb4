#include "rules/rule.h"

namespace ombrix {

namespace {

bool TestHolds(const clsPI& application, const std::string& pattern, int32_t which,
               int32_t mode) {
  return !pattern.empty() && application.ContainText(pattern, which, mode);
}

}  // namespace

bool RuleMatches(const clsRule& rule, const clsPI& application) {
  if (rule.bWinText && rule.bWinClass) {
    const bool title = TestHolds(application, rule.sWinText, kTitleOnly, rule.iWinTextMode);
    const bool cls = TestHolds(application, rule.sWinClass, kClassOnly, rule.iWinClassMode);
    return rule.bAnd ? title && cls : title || cls;
  }
  if (rule.bWinText) return TestHolds(application, rule.sWinText, kTitleOnly, rule.iWinTextMode);
  if (rule.bWinClass) {
    return TestHolds(application, rule.sWinClass, kClassOnly, rule.iWinClassMode);
  }
  return false;
}

}  // namespace ombrix
