#include "element_header.h"
#include "library/html/page_text.h"

#include "check_run.h"
#include "element_range.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

constexpr CheckInfo kHeaderChecks[] = {
    {.bit = 0x1, .name = "HeaderFormatting", .titleId = 400, .priority = 2, .repairPage = "CPageHeaderFormat",
     .helpTopic = "3-5-3.html"},
};

} // namespace

std::span<const CheckInfo> CElementHeader::CheckTable() const { return kHeaderChecks; }

namespace {
constexpr std::size_t kHeadingLimit = 125;
}

int CElementHeader::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    ElementRange range = RangeOf(document, *this);
    std::uint32_t mask = 0;
    if (range.valid && run.Runs(*this, 0x1)) {
        m_headingText.clear();
        for (std::size_t i = range.start + 1; i < range.end; ++i) {
            const CElement* e = document.At(i);
            if (e->IsDeleted() || e->Kind() != kind::kText)
                continue;
            std::string_view text = Trim(e->Text());
            if (text.empty())
                continue;
            if (!m_headingText.empty())
                m_headingText.push_back(' ');
            m_headingText.append(text);
            if (m_headingText.size() > kHeadingLimit) {
                m_headingText += "...";
                mask |= 0x1;
                break;
            }
        }
    }
    return StoreProblems(*this, mask);
}

std::string CElementHeader::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    return m_headingText.empty() ? CCatalogueElement::GetProblemText(bit, encoding)
                                 : PageTextToUser(m_headingText, encoding, TextPlace::ElementText);
}

} // namespace orvane
