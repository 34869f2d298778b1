#pragma once

#include "rule.h"

#include <vector>

namespace orvane::rules {

// The WCAG 2.2 rule set, one row per W3C ACT rule built.
const std::vector<RuleDefinition>& RuleTable();
const RuleDefinition* FindRule(std::string_view id);

} // namespace orvane::rules
