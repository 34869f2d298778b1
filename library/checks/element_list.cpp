#include "element_list.h"
#include "library/html/page_text.h"

#include "check_run.h"
#include "element_range.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

constexpr CheckInfo kListChecks[] = {
    {.bit = 0x1, .name = "ListForFormat", .titleId = 422, .priority = 2, .repairPage = "CPageListFormat",
     .helpTopic = "3-6-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementList::CheckTable() const { return kListChecks; }

namespace {
constexpr std::size_t kPreviewLength = 40;
constexpr int kListItem = 51;
constexpr int kDefinitionTerm = 25;
}

int CElementList::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    ElementRange range = RangeOf(document, *this);
    std::uint32_t mask = 0;
    if (range.valid && run.Runs(*this, 0x1)) {
        m_markup.clear();
        m_preview.clear();
        m_firstItem = nullptr;
        bool hasText = false;
        int items = 0;
        for (std::size_t i = range.start + 1; i < range.end; ++i) {
            CElement* e = document.At(i);
            if (e->IsDeleted())
                continue;
            m_markup.append(e->Text());
            if (e->Kind() == kind::kText) {
                std::string_view text = Trim(e->Text());
                if (!text.empty()) {
                    hasText = true;
                    if (m_preview.size() < kPreviewLength) {
                        m_preview.append(text);
                        if (m_preview.size() > kPreviewLength)
                            m_preview.resize(kPreviewLength);
                    }
                }
            } else if (e->Kind() == kListItem || e->Kind() == kDefinitionTerm) {
                if (!m_firstItem)
                    m_firstItem = e;
                if (++items == 2)
                    break;
            }
        }
        if (hasText && items < 2)
            mask = 0x1;
    }
    return StoreProblems(*this, mask);
}

std::string CElementList::GetProblemText(std::uint32_t, const PageEncoding& encoding) const
{
    return "list: " + PageTextToUser(m_preview, encoding, TextPlace::ElementText);
}

} // namespace orvane
