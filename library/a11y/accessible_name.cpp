// The accessible name and description computation (accname 1.2) over the
// accessibility tree. Each computation marks the nodes it has visited, so
// aria-labelledby chains and labels holding their own control end.
#include "accessibility_tree.h"

#include "library/html/text_util.h"

#include <algorithm>

namespace orvane::a11y {

namespace {

bool OneOf(std::string_view word, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

bool IsInline(const Node& node)
{
    if (!node.Style().display.empty())
        return node.Style().display.rfind("inline", 0) == 0;
    return OneOf(node.tag, {"a", "abbr", "b", "bdi", "bdo", "cite", "code", "data", "dfn", "em", "font", "i", "img",
                            "kbd", "label", "mark", "q", "s", "samp", "small", "span", "strong", "sub", "sup", "time",
                            "u", "var", "big", "tt", "abbr", "acronym", "ins", "del"});
}

bool IsEmbeddedControl(std::string_view role)
{
    return OneOf(role, {"textbox", "searchbox", "combobox", "listbox", "slider", "spinbutton"});
}

std::string InputType(const AccessibilityTree& tree, int node)
{
    const std::string_view* type = tree.Attribute(node, "type");
    return type ? ToLower(Trim(*type)) : std::string("text");
}

// Traversal states of the computation.
enum Traversal : int { kDirect = 0, kReferenced = 1, kReferencedHidden = 2 };

} // namespace

AccessibilityTree::Visits::Visits(const AccessibilityTree& tree) : m_stamps(tree.m_visitStamps)
{
    if (m_stamps.size() != tree.m_nodes.size())
        m_stamps.assign(tree.m_nodes.size(), 0);
    if (++tree.m_visitEpoch == 0) {  // wrapped: old stamps could match again
        std::fill(m_stamps.begin(), m_stamps.end(), 0);
        tree.m_visitEpoch = 1;
    }
    m_epoch = tree.m_visitEpoch;
}

const std::string& AccessibilityTree::Name(int node) const
{
    if (const auto known = m_names.find(node); known != m_names.end())
        return known->second;
    Visits visiting(*this);
    std::string name = CollapseBlanks(ComputeName(node, false, false, visiting));
    return m_names.emplace(node, std::move(name)).first->second;
}

const std::string& AccessibilityTree::Description(int node) const
{
    if (const auto known = m_descriptions.find(node); known != m_descriptions.end())
        return known->second;
    {
        std::string text;
        if (const std::string_view* describedBy = Attribute(node, "aria-describedby")) {
            Visits visiting(*this);
            visiting.Mark(node);
            for (int target : Referenced(*describedBy)) {
                m_hiddenReferenceRoot = !At(target).included;
                text += ' ';
                text += ComputeName(target, true, false, visiting);
                m_hiddenReferenceRoot = false;
            }
        }
        if (CollapseBlanks(text).empty())
            if (const std::string_view* title = Attribute(node, "title"))
                if (CollapseBlanks(*title) != Name(node))
                    text = *title;
        return m_descriptions.emplace(node, CollapseBlanks(text)).first->second;
    }
}

std::string AccessibilityTree::TextContent(int node) const
{
    Visits visiting(*this);
    return CollapseBlanks(NameFromContent(node, true, visiting));
}

std::string AccessibilityTree::ComputeName(int index, bool referenced, bool inContent,
                                           Visits& visiting) const
{
    const Node& node = At(index);
    if (visiting.Seen(index))
        return {};
    visiting.Mark(index);
    // 2A: hidden nodes give nothing, unless a reference names them directly
    // (then their hidden content counts too).
    if (node.IsText())
        return node.included || (referenced && m_hiddenReferenceRoot) ? std::string(node.text) : std::string();
    if (!node.IsElement())
        return {};
    if (!node.included && !(referenced && m_hiddenReferenceRoot))
        return {};
    // 2B
    if (!referenced) {
        if (const std::string_view* labelledBy = Attribute(index, "aria-labelledby")) {
            std::string text;
            for (int target : Referenced(*labelledBy)) {
                const bool outer = m_hiddenReferenceRoot;
                m_hiddenReferenceRoot = !At(target).included;
                const std::string part = CollapseBlanks(ComputeName(target, true, false, visiting));
                m_hiddenReferenceRoot = outer;
                if (!part.empty())
                    text += (text.empty() ? "" : " ") + part;
            }
            if (!text.empty())
                return text;
        }
    }
    const bool embedded = inContent && IsEmbeddedControl(node.role);
    // 2C
    if (!embedded) {
        if (const std::string_view* label = Attribute(index, "aria-label"))
            if (!CollapseBlanks(*label).empty())
                return std::string(*label);
    }
    // 2D
    if (!node.presentational && !embedded) {
        std::string native = NativeName(index, inContent, visiting);
        if (!CollapseBlanks(native).empty())
            return native;
    }
    // 2E
    if (embedded)
        return EmbeddedValue(index);
    // 2F
    const AriaRole* role = RoleOf(index);
    const bool fromContent = (role && role->nameFromContents) || referenced || inContent ||
                             (node.tag == "summary" && !node.explicitRole);
    const bool contentRefused = !inContent && !referenced && node.explicitRole && role && !role->nameFromContents;
    if (fromContent && !contentRefused && !(node.presentational && !inContent && !referenced)) {
        std::string text = NameFromContent(index, referenced, visiting);
        if (!CollapseBlanks(text).empty())
            return text;
    }
    // 2I
    if (const std::string_view* title = Attribute(index, "title"))
        if (!CollapseBlanks(*title).empty())
            return std::string(*title);
    if (node.tag == "input" && OneOf(InputType(*this, index), {"text", "search", "email", "tel", "url", "password", "number", ""}))
        if (const std::string_view* placeholder = Attribute(index, "placeholder"))
            return std::string(*placeholder);
    return {};
}

std::string AccessibilityTree::NameFromContent(int index, bool referenced, Visits& visiting) const
{
    constexpr int kDeepest = 256;
    if (m_depth >= kDeepest)
        return {};
    struct Deeper {
        int& depth;
        explicit Deeper(int& d) : depth(d) { ++depth; }
        ~Deeper() { --depth; }
    } deeper(m_depth);
    std::string text;
    for (int child : Children(index)) {
        const Node& c = At(child);
        if (c.IsElement() && OneOf(c.tag, {"script", "style", "template", "title"}))
            continue;
        const std::string part = ComputeName(child, referenced, true, visiting);
        if (c.IsElement() && !IsInline(c))
            text += ' ' + part + ' ';
        else
            text += part;
    }
    return text;
}

std::string AccessibilityTree::LabelText(int control, Visits& visiting) const
{
    std::string text;
    auto add = [&](int label) {
        const std::string part = CollapseBlanks(NameFromContent(label, true, visiting));
        if (!part.empty())
            text += (text.empty() ? "" : " ") + part;
    };
    std::vector<int> used;
    if (const std::string_view* id = Attribute(control, "id"); id && !id->empty()) {
        if (ElementWithId(*id) == control) {
            const auto it = m_labelsFor.find(*id);
            if (it != m_labelsFor.end())
                for (int label : it->second) {
                    add(label);
                    used.push_back(label);
                }
        }
    }
    for (int p = At(control).parent; p > 0; p = At(p).parent) {
        if (At(p).tag != "label")
            continue;
        const std::string_view* forValue = Attribute(p, "for");
        if (std::find(used.begin(), used.end(), p) == used.end() && (!forValue || ElementWithId(*forValue) == control))
            add(p);
        break;
    }
    return text;
}

std::string AccessibilityTree::NativeName(int index, bool inContent, Visits& visiting) const
{
    const Node& node = At(index);
    const std::string_view t = node.tag;
    (void)inContent;
    if (node.foreign) {
        // The svg title is never rendered, yet names its parent.
        for (int child : Children(index)) {
            if (At(child).tag != "title")
                continue;
            std::string text;
            const int end = SubtreeEnd(child);
            for (int i = child + 1; i < end; ++i)
                if (At(i).IsText())
                    text += At(i).text;
            return text;
        }
        return {};
    }
    if (t == "input") {
        const std::string type = InputType(*this, index);
        if (type == "button" || type == "submit" || type == "reset") {
            if (const std::string_view* value = Attribute(index, "value"))
                return std::string(*value);
            return type == "submit" ? "Submit" : type == "reset" ? "Reset" : "";
        }
        if (type == "image") {
            if (const std::string_view* alt = Attribute(index, "alt"))
                return std::string(*alt);
            return {};
        }
        return LabelText(index, visiting);
    }
    if (OneOf(t, {"select", "textarea", "meter", "progress", "output", "button"}))
        return LabelText(index, visiting);
    if (t == "img" || t == "area") {
        if (const std::string_view* alt = Attribute(index, "alt"))
            return std::string(*alt);
        return {};
    }
    auto firstChild = [&](std::string_view tag) -> std::string {
        for (int child : Children(index))
            if (At(child).tag == tag)
                return NameFromContent(child, false, visiting);
        return {};
    };
    if (t == "fieldset")
        return firstChild("legend");
    if (t == "figure")
        return firstChild("figcaption");
    if (t == "table")
        return firstChild("caption");
    if (t == "optgroup" || t == "option") {
        if (const std::string_view* label = Attribute(index, "label"))
            return std::string(*label);
    }
    return {};
}

std::string AccessibilityTree::EmbeddedValue(int index) const
{
    const Node& node = At(index);
    if (node.tag == "textarea")
        return std::string(node.text);
    if (node.tag == "select") {
        int first = Node::kNone;
        for (std::size_t i = static_cast<std::size_t>(index) + 1; i < m_nodes.size(); ++i) {
            int p = m_nodes[i].parent;
            while (p > index)
                p = At(p).parent;
            if (p != index)
                break;
            if (Tag(static_cast<int>(i)) != "option")
                continue;
            if (first == Node::kNone)
                first = static_cast<int>(i);
            if (Attribute(static_cast<int>(i), "selected"))
                return TextContent(static_cast<int>(i));
        }
        return first == Node::kNone ? std::string() : TextContent(first);
    }
    if (const std::string_view* text = Attribute(index, "aria-valuetext"))
        return std::string(*text);
    if (const std::string_view* now = Attribute(index, "aria-valuenow"))
        return std::string(*now);
    if (const std::string_view* value = Attribute(index, "value"))
        return std::string(*value);
    return {};
}

} // namespace orvane::a11y
