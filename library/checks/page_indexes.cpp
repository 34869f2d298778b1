#include "page_indexes.h"

#include "check_index.h"
#include "kind_positions.h"

#include "library/html/attribute_table.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <span>
#include <string>
#include <unordered_map>

namespace orvane {
namespace {

constexpr int kSkipLinkTitle = 306;
constexpr int kDescriptionLinkTitle = 307;
constexpr int kRunLength = 7;
constexpr std::size_t kSeparatingText = 10;
constexpr int kNoframes = 58;

// An element counts once, and a text once more for every line break inside
// it: a block reads as the same number of lines whether the page came line by
// line (a text element per line) or as one text. A tag broken over lines is
// still one element: its breaks draw nothing.
std::uint32_t LinePieces(const CElement& e)
{
    std::uint32_t pieces = 1;
    if (e.Kind() != kind::kText)
        return pieces;
    const std::string_view text = e.Text();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\n')
            ++pieces;
    }
    return pieces;
}

} // namespace

bool HasRunOfFour(std::string_view text)
{
    for (std::size_t i = 0; i + 5 <= text.size(); ++i) {
        if (text[i] == text[i + 1] && text[i] == text[i + 2] && text[i] == text[i + 3])
            return true;
    }
    return false;
}

CLinkAddressIndex::CLinkAddressIndex(const CHtmlDocument& document)
{
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::span<const std::uint32_t> links = kinds->Of(tag::kA);
    addresses.reserve(links.size());
    for (std::uint32_t position : links) {
        const CElement* e = document.At(position);
        if (e->IsDeleted())
            continue;
        if (const CAttribute* href = e->FindAttribute(attr::kHref))
            addresses.push_back(href->Value());
    }
}

namespace {

// TextLength(text) > limit, reading the text only when its size leaves that
// open: a carriage return the length leaves out stands before a line feed,
// so the length is at least half the size.
bool LongerThan(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return false;
    return text.size() > 2 * limit || TextLength(text) > limit;
}

} // namespace

CLinkRunIndex::CLinkRunIndex(const CHtmlDocument& document)
{
    // A run ends at a long text after a link's end tag. Only the texts from
    // the first link end tag after a link up to the next link are read: these
    // stretches follow each other, so the lists of positions are each read
    // once, front to back, and no text is read twice.
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::span<const std::uint32_t> ends = kinds->Of(tag::kA + kind::kEndOffset);
    const std::span<const std::uint32_t> texts = kinds->Of(kind::kText);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    int count = 0;
    CElement* first = nullptr;
    CElement* last = nullptr;
    auto endRun = [&] {
        if (count >= kRunLength)
            runs.push_back({first, last});
        count = 0;
        first = last = nullptr;
    };
    std::size_t nextEnd = 0;
    std::size_t nextText = 0;
    std::size_t linkEnd = kNone;  // the first link end tag since the last link
    // Texts back to back (nothing but deleted elements between them) are one
    // text to the reader: a page read line by line, or a long line read in
    // pieces, gives several text elements where the browser shows one.
    auto adjoin = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from + 1; i < to; ++i) {
            if (!document.At(i)->IsDeleted())
                return false;
        }
        return true;
    };
    auto separatingTextBefore = [&](std::size_t to) {
        while (nextText < texts.size() && texts[nextText] <= linkEnd)
            ++nextText;
        std::size_t joined = 0;
        std::size_t joinedEnd = kNone;
        for (; nextText < texts.size() && texts[nextText] < to; ++nextText) {
            const CElement* e = document.At(texts[nextText]);
            if (e->IsDeleted())
                continue;
            if (LongerThan(e->Text(), kSeparatingText))
                return true;
            if (joinedEnd == kNone || !adjoin(joinedEnd, texts[nextText]))
                joined = 0;
            joined += TextLength(e->Text());
            joinedEnd = texts[nextText];
            if (joined > kSeparatingText)
                return true;
        }
        return false;
    };
    for (std::uint32_t start : kinds->Of(tag::kA)) {
        for (; nextEnd < ends.size() && ends[nextEnd] < start; ++nextEnd) {
            if (linkEnd == kNone && !document.At(ends[nextEnd])->IsDeleted())
                linkEnd = ends[nextEnd];
        }
        CElement* link = document.At(start);
        // A named anchor without an address is no stop of the keyboard: it
        // neither adds to a run nor ends one (its text may, as any text does).
        if (link->IsDeleted() || !link->FindAttribute(attr::kHref))
            continue;
        if (linkEnd != kNone && separatingTextBefore(start))
            endRun();
        linkEnd = kNone;
        ++count;
        (first ? last : first) = link;
    }
    endRun();
    DropRunsWithSkipLinks(document);
}

void CLinkRunIndex::DropRunsWithSkipLinks(const CHtmlDocument& document)
{
    // A run that starts with a link to the place right after it (before any
    // further link) can be skipped already: the skip link the repair writes
    // is such a link, and so is an author's own "skip navigation". Reporting
    // it again would ask for a second one.
    if (runs.empty())
        return;
    // Copied: an attribute's value is only a view of the tag's text.
    std::unordered_map<std::string, std::size_t> places;
    for (std::size_t i = 0; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        for (int id : {attr::kId, attr::kName}) {
            if (const CAttribute* a = e->FindAttribute(id); a && !a->Value().empty())
                places.emplace(std::string(a->Value()), i);
        }
    }
    const std::span<const std::uint32_t> links = PageIndex<CKindPositions>(document)->Of(tag::kA);
    auto nextLinkAfter = [&](std::size_t position) {
        auto it = std::upper_bound(links.begin(), links.end(), position);
        for (; it != links.end(); ++it) {
            const CElement* e = document.At(*it);
            if (!e->IsDeleted() && e->FindAttribute(attr::kHref))
                return static_cast<std::size_t>(*it);
        }
        return document.Size();
    };
    std::erase_if(runs, [&](const Run& run) {
        const CAttribute* href = run.first ? run.first->FindAttribute(attr::kHref) : nullptr;
        if (!href || href->Value().size() < 2 || href->Value().front() != '#' || !run.last)
            return false;
        const auto place = places.find(std::string(href->Value().substr(1)));
        if (place == places.end())
            return false;
        const std::size_t end = document.IndexOf(*run.last);
        return place->second >= end && place->second <= nextLinkAfter(end);
    });
}

namespace {

// An element that a check of the element kinds an index serves asks about,
// not counted in advance (its kind was changed since, say): the elements
// between are counted on the spot.
template <std::size_t N, class Count>
std::array<std::uint64_t, N> CountBetween(const CHtmlDocument& document, std::size_t start, std::size_t end,
                                          Count count)
{
    std::array<std::uint64_t, N> total{};
    for (std::size_t i = start + 1; i < end && i < document.Size(); ++i) {
        const std::array<std::uint64_t, N> counts = count(*document.At(i));
        for (std::size_t n = 0; n < N; ++n)
            total[n] += counts[n];
    }
    return total;
}

} // namespace

CNoframesIndex::CNoframesIndex(const CHtmlDocument& document)
{
    const auto kinds = PageIndex<CKindPositions>(document);
    for (std::uint32_t position : kinds->Of(kNoframes)) {
        if (!document.At(position)->IsDeleted())
            positions.push_back(position);
    }
}

std::size_t CNoframesIndex::NextNoframes(std::size_t from) const
{
    auto it = std::lower_bound(positions.begin(), positions.end(), from);
    return it == positions.end() ? kNone : *it;
}

namespace {

std::array<std::uint64_t, 1> GivesAlternative(const CElement& e)
{
    bool gives = false;
    if (e.IsDeleted()) {
        gives = false;
    } else if (e.Kind() == tag::kImg) {
        gives = true;
    } else if (e.Kind() == kind::kText) {
        gives = TextLength(e.Text()) > 10;
    } else if (e.Kind() == tag::kA) {
        const CAttribute* href = e.FindAttribute(attr::kHref);
        gives = href && !href->IsEmpty();
    }
    return {gives ? 1u : 0u};
}

// The lines of an element, and whether it holds a run.
std::array<std::uint64_t, 2> LinesAndRun(const CElement& e)
{
    if (e.IsDeleted())
        return {0, 0};
    return {LinePieces(e), HasRunOfFour(e.Text()) ? 1u : 0u};
}

bool IsPreformatted(const CElement& e) { return e.Kind() == tag::kPre || e.Kind() == tag::kXmp; }

constexpr int kPreformattedKinds[] = {tag::kPre, tag::kXmp};

} // namespace

CInnerAlternativeIndex::CInnerAlternativeIndex(const CHtmlDocument& document)
    : m_document(document), m_counts(document, PageIndex<CKindPositions>(document)->Of(tag::kObject), GivesAlternative)
{
}

bool CInnerAlternativeIndex::AnyBetween(std::size_t start, std::size_t end) const
{
    std::array<std::uint64_t, 1> count{};
    if (!m_counts.Between(start, end, count))
        count = CountBetween<1>(m_document, start, end, GivesAlternative);
    return count[0] > 0;
}

CPreformattedIndex::CPreformattedIndex(const CHtmlDocument& document)
    : CPreformattedIndex(document, platform::Strings().Get(kSkipLinkTitle),
                         platform::Strings().Get(kDescriptionLinkTitle))
{
}

CPreformattedIndex::CPreformattedIndex(const CHtmlDocument& document, std::string_view skipTitle,
                                       std::string_view descriptionTitle)
    : m_document(document), m_skipTitle(skipTitle), m_descriptionTitle(descriptionTitle),
      m_counts(document, PageIndex<CKindPositions>(document)->OfAny(kPreformattedKinds), LinesAndRun)
{
}

CPreformattedIndex::Marks CPreformattedIndex::MarksBefore(std::size_t position) const
{
    // What the links since the previous preformatted block (not deleted) left.
    Marks marks;
    for (std::size_t i = std::min(position, m_document.Size()); i-- > 0;) {
        const CElement* e = m_document.At(i);
        if (e->IsDeleted())
            continue;
        if (IsPreformatted(*e))
            break;
        if (e->Kind() == tag::kA) {
            if (const CAttribute* title = e->FindAttribute(attr::kTitle)) {
                if (!m_skipTitle.empty() && title->Value() == m_skipTitle)
                    marks.skipLink = true;
                if (!m_descriptionTitle.empty() && title->Value() == m_descriptionTitle)
                    marks.descriptionLink = true;
            }
        }
    }
    return marks;
}

std::uint64_t CPreformattedIndex::ElementsBetween(std::size_t start, std::size_t end) const
{
    std::array<std::uint64_t, 2> counts{};
    if (!m_counts.Between(start, end, counts))
        counts = CountBetween<2>(m_document, start, end, LinesAndRun);
    return counts[0];
}

std::uint64_t CPreformattedIndex::RunsBetween(std::size_t start, std::size_t end) const
{
    std::array<std::uint64_t, 2> counts{};
    if (!m_counts.Between(start, end, counts))
        counts = CountBetween<2>(m_document, start, end, LinesAndRun);
    return counts[1];
}

} // namespace orvane
