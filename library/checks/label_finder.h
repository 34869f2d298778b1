#pragma once

#include "library/html/html_document.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

class CKindPositions;

// What the label finder learnt about one form control: its label element and
// how close it stands, or, when it has none, the texts next to the control
// that a repair could make its label.
struct CLabelRecord {
    const CElement* control = nullptr;
    // The label's end tag, when a label with an end tag was found.
    const CElement* labelEnd = nullptr;
    // The text element taken as the text before the control, or, once a label
    // is found, the label's start tag.
    const CElement* textBeforeElement = nullptr;
    const CElement* textAfterElement = nullptr;
    std::string textBefore;
    // The label's text when a label is found, otherwise the text after the control.
    std::string labelTextOrTextAfter;
    bool hasLabel = false;
    bool labelPrecedesControl = false;
    // Which of the adjacent texts a repair would use.
    bool textBeforeChosen = false;
    bool textAfterChosen = false;
    // Other content separates the label from the control.
    bool far = false;
    // Radio buttons and check boxes are labelled after them; the rest before.
    bool labelExpectedBefore = true;
};

// The labels of a page and the places that part a label from its control,
// gathered in one walk for the label finder.
class CLabelIndex {
public:
    explicit CLabelIndex(const CHtmlDocument& document);
    ~CLabelIndex();

    // The first label element (not deleted) whose for value, letter case
    // aside, is the id; null when there is none.
    const CElement* LabelFor(std::string_view id) const;
    // Whether a separator (p, form, hr, input, select, textarea, button start
    // tags, or a text that is not blank) stands at a position in [from, to).
    bool SeparatorBetween(std::size_t from, std::size_t to) const;
    // The label's text: its texts joined, trimmed, line feeds as blanks.
    const std::string& LabelText(const CHtmlDocument& document, const CElement& label) const;

private:
    const CHtmlDocument& m_document;
    std::shared_ptr<const CKindPositions> m_kinds;
    std::unordered_map<std::string, const CElement*> m_labels;  // by lowered for value
    mutable std::unordered_map<const CElement*, std::string> m_labelTexts;
};

// Whether the element, standing between a label and its control, parts them:
// a separator tag or a text that is not blank.
bool PartsLabelFromControl(const CElement& element);

// Whether an input of this type gets the label checks.
bool IsLabelledInputType(std::string_view type);

// Analyses the control's label within the document.
CLabelRecord FindLabel(const CElement& control, const CHtmlDocument& document);

} // namespace orvane
