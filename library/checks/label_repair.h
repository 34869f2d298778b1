#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CCatalogueElement;
class CElement;
class CHtmlDocument;
struct RepairPageRequest;

// What a form control keeps for the pages that give it a label or bring its
// label closer: made once, deleted (so not written) until a repair fills them.
struct CLabelRepairElements {
    // Beside the control, on the side its label is read from: a new label,
    // or the label moved there.
    CElement* beside = nullptr;
    // The text next to the control that could become its label, and, right
    // after it, the element that writes that text wrapped in a label.
    CElement* nearText = nullptr;
    CElement* wrapped = nullptr;
};

// Whether the control's label is read after it (radio buttons, check boxes)
// rather than before it.
bool LabelReadAfter(const CElement& control);

// The text next to the control a label could be made of: the one the label
// finder chose, or else the text of the table cell on the control's left, as
// forms laid out in tables put their captions there. Null when there is none.
CElement* TextNextToControl(const CElement& control, const CHtmlDocument& document);

// Readies the label pages of the control (missing label, label far away):
// its id and title attributes (hidden when missing), the element beside it
// and, for a missing label, the text next to it. False when the document
// could not take the elements.
bool PrepareLabelRepair(CCatalogueElement& control, RepairPageRequest& request, CLabelRepairElements& kept,
                        CAttribute* id, CAttribute* title);

// An id for the control that no other element of the page has, and no label
// names already: from its name ("email", "email-2", ...), else its tag name.
std::string UniqueControlId(const CElement& control, const CHtmlDocument& document);

// What stands between a label and its control and parts them, as the label
// finder judges it: tags as "<p>", texts quoted and shortened; at most max.
std::vector<std::string> LabelSeparators(const CHtmlDocument& document, const CElement& label,
                                         const CElement& control, std::size_t max);


} // namespace orvane
