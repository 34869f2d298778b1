#include "library/ui/pages/text_alternatives/page_img_alt_text.h"

namespace orvane {

namespace {
constexpr CPageAltTextBase::Look kImageLook = {
    .helpMissing = "1-1-1.html",
    .instructionMissing = 129,
    .helpLong = "1-1-1b.html",
    .instructionLong = 316,
    .longExplanation = CPageAltTextBase::kLongExplanation,
    .longSubExplanation = CPageAltTextBase::kLongSubExplanation,
    .helpSuspicious = "1-1-1b.html",
    .instructionSuspicious = 319,
};
} // namespace

CPageImgAltText::CPageImgAltText(CAttribute& alt, std::string_view source, Variant variant, bool forbidsBlankText)
    : CPageAltTextBase(kTemplate, alt, source, variant, kImageLook)
{
    SetForbidsBlankText(forbidsBlankText);
}

} // namespace orvane
