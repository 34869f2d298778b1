// Checks of roles, states and properties against the WAI-ARIA table.
#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace orvane::rules {

namespace {

using a11y::AriaProperty;
using a11y::AriaRole;
using a11y::Node;

[[gnu::always_inline]] inline Node N(const PageContext& page, int node) { return page.tree.At(node); }
const std::string_view* A(const PageContext& page, int node, std::string_view name) { return page.tree.Attribute(node, name); }
CheckResult Pass() { return {Outcome::Passed, {}}; }
CheckResult Fail(std::string detail = {}) { return {Outcome::Failed, std::move(detail)}; }

// Whether the word is one of the blank-separated list; no allocation, as
// applicability asks it of every node.
bool In(std::string_view word, std::string_view list)
{
    if (word.empty())
        return false;
    for (std::size_t at = list.find(word); at != std::string_view::npos; at = list.find(word, at + 1)) {
        const bool startsWord = at == 0 || list[at - 1] == ' ';
        const std::size_t end = at + word.size();
        if (startsWord && (end == list.size() || list[end] == ' '))
            return true;
    }
    return false;
}

bool IsAria(std::string_view name) { return name.size() > 5 && name.compare(0, 5, "aria-") == 0; }

bool HasAriaAttribute(const PageContext& page, int node, std::string_view)
{
    for (const auto& a : page.tree.Attributes(node))
        if (IsAria(a.name))
            return true;
    return false;
}

bool Included(const PageContext& page, int node, std::string_view) { return N(page, node).included; }
bool Foreign(const PageContext& page, int node, std::string_view) { return N(page, node).foreign; }
bool NotForeign(const PageContext& page, int node, std::string_view) { return !N(page, node).foreign; }
bool RoleIs(const PageContext& page, int node, std::string_view role) { return N(page, node).role == role; }
bool RoleIsA(const PageContext& page, int node, std::string_view role)
{
    const AriaRole* own = page.tree.RoleOf(node);
    return own && own->IsA(role);
}
bool RoleIn(const PageContext& page, int node, std::string_view roles)
{
    const std::string_view role = N(page, node).role;
    return !role.empty() && In(role, roles);
}
bool ExplicitRoleIn(const PageContext& page, int node, std::string_view roles)
{
    return N(page, node).explicitRole && RoleIn(page, node, roles);
}
bool NoExplicitRole(const PageContext& page, int node, std::string_view) { return !A(page, node, "role"); }

bool ExplicitRoleDiffersFromImplicit(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    return n.explicitRole && n.role != n.implicitRole;
}

bool RoleHasRequiredContext(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    return role && !role->requiredContext.empty();
}

// aria-owns naming ids no element has, on a page whose scripts may make
// them (in a shadow tree, say): what they are, and where, only running tells.
bool OwnsScriptMadeContent(const PageContext& page, int node)
{
    if (!page.tree.Scripted())
        return false;
    const std::string_view* owns = A(page, node, "aria-owns");
    return owns && page.tree.Referenced(*owns).size() < Tokens(*owns).size();
}

bool RequiredContextTarget(const PageContext& page, int node, std::string_view)
{
    if (!N(page, node).included)
        return false;
    if (ExplicitRoleDiffersFromImplicit(page, node, {}) && RoleHasRequiredContext(page, node, {}))
        return true;
    return OwnsScriptMadeContent(page, node);
}

bool ExplicitRoleHasRequiredOwned(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    return N(page, node).explicitRole && role && !role->requiredOwned.empty();
}

// Rows of the ARIA table, for the index of the rules.
bool NeedsContext(const AriaRole& role) { return !role.requiredContext.empty(); }
bool ChildrenPresentational(const AriaRole& role) { return role.childrenPresentational; }

bool NotBusy(const PageContext& page, int node, std::string_view) { return !FactsOf(page).InBusy(node); }

bool ExpandedComboboxOrScrollbar(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    if (n.role == "scrollbar")
        return true;
    const std::string_view* expanded = A(page, node, "aria-expanded");
    return n.role == "combobox" && expanded && EqualsIgnoreCase(Trim(*expanded), "true");
}

bool RoleHasPresentationalChildren(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    return role && role->childrenPresentational;
}

bool NotProgrammaticallyHidden(const PageContext& page, int node, std::string_view) { return N(page, node).included; }

bool HasGlobalAria(const PageContext& page, int node)
{
    for (const auto& a : page.tree.Attributes(node)) {
        const AriaProperty* property = IsAria(a.name) ? a11y::FindAriaProperty(a.name) : nullptr;
        if (property && property->global && a.name != "aria-hidden")
            return true;
    }
    return false;
}

// Whether the element stands in the accessibility tree as a parent may.
bool InTreeAsParent(const PageContext& page, int node)
{
    const Node& up = N(page, node);
    if (up.included && !up.role.empty() && up.role != "presentation")
        return true;
    // A generic element with a global state or property, or focusable, is in the tree too.
    return up.included && up.role.empty() && up.IsElement() && (up.focusable || HasGlobalAria(page, node));
}

// The aria-owns owner, else the parent.
int OwnerOrParent(const PageContext& page, int node)
{
    const int owner = page.tree.OwnerByAriaOwns(node);
    return owner != Node::kNone ? owner : N(page, node).parent;
}

// The parent in the accessibility tree: the aria-owns owner, else the
// nearest ancestor that is included and has a role of its own. Each
// element's answer is kept for the page, so that the elements of a deep
// chain of wrappers do not each climb it again.
int AccessibleParent(const PageContext& page, int node)
{
    constexpr int kUnknown = -2;
    thread_local KeptForPage<std::vector<int>> kept;  // per node: its own or nearest qualifying ancestor's index
    thread_local std::vector<int> climbed;
    const std::size_t count = page.tree.Nodes().size();
    std::vector<int>& found = kept.value;
    if (kept.Renew(page) || found.size() != count)
        found.assign(count, kUnknown);
    climbed.clear();
    int result = Node::kNone;
    for (int p = OwnerOrParent(page, node); p > 0; p = OwnerOrParent(page, p)) {
        if (found[p] != kUnknown) {
            result = found[p];
            break;
        }
        if (InTreeAsParent(page, p)) {
            result = p;
            break;
        }
        climbed.push_back(p);
        if (climbed.size() > count)  // a cycle of owners the tree let through: no parent
            break;
    }
    for (int p : climbed)
        found[p] = result;
    if (result > 0)
        found[result] = result;
    return result;
}

CheckResult RequiredContextPresent(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    if (!role || role->requiredContext.empty())
        return {Outcome::CannotTell, "aria-owns"};
    const int parent = AccessibleParent(page, node);
    if (parent != Node::kNone) {
        const std::string_view parentRole = N(page, parent).role;
        for (std::string_view context : role->requiredContext)
            if (parentRole == context)
                return Pass();
        // A group or rowgroup between counts when its own parent is the context.
        if (parentRole == "group" || parentRole == "rowgroup") {
            const int grand = AccessibleParent(page, parent);
            if (grand != Node::kNone)
                for (std::string_view context : role->requiredContext)
                    if (N(page, grand).role == context)
                        return Pass();
        }
    }
    return Fail(std::string(N(page, node).role));
}

CheckResult ControlsTargetExists(const PageContext& page, int node, std::string_view)
{
    const std::string_view* controls = A(page, node, "aria-controls");
    if (!page.tree.Referenced(*controls).empty())
        return Pass();
    return Fail(std::string(*controls));
}

// The elements a node owns in the accessibility tree: its descendants
// through elements without a role of their own, and what aria-owns names.
void CollectOwned(const PageContext& page, int node, std::vector<int>& owned, int depth)
{
    if (depth > 256)
        return;
    std::vector<int> children = page.tree.ChildList(node);
    if (const std::string_view* owns = A(page, node, "aria-owns"))
        for (int target : page.tree.Referenced(*owns))
            if (page.tree.OwnerByAriaOwns(target) == node)
                children.push_back(target);
    for (int child : children) {
        const Node& c = N(page, child);
        if (c.IsText()) {
            if (!Trim(c.text).empty() && c.included)
                owned.push_back(child);
            continue;
        }
        if (!c.IsElement() || !c.included || (page.tree.OwnerByAriaOwns(child) != Node::kNone && page.tree.OwnerByAriaOwns(child) != node))
            continue;
        if (c.role.empty() || c.role == "presentation")
            CollectOwned(page, child, owned, depth + 1);
        else
            owned.push_back(child);
    }
}

bool OwnedRoleAllowed(const PageContext& page, const AriaRole& role, int child, int depth)
{
    const Node& c = N(page, child);
    if (c.IsText())
        return false;
    for (std::string_view allowed : role.requiredOwned)
        if (c.role == allowed)
            return true;
    // Groups between the owner and its items.
    const bool grouping = (c.role == "group" && (role.IsA("menu") || role.IsA("menubar") || role.name == "tree" ||
                                                 role.name == "listbox" || role.name == "treegrid")) ||
                          (c.role == "rowgroup" && (role.name == "table" || role.name == "grid" || role.name == "treegrid"));
    if (grouping && depth < 8) {
        std::vector<int> inner;
        CollectOwned(page, child, inner, 0);
        return std::all_of(inner.begin(), inner.end(),
                           [&](int i) { return OwnedRoleAllowed(page, role, i, depth + 1); });
    }
    return false;
}

CheckResult OwnsOnlyRequiredElements(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    std::vector<int> owned;
    CollectOwned(page, node, owned, 0);
    for (int child : owned)
        if (!OwnedRoleAllowed(page, *role, child, 0))
            return Fail(std::string(N(page, child).IsText() ? std::string_view("text") : N(page, child).role));
    return Pass();
}

CheckResult AttributesDefined(const PageContext& page, int node, std::string_view)
{
    std::string unknown;
    for (const auto& a : page.tree.Attributes(node))
        if (IsAria(a.name) && !a11y::FindAriaProperty(a.name))
            unknown += (unknown.empty() ? "" : ", ") + std::string(a.name);
    return unknown.empty() ? Pass() : Fail(unknown);
}

// ARIA in HTML: attributes an element may carry whatever its role.
bool AllowedByLanguage(const Node& n, std::string_view name)
{
    if (n.tag == "input" || n.tag == "select" || n.tag == "textarea")
        return name == "aria-required" || name == "aria-readonly" || name == "aria-invalid" ||
               name == "aria-autocomplete" || name == "aria-checked" || name == "aria-placeholder";
    return false;
}

// Embedded content has no role of its own in HTML-AAM, yet is named like an
// image: it is not the generic role, which prohibits naming.
bool EmbeddedWithoutRole(const Node& n)
{
    return n.tag == "object" || n.tag == "embed" || n.tag == "iframe" || n.tag == "audio" || n.tag == "video" ||
           n.tag == "canvas";
}

CheckResult AttributesPermitted(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    const AriaRole* role = page.tree.RoleOf(node);
    const AriaRole* generic = a11y::FindAriaRole("generic");
    std::string bad;
    for (const auto& a : page.tree.Attributes(node)) {
        if (!IsAria(a.name))
            continue;
        const AriaProperty* property = a11y::FindAriaProperty(a.name);
        if (!property)
            continue;  // another rule's business
        const AriaRole* judged = role ? role : (n.presentational || EmbeddedWithoutRole(n) ? nullptr : generic);
        bool ok = property->global || (judged && judged->Supports(a.name)) || AllowedByLanguage(n, a.name);
        if (ok && judged && judged->Prohibits(a.name))
            ok = false;
        if (!ok)
            bad += (bad.empty() ? "" : ", ") + std::string(a.name);
    }
    return bad.empty() ? Pass() : Fail(bad);
}

bool IsInteger(std::string_view value)
{
    value = Trim(value);
    if (!value.empty() && (value[0] == '-' || value[0] == '+'))
        value.remove_prefix(1);
    return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsNumber(std::string_view value)
{
    const std::string text(Trim(value));
    if (text.empty())
        return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end && *end == 0;
}

bool ValueValid(const AriaProperty& property, std::string_view value)
{
    const std::string lower = ToLower(Trim(value));
    const std::string_view type = property.type;
    // Only the states whose value table has it take "undefined".
    const bool takesUndefined = property.name == "aria-expanded" || property.name == "aria-grabbed" ||
                                property.name == "aria-hidden" || property.name == "aria-selected" ||
                                property.name == "aria-pressed" || property.name == "aria-checked";
    if (lower == "undefined")
        return takesUndefined;
    if (type == "boolean")
        return lower == "true" || lower == "false";
    if (type == "tristate")
        return lower == "true" || lower == "false" || lower == "mixed";
    if (type == "integer")
        return IsInteger(lower);
    if (type == "number")
        return IsNumber(lower);
    if (type == "token") {
        for (std::string_view token : property.tokens)
            if (lower == token)
                return true;
        return false;
    }
    if (type == "tokenlist") {
        const std::vector<std::string_view> tokens = Tokens(lower);
        if (tokens.empty())
            return false;
        for (std::string_view token : tokens)
            if (std::find(property.tokens.begin(), property.tokens.end(), token) == property.tokens.end())
                return false;
        return true;
    }
    if (type == "id")
        return Tokens(value).size() == 1;
    return true;  // string, idlist
}

CheckResult ValuesValid(const PageContext& page, int node, std::string_view)
{
    std::string bad;
    for (const auto& a : page.tree.Attributes(node)) {
        if (!IsAria(a.name) || a.value.empty())
            continue;
        const AriaProperty* property = a11y::FindAriaProperty(a.name);
        if (property && !ValueValid(*property, a.value))
            bad += (bad.empty() ? "" : ", ") + std::string(a.name) + "=\"" + std::string(a.value) + "\"";
    }
    return bad.empty() ? Pass() : Fail(bad);
}

CheckResult RoleTokenValid(const PageContext& page, int node, std::string_view)
{
    for (std::string_view token : Tokens(*A(page, node, "role"))) {
        const AriaRole* role = a11y::FindAriaRole(ToLower(token));
        if (role && !role->abstract)
            return Pass();
    }
    return Fail(std::string(*A(page, node, "role")));
}

// Required states with a default value in WAI-ARIA need not be written.
bool HasImplicitValue(std::string_view role, std::string_view property)
{
    if (property == "aria-valuemin" || property == "aria-valuemax")
        return true;
    if (property == "aria-valuenow")
        return role == "slider" || role == "spinbutton" || role == "scrollbar";
    if (property == "aria-selected")
        return role == "option" || role == "tab";
    if (property == "aria-checked")
        return role == "option";
    if (property == "aria-orientation")
        return true;
    return false;
}

CheckResult RequiredStatesSet(const PageContext& page, int node, std::string_view)
{
    const AriaRole* role = page.tree.RoleOf(node);
    if (!role)
        return Pass();
    std::string missing;
    std::vector<std::string_view> required = role->requiredProperties;
    // A separator that takes focus is a widget, with a value.
    if (role->name == "separator" && N(page, node).focusable)
        required.push_back("aria-valuenow");
    for (std::string_view property : required) {
        const std::string_view* value = A(page, node, property);
        if ((value && !Trim(*value).empty()) || HasImplicitValue(role->name, property))
            continue;
        missing += (missing.empty() ? "" : ", ") + std::string(property);
    }
    return missing.empty() ? Pass() : Fail(missing);
}

CheckResult NoFocusableInTabOrderInside(const PageContext& page, int node, std::string_view)
{
    // Looked up in the page's tab order, not by a walk of the subtree: hidden blocks nest.
    const int i = FactsOf(page).FirstTabStopIn(node, page.tree.SubtreeEnd(node));
    if (i < 0)
        return Pass();
    // A script may send the focus on at once, which only running it shows.
    if (page.tree.Scripted())
        return {Outcome::CannotTell, "<" + std::string(N(page, i).tag) + ">"};
    return Fail("<" + std::string(N(page, i).tag) + ">");
}

CheckResult NoFocusableInTabOrderBelow(const PageContext& page, int node, std::string_view)
{
    const int i = FactsOf(page).FirstTabStopIn(node + 1, page.tree.SubtreeEnd(node));
    return i < 0 ? Pass() : Fail("<" + std::string(N(page, i).tag) + ">");
}

} // namespace

const std::vector<NamedMatcher>& AriaMatchers()
{
    static const std::vector<NamedMatcher> list = {
        {"has-aria-attribute", HasAriaAttribute, {.attributes = "aria-*"}},
        {"included", Included},
        {"foreign", Foreign},
        {"not-foreign", NotForeign},
        {"role", RoleIs, {.roles = "="}},
        {"role-in", RoleIn, {.roles = "="}},
        {"role-is-a", RoleIsA, {.roles = "=", .roleKinds = true}},
        {"explicit-role-in", ExplicitRoleIn, {.roles = "="}},
        {"no-explicit-role", NoExplicitRole},
        {"explicit-role-differs-from-implicit", ExplicitRoleDiffersFromImplicit, {.attributes = "role"}},
        {"role-has-required-context", RoleHasRequiredContext, {.roleRow = NeedsContext}},
        {"required-context-target", RequiredContextTarget, {.attributes = "role aria-owns"}},
        {"explicit-role-has-required-owned", ExplicitRoleHasRequiredOwned, {.attributes = "role"}},
        {"not-busy", NotBusy},
        {"expanded-combobox-or-scrollbar", ExpandedComboboxOrScrollbar, {.roles = "combobox scrollbar"}},
        {"role-has-presentational-children", RoleHasPresentationalChildren, {.roleRow = ChildrenPresentational}},
        {"not-programmatically-hidden", NotProgrammaticallyHidden},
    };
    return list;
}

const std::vector<NamedCheck>& AriaChecks()
{
    static const std::vector<NamedCheck> list = {
        {"aria-attributes-defined", AttributesDefined},
        {"aria-attributes-permitted", AttributesPermitted},
        {"aria-values-valid", ValuesValid},
        {"role-token-valid", RoleTokenValid},
        {"required-states-set", RequiredStatesSet},
        {"required-context-present", RequiredContextPresent},
        {"aria-controls-target-exists", ControlsTargetExists},
        {"owns-only-required-elements", OwnsOnlyRequiredElements},
        {"no-focusable-in-tab-order-inside", NoFocusableInTabOrderInside},
        {"no-focusable-in-tab-order-below", NoFocusableInTabOrderBelow},
    };
    return list;
}

} // namespace orvane::rules
