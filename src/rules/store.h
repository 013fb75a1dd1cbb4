// The rules in the settings store: "NumRules" and ten keys per rule, numbered from 1.
#pragma once

#include "platform/platform.h"
#include "rules/rule.h"

namespace ombrix {

// Reads the rules. A negative or unreadable count gives no rules; a count, destination or
// level beyond 16 bits is clamped into that width, and modes and actions into 32 bits.
RuleList ReadRules(SettingsStore& store);
// Writes count and rules in list order, all or none: when a write fails, the keys written
// before it get their old values back and the result is false. Keys of positions above the
// count stay.
bool SaveRules(SettingsStore& store, const RuleList& rules);

}  // namespace ombrix
