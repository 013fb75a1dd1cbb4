// The rules in the settings store: "NumRules" and ten keys per rule, numbered from 1.
#pragma once

#include "platform/platform.h"
#include "rules/rule.h"

namespace ombrix {

// Reads the rules. A negative or unreadable count gives no rules; a count, destination or
// level beyond 16 bits is clamped into that width, and modes and actions into 32 bits.
RuleList ReadRules(SettingsStore& store);
// Writes count and rules in list order; keys of positions above the count stay. False when a
// write failed (the keys before it keep their new values).
bool SaveRules(SettingsStore& store, const RuleList& rules);

}  // namespace ombrix
