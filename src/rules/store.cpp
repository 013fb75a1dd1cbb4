#include "rules/store.h"

#include <algorithm>

#include "app/settings.h"

namespace ombrix {

namespace {

int16_t ClampTo16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

std::string Key(const char* name, int i) { return name + std::to_string(i); }

// One of the ten keys of a rule: its name (numbered by the rule's position), the value a missing
// key reads as, and how the rule's field is read from and written to the stored text.
struct RuleKey {
  const char* name;
  const char* defaultText;
  void (*read)(clsRule&, const std::string&);
  std::string (*write)(const clsRule&);
};

template <typename Enum>
Enum DecodeEnum(const std::string& text) {
  return static_cast<Enum>(DecodeNumber(text));
}
template <typename Enum>
std::string EncodeEnum(Enum value) {
  return EncodeNumber(static_cast<int32_t>(value));
}

constexpr RuleKey kRuleKeys[] = {
    {"RuleName", "", [](clsRule& r, const std::string& t) { r.sRuleName = t; },
     [](const clsRule& r) { return r.sRuleName; }},
    {"CheckWinText", "0", [](clsRule& r, const std::string& t) { r.bWinText = DecodeFlag(t); },
     [](const clsRule& r) { return EncodeFlag(r.bWinText); }},
    {"WinTextMode", "0",
     [](clsRule& r, const std::string& t) { r.iWinTextMode = DecodeEnum<TextCompare>(t); },
     [](const clsRule& r) { return EncodeEnum(r.iWinTextMode); }},
    {"WinText", "", [](clsRule& r, const std::string& t) { r.sWinText = t; },
     [](const clsRule& r) { return r.sWinText; }},
    {"And", "1", [](clsRule& r, const std::string& t) { r.bAnd = DecodeFlag(t); },
     [](const clsRule& r) { return EncodeFlag(r.bAnd); }},
    {"CheckWinClass", "0", [](clsRule& r, const std::string& t) { r.bWinClass = DecodeFlag(t); },
     [](const clsRule& r) { return EncodeFlag(r.bWinClass); }},
    {"WinClassMode", "0",
     [](clsRule& r, const std::string& t) { r.iWinClassMode = DecodeEnum<TextCompare>(t); },
     [](const clsRule& r) { return EncodeEnum(r.iWinClassMode); }},
    {"WinClass", "", [](clsRule& r, const std::string& t) { r.sWinClass = t; },
     [](const clsRule& r) { return r.sWinClass; }},
    {"Action", "0", [](clsRule& r, const std::string& t) { r.iAction = DecodeEnum<RuleAction>(t); },
     [](const clsRule& r) { return EncodeEnum(r.iAction); }},
    {"DestDesk", "0",
     [](clsRule& r, const std::string& t) { r.iDestDesk = ClampTo16(DecodeNumber(t)); },
     [](const clsRule& r) { return EncodeNumber(r.iDestDesk); }},
};

constexpr const char* kCount = "NumRules";

}  // namespace

RuleList ReadRules(SettingsStore& store) {
  RuleList rules;
  const int16_t count = ClampTo16(DecodeNumber(GetStr(store, kRulesSection, kCount, "0")));
  for (int i = 1; i <= count; ++i) {
    auto rule = std::make_shared<clsRule>();
    for (const RuleKey& key : kRuleKeys) {
      key.read(*rule, GetStr(store, kRulesSection, Key(key.name, i), key.defaultText));
    }
    rules.Add(rule);
  }
  return rules;
}

bool SaveRules(SettingsStore& store, const RuleList& rules) {
  std::vector<SettingWrite> writes = {{kCount, EncodeNumber(rules.Count())}};
  for (int i = 1; i <= rules.Count(); ++i) {
    for (const RuleKey& key : kRuleKeys) writes.push_back({Key(key.name, i), key.write(rules[i])});
  }
  return WriteSettings(store, writes, kRulesSection);
}

}  // namespace ombrix
