#include "element_anchor.h"

#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {

constexpr std::uint32_t kTranscriptBit = 0x1;
constexpr std::uint32_t kNewWindowBit = 0x2;
constexpr int kImageInLinkText = 441;

constexpr CheckInfo kAnchorChecks[] = {
    {.bit = 0x1, .name = "AnchorTranscript", .titleId = 218, .priority = 1, .section508 = true,
     .repairPage = "CPageAnchorTranscript", .helpTopic = "1-1-6.html"},
    {.bit = 0x2, .name = "AnchorNewWindow", .titleId = 437, .titleSuffix = " - ANCHOR", .priority = 2,
     .repairPage = "CPageAnchorNewWindow", .helpTopic = "10-1-1.html"},
};

} // namespace

void CElementAnchor::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

std::span<const CheckInfo> CElementAnchor::CheckTable() const { return kAnchorChecks; }

std::string CElementAnchor::LinkText() const
{
    std::string text;
    for (const CElement* inner : m_inner) {
        if (inner->Kind() == kind::kText) {
            text.append(inner->Text());
        } else if (inner->Kind() == tag::kImg) {
            if (const CAttribute* src = inner->FindAttribute(attr::kSrc))
                text += platform::Strings().Format(kImageInLinkText, {src->Value()});
        }
    }
    return std::string(Trim(text));
}

std::string CElementAnchor::GetProblemText(std::uint32_t bit) const
{
    if (bit == kTranscriptBit) {
        const CAttribute* href = FindAttribute(attr::kHref);
        return href ? href->GetValue() : std::string("Sound File");
    }
    if (bit == kNewWindowBit)
        return LinkText();
    return CCatalogueElement::GetProblemText(bit);
}

} // namespace orvane
