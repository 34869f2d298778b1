#pragma once

#include "library/ui/pages/text_alternatives/page_alt_text_base.h"

namespace orvane {

// Gives an image its text alternative: the text goes into its alt attribute,
// which the image family made (hidden) when it was missing. Pages of one image
// file merge, so one text can serve every place the image stands.
class CPageImgAltText final : public CPageAltTextBase {
public:
    static constexpr int kTemplate = 107;

    // forbidsBlankText: the image is a link's content, which a text of blanks
    // would leave without a name.
    CPageImgAltText(CAttribute& alt, std::string_view source, Variant variant, bool forbidsBlankText = false);
    std::string_view ClassName() const override { return "CPageImgAltText"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageImgAltText>(other); }
};

} // namespace orvane
