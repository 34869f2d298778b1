#include "element_list.h"
#include "library/html/page_text.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <cstdint>
#include <vector>

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

namespace {

// The list the list at start stands in: in one of its items (li or dd), or
// right in it, as older pages nest a level. Walked back over what the list
// follows: a closed element is passed over whole, by its start tag; the
// start tags still open around the list lead to it.
//
// A walk back from each list would pass over every sibling before it, and a
// page of many one-item lists would cost the square of its size. But where a
// walk goes next depends only on where it stands, so walks from different
// lists share their way once they meet: for every position the page is
// walked forward once, noting the first start tag that can end a walk from
// there (a list, body or cell). Whether it does end it depends on the list
// the walk began at (a start tag closed before that list is passed over);
// those the walk passes over are rare, and from each the way is known again.
class CListSurroundings {
public:
    explicit CListSurroundings(const CHtmlDocument& document) : m_document(document)
    {
        const std::size_t size = document.Size();
        m_stop.assign(size + 1, kNone);
        for (std::size_t at = 1; at <= size; ++at) {
            const std::size_t i = at - 1;
            const CElement* e = document.At(i);
            if (e->IsDeleted() || e->Kind() < 0) {
                m_stop[at] = m_stop[i];
                continue;
            }
            if (e->Kind() >= kind::kEndOffset) {
                std::size_t next = i;
                const CElement* partner = e->Partner();
                if (partner && partner != e && document.Find(partner)) {
                    const std::size_t opened = document.IndexOf(*partner);
                    if (opened < next)
                        next = opened;
                }
                m_stop[at] = m_stop[next];
                continue;
            }
            const bool ends = e->Kind() == tag::kList || e->Kind() == tag::kBody || e->Kind() == tag::kTd ||
                              e->Kind() == tag::kTh;
            m_stop[at] = ends ? static_cast<std::uint32_t>(i) : m_stop[i];
        }
    }

    const CElement* ListAround(std::size_t start) const
    {
        for (std::uint32_t at = m_stop[start]; at != kNone; at = m_stop[at]) {
            const CElement* e = m_document.At(at);
            const CElement* partner = e->Partner();
            if (partner && partner != e && m_document.IndexOf(*partner) < start)
                continue;
            return e->Kind() == tag::kList ? e : nullptr;
        }
        return nullptr;
    }

private:
    static constexpr std::uint32_t kNone = 0xffffffffu;
    const CHtmlDocument& m_document;
    // For each position: where the first start tag that may end a walk
    // beginning there stands (the walk looks at the elements before it).
    std::vector<std::uint32_t> m_stop;
};

// Whether the list has text and its first item, and whether a second.
struct ListContent {
    bool hasText = false;
    int items = 0;
};

ListContent ContentOf(const CHtmlDocument& document, const ElementRange& range)
{
    ListContent content;
    for (std::size_t i = range.start + 1; i < range.end && content.items < 2; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        if (e->Kind() == kind::kText)
            content.hasText = content.hasText || !Trim(e->Text()).empty();
        else if (e->Kind() == kListItem || e->Kind() == kDefinitionTerm)
            ++content.items;
    }
    return content;
}

// A list of text without items indents it; so does one of a single item,
// unless it stands in a list that is one: then it is a step with one
// substep, an outline's level (taken for indentation, its item would go,
// and the list around it would count one item less).
bool IndentsOnly(const CHtmlDocument& document, const CElement& list, const ListContent& content)
{
    if (!content.hasText || content.items >= 2)
        return false;
    if (content.items == 0)
        return true;
    // Asked for by one-item lists only: pages without them never build it.
    const CElement* around = PageIndex<CListSurroundings>(document)->ListAround(document.IndexOf(list));
    if (!around)
        return true;
    const ElementRange range = RangeOf(document, *around);
    return range.valid && IndentsOnly(document, *around, ContentOf(document, range));
}

} // namespace

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
        if (IndentsOnly(document, *this, ListContent{hasText, items}))
            mask = 0x1;
    }
    return StoreProblems(*this, mask);
}

std::string CElementList::GetProblemText(std::uint32_t, const PageEncoding& encoding) const
{
    return "list: " + PageTextToUser(m_preview, encoding, TextPlace::ElementText);
}

} // namespace orvane
