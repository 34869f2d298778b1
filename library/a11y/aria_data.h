#pragma once

#include <string_view>
#include <vector>

namespace orvane::a11y {

// WAI-ARIA 1.2 as aria-query describes it (generated into aria_data.inc by
// scripts/generate_aria_data.js; the version is kAriaDataVersion).

// A state or property.
struct AriaProperty {
    std::string_view name;
    // boolean, tristate, string, id, idlist, integer, number, token, tokenlist
    std::string_view type;
    std::vector<std::string_view> tokens;  // allowed values of token and tokenlist
    bool global = false;                   // supported on every role
};

struct AriaRole {
    std::string_view name;
    bool abstract = false;
    bool childrenPresentational = false;
    bool nameFromContents = false;
    bool nameRequired = false;
    std::vector<std::string_view> ancestors;  // every super class
    std::vector<std::string_view> requiredContext;
    std::vector<std::string_view> requiredOwned;
    std::vector<std::string_view> requiredProperties;
    std::vector<std::string_view> supportedProperties;  // globals included
    std::vector<std::string_view> prohibitedProperties;

    bool Supports(std::string_view property) const;
    bool Prohibits(std::string_view property) const;
    bool IsA(std::string_view role) const;  // the role itself or one of its super classes
};

extern const std::string_view kAriaDataVersion;

// Null when ARIA defines no such state, property or role.
const AriaProperty* FindAriaProperty(std::string_view name);
const AriaRole* FindAriaRole(std::string_view name);
const std::vector<AriaProperty>& AriaProperties();
const std::vector<AriaRole>& AriaRoles();

} // namespace orvane::a11y
