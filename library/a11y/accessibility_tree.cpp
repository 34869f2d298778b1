#include "accessibility_tree.h"

#include "library/html/html_document.h"
#include "library/html/page_encoding.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/file_system.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <unordered_set>

namespace orvane::a11y {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// The first word of a list of words apart by blanks (classes, roles, ids),
// taken off the list; empty when no word is left.
std::string_view NextWord(std::string_view& list)
{
    while (!list.empty() && IsBlank(list.front()))
        list.remove_prefix(1);
    std::size_t end = 0;
    while (end < list.size() && !IsBlank(list[end]))
        ++end;
    const std::string_view word = list.substr(0, end);
    list.remove_prefix(end);
    return word;
}

bool OneOf(std::string_view word, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

template <std::size_t N>
bool Among(std::string_view word, const std::array<std::string_view, N>& list)
{
    return !word.empty() && std::find(list.begin(), list.end(), word) != list.end();
}

// A fixed set of tag names asked about for every tag of a page: hashed once.
class TagSet {
public:
    TagSet(std::initializer_list<std::string_view> names) : m_names(names) {}
    bool Has(std::string_view name) const { return m_names.count(name) != 0; }

private:
    std::unordered_set<std::string_view> m_names;
};

bool IsVoid(std::string_view tag)
{
    static const TagSet kVoid{"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param",
                              "source", "track", "wbr", "keygen", "basefont", "frame", "isindex"};
    return kVoid.Has(tag);
}

// Elements whose content the parser takes as text, not as markup.
bool IsRawText(std::string_view tag) { return OneOf(tag, {"script", "style", "title", "textarea", "xmp"}); }

bool ClosesParagraph(std::string_view tag)
{
    static const TagSet kClosing{"address", "article", "aside", "blockquote", "details", "dialog", "div", "dl",
                                 "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5",
                                 "h6", "header", "hgroup", "hr", "main", "menu", "nav", "ol", "p", "pre", "section",
                                 "table", "ul"};
    return kClosing.Has(tag);
}

bool HasUpper(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Letters of a tag name as written, lower-cased; empty for no tag. A view of
// the text when it is lower case already, else of the buffer.
std::string_view TagNameOf(std::string_view text, std::string& buffer)
{
    if (text.size() < 2 || text[0] != '<')
        return {};
    std::size_t start = text.size() > 1 && text[1] == '/' ? 2 : 1;
    std::size_t end = start;
    while (end < text.size() && !IsBlank(text[end]) && text[end] != '>' && (text[end] != '/' || end == start))
        ++end;
    std::string_view name = text.substr(start, end - start);
    if (HasUpper(name)) {
        buffer = ToLower(name);
        name = buffer;
    }
    if (!name.empty() && (name[0] == '!' || name[0] == '?'))
        return {};
    while (!name.empty() && name.back() == '/')
        name.remove_suffix(1);
    return name;
}

bool IsEndTag(std::string_view text)
{
    return text.size() > 1 && text[0] == '<' && text[1] == '/';
}

bool IsSelfClosing(std::string_view text)
{
    text = TrimRight(text);
    return text.size() > 2 && text[text.size() - 2] == '/' && text.back() == '>';
}

bool IsValidInteger(std::string_view value, long* result = nullptr)
{
    value = Trim(value);
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+'))
        negative = value[i++] == '-';
    if (i >= value.size() || value[i] < '0' || value[i] > '9')
        return false;
    long number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        number = std::min(number * 10 + (value[i] - '0'), 1000000000L);
    if (result)
        *result = negative ? -number : number;
    return true;
}

} // namespace

std::string CollapseBlanks(std::string_view text)
{
    // Written through a pointer into room for the whole text (the result is
    // never longer): names and texts of every node a rule asks about pass here.
    std::string out(text.size(), ' ');
    char* const begin = out.data();
    char* at = begin;
    bool blank = false;
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ' && IsBlank(c)) {
            blank = at != begin;
            continue;
        }
        if (blank)
            *at++ = ' ';
        blank = false;
        *at++ = c;
    }
    out.resize(static_cast<std::size_t>(at - begin));
    return out;
}

// The empty name, then every role of the ARIA table in its order (so that
// an index past 0 is one more than the role's place in AriaRoles()), then
// the roles HTML-AAM gives that ARIA 1.2 does not define.
#define ORVANE_ARIA_ROLE(name, ...) name,
extern const std::string_view kRoleNames[] = {
    "",
#include "aria_data.inc"
    "graphics-document", "generic", "blockquote", "caption", "code", "deletion", "emphasis", "insertion",
    "paragraph", "search", "strong", "subscript", "superscript", "time", "term", "definition", "status",
    "complementary", "contentinfo", "banner", "region", "document",
};
#undef ORVANE_ARIA_ROLE

// A page has a record for every element and every text.
static_assert(sizeof(NodeRecord) <= 48);

std::uint8_t RoleIndex(std::string_view name)
{
    static const auto kIndex = [] {
        std::unordered_map<std::string_view, std::uint8_t> index;
        for (std::size_t i = 0; i < std::size(kRoleNames); ++i)
            index.emplace(kRoleNames[i], static_cast<std::uint8_t>(i));  // the first of a name counts
        return index;
    }();
    static_assert(std::size(kRoleNames) <= 256, "role indexes are one byte");
    const auto it = kIndex.find(name);
    return it == kIndex.end() ? 0 : it->second;
}

// ---------------------------------------------------------------------------
// Building

class AccessibilityTree::Builder {
public:
    Builder(AccessibilityTree& tree, const CHtmlDocument& document) : m_tree(tree), m_document(document) {}

    void Run()
    {
        m_tree.m_utf8Page = m_document.Encoding().ReadsAsUtf8();
        AddStyleFacts();  // of the empty style, the tree's first
        BuildElementTree();
        ReadStyles();
        for (std::size_t i = 0; i < m_tree.m_nodes.size(); ++i) {
            NodeRecord& node = m_tree.m_nodes[i];
            if (node.parent != Node::kNone && !m_traits[node.tag].element)
                ResolveText(node);
            else
                Resolve(static_cast<int>(i));
        }
    }

private:
    std::vector<NodeRecord>& Nodes() { return m_tree.m_nodes; }
    NodeRecord& R(int index) { return m_tree.m_nodes[static_cast<std::size_t>(index)]; }
    std::string_view TagOf(int node) { return m_tree.Tag(node); }
    bool IsElement(int node) { return m_traits[R(node).tag].element; }

    // Every name of the page once, by its index among the tree's names.
    std::unordered_map<std::string_view, std::uint32_t, NameHash, std::equal_to<>> m_nameIndex;
    std::unordered_map<std::string_view, std::uint32_t, NameHash, std::equal_to<>> m_languageIndex;

    // What the builder asks of every element about its name, worked out once
    // per name a page uses.
    struct NameTraits {
        bool isVoid = false;
        bool rawText = false;
        std::uint16_t implies = 0;  // the closing groups whose end the start tag implies (p, li, option, row ...)
        bool neverRendered = false;
        bool formControl = false;  // disabled applies
        std::uint16_t closedBy = 0;  // the closing groups whose names hold it
        std::uint16_t stops = 0;     // the closing groups it is a boundary of
        std::string_view htmlRole;  // the role HTML-AAM gives the name alone; empty when it depends or is none
        std::uint8_t htmlRoleIndex = 0;  // its index in kRoleNames
        bool roleDepends = false;  // the role depends on attributes or ancestors too
        // Asked of every element: a bit each, so Resolve compares no names.
        bool element = false;  // not "#text" or "#document" (a page may write <#x>, no element either)
        bool fieldset = false;
        bool img = false;
        bool input = false;
        bool focusCandidate = false;  // may be focusable by its name alone, without contenteditable
        bool listOrTablePart = false;  // presentational in a presentational list or table
        bool link = false;
        bool style = false;
    };
    std::vector<NameTraits> m_traits;  // by name index
    // The name index of an element kind of the html module's table, as last seen.
    std::vector<std::uint32_t> m_nameOfKind = std::vector<std::uint32_t>(kTagTableSize, 0);

    static NameTraits TraitsOf(std::string_view name)
    {
        static const TagSet kNeverRendered{"head", "script", "style", "template", "title", "meta", "link",
                                           "base", "noscript", "datalist", "param", "source", "track"};
        NameTraits traits;
        traits.isVoid = IsVoid(name);
        traits.rawText = IsRawText(name);
        if (ClosesParagraph(name) || OneOf(name, {"li", "dt", "dd"}))
            traits.implies |= kParagraph;
        if (name == "li")
            traits.implies |= kListItem;
        else if (name == "dt" || name == "dd")
            traits.implies |= kDefinition;
        else if (name == "option")
            traits.implies |= kOption;
        else if (name == "optgroup")
            traits.implies |= kOptionGroup;
        else if (name == "tr")
            traits.implies |= kRow;
        else if (name == "td" || name == "th")
            traits.implies |= kCell;
        else if (name == "thead" || name == "tbody" || name == "tfoot")
            traits.implies |= kSection;
        traits.neverRendered = kNeverRendered.Has(name);
        traits.formControl = OneOf(name, {"button", "input", "select", "textarea", "optgroup", "option", "fieldset"});
        traits.htmlRole = HtmlRoleOfName(name);
        traits.htmlRoleIndex = RoleIndex(traits.htmlRole);
        traits.roleDepends = OneOf(name, {"a", "area", "input", "select", "img", "h1", "h2", "h3", "h4", "h5", "h6",
                                          "footer", "header", "section", "td", "th"});
        traits.element = !name.empty() && name[0] != '#';
        traits.link = name == "link";
        traits.style = name == "style";
        traits.fieldset = name == "fieldset";
        traits.img = name == "img";
        traits.input = name == "input";
        traits.focusCandidate = OneOf(name, {"a", "area", "input", "button", "select", "textarea", "iframe", "audio",
                                             "video", "summary"});
        traits.listOrTablePart =
            OneOf(name, {"li", "tr", "td", "th", "thead", "tbody", "tfoot", "dt", "dd", "option", "caption"});
        for (const Closing& closing : kClosings) {
            if (Among(name, closing.names))
                traits.closedBy |= closing.group;
            if (Among(name, closing.boundaries))
                traits.stops |= closing.group;
        }
        return traits;
    }
    const NameTraits& Traits(int node) { return m_traits[R(node).tag]; }

    // kind: the element's kind in the html module, which names most tags
    // without a look-up by name.
    std::uint32_t NameIndex(std::string_view name, int kind)
    {
        const bool tableKind = kind > 0 && kind < kTagTableSize;
        if (tableKind) {
            const std::uint32_t cached = m_nameOfKind[static_cast<std::size_t>(kind)];
            if (cached && m_tree.m_tagNames[cached] == name)
                return cached;
        }
        auto known = m_nameIndex.find(name);
        if (known == m_nameIndex.end()) {
            const std::string_view kept = m_tree.KeepText(name);  // the page's own names, "<#x>" too
            known = m_nameIndex.emplace(kept, static_cast<std::uint32_t>(m_tree.m_tagNames.size())).first;
            m_tree.m_tagNames.push_back(kept);
            m_traits.push_back(TraitsOf(kept));
        }
        if (tableKind)
            m_nameOfKind[static_cast<std::size_t>(kind)] = known->second;
        return known->second;
    }

    // Role names are the ARIA table's or literals of this file: their index
    // is looked up by content once per place they stand.
    std::unordered_map<const char*, std::uint8_t> m_roleByText;
    std::uint8_t RoleIndexOf(std::string_view role, const NameTraits& traits)
    {
        if (role.empty())
            return 0;
        if (role.data() == traits.htmlRole.data() && role.size() == traits.htmlRole.size())
            return traits.htmlRoleIndex;
        const auto [at, added] = m_roleByText.try_emplace(role.data(), std::uint8_t{0});
        if (added)
            at->second = RoleIndex(role);
        if (kRoleNames[at->second] == role)
            return at->second;
        return RoleIndex(role);
    }

    std::uint32_t LanguageIndex(std::string_view language)
    {
        if (language.empty())
            return 0;
        const auto [at, added] = m_languageIndex.try_emplace(language, static_cast<std::uint32_t>(m_tree.m_languages.size()));
        if (added)
            m_tree.m_languages.push_back(language);
        return at->second;
    }

    // A new node, the last child of the innermost open element.
    [[gnu::always_inline]] int AddNode(std::uint32_t tag)
    {
        const int index = static_cast<int>(Nodes().size());
        NodeRecord& node = Nodes().emplace_back();
        node.tag = tag;
        node.firstAttribute = static_cast<std::int32_t>(m_tree.m_attributes.size());
        if (index == 0)
            return index;
        OpenElement& above = m_open.empty() ? m_root : m_open.back();
        node.parent = above.node;
        if (above.lastChild == Node::kNone)
            R(above.node).firstChild = index;
        else
            R(above.lastChild).nextSibling = index;
        above.lastChild = index;
        return index;
    }

    bool ReadsAsWritten(std::string_view bytes) const { return m_tree.ReadsAsWritten(bytes); }

    // The text a node keeps, as the user reads it: a view of the page's own
    // bytes when they read as they are, else decoded into the tree.
    // bytes: the page's own or kept in the tree, so that they can be decoded later.
    void SetText(int index, const CElement* owner, std::string_view bytes, bool decode)
    {
        NodeRecord& node = R(index);
        if (decode && owner && owner->Text().data() == bytes.data() && owner->Text().size() == bytes.size()) {
            node.text = NodeRecord::kUndecidedText;  // most of a page's texts: the rules read few
            return;
        }
        const bool asWritten = !decode || ReadsAsWritten(bytes);
        if (asWritten && owner && owner->Text().data() == bytes.data() && owner->Text().size() == bytes.size()) {
            node.text = NodeRecord::kOwnText;
            return;
        }
        node.text = static_cast<std::uint32_t>(m_tree.m_texts.size());
        m_tree.m_texts.push_back(bytes);
        m_tree.m_undecoded.push_back(!asWritten);
    }

    // Attributes as the HTML tokenizer reads a start tag, from the tag's own
    // text (which outlives the tree): the document model parses only the tags
    // of its table, and keeps a "/" before ">" as part of a name.
    void ReadAttributes(int index, std::string_view text)
    {
        std::vector<NodeAttribute>& all = m_tree.m_attributes;
        const std::size_t first = all.size();
        std::size_t at = 1;
        while (at < text.size() && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>')
            ++at;  // the tag name
        while (at < text.size()) {
            while (at < text.size() && (IsBlank(text[at]) || text[at] == '/'))
                ++at;
            if (at >= text.size() || text[at] == '>')
                break;
            const std::size_t nameStart = at++;  // a first "=" belongs to the name
            while (at < text.size() && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>' && text[at] != '=')
                ++at;
            std::string_view name = text.substr(nameStart, at - nameStart);
            std::size_t look = at;
            while (look < text.size() && IsBlank(text[look]))
                ++look;
            std::string_view raw;
            if (look < text.size() && text[look] == '=') {
                at = look + 1;
                while (at < text.size() && IsBlank(text[at]))
                    ++at;
                if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                    const char quote = text[at++];
                    const std::size_t close = std::min(text.find(quote, at), text.size());
                    raw = text.substr(at, close - at);
                    at = close + 1;
                } else {
                    const std::size_t valueStart = at;
                    while (at < text.size() && !IsBlank(text[at]) && text[at] != '>')
                        ++at;
                    raw = text.substr(valueStart, at - valueStart);
                }
            }
            if (HasUpper(name)) {
                m_lowered = ToLower(name);
                name = m_lowered;
            }
            const bool seen = std::any_of(all.begin() + static_cast<std::ptrdiff_t>(first), all.end(),
                                          [&](const NodeAttribute& a) { return a.name == name; });
            if (seen) {
                std::vector<std::string>& duplicates = m_tree.m_duplicateAttributes[index];
                if (std::find(duplicates.begin(), duplicates.end(), name) == duplicates.end())
                    duplicates.emplace_back(name);
                continue;  // the first one counts, as in a browser
            }
            if (name.data() == m_lowered.data())
                name = m_tree.KeepText(name);
            const std::string_view value = ReadsAsWritten(raw)
                                               ? raw
                                               : m_tree.KeepText(m_document.UserText(raw, TextPlace::AttributeValue));
            all.push_back({name, value});
        }
    }
    std::string m_lowered;  // an attribute's name lower-cased, until kept

    // The open elements, innermost last, each with its last child so far.
    struct OpenElement {
        int node;
        int lastChild = Node::kNone;
    };
    std::vector<OpenElement> m_open;
    OpenElement m_root{0};

    int Current() const { return m_open.empty() ? 0 : m_open.back().node; }

    void PopTo(std::size_t depth) { m_open.resize(depth); }

    // The end tags a start tag implies: each group closes the innermost
    // open element of its names, not past one of its boundaries.
    enum ClosingGroup : std::uint16_t {
        kParagraph = 1, kListItem = 2, kDefinition = 4, kOption = 8, kOptionGroup = 16, kRow = 32, kCell = 64,
        kSection = 128
    };
    // Fixed arrays, not initializer lists, so the table is a constant for
    // every compiler; the unused places stay empty.
    struct Closing {
        ClosingGroup group;
        std::array<std::string_view, 3> names;
        std::array<std::string_view, 9> boundaries;
    };
    static constexpr std::array<Closing, 8> kClosings = {{
        {kParagraph, {"p"}, {"button", "table", "td", "th", "li", "div", "section", "article", "body"}},
        {kListItem, {"li"}, {"ul", "ol", "menu", "table"}},
        {kDefinition, {"dt", "dd"}, {"dl", "table"}},
        {kOption, {"option"}, {"select", "datalist", "optgroup"}},
        {kOptionGroup, {"optgroup", "option"}, {"select"}},
        {kRow, {"tr"}, {"table", "thead", "tbody", "tfoot"}},
        {kCell, {"td", "th"}, {"tr", "table"}},
        {kSection, {"thead", "tbody", "tfoot"}, {"table"}},
    }};

    // Closes the innermost open element the group closes, not past a boundary.
    void CloseOpen(ClosingGroup group)
    {
        for (std::size_t k = m_open.size(); k-- > 0;) {
            const NameTraits& traits = Traits(m_open[k].node);
            if (traits.closedBy & group) {
                PopTo(k);
                return;
            }
            if (traits.stops & group)
                return;
        }
    }

    // implies: the closing groups of the start tag's name, the paragraph's
    // closed first.
    void ImpliedEnds(std::uint16_t implies)
    {
        if (!m_open.empty() && R(m_open.back().node).foreign)
            return;
        if (implies & kParagraph)
            CloseOpen(kParagraph);
        if (const std::uint16_t other = implies & ~kParagraph)
            CloseOpen(static_cast<ClosingGroup>(other));
    }

    // The name index of the tag the text starts (or ends) when its name is
    // the one last seen for the element's kind in the html module's table,
    // as TagNameOf would read it: most tags are, and then their name need
    // not be lowered or looked up. 0 when it is not, or the kind names no tag.
    std::uint32_t KnownNameOf(std::string_view text, int kind) const
    {
        if (kind >= kind::kEndOffset)
            kind -= kind::kEndOffset;
        if (kind < 0 || kind >= kTagTableSize)
            return 0;
        const std::uint32_t cached = m_nameOfKind[static_cast<std::size_t>(kind)];
        if (!cached)
            return 0;
        const std::string_view name = m_tree.m_tagNames[cached];
        const std::size_t start = text.size() > 1 && text[1] == '/' ? 2 : 1;
        const std::size_t end = start + name.size();
        if (text.size() < end || text[0] != '<')
            return 0;
        for (std::size_t c = 0; c < name.size(); ++c)
            if (AsciiLower(text[start + c]) != name[c])
                return 0;
        if (end < text.size() && !IsBlank(text[end]) && text[end] != '>' && text[end] != '/')
            return 0;
        return cached;
    }

    // text: the tag's text, which outlives the tree (the element's own, or kept).
    void AddTag(const CElement& element, std::string_view text, const std::vector<CElement*>& list, std::size_t& i)
    {
        const std::uint32_t known = KnownNameOf(text, element.Kind());
        const std::string_view name = known ? m_tree.m_tagNames[known] : TagNameOf(text, m_nameBuffer);
        if (name.empty())
            return;
        if (IsEndTag(text)) {
            for (std::size_t k = m_open.size(); k-- > 0;) {
                // Every name stands once among the tree's names: the same index is the same name.
                if (known ? R(m_open[k].node).tag == known : TagOf(m_open[k].node) == name) {
                    PopTo(k);
                    break;
                }
            }
            return;
        }
        const std::uint32_t nameIndex = known ? known : NameIndex(name, element.Kind());
        if (const std::uint16_t implies = m_traits[nameIndex].implies)
            ImpliedEnds(implies);
        const bool foreign = name == "svg" || name == "math" || R(Current()).foreign;
        const int index = AddNode(nameIndex);
        R(index).element = &element;
        R(index).foreign = foreign;
        ReadAttributes(index, text);
        if (Traits(index).element)
            NoteReferences(index);
        const std::string_view tag = TagOf(index);
        if (tag == "html" && m_tree.m_documentElement == Node::kNone)
            m_tree.m_documentElement = index;
        if (!foreign && Traits(index).rawText) {
            // Everything up to the end tag is the element's text: a view of
            // the one text the page has there, else joined in the tree.
            std::string raw;
            std::string_view only;
            int pieces = 0;
            std::size_t k = i + 1;
            for (; k < list.size(); ++k) {
                const CElement& inner = *list[k];
                if (IsEndTag(inner.Text()) && TagNameOf(inner.Text(), m_nameBuffer) == tag)
                    break;
                if (inner.IsDeleted())
                    continue;
                if (pieces++ == 1)
                    raw.assign(only);
                if (pieces == 1)
                    only = inner.Text();
                else
                    raw.append(inner.Text());
            }
            const std::string_view content = pieces > 1 ? m_tree.KeepText(raw) : only;
            SetText(index, nullptr, content, tag != "script" && tag != "style");
            const std::string_view kept = m_tree.Text(index);
            if (tag == "script" && !Trim(content).empty())
                m_tree.m_scripted = true;
            const bool inTemplate =
                std::any_of(m_open.begin(), m_open.end(), [&](const OpenElement& open) { return TagOf(open.node) == "template"; });
            if (tag == "title" && !m_tree.m_title && !inTemplate)
                m_tree.m_title = std::string(kept);
            i = k;  // the end tag, or past the end
            return;
        }
        if ((foreign && IsSelfClosing(text)) || (!foreign && Traits(index).isVoid))
            return;
        m_open.push_back({index});
    }
    std::string m_nameBuffer;

    // The ids, label targets and aria-owns lists of an element, noted as it
    // is added, in page order.
    void NoteReferences(int node)
    {
        bool ownsSeen = false;
        for (const NodeAttribute& a : m_tree.Attributes(node)) {
            switch (a.name.size()) {
            case 2:
                if (a.name == "id" && !a.value.empty()) {
                    IdEntry& entry = m_tree.m_ids[a.value];
                    if (entry.count++ == 0)
                        entry.first = node;
                }
                break;
            case 3:
                if (a.name == "for" && TagOf(node) == "label")
                    m_tree.m_labelsFor[a.value].push_back(node);
                break;
            case 9:
                if (a.name == "aria-owns" && !ownsSeen) {
                    m_owners.push_back({node, a.value});
                    ownsSeen = true;
                }
                break;
            default:
                break;
            }
        }
    }
    std::vector<std::pair<int, std::string_view>> m_owners;  // by aria-owns, in page order

    // A start tag whose text ends inside a quoted value, or has no end.
    static bool StartsBrokenTag(std::string_view text)
    {
        if (text.size() < 2 || text[0] != '<' || !std::isalpha(static_cast<unsigned char>(text[1])))
            return false;
        const std::size_t end = TagEnd(text);
        return end == std::string_view::npos;
    }

    // Where the tag's closing ">" stands, quotes of values heeded; npos when
    // the text holds none.
    // Reads a tag a character at a time: true at the ">" that ends it, a ">"
    // inside a quoted value heeded as text.
    struct TagEndReader {
        char quote = 0;
        bool afterEquals = false;

        bool EndsAt(char ch)
        {
            if (quote) {
                if (ch == quote)
                    quote = 0;
                return false;
            }
            if ((ch == '"' || ch == '\'') && afterEquals) {
                quote = ch;
                return false;
            }
            if (ch == '=')
                afterEquals = true;
            else if (!IsBlank(ch))
                afterEquals = false;
            return ch == '>';
        }
    };

    // As TagEndReader reads, a quoted value passed over whole.
    static std::size_t TagEnd(std::string_view text)
    {
        bool afterEquals = false;
        for (std::size_t c = 0; c < text.size(); ++c) {
            const char ch = text[c];
            if ((ch == '"' || ch == '\'') && afterEquals) {
                c = text.find(ch, c + 1);
                if (c == std::string_view::npos)
                    return c;
                continue;  // after the closing quote, as after the "="
            }
            if (ch == '=')
                afterEquals = true;
            else if (!IsBlank(ch))
                afterEquals = false;
            if (ch == '>')
                return c;
        }
        return std::string_view::npos;
    }

    // The whole tag from the text at `first` on, with the texts after it; last
    // is the element the tag ends in. Empty when no tag closes.
    static std::string MergeTag(const std::vector<CElement*>& list, std::size_t first, std::size_t& last)
    {
        std::string merged;
        TagEndReader reader;
        for (std::size_t k = first; k < list.size() && k < first + 4096; ++k) {
            const std::string_view piece = list[k]->Text();
            for (std::size_t c = 0; c < piece.size(); ++c) {
                const char ch = piece[c];
                merged.push_back(ch);
                if (reader.EndsAt(ch)) {
                    // What follows the tag in the same piece is page text the tree keeps no more.
                    last = k;
                    return merged;
                }
            }
        }
        return {};
    }

    void BuildElementTree()
    {
        // Room for every node once, and no more: end tags and comments make
        // none, and a page holds about as many of them as of start tags.
        const std::vector<CElement*>& all = m_document.Elements();
        std::size_t nodes = 1;
        for (const CElement* element : all) {
            const int kind = element->Kind();
            // End tags of the html module's table are known by their kind, without their text.
            if (!element->IsDeleted() && kind != kind::kComment && kind != kind::kCommentEnd && kind != tag::kDoctype &&
                kind < kind::kEndOffset && (kind != kind::kUnknown || !IsEndTag(element->Text())))
                ++nodes;
        }
        m_tree.m_nodes.reserve(nodes);
        m_tree.m_tagNames = {"#document", "#text"};
        m_traits.resize(m_tree.m_tagNames.size());
        // A page writing <#text> or <#document> makes a node of that name, no element.
        m_nameIndex = {{"#document", kDocumentName}, {"#text", kTextName}};
        m_tree.m_languages = {std::string_view()};
        AddNode(kDocumentName);
        const std::vector<CElement*>& list = m_document.Elements();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const CElement& element = *list[i];
            if (element.IsDeleted())
                continue;
            const int kind = element.Kind();
            if (kind == kind::kComment || kind == kind::kCommentEnd || kind == tag::kDoctype)
                continue;
            if ((kind == kind::kText || kind == kind::kUnknown || (kind >= 0 && kind < kTagTableSize)) &&
                StartsBrokenTag(element.Text())) {
                // A "<" inside a quoted attribute value (srcdoc="<a ...>") cut
                // the tag: it is read again whole from the texts that follow.
                std::size_t last = i;
                const std::string merged = MergeTag(list, i, last);
                if (!merged.empty()) {
                    i = last;
                    AddTag(element, m_tree.KeepText(merged), list, i);
                    continue;
                }
            }
            if (kind == kind::kText) {
                const bool foreign = R(Current()).foreign;
                const int text = AddNode(kTextName);
                NodeRecord& record = R(text);
                record.element = &element;
                record.pageText = true;
                record.foreign = foreign;
                record.text = NodeRecord::kUndecidedText;  // as SetText would set it, without the call
                continue;
            }
            AddTag(element, element.Text(), list, i);
        }
        m_nameIndex = {};
        // Read once every id is known.
        for (const auto& [owner, idList] : m_owners)
            for (int owned : m_tree.Referenced(idList))
                m_tree.m_ownedBy.emplace(owned, owner);
    }

    // ----- Style -------------------------------------------------------------

    struct IndexedRule {
        const css::Selector* selector;
        const css::StyleRule* rule;
        std::size_t order;
    };

    std::unordered_map<std::string, std::vector<IndexedRule>, NameHash, std::equal_to<>> m_byId, m_byClass, m_byTag;
    std::vector<IndexedRule> m_universal;

    // The page's own folder, as its name gives it; nullopt for a page given
    // as text, whose sheets have nowhere to be found.
    std::optional<std::string> PageFolder() const
    {
        if (m_document.OriginFlag() != 1 || m_document.Name().empty())
            return std::nullopt;
        const std::string& name = m_document.Name();
        const std::size_t slash = name.find_last_of('/');
        return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    }

    // The sheet a link element brings in, when it is one on this computer
    // beside the page: read as bytes, never from the network.
    std::optional<std::string> LinkedSheet(int index, const std::optional<std::string>& folder)
    {
        const std::string_view* rel = Attr(index, "rel");
        const std::string_view* href = Attr(index, "href");
        if (!folder || !rel || !href || Attr(index, "disabled"))
            return std::nullopt;
        bool stylesheet = false, alternate = false;
        for (std::string_view token : SplitBlanks(*rel)) {
            stylesheet = stylesheet || EqualsIgnoreCase(token, "stylesheet");
            alternate = alternate || EqualsIgnoreCase(token, "alternate");
        }
        if (!stylesheet || alternate)  // an alternate sheet is off until the user picks it
            return std::nullopt;
        const std::optional<std::string> relative = css::LocalSheetPath(*href);
        if (!relative)
            return std::nullopt;
        const std::string path = *folder + *relative;
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (error || size > css::kLocalSheetLimit)
            return std::nullopt;
        return platform::ReadWholeFile(path);
    }

    static std::vector<std::string_view> SplitBlanks(std::string_view text)
    {
        std::vector<std::string_view> tokens;
        for (std::string_view word; !(word = NextWord(text)).empty();)
            tokens.push_back(word);
        return tokens;
    }

    void ReadStyles()
    {
        const std::optional<std::string> folder = PageFolder();
        for (std::size_t i = 0; i < Nodes().size(); ++i) {
            const int index = static_cast<int>(i);
            const NameTraits& traits = Traits(index);
            if (!traits.link && !traits.style)
                continue;
            std::optional<std::string> linked;
            if (traits.link && !R(index).foreign)
                linked = LinkedSheet(index, folder);
            if (!traits.style && !linked)
                continue;
            const std::string_view* media = m_tree.Attribute(index, "media");
            std::vector<css::StyleRule> rules = css::ReadStyleSheet(linked ? std::string_view(*linked) : m_tree.Text(index));
            for (css::StyleRule& rule : rules) {
                if (media && !Trim(*media).empty() && !EqualsIgnoreCase(Trim(*media), "all"))
                    rule.media = rule.media.empty() ? std::string(*media) : std::string(*media) + " and " + rule.media;
                m_tree.m_styleRules.push_back(std::move(rule));
            }
        }
        // A rule that sets none of the properties the tree reads changes no
        // node; of rules alike in selector, media and declarations only the
        // last can win (the same weight, a later place), so only it is
        // offered. Pages repeat their sheets, one per section.
        std::vector<std::string> keys;
        std::unordered_map<std::string_view, std::size_t> lastOf;
        for (const css::StyleRule& rule : m_tree.m_styleRules) {
            if (!SetsAPropertyRead(rule)) {
                keys.insert(keys.end(), rule.selectors.size(), std::string());
                continue;
            }
            for (const css::Selector& selector : rule.selectors)
                keys.push_back(RuleKey(rule, selector));
        }
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (!keys[k].empty())
                lastOf[keys[k]] = k;
        std::size_t order = 0;
        for (const css::StyleRule& rule : m_tree.m_styleRules) {
            for (const css::Selector& selector : rule.selectors) {
                const std::size_t at = order++;
                if (keys[at].empty() || lastOf[keys[at]] != at)
                    continue;
                const css::Compound& subject = selector.compounds.front();
                IndexedRule entry{&selector, &rule, at};
                if (!subject.id.empty())
                    m_byId[subject.id].push_back(entry);
                else if (!subject.classes.empty())
                    m_byClass[subject.classes.front()].push_back(entry);
                else if (!subject.tag.empty())
                    m_byTag[subject.tag].push_back(entry);
                else
                    m_universal.push_back(entry);
            }
        }
        m_rulesOfName.assign(m_tree.m_tagNames.size(), nullptr);
        for (std::size_t name = 0; name < m_tree.m_tagNames.size(); ++name)
            if (const auto it = m_byTag.find(m_tree.m_tagNames[name]); it != m_byTag.end())
                m_rulesOfName[name] = &it->second;
    }
    std::vector<const std::vector<IndexedRule>*> m_rulesOfName;  // the rules whose subject is a tag, by name index

    static bool SetsAPropertyRead(const css::StyleRule& rule)
    {
        return std::any_of(rule.declarations.begin(), rule.declarations.end(), [](const css::Declaration& d) {
            return d.property == "transform" || d.property == "rotate" ||
                   (!d.property.empty() && std::find(kProperties.begin(), kProperties.end(), d.property) != kProperties.end());
        });
    }

    // Everything of a rule and one of its selectors that decides what it
    // gives a node, each part written with its length.
    static std::string RuleKey(const css::StyleRule& rule, const css::Selector& selector)
    {
        std::string key;
        auto add = [&key](std::string_view part) {
            key += std::to_string(part.size());
            key += ':';
            key += part;
        };
        add(rule.media);
        key += std::to_string(selector.specificity);
        for (std::size_t c = 0; c < selector.compounds.size(); ++c) {
            const css::Compound& compound = selector.compounds[c];
            key += c < selector.childOf.size() && selector.childOf[c] ? '>' : ' ';
            add(compound.tag);
            add(compound.id);
            key += std::to_string(compound.classes.size());
            for (const std::string& name : compound.classes)
                add(name);
            key += std::to_string(compound.attributes.size());
            for (const css::AttributeTest& test : compound.attributes) {
                add(test.name);
                key += test.match ? test.match : '-';
                add(test.value);
            }
        }
        key += std::to_string(rule.declarations.size());
        for (const css::Declaration& d : rule.declarations) {
            add(d.property);
            add(d.value);
            key += d.important ? '!' : '.';
        }
        return key;
    }

    bool HasClass(int node, std::string_view name)
    {
        const std::string_view* classes = m_tree.Attribute(node, "class");
        if (!classes)
            return false;
        std::string_view rest = *classes;
        for (std::string_view word; !(word = NextWord(rest)).empty();)
            if (word == name)
                return true;
        return false;
    }

    bool Matches(int node, const css::Compound& compound)
    {
        if (!IsElement(node))
            return false;
        if (!compound.tag.empty() && compound.tag != TagOf(node))
            return false;
        if (!compound.id.empty()) {
            const std::string_view* id = m_tree.Attribute(node, "id");
            if (!id || *id != compound.id)
                return false;
        }
        for (const std::string& name : compound.classes)
            if (!HasClass(node, name))
                return false;
        for (const css::AttributeTest& test : compound.attributes) {
            const std::string_view* value = m_tree.Attribute(node, test.name);
            if (!value)
                return false;
            const std::string_view v = *value;
            const std::string_view want = test.value;
            switch (test.match) {
            case 0: break;
            case '=': if (v != want) return false; break;
            case '^': if (want.empty() || v.substr(0, want.size()) != want) return false; break;
            case '$': if (want.empty() || v.size() < want.size() || v.substr(v.size() - want.size()) != want) return false; break;
            case '*': if (want.empty() || v.find(want) == std::string_view::npos) return false; break;
            case '|': if (v != want && v.substr(0, want.size() + 1) != std::string(want) + "-") return false; break;
            case '~': {
                bool found = false;
                std::string_view rest = v;
                for (std::string_view word; !found && !(word = NextWord(rest)).empty();)
                    found = word == want;
                if (!found)
                    return false;
                break;
            }
            default: return false;
            }
        }
        return true;
    }

    bool Matches(int node, const css::Selector& selector, std::size_t at = 0)
    {
        if (!Matches(node, selector.compounds[at]))
            return false;
        if (at + 1 == selector.compounds.size())
            return true;
        int ancestor = R(node).parent;
        if (selector.childOf[at])
            return ancestor > 0 && Matches(ancestor, selector, at + 1);
        for (; ancestor > 0; ancestor = R(ancestor).parent)
            if (Matches(ancestor, selector, at + 1))
                return true;
        return false;
    }

    struct Winner {
        const css::Declaration* declaration = nullptr;
        bool important = false;
        bool inline_ = false;
        int specificity = 0;
        std::size_t order = 0;

        bool LosesTo(bool important2, bool inline2, int specificity2, std::size_t order2) const
        {
            if (!declaration)
                return true;
            if (important != important2)
                return important2;
            if (inline_ != inline2)
                return inline2;
            if (specificity != specificity2)
                return specificity2 > specificity;
            return order2 >= order;
        }
    };

    // The last two take transform and rotate under an orientation query.
    static constexpr std::array<std::string_view, 14> kProperties = {
        "display", "visibility", "content-visibility", "letter-spacing", "word-spacing", "line-height", "font-size",
        "", "", "", "font-family", "position", "top", "left"};

    void Offer(std::array<Winner, kProperties.size()>& winners, const css::Declaration& d, bool isInline,
               int specificity, std::size_t order, std::string_view media = {})
    {
        if (d.property == "transform" || d.property == "rotate") {
            const std::string lower = ToLower(media);
            std::size_t slot = 9;
            if (lower.find("orientation") != std::string::npos)
                slot = lower.find("landscape") != std::string::npos ? 7
                       : lower.find("portrait") != std::string::npos ? 8 : 0;
            if (slot && winners[slot].LosesTo(d.important, isInline, specificity, order))
                winners[slot] = Winner{&d, d.important, isInline, specificity, order};
            return;
        }
        for (std::size_t p = 0; p < kProperties.size(); ++p) {
            if (kProperties[p].empty())
                continue;
            if (d.property != kProperties[p])
                continue;
            if (winners[p].LosesTo(d.important, isInline, specificity, order))
                winners[p] = Winner{&d, d.important, isInline, specificity, order};
        }
    }

    // Media conditions a screen of any size may meet count; print and
    // speech only ones do not.
    static bool AppliesOnScreen(std::string_view media)
    {
        const std::string lower = ToLower(media);
        if (lower.empty())
            return true;
        if (lower.find("print") != std::string::npos || lower.find("speech") != std::string::npos)
            return lower.find("screen") != std::string::npos || lower.find("all") != std::string::npos;
        return true;
    }

    void ComputeStyle(int index)
    {
        NodeRecord& node = R(index);
        const std::uint32_t parentStyle = node.parent > 0 ? R(node.parent).style : kNoStyle;
        const NodeStyle* parent = parentStyle != kNoStyle ? m_tree.m_styleTable[parentStyle] : nullptr;
        const std::string_view *id = nullptr, *classes = nullptr, *style = nullptr;
        for (const NodeAttribute& a : m_tree.Attributes(index)) {
            if (a.name == "id")
                id = &a.value;
            else if (a.name == "class")
                classes = &a.value;
            else if (a.name == "style")
                style = &a.value;
        }
        const std::vector<IndexedRule>* byTag = m_rulesOfName[node.tag];
        // Most elements match no rule and carry no style attribute: they take
        // what their parent's style passes down, the same for every such child.
        if (!style && !byTag && m_universal.empty() && (!id || m_byId.empty()) && (!classes || m_byClass.empty())) {
            if (const std::uint32_t known = InheritedOnly(parentStyle); known != kNoStyle) {
                node.style = known;
                return;
            }
        }
        std::array<Winner, kProperties.size()> winners{};
        auto consider = [&](const std::vector<IndexedRule>* rules) {
            if (!rules)
                return;
            for (const IndexedRule& entry : *rules) {
                if (!AppliesOnScreen(entry.rule->media) || !Matches(index, *entry.selector))
                    continue;
                for (const css::Declaration& d : entry.rule->declarations)
                    Offer(winners, d, false, entry.selector->specificity, entry.order, entry.rule->media);
            }
        };
        if (!m_universal.empty() || !m_byTag.empty() || !m_byId.empty() || !m_byClass.empty()) {
            consider(&m_universal);
            consider(byTag);
            if (id && !m_byId.empty())
                if (auto it = m_byId.find(*id); it != m_byId.end())
                    consider(&it->second);
            if (classes && !m_byClass.empty()) {
                std::vector<std::string_view> seen;
                std::string_view rest = *classes;
                for (std::string_view name; !(name = NextWord(rest)).empty();) {
                    if (std::find(seen.begin(), seen.end(), name) == seen.end()) {
                        seen.push_back(name);
                        if (auto it = m_byClass.find(name); it != m_byClass.end())
                            consider(&it->second);
                    }
                }
            }
        }
        std::vector<css::Declaration> inlineDeclarations;
        if (style) {
            inlineDeclarations = css::ReadDeclarations(*style);
            for (const css::Declaration& d : inlineDeclarations)
                Offer(winners, d, true, 0, 0);
        }
        const bool ownNothing = std::all_of(winners.begin(), winners.end(), [](const Winner& w) { return !w.declaration; });
        if (ownNothing) {
            if (const std::uint32_t known = InheritedOnly(parentStyle); known != kNoStyle) {
                node.style = known;
                return;
            }
        }
        auto value = [&](std::size_t p) -> std::string {
            const css::Declaration* d = winners[p].declaration;
            return d ? ToLower(Trim(d->value)) : std::string();
        };
        NodeStyle s;
        s.display = value(0);
        s.visibility = value(1);
        s.contentVisibility = value(2);
        s.letterSpacing = value(3);
        s.wordSpacing = value(4);
        s.lineHeight = value(5);
        s.fontSize = value(6);
        s.fontFamily = value(10);
        s.position = value(11);
        s.top = value(12);
        s.left = value(13);
        auto rotation = [&](std::size_t p) -> std::string {
            const css::Declaration* d = winners[p].declaration;
            return d ? d->property + ":" + ToLower(Trim(d->value)) : std::string();
        };
        // Without a rule of its own an orientation keeps the element's rotation at large.
        s.landscapeRotation = winners[7].declaration ? rotation(7) : rotation(9);
        s.portraitRotation = winners[8].declaration ? rotation(8) : rotation(9);
        s.orientationDependent = winners[7].declaration || winners[8].declaration;
        s.letterSpacingImportant = winners[3].declaration && winners[3].inline_ && winners[3].important;
        s.wordSpacingImportant = winners[4].declaration && winners[4].inline_ && winners[4].important;
        s.lineHeightImportant = winners[5].declaration && winners[5].inline_ && winners[5].important;
        // Inherited properties (and "inherit" on the others) follow the parent.
        auto inherit = [&](std::string& mine, const std::string& theirs, bool inherited) {
            if ((mine.empty() && inherited) || mine == "inherit")
                mine = parent ? theirs : std::string();
        };
        inherit(s.visibility, parent ? parent->visibility : std::string(), true);
        inherit(s.letterSpacing, parent ? parent->letterSpacing : std::string(), true);
        inherit(s.wordSpacing, parent ? parent->wordSpacing : std::string(), true);
        inherit(s.lineHeight, parent ? parent->lineHeight : std::string(), true);
        inherit(s.fontSize, parent ? parent->fontSize : std::string(), true);
        inherit(s.fontFamily, parent ? parent->fontFamily : std::string(), true);
        inherit(s.display, parent ? parent->display : std::string(), false);
        if (parent && s == *parent)
            node.style = parentStyle;
        else if (s == m_tree.m_styles.front())
            node.style = 0;
        else {
            node.style = static_cast<std::uint32_t>(m_tree.m_styleTable.size());
            m_tree.m_styleTable.push_back(&m_tree.m_styles.emplace_back(std::move(s)));
            AddStyleFacts();
        }
        if (ownNothing)
            SetInheritedOnly(parentStyle, node.style);
    }

    // A parent's style (kNoStyle for none) to what a child of no style of its own gets.
    static constexpr std::uint32_t kNoStyle = 0xFFFFFFFF;
    // By the parent's style plus one (kNoStyle wraps to 0); kNoStyle while unknown.
    std::vector<std::uint32_t> m_inheritedOnly;
    std::uint32_t InheritedOnly(std::uint32_t parentStyle) const
    {
        const std::size_t at = static_cast<std::uint32_t>(parentStyle + 1);
        return at < m_inheritedOnly.size() ? m_inheritedOnly[at] : kNoStyle;
    }
    void SetInheritedOnly(std::uint32_t parentStyle, std::uint32_t style)
    {
        const std::size_t at = static_cast<std::uint32_t>(parentStyle + 1);
        if (at >= m_inheritedOnly.size())
            m_inheritedOnly.resize(at + 1, kNoStyle);
        m_inheritedOnly[at] = style;
    }

    // ----- Roles, hiding, focus, language -----------------------------------

    const std::string_view* Attr(int node, std::string_view name) { return m_tree.Attribute(node, name); }

    bool HasGlobalAria(int index)
    {
        for (const NodeAttribute& a : m_tree.Attributes(index)) {
            if (a.name.rfind("aria-", 0) != 0)
                continue;
            const AriaProperty* p = FindAriaProperty(a.name);
            if (p && p->global && a.name != "aria-hidden")
                return true;
        }
        return false;
    }

    bool HasAncestor(int index, std::initializer_list<std::string_view> tags)
    {
        for (int p = R(index).parent; p > 0; p = R(p).parent)
            if (OneOf(TagOf(p), tags))
                return true;
        return false;
    }

    std::string_view ImplicitRole(int index)
    {
        const NodeRecord& n = R(index);
        const std::string_view t = TagOf(index);
        if (n.foreign) {
            if (t == "svg")
                return "graphics-document";
            if (t == "math")
                return "math";
            return {};
        }
        if (!Traits(index).roleDepends)
            return Traits(index).htmlRole;
        if (t == "a" || t == "area")
            return Attr(index, "href") ? "link" : "";
        if (t == "input") {
            const std::string_view* typeValue = Attr(index, "type");
            const std::string type = typeValue ? ToLower(Trim(*typeValue)) : std::string();
            if (OneOf(type, {"button", "submit", "reset", "image"}))
                return "button";
            if (type == "checkbox")
                return "checkbox";
            if (type == "radio")
                return "radio";
            if (type == "range")
                return "slider";
            if (type == "number")
                return "spinbutton";
            if (type == "hidden" || type == "file" || type == "color" || type == "date" || type == "datetime-local" ||
                type == "month" || type == "time" || type == "week" || type == "password")
                return {};
            if (Attr(index, "list"))
                return "combobox";
            return type == "search" ? "searchbox" : "textbox";
        }
        if (t == "select") {
            long size = 0;
            const std::string_view* sizeValue = Attr(index, "size");
            if (Attr(index, "multiple") || (sizeValue && IsValidInteger(*sizeValue, &size) && size > 1))
                return "listbox";
            return "combobox";
        }
        if (t == "img") {
            const std::string_view* alt = Attr(index, "alt");
            if (alt && alt->empty() && !HasGlobalAria(index) && !Attr(index, "title"))
                return "presentation";
            return "img";
        }
        if (t == "h1" || t == "h2" || t == "h3" || t == "h4" || t == "h5" || t == "h6")
            return "heading";
        if (t == "footer" || t == "header") {
            if (HasAncestor(index, {"article", "aside", "main", "nav", "section"}))
                return {};
            return t == "footer" ? "contentinfo" : "banner";
        }
        if (t == "section")
            return (Attr(index, "aria-label") || Attr(index, "aria-labelledby") || Attr(index, "title")) ? "region" : "";
        if (t == "td")
            return HasAncestor(index, {"table"}) ? "cell" : "";
        if (t == "th")
            return HeaderCellRole(index);
        return Traits(index).htmlRole;
    }

    static std::string_view HtmlRoleOfName(std::string_view t)
    {
        static const std::unordered_map<std::string_view, std::string_view> kRoles = {
            {"article", "article"}, {"aside", "complementary"}, {"blockquote", "blockquote"}, {"body", "generic"},
            {"button", "button"}, {"caption", "caption"}, {"code", "code"}, {"datalist", "listbox"},
            {"dd", "definition"}, {"del", "deletion"}, {"details", "group"}, {"dfn", "term"}, {"dialog", "dialog"},
            {"dt", "term"}, {"em", "emphasis"}, {"fieldset", "group"}, {"figure", "figure"}, {"form", "form"},
            {"hr", "separator"}, {"html", "document"}, {"ins", "insertion"}, {"li", "listitem"}, {"main", "main"},
            {"math", "math"}, {"menu", "list"}, {"meter", "meter"}, {"nav", "navigation"}, {"ol", "list"},
            {"optgroup", "group"}, {"option", "option"}, {"output", "status"}, {"p", "paragraph"},
            {"progress", "progressbar"}, {"search", "search"}, {"strong", "strong"}, {"sub", "subscript"},
            {"sup", "superscript"}, {"table", "table"}, {"tbody", "rowgroup"}, {"textarea", "textbox"},
            {"tfoot", "rowgroup"}, {"thead", "rowgroup"}, {"time", "time"}, {"tr", "row"}, {"ul", "list"},
        };
        const auto it = kRoles.find(t);
        return it == kRoles.end() ? std::string_view() : it->second;
    }

    bool IsNaturallyFocusable(int index, bool disabled, const std::string_view* contentEditable)
    {
        const NodeRecord& n = R(index);
        const std::string_view t = TagOf(index);
        if (disabled)
            return false;
        if (Traits(index).focusCandidate) {
            if ((t == "a" || t == "area") && Attr(index, "href"))
                return true;
            if (t == "input") {
                const std::string_view* type = Attr(index, "type");
                return !(type && EqualsIgnoreCase(Trim(*type), "hidden"));
            }
            if (t == "button" || t == "select" || t == "textarea" || t == "iframe")
                return true;
            if ((t == "audio" || t == "video") && Attr(index, "controls"))
                return true;
            if (t == "summary" && n.parent > 0 && TagOf(n.parent) == "details") {
                for (int sibling : m_tree.Children(n.parent))
                    if (TagOf(sibling) == "summary")
                        return sibling == index;
            }
        }
        if (contentEditable)
            return !EqualsIgnoreCase(Trim(*contentEditable), "false");
        return false;
    }

    bool IsDisabled(int index, bool inDisabledFieldset)
    {
        if (!Traits(index).formControl)
            return false;
        // Inside a disabled fieldset, but for its first legend.
        return Attr(index, "disabled") || inDisabledFieldset;
    }

    // Positioned far beyond the top or left edge: a common way to hide
    // content from the eye and keep it for screen readers.
    static bool OffScreen(const NodeStyle& style)
    {
        if (style.position != "absolute" && style.position != "fixed")
            return false;
        auto far = [](const std::string& offset) {
            if (offset.empty() || offset[0] != '-')
                return false;
            const double number = std::atof(offset.c_str() + 1);
            const bool relative = offset.find("em") != std::string::npos || offset.find('%') != std::string::npos;
            return relative ? number >= 10 : number >= 100;
        };
        return far(style.top) || far(style.left);
    }

    // A th without a scope heads its row when the row holds data cells.
    std::string_view HeaderCellRole(int index)
    {
        if (const std::string_view* scope = Attr(index, "scope")) {
            const std::string value = ToLower(Trim(*scope));
            if (value == "row" || value == "rowgroup")
                return "rowheader";
            if (value == "col" || value == "colgroup")
                return "columnheader";
        }
        const int row = R(index).parent;
        if (row > 0 && TagOf(row) == "tr")
            for (int cell : m_tree.Children(row))
                if (TagOf(cell) == "td")
                    return "rowheader";
        return "columnheader";
    }

    // The attributes every element is asked for, found in one walk of its
    // attributes rather than a look-up each; null when absent.
    struct CommonAttributes {
        const std::string_view* hidden = nullptr;
        const std::string_view* ariaHidden = nullptr;
        const std::string_view* lang = nullptr;
        const std::string_view* xmlLang = nullptr;
        const std::string_view* tabindex = nullptr;
        const std::string_view* role = nullptr;
        const std::string_view* contentEditable = nullptr;
    };
    CommonAttributes ReadCommonAttributes(int index)
    {
        CommonAttributes found;
        for (const NodeAttribute& a : m_tree.Attributes(index)) {
            const std::string_view name = a.name;  // lower case, never empty, each name once
            switch (name.size()) {
            case 4:
                if (name == "lang")
                    found.lang = &a.value;
                else if (name == "role")
                    found.role = &a.value;
                break;
            case 6:
                if (name == "hidden")
                    found.hidden = &a.value;
                break;
            case 8:
                if (name == "tabindex")
                    found.tabindex = &a.value;
                else if (name == "xml:lang")
                    found.xmlLang = &a.value;
                break;
            case 11:
                if (name == "aria-hidden")
                    found.ariaHidden = &a.value;
                break;
            case 15:
                if (name == "contenteditable")
                    found.contentEditable = &a.value;
                break;
            default:
                break;
            }
        }
        return found;
    }

    // What hiding asks of a style, worked out once per distinct style rather
    // than by comparing its texts again for every node that has it.
    struct StyleFacts {
        bool displayNone = false;
        bool displayUnset = false;
        bool invisible = false;  // visibility hidden or collapse
        bool contentHidden = false;  // content-visibility hidden
        bool offScreen = false;
    };
    std::vector<StyleFacts> m_styleFacts;  // by style index, one added with each style
    const StyleFacts& FactsOf(std::uint32_t style) const { return m_styleFacts[style]; }
    void AddStyleFacts()
    {
        const NodeStyle& s = *m_tree.m_styleTable[m_styleFacts.size()];
        m_styleFacts.push_back({s.display == "none", s.display.empty(), s.visibility == "hidden" || s.visibility == "collapse",
                                s.contentVisibility == "hidden", OffScreen(s)});
    }

    bool UnderPresentationalChildren(const NodeRecord& parent) const
    {
        const AriaRole* parentRole = m_tree.AriaRoleAt(parent.role);
        return parent.underPresentationalChildren || (parentRole && parentRole->childrenPresentational);
    }
    bool InDisabledFieldset(const NodeRecord& node, const NodeRecord& parent)
    {
        return parent.inDisabledFieldset || (m_traits[parent.tag].fieldset && HasDisabled(node.parent));
    }
    // Out of line: asked only below a fieldset.
    [[gnu::noinline]] bool HasDisabled(int node) { return Attr(node, "disabled") != nullptr; }

    // Texts, most of a page's nodes, have nothing of their own: what they
    // are comes from the parent. The flags are worked out in a copy and
    // stored together, for the reason Resolve gives.
    [[gnu::always_inline]] void ResolveText(NodeRecord& node)
    {
        const NodeRecord& parent = R(node.parent);
        const bool rendered = parent.rendered || node.parent == m_tree.Root();
        const bool shown = rendered && !FactsOf(parent.style).invisible;
        NodeFlags flags = node;
        flags.underPresentationalChildren = UnderPresentationalChildren(parent);
        flags.inDisabledFieldset = InDisabledFieldset(node, parent);
        flags.rendered = rendered;
        flags.offScreen = parent.offScreen;
        flags.visible = shown && !parent.offScreen;
        flags.ariaHidden = parent.ariaHidden;
        flags.included = shown && !parent.ariaHidden;
        static_cast<NodeFlags&>(node) = flags;
        node.style = parent.style;
        node.language = parent.language;
    }

    // What Resolve works out of a node is kept in plain locals and written to
    // the record's bit fields together at the end: a bit written in place and
    // read again soon after stalls the load behind the narrower store.
    void Resolve(int index)
    {
        NodeRecord& node = R(index);
        if (node.parent == Node::kNone) {
            node.style = 0;
            node.included = false;
            return;
        }
        const NodeRecord& parent = R(node.parent);
        const NameTraits& traits = m_traits[node.tag];
        const NameTraits& parentTraits = m_traits[parent.tag];
        const bool underPresentationalChildren = UnderPresentationalChildren(parent);
        const bool inDisabledFieldset = InDisabledFieldset(node, parent);
        // Rendering.
        bool rendered = parent.rendered || node.parent == m_tree.Root();
        const std::string_view tag = TagOf(index);
        const CommonAttributes own = ReadCommonAttributes(index);
        ComputeStyle(index);
        const StyleFacts& style = FactsOf(node.style);
        if ((!node.foreign && traits.neverRendered) || (node.foreign && OneOf(tag, {"title", "desc"})) ||
            (traits.input && Attr(index, "type") && EqualsIgnoreCase(Trim(*Attr(index, "type")), "hidden")))
            rendered = false;
        const bool hiddenAttribute = own.hidden != nullptr;
        if (style.displayNone || (hiddenAttribute && style.displayUnset))
            rendered = false;
        if (parentTraits.element && FactsOf(parent.style).contentHidden)
            rendered = false;
        const bool shown = rendered && !style.invisible;
        const bool offScreen = parent.offScreen || style.offScreen;
        bool ariaHidden = parent.ariaHidden;
        if (own.ariaHidden && EqualsIgnoreCase(Trim(*own.ariaHidden), "true"))
            ariaHidden = true;
        // Language.
        std::uint32_t language = parent.language;
        if (const std::string_view* lang = own.lang ? own.lang : own.xmlLang)
            language = LanguageIndex(Trim(*lang));
        node.language = language;
        bool explicitRole = false;
        // Focus.
        const bool disabled = IsDisabled(index, inDisabledFieldset);
        long tabindex = 0;
        const std::string_view* tabindexValue = own.tabindex;
        const bool hasTabindex = tabindexValue && IsValidInteger(*tabindexValue, &tabindex);
        const bool focusable =
            shown && (IsNaturallyFocusable(index, disabled, own.contentEditable) || (hasTabindex && !disabled));
        const bool inTabOrder = focusable && (!hasTabindex || tabindex >= 0);
        // Role.
        const std::string_view implicit = ImplicitRole(index);
        const std::uint8_t implicitIndex = implicit == "generic" ? 0 : RoleIndexOf(implicit, traits);
        node.implicitRole = implicitIndex;
        bool markedDecorative = traits.img && Attr(index, "alt") && Attr(index, "alt")->empty();
        std::string_view role = implicit;
        if (const std::string_view* roleValue = own.role) {
            std::string_view rest = *roleValue;
            for (std::string_view word; !(word = NextWord(rest)).empty();) {
                const std::string token = ToLower(word);
                const AriaRole* known = FindAriaRole(token);
                if (!known || known->abstract)
                    continue;
                if (token == "none" || token == "presentation") {
                    markedDecorative = true;
                    // Presentational role conflict resolution: a focusable element
                    // or one with a global state or property keeps its own role.
                    if (focusable || HasGlobalAria(index))
                        break;
                }
                role = known->name;
                explicitRole = true;
                break;
            }
        }
        if (role == "none")
            role = "presentation";
        // List items and cells of a presentational list or table are presentational too.
        if (!explicitRole && parent.presentational && traits.listOrTablePart && !focusable && !HasGlobalAria(index))
            role = "presentation";
        const bool presentational = role == "presentation";
        if (role.data() == implicit.data() && role.size() == implicit.size())
            node.role = implicitIndex;
        else
            node.role = role == "generic" ? 0 : RoleIndexOf(role, traits);
        NodeFlags flags = node;
        flags.underPresentationalChildren = underPresentationalChildren;
        flags.inDisabledFieldset = inDisabledFieldset;
        flags.rendered = rendered;
        flags.offScreen = offScreen;
        flags.visible = shown && !offScreen;
        flags.ariaHidden = ariaHidden;
        flags.included = shown && !ariaHidden;
        flags.disabled = disabled;
        flags.focusable = focusable;
        flags.inTabOrder = inTabOrder;
        flags.markedDecorative = markedDecorative;
        flags.explicitRole = explicitRole;
        flags.presentational = presentational;
        static_cast<NodeFlags&>(node) = flags;
    }

    AccessibilityTree& m_tree;
    const CHtmlDocument& m_document;
};

AccessibilityTree::AccessibilityTree(const CHtmlDocument& document)
{
    static std::atomic<std::uint64_t> s_serials{0};
    m_serial = ++s_serials;
    m_document = &document;
    m_ariaRoles = AriaRoles().data();
    m_ariaRoleCount = AriaRoles().size();
    m_styleTable.push_back(&m_styles.emplace_back());
    Builder(*this, document).Run();
}

AccessibilityTree::~AccessibilityTree() = default;

const std::vector<std::string>& AccessibilityTree::DuplicateAttributes(int node) const
{
    static const std::vector<std::string> kNone;
    const auto it = m_duplicateAttributes.find(node);
    return it == m_duplicateAttributes.end() ? kNone : it->second;
}

int AccessibilityTree::ElementWithId(std::string_view id) const
{
    const auto it = m_ids.find(id);
    return it == m_ids.end() ? Node::kNone : it->second.first;
}

int AccessibilityTree::IdCount(std::string_view id) const
{
    const auto it = m_ids.find(id);
    return it == m_ids.end() ? 0 : it->second.count;
}

std::vector<int> AccessibilityTree::Referenced(std::string_view idList) const
{
    std::vector<int> found;
    for (std::string_view id; !(id = NextWord(idList)).empty();)
        if (const int node = ElementWithId(id); node != Node::kNone)
            found.push_back(node);
    return found;
}

int AccessibilityTree::OwnerByAriaOwns(int node) const
{
    const auto it = m_ownedBy.find(node);
    return it == m_ownedBy.end() ? Node::kNone : it->second;
}

bool AccessibilityTree::ReadsAsWritten(std::string_view bytes) const
{
    return CHtmlDocument::ReadsAsItsBytes(bytes) ||
           (m_utf8Page && bytes.find('&') == std::string_view::npos && IsValidUtf8(bytes));
}

std::string_view AccessibilityTree::DecodedText(int index) const
{
    NodeRecord& r = m_nodes[static_cast<std::size_t>(index)];
    if (r.text == NodeRecord::kUndecidedText) {
        const std::string_view bytes = r.element->Text();
        if (ReadsAsWritten(bytes)) {
            r.text = NodeRecord::kOwnText;
            return bytes;
        }
        r.text = static_cast<std::uint32_t>(m_texts.size());
        m_texts.push_back(bytes);
        m_undecoded.push_back(true);
    }
    m_texts[r.text] = KeepText(m_document->UserText(m_texts[r.text], TextPlace::ElementText));
    m_undecoded[r.text] = false;
    return m_texts[r.text];
}

std::string_view AccessibilityTree::KeepText(std::string_view text) const
{
    constexpr std::size_t kBlock = 64 * 1024;
    if (text.empty())
        return {};
    if (text.size() > kBlock / 4) {  // a long one on its own: the open block stays in use
        auto& own = m_textBlocks.emplace_back(std::make_unique_for_overwrite<char[]>(text.size()));
        std::copy(text.begin(), text.end(), own.get());
        if (m_textBlocks.size() > 1)
            std::swap(m_textBlocks.back(), m_textBlocks[m_textBlocks.size() - 2]);
        else
            m_textBlockFree = 0;
        return {own.get(), text.size()};
    }
    if (m_textBlocks.empty() || m_textBlockFree < text.size()) {
        m_textBlocks.emplace_back(std::make_unique_for_overwrite<char[]>(kBlock));
        m_textBlockFree = kBlock;
    }
    char* at = m_textBlocks.back().get() + (kBlock - m_textBlockFree);
    std::copy(text.begin(), text.end(), at);
    m_textBlockFree -= text.size();
    return {at, text.size()};
}

int AccessibilityTree::SubtreeEnd(int node) const
{
    // Nodes stand in page order: the subtree ends where the next sibling of
    // the node, or of its nearest ancestor that has one, begins.
    for (int at = node; at != Node::kNone; at = Record(at).parent)
        if (Record(at).nextSibling != Node::kNone)
            return Record(at).nextSibling;
    return static_cast<int>(m_nodes.size());
}

} // namespace orvane::a11y
