#include "rules/store.h"

#include <algorithm>

#include "app/settings.h"

namespace ombrix {

namespace {

int16_t ClampTo16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

std::string Key(const char* name, int i) { return name + std::to_string(i); }

}  // namespace

RuleList ReadRules(SettingsStore& store) {
  RuleList rules;
  const int16_t count = ClampTo16(DecodeNumber(GetStr(store, kRulesSection, "NumRules", "0")));
  for (int i = 1; i <= count; ++i) {
    auto rule = std::make_shared<clsRule>();
    rules.Add(rule);
    auto number = [&](const char* name) {
      return DecodeNumber(GetStr(store, kRulesSection, Key(name, i), "0"));
    };
    rule->sRuleName = GetStr(store, kRulesSection, Key("RuleName", i), "");
    rule->bWinText = GetBool(store, kRulesSection, Key("CheckWinText", i), false);
    rule->iWinTextMode = static_cast<TextCompare>(number("WinTextMode"));
    rule->sWinText = GetStr(store, kRulesSection, Key("WinText", i), "");
    rule->bAnd = GetBool(store, kRulesSection, Key("And", i), true);
    rule->bWinClass = GetBool(store, kRulesSection, Key("CheckWinClass", i), false);
    rule->iWinClassMode = static_cast<TextCompare>(number("WinClassMode"));
    rule->sWinClass = GetStr(store, kRulesSection, Key("WinClass", i), "");
    rule->iAction = static_cast<RuleAction>(number("Action"));
    rule->iDestDesk = ClampTo16(number("DestDesk"));
  }
  return rules;
}

bool SaveRules(SettingsStore& store, const RuleList& rules) {
  if (!SaveStr(store, kRulesSection, "NumRules", EncodeNumber(rules.Count()))) return false;
  for (int i = 1; i <= rules.Count(); ++i) {
    const clsRule& r = rules[i];
    const bool written =
        SaveStr(store, kRulesSection, Key("RuleName", i), r.sRuleName) &&
        SaveBool(store, kRulesSection, Key("CheckWinText", i), r.bWinText) &&
        SaveStr(store, kRulesSection, Key("WinTextMode", i), EncodeNumber(static_cast<int32_t>(r.iWinTextMode))) &&
        SaveStr(store, kRulesSection, Key("WinText", i), r.sWinText) &&
        SaveBool(store, kRulesSection, Key("And", i), r.bAnd) &&
        SaveBool(store, kRulesSection, Key("CheckWinClass", i), r.bWinClass) &&
        SaveStr(store, kRulesSection, Key("WinClassMode", i), EncodeNumber(static_cast<int32_t>(r.iWinClassMode))) &&
        SaveStr(store, kRulesSection, Key("WinClass", i), r.sWinClass) &&
        SaveStr(store, kRulesSection, Key("Action", i), EncodeNumber(static_cast<int32_t>(r.iAction))) &&
        SaveStr(store, kRulesSection, Key("DestDesk", i), EncodeNumber(r.iDestDesk));
    if (!written) return false;
  }
  return true;
}

}  // namespace ombrix
