#pragma once

#include "aria_data.h"
#include "css_reader.h"
#include "library/html/element.h"
#include "library/html/text_util.h"

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
}

namespace orvane::a11y {

struct NodeAttribute {
    // Views of the start tag's own text when it reads as written (most do);
    // of the tree's own copy when lower-casing or decoding changed it.
    std::string_view name;   // lower case
    std::string_view value;  // decoded, as a script reads it
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

// What the tree works out for a node, a bit each: the record keeps them and
// a Node copies them whole.
struct NodeFlags {
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
    bool inDisabledFieldset : 1 = false;  // some ancestor is a fieldset with disabled
    bool pageText : 1 = false;  // a text of the page: its record keeps the text's element, a Node does not
};

// What the tree keeps of a node: a page has one for every element and every
// text, so names, roles, languages and styles are small numbers into the
// tree's tables and the page's own text is viewed, not copied. Read through
// Node (AccessibilityTree::At), which turns them back into names.
struct NodeRecord : NodeFlags {
    static constexpr std::uint32_t kNoText = 0xFFFFFFFF;    // no text
    static constexpr std::uint32_t kOwnText = 0xFFFFFFFE;   // the element's text as the page has it
    // The element's text, not yet asked whether it reads as its bytes or
    // must be decoded: decided when first read.
    static constexpr std::uint32_t kUndecidedText = 0xFFFFFFFD;

    std::uint8_t role = 0;          // into kRoleNames; 0 for none or generic
    std::uint8_t implicitRole = 0;  // the same, what HTML-AAM gives without a role attribute
    std::uint32_t text = kNoText;       // else an index into the tree's decoded texts
    const CElement* element = nullptr;  // the start tag; null for the document
    // The node's attributes stand together in the tree's one list, in node
    // order: they end where the next node's begin.
    std::int32_t firstAttribute = 0;
    std::int32_t firstChild = -1;
    std::int32_t nextSibling = -1;
    std::int32_t parent = -1;
    std::uint32_t tag = 0;       // into the tree's names
    std::uint32_t language = 0;  // into the tree's languages; 0 for none
    std::uint32_t style = 0;     // into the tree's styles; 0 for the empty one

};

// The role names a node's role can be: the empty name, the WAI-ARIA roles in
// the order of their table, then those only HTML-AAM gives.
extern const std::string_view kRoleNames[];
// The index of a role name in kRoleNames; 0 when it is none of them.
std::uint8_t RoleIndex(std::string_view name);

// One node as the rules read it: names, not numbers. Made on asking, from
// the node's record and the tree's tables; it views the tree, so it is good
// while the tree lives.
struct Node : NodeFlags {
    static constexpr int kNone = -1;

    const CElement* element = nullptr;  // the start tag; null for text and the document
    // Lower case; "#text", "#document".
    std::string_view tag;
    // Of a text node; the content of script, style, title, textarea.
    std::string_view text;
    int firstAttribute = 0;
    int attributeCount = 0;
    int firstChild = kNone;
    int nextSibling = kNone;
    int parent = kNone;

    std::string_view role;          // the semantic role; empty for none or generic
    std::string_view implicitRole;  // what HTML-AAM gives the element without a role attribute
    // The lang (or xml:lang) in force; empty when none.
    std::string_view language;
    const NodeStyle* styleRef = nullptr;
    const NodeStyle& Style() const { return *styleRef; }
    const AriaRole* ariaRole = nullptr;  // the definition of role; null for none

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
            Iterator(const std::vector<NodeRecord>* nodes, int at) : m_nodes(nodes), m_at(at) {}
            int operator*() const { return m_at; }
            Iterator& operator++()
            {
                m_at = (*m_nodes)[static_cast<std::size_t>(m_at)].nextSibling;
                return *this;
            }
            bool operator==(const Iterator& other) const { return m_at == other.m_at; }

        private:
            const std::vector<NodeRecord>* m_nodes;
            int m_at;
        };
        ChildRange(const std::vector<NodeRecord>& nodes, int first) : m_nodes(&nodes), m_first(first) {}
        Iterator begin() const { return {m_nodes, m_first}; }
        Iterator end() const { return {m_nodes, Node::kNone}; }
        bool empty() const { return m_first == Node::kNone; }

    private:
        const std::vector<NodeRecord>* m_nodes;
        int m_first;
    };

    // Every node in page order, each read as a Node.
    class NodeList {
    public:
        class Iterator {
        public:
            Iterator(const AccessibilityTree* tree, int at) : m_tree(tree), m_at(at) {}
            [[gnu::always_inline]] Node operator*() const { return m_tree->At(m_at); }
            Iterator& operator++()
            {
                ++m_at;
                return *this;
            }
            bool operator==(const Iterator& other) const { return m_at == other.m_at; }

        private:
            const AccessibilityTree* m_tree;
            int m_at;
        };
        explicit NodeList(const AccessibilityTree& tree) : m_tree(&tree) {}
        std::size_t size() const { return m_tree->m_nodes.size(); }
        Node operator[](std::size_t index) const { return m_tree->At(static_cast<int>(index)); }
        Iterator begin() const { return {m_tree, 0}; }
        Iterator end() const { return {m_tree, static_cast<int>(size())}; }

    private:
        const AccessibilityTree* m_tree;
    };

    explicit AccessibilityTree(const CHtmlDocument& document);
    ~AccessibilityTree();

    NodeList Nodes() const { return NodeList(*this); }
    std::size_t Size() const { return m_nodes.size(); }
    Node At(int index) const;
    const NodeRecord& Record(int index) const { return m_nodes[static_cast<std::size_t>(index)]; }
    std::string_view Tag(int index) const { return m_tagNames[Record(index).tag]; }
    std::string_view Text(int index) const;
    std::string_view Role(int index) const { return kRoleNames[Record(index).role]; }
    const NodeStyle& Style(int index) const { return *m_styleTable[Record(index).style]; }
    int Parent(int index) const { return Record(index).parent; }
    bool IsElement(int index) const { return Tag(index)[0] != '#'; }  // a page may write <#x>, no element
    bool IsText(int index) const { return Record(index).tag == kTextName; }
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
        const std::size_t first = static_cast<std::size_t>(Record(node).firstAttribute);
        return {m_attributes.data() + first, AttributesEnd(node) - first};
    }
    // The attribute's value, letter case of the name aside; null when absent.
    const std::string_view* Attribute(int node, std::string_view name) const;
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
    ChildRange Children(int node) const { return {m_nodes, Record(node).firstChild}; }
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
    const AriaRole* RoleOf(int node) const { return AriaRoleAt(Record(node).role); }
    // Whether an ancestor's role makes its children presentational (button, img, ...).
    bool InPresentationalChildren(int node) const { return Record(node).underPresentationalChildren; }

private:
    class Builder;
    friend class Builder;
    // The first names of m_tagNames: the document's and a text's, then those the page writes.
    static constexpr std::uint32_t kDocumentName = 0, kTextName = 1;

    std::size_t AttributesEnd(int node) const
    {
        const std::size_t next = static_cast<std::size_t>(node) + 1;
        return next < m_nodes.size() ? static_cast<std::size_t>(m_nodes[next].firstAttribute) : m_attributes.size();
    }
    const AriaRole* AriaRoleAt(std::uint8_t role) const
    {
        return role != 0 && role <= m_ariaRoleCount ? m_ariaRoles + (role - 1) : nullptr;
    }

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
    std::string ComputeName(int node, bool referenced, bool inContent, Visits& visiting) const;
    std::string NameFromContent(int node, bool referenced, Visits& visiting) const;
    std::string NativeName(int node, bool inContent, Visits& visiting) const;
    std::string LabelText(int control, Visits& visiting) const;
    std::string EmbeddedValue(int node) const;

    mutable std::vector<NodeRecord> m_nodes;  // mutable: a text's is decided when first read
    std::vector<NodeAttribute> m_attributes;  // node by node, in page order
    // The texts the page's bytes do not give as they are (decoded, joined):
    // kept in blocks that never move once written.
    mutable std::vector<std::unique_ptr<char[]>> m_textBlocks;
    mutable std::size_t m_textBlockFree = 0;
    std::string_view KeepText(std::string_view text) const;
    // NodeRecord::text. A text that needs decoding is kept as the page's
    // bytes and decoded when first read: the rules read few of a page's texts.
    mutable std::vector<std::string_view> m_texts;
    mutable std::vector<bool> m_undecoded;  // by text, beside m_texts
    // The text of a node whose text is undecided or undecoded, decided and
    // decoded now and kept so.
    std::string_view DecodedText(int index) const;
    // The user reads the bytes as they are: plain ASCII, or valid UTF-8 of
    // a UTF-8 page, naming no character.
    bool ReadsAsWritten(std::string_view bytes) const;
    bool m_utf8Page = false;
    const CHtmlDocument* m_document = nullptr;  // outlives the tree, unchanged while it lives
    std::uint64_t m_serial = 0;
    int m_documentElement = Node::kNone;
    std::optional<std::string> m_title;
    bool m_scripted = false;
    std::vector<css::StyleRule> m_styleRules;
    std::deque<NodeStyle> m_styles;  // the distinct styles, the empty one first
    std::vector<const NodeStyle*> m_styleTable;  // NodeRecord::style, into m_styles
    std::vector<std::string_view> m_tagNames;    // NodeRecord::tag: every tag name of the page once
    std::vector<std::string_view> m_languages;   // NodeRecord::language: every lang value once, "" first
    const AriaRole* m_ariaRoles = nullptr;
    std::size_t m_ariaRoleCount = 0;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    struct IdEntry {
        int first = Node::kNone;
        int count = 0;
    };
    std::unordered_map<std::string_view, IdEntry, NameHash, std::equal_to<>> m_ids;
    std::unordered_map<std::string_view, std::vector<int>, NameHash, std::equal_to<>> m_labelsFor;
    std::unordered_map<int, int> m_ownedBy;
    std::unordered_map<int, std::vector<std::string>> m_duplicateAttributes;
    // The element aria-labelledby names is hidden: its hidden content counts too.
    mutable bool m_hiddenReferenceRoot = false;
    // How deep the computation has gone into content: pages nest elements
    // thousands deep, and no name is read from that far down.
    mutable int m_depth = 0;
    mutable std::vector<std::uint32_t> m_visitStamps;
    mutable std::uint32_t m_visitEpoch = 0;
    // Only the nodes asked about have a name or description kept: the rules
    // ask of few of a page's nodes.
    mutable std::unordered_map<int, std::string> m_names;
    mutable std::unordered_map<int, std::string> m_descriptions;
};

[[gnu::always_inline]] inline std::string_view AccessibilityTree::Text(int index) const
{
    const NodeRecord& r = Record(index);
    if (r.text == NodeRecord::kOwnText)
        return r.element->Text();
    if (r.text == NodeRecord::kNoText)
        return {};
    if (r.text == NodeRecord::kUndecidedText || m_undecoded[r.text]) [[unlikely]]
        return DecodedText(index);
    return m_texts[r.text];
}

// Asked for every attribute a rule or the builder reads: in line, so the
// loop over the node's few attributes is all it costs. The names kept are
// lower case and never empty, so only the asked name is lowered, and a name
// of another length or first letter is passed over at once.
inline const std::string_view* AccessibilityTree::Attribute(int node, std::string_view name) const
{
    if (static_cast<std::size_t>(node) >= m_nodes.size() || name.empty())  // a negative index too
        return nullptr;
    const NodeAttribute* a = m_attributes.data() + Record(node).firstAttribute;
    const NodeAttribute* end = m_attributes.data() + AttributesEnd(node);
    const std::size_t size = name.size();
    const char first = AsciiLower(name[0]);
    for (; a != end; ++a) {
        if (a->name.size() != size || a->name[0] != first)
            continue;
        std::size_t i = 1;
        while (i < size && a->name[i] == AsciiLower(name[i]))
            ++i;
        if (i == size)
            return &a->value;
    }
    return nullptr;
}

[[gnu::always_inline]] inline Node AccessibilityTree::At(int index) const
{
    const NodeRecord& r = Record(index);
    Node n;
    n.element = r.pageText ? nullptr : r.element;
    n.tag = m_tagNames[r.tag];
    n.text = Text(index);
    n.firstAttribute = r.firstAttribute;
    n.attributeCount = static_cast<int>(AttributesEnd(index) - static_cast<std::size_t>(r.firstAttribute));
    n.firstChild = r.firstChild;
    n.nextSibling = r.nextSibling;
    n.parent = r.parent;
    n.role = kRoleNames[r.role];
    n.implicitRole = kRoleNames[r.implicitRole];
    n.language = m_languages[r.language];
    n.styleRef = m_styleTable[r.style];
    n.ariaRole = AriaRoleAt(r.role);
    static_cast<NodeFlags&>(n) = r;
    return n;
}

// Blanks (ASCII white space) collapsed to one space, trimmed.
std::string CollapseBlanks(std::string_view text);

} // namespace orvane::a11y
