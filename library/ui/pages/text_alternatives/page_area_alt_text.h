#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

class CAttribute;

// Gives one area of an image map its text alternative: the text goes into the
// area's alt attribute, which the area family made (hidden) when it was
// missing. The area is shown by where it leads and the part of the image it
// covers, since the page has no picture of it; the texts of the page's links
// to the same address are offered, as the area says what they say.
class CPageAreaAltText final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 134;
    static constexpr int kText = 1010;
    static constexpr int kNote = 1055;
    static constexpr int kLinkTarget = 1015;
    static constexpr int kShape = 1016;

    CPageAreaAltText(CAttribute& alt, const CHtmlDocument& document, std::string linkTarget, std::string shapeText);
    std::string_view ClassName() const override { return "CPageAreaAltText"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:

    CAttribute& m_alt;
    const CHtmlDocument& m_document;
    std::string m_linkTarget;
    std::string m_shapeText;
};

} // namespace orvane
