#pragma once

#include "library/ui/pages/text_alternatives/page_alt_text_base.h"

namespace orvane {

// Gives an image button (an input of type image) its text alternative: the
// text goes into its alt attribute, which the input family made (hidden) when
// it was missing. A button's text says what pressing it does; pages of one
// button image merge, so a search button repeated on the page is named once.
class CPageInputAltText final : public CPageAltTextBase {
public:
    static constexpr int kTemplate = 135;

    CPageInputAltText(CAttribute& alt, std::string_view source, Variant variant);
    std::string_view ClassName() const override { return "CPageInputAltText"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageInputAltText>(other); }
};

} // namespace orvane
