#pragma once

#include "rule.h"

#include <span>
#include <string_view>

namespace orvane::rules {

// The WCAG 1.0 checks whose repair page (and, where offered, automatic repair)
// mends what the rule finds, by the checks' names; empty when no page does
// yet. The names are data: the rule set knows no check of the other engine.
std::span<const std::string_view> RepairingChecks(const RuleDefinition& rule);

} // namespace orvane::rules
