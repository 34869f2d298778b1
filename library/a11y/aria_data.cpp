#include "aria_data.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace orvane::a11y {

namespace {

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        words.push_back(text.substr(0, blank));
        if (blank == std::string_view::npos)
            break;
        text.remove_prefix(blank + 1);
    }
    return words;
}

bool Contains(const std::vector<std::string_view>& list, std::string_view word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

#include "aria_data.inc"

struct Tables {
    std::vector<AriaProperty> properties;
    std::vector<AriaRole> roles;
    std::unordered_map<std::string_view, std::size_t> propertyIndex;
    std::unordered_map<std::string_view, std::size_t> roleIndex;

    Tables()
    {
#define ORVANE_ARIA_PROPERTY(name, type, tokens, global) properties.push_back({name, type, Words(tokens), global});
#define ORVANE_ARIA_ROLE(name, abstract, presentationalChildren, fromContents, nameRequired, ancestors, context, \
                         owned, required, supported, prohibited)                                                 \
    roles.push_back({name, abstract, presentationalChildren, fromContents, nameRequired, Words(ancestors),      \
                     Words(context), Words(owned), Words(required), Words(supported), Words(prohibited)});
#include "aria_data.inc"
#undef ORVANE_ARIA_PROPERTY
#undef ORVANE_ARIA_ROLE
        for (std::size_t i = 0; i < properties.size(); ++i)
            propertyIndex.emplace(properties[i].name, i);
        for (std::size_t i = 0; i < roles.size(); ++i)
            roleIndex.emplace(roles[i].name, i);
    }
};

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

} // namespace

const std::string_view kAriaDataVersion = ORVANE_ARIA_QUERY_VERSION;

bool AriaRole::Supports(std::string_view property) const { return Contains(supportedProperties, property); }
bool AriaRole::Prohibits(std::string_view property) const { return Contains(prohibitedProperties, property); }
bool AriaRole::IsA(std::string_view role) const { return name == role || Contains(ancestors, role); }

const AriaProperty* FindAriaProperty(std::string_view name)
{
    const Tables& tables = TheTables();
    const auto it = tables.propertyIndex.find(name);
    return it == tables.propertyIndex.end() ? nullptr : &tables.properties[it->second];
}

const AriaRole* FindAriaRole(std::string_view name)
{
    const Tables& tables = TheTables();
    const auto it = tables.roleIndex.find(name);
    return it == tables.roleIndex.end() ? nullptr : &tables.roles[it->second];
}

const std::vector<AriaProperty>& AriaProperties() { return TheTables().properties; }
const std::vector<AriaRole>& AriaRoles() { return TheTables().roles; }

} // namespace orvane::a11y
