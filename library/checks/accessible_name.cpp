#include "accessible_name.h"

#include "check_index.h"
#include "kind_positions.h"
#include "label_finder.h"
#include "library/a11y/accessibility_tree.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int kMissingReferenceText = 1240;

constexpr bool IsAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Runs of blanks become one, and none stand at either end.
std::string Collapsed(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsAsciiBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::size_t FirstTokenLength(std::string_view text)
{
    return static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsAsciiBlank) - text.begin());
}

void AppendPiece(std::string& out, std::string_view piece)
{
    if (Trim(piece).empty())
        return;
    if (!out.empty())
        out += ' ';
    out += piece;
}

std::string_view NonBlankValue(const CAttribute* attribute)
{
    if (!attribute || !attribute->HasValue() || attribute->IsBlank())
        return {};
    return attribute->Value();
}

bool IsHidden(const CElement& element)
{
    if (AttributeNamed(element, "hidden"))
        return true;
    const CAttribute* ariaHidden = AttributeNamed(element, "aria-hidden");
    return ariaHidden && EqualsIgnoreCase(Trim(ariaHidden->Value()), "true");
}

bool IsPresentationalRole(const CElement& element)
{
    const CAttribute* role = AttributeNamed(element, "role");
    if (!role)
        return false;
    // The first role a browser knows wins; these two are the first listed.
    const std::string_view roles = TrimLeft(role->Value());
    const std::string_view first = roles.substr(0, FirstTokenLength(roles));
    return EqualsIgnoreCase(first, "presentation") || EqualsIgnoreCase(first, "none");
}

bool IsInputOfType(const CElement& element, std::string_view type)
{
    if (element.Kind() != tag::kInput)
        return false;
    const CAttribute* attribute = element.FindAttribute(attr::kType);
    return attribute && EqualsIgnoreCase(Trim(attribute->Value()), type);
}

// The id written in a tag's text, for the tags whose attributes the page
// model leaves unparsed: names and values as a browser splits them.
std::string_view IdInTagText(std::string_view text)
{
    std::size_t i = text.find_first_of(" \t\n\r\f/>");
    auto skipBlanks = [&] {
        while (i < text.size() && (IsAsciiBlank(text[i]) || text[i] == '/'))
            ++i;
    };
    while (i < text.size()) {
        skipBlanks();
        const std::size_t nameStart = i;
        while (i < text.size() && !IsAsciiBlank(text[i]) && text[i] != '=' && text[i] != '>' && text[i] != '/')
            ++i;
        const std::string_view name = text.substr(nameStart, i - nameStart);
        if (name.empty())
            return {};
        const std::size_t afterName = i;
        skipBlanks();
        std::string_view value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            while (i < text.size() && IsAsciiBlank(text[i]))
                ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const std::size_t close = text.find(text[i], i + 1);
                if (close == std::string_view::npos)
                    return {};
                value = text.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < text.size() && !IsAsciiBlank(text[i]) && text[i] != '>')
                    ++i;
                value = text.substr(valueStart, i - valueStart);
            }
        } else {
            i = afterName;
        }
        if (EqualsIgnoreCase(name, "id"))
            return value;
    }
    return {};
}

// What an element without content of its own gives the text around it: an
// image its alternative, a text field its value.
std::string_view EmbeddedText(const CElement& element)
{
    if (std::string_view label = NonBlankValue(AttributeNamed(element, "aria-label")); !label.empty())
        return label;
    if (element.Kind() == tag::kImg || element.Kind() == tag::kArea || IsInputOfType(element, "image")) {
        if (std::string_view alt = NonBlankValue(element.FindAttribute(attr::kAlt)); !alt.empty())
            return alt;
        return NonBlankValue(element.FindAttribute(attr::kTitle));
    }
    if (element.Kind() == tag::kInput) {
        const CAttribute* type = element.FindAttribute(attr::kType);
        if (!type || EqualsIgnoreCase(Trim(type->Value()), "text") || IsInputOfType(element, "submit") ||
            IsInputOfType(element, "button") || IsInputOfType(element, "reset"))
            return NonBlankValue(element.FindAttribute(attr::kValue));
    }
    return {};
}

// The texts of the elements strictly between two positions, as a name takes
// them in: hidden parts and scripts left out (unless the whole is hidden),
// an element with an aria-label by that label, the skipped element and
// what it holds aside.
std::string ContentText(const CHtmlDocument& document, std::size_t from, std::size_t to, bool keepHidden,
                        const CElement* skipped)
{
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
        const CElement& e = *document.At(i);
        if (e.IsDeleted())
            continue;
        if (&e == skipped) {
            if (const CElement* end = e.Partner(); end && document.Find(end) && document.IndexOf(*end) > i)
                i = std::min(to, document.IndexOf(*end));
            continue;
        }
        if (e.Kind() == kind::kText) {
            AppendPiece(text, e.Text());
            continue;
        }
        if (e.Kind() < 0 || e.Kind() >= kind::kEndOffset)
            continue;
        const CElement* end = e.Partner();
        const bool hasContent = end && document.Find(end) && document.IndexOf(*end) > i;
        const bool leftOut = (!keepHidden && IsHidden(e)) || e.Kind() == tag::kScript || e.Kind() == tag::kStyle;
        std::string_view own = leftOut ? std::string_view() : EmbeddedText(e);
        AppendPiece(text, own);
        if (hasContent && (leftOut || !NonBlankValue(AttributeNamed(e, "aria-label")).empty()))
            i = std::min(to, document.IndexOf(*end));
    }
    return text;
}

// What an element that aria-labelledby points at contributes: its
// aria-label, or what it holds; its own aria-labelledby is not followed.
std::string ReferencedText(const CHtmlDocument& document, const CElement& referenced)
{
    if (std::string_view label = NonBlankValue(AttributeNamed(referenced, "aria-label")); !label.empty())
        return std::string(label);
    std::string text(EmbeddedText(referenced));
    const CElement* end = referenced.Partner();
    const std::size_t at = document.IndexOf(referenced);
    if (text.empty() && end && document.Find(end) && document.IndexOf(*end) > at)
        text = ContentText(document, at + 1, document.IndexOf(*end), IsHidden(referenced), nullptr);
    if (text.empty())
        text = NonBlankValue(referenced.FindAttribute(attr::kTitle));
    return text;
}

// The text of a label element, the control it wraps aside.
std::string LabelContent(const CHtmlDocument& document, const CElement& label, const CElement& control)
{
    const CElement* end = label.Partner();
    const std::size_t at = document.IndexOf(label);
    if (!end || !document.Find(end) || document.IndexOf(*end) <= at)
        return {};
    return ContentText(document, at + 1, document.IndexOf(*end), false, &control);
}

// What the markup itself names the element by: an image's alt, a form
// control's label.
std::string NativeText(const CHtmlDocument& document, const CAccessibleNameIndex& index, const CElement& element)
{
    if (element.Kind() == tag::kImg || element.Kind() == tag::kArea || IsInputOfType(element, "image"))
        return std::string(NonBlankValue(element.FindAttribute(attr::kAlt)));
    if (element.Kind() != tag::kInput && element.Kind() != tag::kSelect && element.Kind() != tag::kTextarea)
        return {};
    std::string text;
    if (std::string_view id = NonBlankValue(element.FindAttribute(attr::kId)); !id.empty()) {
        if (const CElement* label = PageIndex<CLabelIndex>(document)->LabelFor(id))
            AppendPiece(text, LabelContent(document, *label, element));
    }
    if (const CElement* around = index.LabelAround(document.IndexOf(element)))
        AppendPiece(text, LabelContent(document, *around, element));
    if (text.empty() && (IsInputOfType(element, "submit") || IsInputOfType(element, "button") ||
                         IsInputOfType(element, "reset")))
        text = NonBlankValue(element.FindAttribute(attr::kValue));
    return text;
}

} // namespace

CAccessibleNameIndex::CAccessibleNameIndex(const CHtmlDocument& document) : m_document(document)
{
    const std::vector<CElement*>& elements = document.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const CElement& e = *elements[i];
        // Tags the page model does not know (section, nav, ...) carry ids too.
        const bool unknownStart = e.Kind() == kind::kUnknown && !e.Text().starts_with("</");
        if (e.IsDeleted() || ((e.Kind() < 0 || e.Kind() >= kind::kEndOffset) && !unknownStart))
            continue;
        if (unknownStart) {
            if (const std::string_view id = IdInTagText(e.Text()); !id.empty())
                m_ids.try_emplace(id, &e);
        } else if (const CAttribute* id = e.FindAttribute(attr::kId); id && !id->IsEmpty()) {
            m_ids.try_emplace(id->Value(), &e);
        }
        if (e.Kind() == tag::kLabel && e.Partner() && document.IndexOf(*e.Partner()) > i)
            m_labels.push_back(static_cast<std::uint32_t>(i));
    }
}

const CElement* CAccessibleNameIndex::ElementWithId(std::string_view id) const
{
    auto it = m_ids.find(id);
    return it == m_ids.end() ? nullptr : it->second;
}

const CElement* CAccessibleNameIndex::LabelAround(std::size_t position) const
{
    auto it = std::upper_bound(m_labels.begin(), m_labels.end(), position);
    if (it == m_labels.begin())
        return nullptr;
    const CElement* label = m_document.At(*(it - 1));
    if (*(it - 1) == position || m_document.IndexOf(*label->Partner()) <= position)
        return nullptr;
    return label;
}

const CAttribute* AttributeNamed(const CElement& element, std::string_view name)
{
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (EqualsIgnoreCase(a->Name(), name))
            return a;
    }
    return nullptr;
}

namespace {

// The page's accessibility tree, which the rule set judges by too, built once
// for a check pass when a check first asks a name of it, and each element's
// node in it.
class CAccessibilityTreeIndex {
public:
    explicit CAccessibilityTreeIndex(const CHtmlDocument& document) : m_tree(document)
    {
        const auto& nodes = m_tree.Nodes();
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].element)
                m_nodeOf.emplace(nodes[i].element, static_cast<int>(i));
        }
    }
    const a11y::AccessibilityTree& Tree() const { return m_tree; }
    int NodeOf(const CElement& element) const
    {
        const auto found = m_nodeOf.find(&element);
        return found == m_nodeOf.end() ? a11y::Node::kNone : found->second;
    }

private:
    a11y::AccessibilityTree m_tree;
    std::unordered_map<const CElement*, int> m_nodeOf;
};

// The name as the tree computes it (accname 1.2), told in the terms the
// WCAG 1.0 checks ask in; false when the element has no node there.
bool NameFromTree(const CHtmlDocument& document, const CElement& element, AccessibleName& name)
{
    const auto index = PageIndex<CAccessibilityTreeIndex>(document);
    const a11y::AccessibilityTree& tree = index->Tree();
    const int node = index->NodeOf(element);
    if (node == a11y::Node::kNone)
        return false;
    const a11y::Node& at = tree.At(node);
    if (!at.rendered || at.ariaHidden) {
        name.hidden = true;
        return true;
    }
    if (const std::string_view* labelledBy = tree.Attribute(node, "aria-labelledby")) {
        std::string_view ids = *labelledBy;
        while (!ids.empty() && name.missingId.empty()) {
            ids = TrimLeft(ids);
            const std::size_t length = FirstTokenLength(ids);
            const std::string_view id = ids.substr(0, length);
            ids.remove_prefix(length);
            if (!id.empty() && tree.ElementWithId(id) == a11y::Node::kNone)
                name.missingId = id;
        }
    }
    name.text = tree.Name(node);
    if (name.text.empty()) {
        // Role none or presentation in force: a tabindex or a global ARIA
        // attribute keeps the element what it is, and the tree says so.
        name.presentational = at.presentational;
        return true;
    }
    const std::string_view* labelledBy = tree.Attribute(node, "aria-labelledby");
    const std::string_view* ariaLabel = tree.Attribute(node, "aria-label");
    const std::string_view* title = tree.Attribute(node, "title");
    if (labelledBy && !tree.Referenced(*labelledBy).empty())
        name.source = AccessibleName::Source::LabelledBy;
    else if (ariaLabel && !Trim(*ariaLabel).empty())
        name.source = AccessibleName::Source::AriaLabel;
    else if (title && Collapsed(*title) == name.text)
        name.source = AccessibleName::Source::Title;
    else
        name.source = AccessibleName::Source::Native;
    return true;
}

} // namespace

AccessibleName ComputeAccessibleName(const CHtmlDocument& document, const CElement& element)
{
    AccessibleName name;
    // The names of the page's elements are the tree's: the checks and the
    // rules agree on every one.
    if (document.Find(&element) != nullptr && NameFromTree(document, element, name))
        return name;
    if (IsHidden(element)) {
        name.hidden = true;
        return name;
    }
    // An element outside the page (an area of a map kept apart) has no ids
    // to refer to, nor labels around it.
    const bool inPage = document.Find(&element) != nullptr;
    const auto index = inPage ? PageIndex<CAccessibleNameIndex>(document) : nullptr;

    if (const CAttribute* labelledBy = AttributeNamed(element, "aria-labelledby"); labelledBy && index) {
        std::string text;
        std::string_view ids = labelledBy->Value();
        while (!ids.empty()) {
            ids = TrimLeft(ids);
            const std::size_t length = FirstTokenLength(ids);
            const std::string_view id = ids.substr(0, length);
            ids.remove_prefix(length);
            if (id.empty())
                continue;
            const CElement* referenced = index->ElementWithId(id);
            if (!referenced) {
                if (name.missingId.empty())
                    name.missingId = id;
                continue;
            }
            const auto compute = [&] { return ReferencedText(document, *referenced); };
            AppendPiece(text, index->ReferencedText(*referenced, compute));
        }
        name.text = Collapsed(text);
        if (!name.text.empty()) {
            name.source = AccessibleName::Source::LabelledBy;
            return name;
        }
    }
    if (std::string_view label = NonBlankValue(AttributeNamed(element, "aria-label")); !label.empty()) {
        name.text = Collapsed(label);
        name.source = AccessibleName::Source::AriaLabel;
        return name;
    }
    if (element.Kind() == tag::kImg && IsPresentationalRole(element) &&
        NonBlankValue(element.FindAttribute(attr::kAlt)).empty()) {
        name.presentational = true;
        return name;
    }
    if (index)
        name.text = Collapsed(NativeText(document, *index, element));
    else if (element.Kind() == tag::kArea)
        name.text = Collapsed(NonBlankValue(element.FindAttribute(attr::kAlt)));
    if (!name.text.empty()) {
        name.source = AccessibleName::Source::Native;
        return name;
    }
    name.text = Collapsed(NonBlankValue(element.FindAttribute(attr::kTitle)));
    if (!name.text.empty())
        name.source = AccessibleName::Source::Title;
    return name;
}

bool LacksLabel(const CHtmlDocument& document, const CElement& control, bool hasLabel, bool ariaNames,
                std::string& missingId)
{
    missingId.clear();
    if (!ariaNames)
        return !hasLabel;
    const AccessibleName name = ComputeAccessibleName(document, control);
    if (name.hidden)
        return false;
    if (name.text.empty() && !name.missingId.empty()) {
        missingId = name.missingId;
        return true;
    }
    return !hasLabel && name.text.empty();
}

void AppendMissingReference(std::string& text, std::string_view missingId, const PageEncoding& encoding)
{
    if (missingId.empty())
        return;
    text += " - ";
    text += platform::Strings().Format(kMissingReferenceText, {PageTextToUser(missingId, encoding)});
}

} // namespace orvane
