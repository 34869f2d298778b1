#include "library/ui/pages/text_alternatives/page_input_alt_text.h"

namespace orvane {

namespace {
// A long text has one explanation here: a button has no long description to
// send the details to, so the text itself has to become shorter.
constexpr CPageAltTextBase::Look kButtonLook = {
    .helpMissing = "1-1-3.html",
    .instructionMissing = 141,
    .helpLong = "1-1-3c.html",
    .instructionLong = 316,
    .longExplanation = CPageAltTextBase::kLongSubExplanation,
    .longSubExplanation = CPageAltTextBase::kLongSubExplanation,
    .helpSuspicious = "1-1-3b.html",
    .instructionSuspicious = 319,
};
} // namespace

// A button of blanks is announced as a nameless button, which the image
// button checks count as no text at all; so it is refused here too.
CPageInputAltText::CPageInputAltText(CAttribute& alt, std::string_view source, Variant variant)
    : CPageAltTextBase(kTemplate, alt, source, variant, kButtonLook)
{
    SetForbidsBlankText(true);
}

} // namespace orvane
