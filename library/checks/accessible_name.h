#pragma once

#include "library/html/html_document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

// The first element (start tag, not deleted) of the page that carries each
// id, compared exactly as a browser looks ids up, and where the label
// elements stand, for the name computation: gathered in one walk.
class CAccessibleNameIndex {
public:
    explicit CAccessibleNameIndex(const CHtmlDocument& document);

    // Null when no element of the page has the id.
    const CElement* ElementWithId(std::string_view id) const;
    // The label start tag whose content holds the position; null when none does.
    const CElement* LabelAround(std::size_t position) const;
    // What an element aria-labelledby points at gives, worked out once
    // however many elements point at it.
    template <class Compute>
    const std::string& ReferencedText(const CElement& referenced, Compute compute) const
    {
        auto [it, added] = m_referenced.try_emplace(&referenced);
        if (added)
            it->second = compute();
        return it->second;
    }

private:
    const CHtmlDocument& m_document;
    std::unordered_map<std::string_view, const CElement*> m_ids;
    std::vector<std::uint32_t> m_labels;  // label start tags with a later end tag, ascending
    mutable std::unordered_map<const CElement*, std::string> m_referenced;
};

// An element's accessible name as assistive technology computes it for
// HTML: aria-labelledby, then aria-label, then what the markup itself gives
// (alt, a label), then title.
struct AccessibleName {
    enum class Source { None, LabelledBy, AriaLabel, Native, Title };
    // Blanks collapsed, trimmed; empty when the element has no name.
    std::string text;
    Source source = Source::None;
    // Hidden from everyone (hidden) or from assistive technology
    // (aria-hidden="true"): it needs no name.
    bool hidden = false;
    // An image marked role="presentation" or "none" without a name of its
    // own: decorative.
    bool presentational = false;
    // The first id aria-labelledby names that no element of the page has.
    std::string missingId;
};

// The attribute of the element with that name, letter case aside; null when
// it has none. For the attributes the attribute table does not know.
const CAttribute* AttributeNamed(const CElement& element, std::string_view name);

// Computes the name of an image, an area, an input, a select or a textarea;
// of other elements (a frame, ...) from ARIA and title alone.
AccessibleName ComputeAccessibleName(const CHtmlDocument& document, const CElement& element);

// Whether a form control the label checks ask about goes without a label.
// Without ARIA names only a label element counts (hasLabel, as the label
// finder found it); with them any name does, a hidden control needs none, and
// a control left unnamed by a reference to nothing gets that id in missingId.
bool LacksLabel(const CHtmlDocument& document, const CElement& control, bool hasLabel, bool ariaNames,
                std::string& missingId);

// Adds to a problem text that aria-labelledby names an id no element has;
// nothing for an empty id.
void AppendMissingReference(std::string& text, std::string_view missingId, const PageEncoding& encoding);

} // namespace orvane
