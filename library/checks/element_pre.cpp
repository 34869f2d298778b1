#include "element_pre.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "page_indexes.h"
#include "repair_pages.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr CheckInfo kPreChecks[] = {
    {.bit = 0x1, .name = "AsciiArtDescription", .titleId = 296, .priority = 1, .section508 = true,
     .repairPage = "CPageAsciiArtDescription", .helpTopic = "1-1-12.html"},
    {.bit = 0x2, .name = "AsciiArtSkipover", .titleId = 301, .priority = 3, .repairPage = "CPageAsciiArtSkip",
     .helpTopic = "13-10-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementPre::CheckTable() const { return kPreChecks; }

namespace {

constexpr std::uint32_t kArtElements = 7;
constexpr int kPreviewLength = 25;

} // namespace

int CElementPre::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    m_isAsciiArt = false;
    ElementRange range = RangeOf(document, *this);
    if (!range.valid)
        return StoreProblems(*this, 0);
    auto index = PageIndex<CPreformattedIndex>(document);
    // Art: enough lines, one of them drawn with a run of equal characters.
    if (index->ElementsBetween(range.start, range.end) < kArtElements || index->RunsBetween(range.start, range.end) == 0)
        return StoreProblems(*this, 0);
    m_isAsciiArt = true;
    // Known by its text as the user reads it, so the same art is known on a
    // page in another encoding.
    const std::string bytes = document.InnerText(*this, -1);
    const std::string text = document.ComparedText(bytes, TextPlace::ElementText);
    m_artId = ObjectDigest(text);
    m_artPreview = document.InnerText(*this, kPreviewLength);

    CCheckRun run{settings, document, applyLevel};
    CPreformattedIndex::Marks links = index->MarksBefore(range.start);
    const CSrcObjectDatabase* registry = document.ObjectRegistry();
    const CSrcAsciiArt* known = registry ? registry->FindAsciiArt(document.Name(), m_artId) : nullptr;
    if (registry && !known && text != bytes) {
        // Decided before texts were compared as read: the art keeps the id
        // its record was found by.
        std::string bytesId = ObjectDigest(bytes);
        if ((known = registry->FindAsciiArt(document.Name(), bytesId)))
            m_artId = std::move(bytesId);
    }
    std::uint32_t mask = 0;
    if (run.Runs(*this, kDescriptionBit) && !links.descriptionLink && !(known && known->IsDescribed()))
        mask |= kDescriptionBit;
    if (run.Runs(*this, kSkipOverBit) && !links.skipLink && !(known && known->HasSkipOverLink()))
        mask |= kSkipOverBit;
    return StoreProblems(*this, mask);
}

namespace {

// A piece of markup the repair writes, deleted until it does.
CElement* InsertDeleted(CHtmlDocument& document, const CElement& next, bool before)
{
    ElementPtr made(new CElement);
    made->SetKind(kind::kText);
    made->SetDeleted(true);
    made->SetModified(true);
    CElement* inserted = made.get();
    const int placed = before ? document.InsertBefore(&next, std::move(made)) : document.InsertAfter(&next, std::move(made));
    return placed ? inserted : nullptr;
}

} // namespace

// The pages show the block as the page writes it; a description link goes
// right before it, a link over it before it and its target right after its
// end tag. Made once: a later repair run fills the same ones again.
bool CElementPre::PrepareRepairPage(RepairPageRequest& request)
{
    const ElementRange range = RangeOf(request.document, *this);
    if (!m_isAsciiArt || !range.valid)
        return false;
    const auto& elements = request.document.Elements();
    // Art inside a link left open, or whose end stands in a link that opens
    // before it, gets no page: the link written before it or the target
    // written after its end tag would stand in that link. Nor does art in
    // the head, where the links would be body content.
    auto isHead = [](const CElement& e, int kind) {  // head and label share the id
        return e.Kind() == kind && !e.IsDeleted() && EqualsIgnoreCase(e.WrittenTagName(), "head");
    };
    bool headOpensBefore = false;
    for (std::size_t n = 0; n < range.end; ++n) {
        const CElement* e = elements[n];
        const bool link = e->Kind() == tag::kA;
        const bool head = isHead(*e, tag::kLabel);
        headOpensBefore = headOpensBefore || (head && n < range.start);
        const CElement* end = (link || head) && !e->IsDeleted() ? e->Partner() : nullptr;
        if (!end || end == e)
            continue;
        const std::size_t closes = request.document.IndexOf(*end);
        if ((n < range.start && closes > range.start) || (link && closes > range.end))
            return false;
    }
    // A head opened before the art and closed after it, by whichever of its tags.
    if (headOpensBefore && std::any_of(elements.begin() + static_cast<std::ptrdiff_t>(range.end) + 1, elements.end(),
                                       [&](const CElement* e) { return isHead(*e, tag::kLabel + kind::kEndOffset); }))
        return false;
    for (std::size_t n = range.start; n <= range.end; ++n)
        elements[n]->AppendMarkupText(request.objectMarkup);
    request.lineEnd = PageLineEnd(request.document);
    if (request.bit == kDescriptionBit) {
        if (!m_descriptionLink)
            m_descriptionLink = InsertDeleted(request.document, *this, true);
        request.insertedElement = m_descriptionLink;
        return m_descriptionLink != nullptr;
    }
    if (!m_skipLink)
        m_skipLink = InsertDeleted(request.document, *this, true);
    if (!m_skipTarget)
        m_skipTarget = InsertDeleted(request.document, *Partner(), false);
    request.insertedElement = m_skipLink;
    request.secondInsertedElement = m_skipTarget;
    return m_skipLink && m_skipTarget;
}

std::string CElementPre::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    return m_artPreview.empty() ? CCatalogueElement::GetProblemText(bit, encoding)
                                : PageTextToUser(m_artPreview, encoding, TextPlace::ElementText);
}

} // namespace orvane
