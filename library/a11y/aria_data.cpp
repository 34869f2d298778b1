#include "aria_data.h"

#include <algorithm>
#include <string_view>
#include <cstdint>

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

// Names to rows of a table, asked for every element of a page: an open
// table of a power-of-two size, hashed by FNV-1a, probed linearly.
class NameIndex {
public:
    template <class Row>
    void Build(const std::vector<Row>& rows)
    {
        std::size_t size = 16;
        while (size < rows.size() * 4)
            size *= 2;
        m_slots.assign(size, 0);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::size_t at = Hash(rows[i].name) & (size - 1);
            while (m_slots[at] != 0 && rows[m_slots[at] - 1].name != rows[i].name)
                at = (at + 1) & (size - 1);
            if (m_slots[at] == 0)  // the first row of a name counts
                m_slots[at] = static_cast<std::uint32_t>(i + 1);
        }
    }

    template <class Row>
    const Row* Find(const std::vector<Row>& rows, std::string_view name) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = Hash(name) & mask; m_slots[at] != 0; at = (at + 1) & mask)
            if (rows[m_slots[at] - 1].name == name)
                return &rows[m_slots[at] - 1];
        return nullptr;
    }

private:
    static std::size_t Hash(std::string_view name)
    {
        std::uint32_t hash = 2166136261u;
        for (char c : name)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return hash;
    }

    std::vector<std::uint32_t> m_slots;
};

struct Tables {
    std::vector<AriaProperty> properties;
    std::vector<AriaRole> roles;
    NameIndex propertyIndex;
    NameIndex roleIndex;

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
        propertyIndex.Build(properties);
        roleIndex.Build(roles);
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
    return tables.propertyIndex.Find(tables.properties, name);
}

const AriaRole* FindAriaRole(std::string_view name)
{
    if (name.empty())  // most elements: generic, or no role at all
        return nullptr;
    const Tables& tables = TheTables();
    return tables.roleIndex.Find(tables.roles, name);
}

const std::vector<AriaProperty>& AriaProperties() { return TheTables().properties; }
const std::vector<AriaRole>& AriaRoles() { return TheTables().roles; }

} // namespace orvane::a11y
