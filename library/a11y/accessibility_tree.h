#pragma once

#include "aria_data.h"
#include "css_reader.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvane {
class CHtmlDocument;
class CElement;
}

namespace orvane::a11y {

struct NodeAttribute {
    std::string name;   // lower case
    std::string value;  // decoded, as a script reads it
};

// The CSS values the rules ask for, as the cascade leaves them on an element
// (inherited ones already taken from the parent); empty when nothing sets them.
struct NodeStyle {
    std::string display;
    std::string visibility;
    std::string contentVisibility;
    // Text spacing: the value and whether the style attribute set it !important.
    std::string letterSpacing, wordSpacing, lineHeight, fontSize, fontFamily;
    std::string position, top, left;
    bool letterSpacingImportant = false, wordSpacingImportant = false, lineHeightImportant = false;
    // transform or rotate set under an orientation media query ("rotate(90deg)").
    std::string landscapeRotation, portraitRotation;
    bool orientationDependent = false;  // an orientation query sets one of them

    friend bool operator==(const NodeStyle&, const NodeStyle&) = default;
};

struct Node {
    static constexpr int kNone = -1;

    const CElement* element = nullptr;  // the start tag; null for text and the document
    // Lower case; "#text", "#document". A view of the tree's one copy of
    // each name a page uses.
    std::string_view tag;
    // Of a text node; the content of script, style, title, textarea. A view
    // of the tree's own copy: texts are kept together, not one allocation each.
    std::string_view text;
    // The node's attributes stand together in the tree's one list of them
    // (AccessibilityTree::Attributes): no list of its own to allocate.
    int firstAttribute = 0;
    int attributeCount = 0;
    // The children are linked: a vector per node would cost an allocation
    // for most elements of a page. Walk them with AccessibilityTree::Children.
    int firstChild = kNone;
    int lastChild = kNone;
    int nextSibling = kNone;
    int parent = kNone;

    // Roles are names of the ARIA table or of HTML-AAM, which live as long
    // as the program: a view, not a copy per node.
    std::string_view role;  // the semantic role; empty for none or generic
    std::string_view implicitRole;  // what HTML-AAM gives the element without a role attribute
    // The lang (or xml:lang) in force, a view of that attribute's value in
    // this tree; empty when none.
    std::string_view language;
    // Shared by every node of the same style: most of a page has none of its own.
    const NodeStyle* styleRef = nullptr;
    const NodeStyle& Style() const { return *styleRef; }
    const AriaRole* ariaRole = nullptr;  // the definition of role; null for none

    // Flags of one bit each: a page has a node for every element and text.
    bool foreign : 1 = false;  // inside svg or math
    bool markedDecorative : 1 = false;  // role none/presentation written (in force or not), or img alt=""
    bool explicitRole : 1 = false;  // the role comes from the role attribute
    bool presentational : 1 = false;  // role none/presentation in force (also inherited by owned list items and cells)
    bool rendered : 1 = true;   // not display:none, not hidden, not in head or a template
    bool visible : 1 = true;    // rendered, not visibility:hidden and not moved off the screen
    bool offScreen : 1 = false;  // it or an ancestor is positioned beyond the screen's edge
    bool ariaHidden : 1 = false;  // aria-hidden="true" on it or an ancestor
    bool included : 1 = true;   // in the accessibility tree
    bool focusable : 1 = false;
    bool inTabOrder : 1 = false;
    bool disabled : 1 = false;
    bool underPresentationalChildren : 1 = false;  // an ancestor's role makes its children presentational

    bool IsText() const { return tag == "#text"; }
    bool IsElement() const { return !tag.empty() && tag[0] != '#'; }
};

// The page's accessibility tree, built once in one walk of its elements: the
// element tree the flat list of tags implies, each element's CSS as the page's
// own style sheets and style attributes give it, its role by HTML-AAM and
// WAI-ARIA, whether it is hidden, included, focusable, and its language.
// Names and descriptions are computed (accname 1.2) when first asked and kept.
class AccessibilityTree {
public:
    // The children of a node, in order, as a range of node indexes.
    class ChildRange {
    public:
        class Iterator {
        public:
            Iterator(const std::vector<Node>* nodes, int at) : m_nodes(nodes), m_at(at) {}
            int operator*() const { return m_at; }
            Iterator& operator++()
            {
                m_at = (*m_nodes)[static_cast<std::size_t>(m_at)].nextSibling;
                return *this;
            }
            bool operator==(const Iterator& other) const { return m_at == other.m_at; }

        private:
            const std::vector<Node>* m_nodes;
            int m_at;
        };
        ChildRange(const std::vector<Node>& nodes, int first) : m_nodes(&nodes), m_first(first) {}
        Iterator begin() const { return {m_nodes, m_first}; }
        Iterator end() const { return {m_nodes, Node::kNone}; }
        bool empty() const { return m_first == Node::kNone; }

    private:
        const std::vector<Node>* m_nodes;
        int m_first;
    };

    explicit AccessibilityTree(const CHtmlDocument& document);
    ~AccessibilityTree();

    const std::vector<Node>& Nodes() const { return m_nodes; }
    const Node& At(int index) const { return m_nodes[static_cast<std::size_t>(index)]; }
    int Root() const { return 0; }
    // The html element, or kNone when the page has none.
    int DocumentElement() const { return m_documentElement; }
    // The text of the first title element; nullopt when there is none.
    const std::optional<std::string>& Title() const { return m_title; }
    const std::vector<css::StyleRule>& StyleRules() const { return m_styleRules; }
    // The page runs scripts, which may move focus or make content we do not see.
    bool Scripted() const { return m_scripted; }
    // Tells trees apart for the life of the program (never reused, unlike an
    // address), so what a rule works out once per page can be kept for it.
    std::uint64_t Serial() const { return m_serial; }

    // The attributes of the node, in the order written (the first of a name only).
    std::span<const NodeAttribute> Attributes(int node) const
    {
        const Node& n = At(node);
        return {m_attributes.data() + n.firstAttribute, static_cast<std::size_t>(n.attributeCount)};
    }
    // The attribute's value, letter case of the name aside; null when absent.
    const std::string* Attribute(int node, std::string_view name) const;
    bool HasAttribute(int node, std::string_view name) const { return Attribute(node, name) != nullptr; }
    // The names written more than once on the element's tag (the first one
    // counts, as in a browser); empty for most.
    const std::vector<std::string>& DuplicateAttributes(int node) const;
    // The first element with the id; kNone when none has it.
    int ElementWithId(std::string_view id) const;
    // How many elements carry the id.
    int IdCount(std::string_view id) const;
    // The elements an ID reference list names, in order, leaving out ids no element has.
    std::vector<int> Referenced(std::string_view idList) const;
    // The node whose aria-owns names this one (the first counts); kNone when none.
    int OwnerByAriaOwns(int node) const;
    // Past the last descendant: descendants of a node follow it in the list.
    int SubtreeEnd(int node) const;
    ChildRange Children(int node) const { return {m_nodes, At(node).firstChild}; }
    // The children as a list of their own, for walks that add to it or go backwards.
    std::vector<int> ChildList(int node) const
    {
        std::vector<int> list;
        for (int child : Children(node))
            list.push_back(child);
        return list;
    }

    // The accessible name and description (blanks collapsed, trimmed).
    const std::string& Name(int node) const;
    const std::string& Description(int node) const;
    // The text the element's content gives, as name from content would.
    std::string TextContent(int node) const;

    // The role's ARIA definition; null for none.
    const AriaRole* RoleOf(int node) const { return At(node).ariaRole; }
    // Whether an ancestor's role makes its children presentational (button, img, ...).
    bool InPresentationalChildren(int node) const { return At(node).underPresentationalChildren; }

private:
    class Builder;
    // The nodes one computation has visited: a stamp per node, so starting a
    // computation costs nothing however large the page.
    class Visits {
    public:
        explicit Visits(const AccessibilityTree& tree);
        bool Seen(int node) const { return m_stamps[static_cast<std::size_t>(node)] == m_epoch; }
        void Mark(int node) { m_stamps[static_cast<std::size_t>(node)] = m_epoch; }

    private:
        std::vector<std::uint32_t>& m_stamps;
        std::uint32_t m_epoch;
    };
    friend class Builder;
    std::string ComputeName(int node, bool referenced, bool inContent, Visits& visiting) const;
    std::string NameFromContent(int node, bool referenced, Visits& visiting) const;
    std::string NativeName(int node, bool inContent, Visits& visiting) const;
    std::string LabelText(int control, Visits& visiting) const;
    std::string EmbeddedValue(int node) const;

    std::vector<Node> m_nodes;
    std::vector<NodeAttribute> m_attributes;  // node by node, in page order
    // The texts nodes view, in blocks that never move once written.
    std::vector<std::unique_ptr<char[]>> m_textBlocks;
    std::size_t m_textBlockFree = 0;
    std::string_view KeepText(std::string_view text);
    std::uint64_t m_serial = 0;
    int m_documentElement = Node::kNone;
    std::optional<std::string> m_title;
    bool m_scripted = false;
    std::vector<css::StyleRule> m_styleRules;
    std::deque<NodeStyle> m_styles;  // the distinct styles, the empty one first
    std::unordered_map<std::string, std::vector<int>> m_ids;
    std::unordered_map<std::string, std::vector<int>> m_labelsFor;
    std::unordered_map<int, int> m_ownedBy;
    std::unordered_map<int, std::vector<std::string>> m_duplicateAttributes;
    // Every tag name of the page once; nodes view them (a set's strings stay put).
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_set<std::string, NameHash, std::equal_to<>> m_tagNames;
    // The element aria-labelledby names is hidden: its hidden content counts too.
    mutable bool m_hiddenReferenceRoot = false;
    // How deep the computation has gone into content: pages nest elements
    // thousands deep, and no name is read from that far down.
    mutable int m_depth = 0;
    mutable std::vector<std::uint32_t> m_visitStamps;
    mutable std::uint32_t m_visitEpoch = 0;
    mutable std::vector<std::unique_ptr<std::string>> m_names;
    mutable std::vector<std::unique_ptr<std::string>> m_descriptions;
};

// Blanks (ASCII white space) collapsed to one space, trimmed.
std::string CollapseBlanks(std::string_view text);

} // namespace orvane::a11y
