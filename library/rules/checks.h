#pragma once

#include "rule.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane::rules {

// Helpers the checks share.
std::vector<std::string_view> Tokens(std::string_view text);
// The primary language subtag of a language tag, lower-cased, when ISO 639
// knows it (as BCP 47 takes it: "en", not "eng") and every subtag is one to
// eight letters or digits; empty otherwise.
std::string KnownPrimaryLanguage(std::string_view tag);

// Registration tables of the check files, name to function.
struct NamedMatcher {
    std::string_view name;
    MatcherFunction function;
    Reach reach = {};
};
struct NamedCheck {
    std::string_view name;
    CheckFunction function;
};
const std::vector<NamedMatcher>& PageMatchers();
const std::vector<NamedCheck>& PageChecks();
const std::vector<NamedMatcher>& AriaMatchers();
const std::vector<NamedCheck>& AriaChecks();
const std::vector<NamedMatcher>& NameMatchers();
const std::vector<NamedCheck>& NameChecks();
const std::vector<NamedMatcher>& StyleMatchers();
const std::vector<NamedCheck>& StyleChecks();

} // namespace orvane::rules
