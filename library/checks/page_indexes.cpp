#include "page_indexes.h"

#include "library/html/attribute_table.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {
namespace {

constexpr int kSkipLinkTitle = 306;
constexpr int kDescriptionLinkTitle = 307;
constexpr int kRunLength = 7;
constexpr std::size_t kSeparatingText = 10;

// An element counts once, and once more for every line break inside it: a
// block reads as the same number of lines whether the page came line by line
// (a text element per line) or as one text.
std::uint32_t LinePieces(std::string_view text)
{
    std::uint32_t pieces = 1;
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

CLinkRunIndex::CLinkRunIndex(const CHtmlDocument& document)
{
    int count = 0;
    CElement* first = nullptr;
    CElement* last = nullptr;
    bool afterLinkEnd = false;
    auto endRun = [&] {
        if (count >= kRunLength)
            runs.push_back({first, last});
        count = 0;
        first = last = nullptr;
        afterLinkEnd = false;
    };
    for (CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kA) {
            afterLinkEnd = false;
            ++count;
            (first ? last : first) = e;
        } else if (e->Kind() == tag::kA + kind::kEndOffset) {
            afterLinkEnd = true;
        } else if (e->Kind() == kind::kText && afterLinkEnd && TextLength(e->Text()) > kSeparatingText) {
            endRun();
        }
    }
    endRun();
}

CNoframesIndex::CNoframesIndex(const CHtmlDocument& document) : next(document.Size() + 1, kNone)
{
    for (std::size_t i = document.Size(); i-- > 0;) {
        const CElement* e = document.At(i);
        next[i] = (!e->IsDeleted() && e->Kind() == 58) ? i : next[i + 1];
    }
}

CInnerAlternativeIndex::CInnerAlternativeIndex(const CHtmlDocument& document) : before(document.Size() + 1, 0)
{
    for (std::size_t i = 0; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        bool counts = false;
        if (!e->IsDeleted()) {
            if (e->Kind() == tag::kImg) {
                counts = true;
            } else if (e->Kind() == kind::kText) {
                counts = TextLength(e->Text()) > 10;
            } else if (e->Kind() == tag::kA) {
                const CAttribute* href = e->FindAttribute(attr::kHref);
                counts = href && !href->IsEmpty();
            }
        }
        before[i + 1] = before[i] + (counts ? 1 : 0);
    }
}

CPreformattedIndex::CPreformattedIndex(const CHtmlDocument& document)
    : CPreformattedIndex(document, platform::Strings().Get(kSkipLinkTitle),
                         platform::Strings().Get(kDescriptionLinkTitle))
{
}

CPreformattedIndex::CPreformattedIndex(const CHtmlDocument& document, std::string_view skipTitle,
                                       std::string_view descriptionTitle)
    : marks(document.Size()), elementsBefore(document.Size() + 1, 0), runsBefore(document.Size() + 1, 0)
{
    Marks current;
    for (std::size_t i = 0; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        marks[i] = current;
        bool live = !e->IsDeleted();
        elementsBefore[i + 1] = elementsBefore[i] + (live ? LinePieces(e->Text()) : 0);
        runsBefore[i + 1] = runsBefore[i] + ((live && HasRunOfFour(e->Text())) ? 1 : 0);
        if (!live)
            continue;
        if (e->Kind() == tag::kA) {
            if (const CAttribute* title = e->FindAttribute(attr::kTitle)) {
                if (!skipTitle.empty() && title->Value() == skipTitle)
                    current.skipLink = true;
                if (!descriptionTitle.empty() && title->Value() == descriptionTitle)
                    current.descriptionLink = true;
            }
        } else if (e->Kind() == tag::kPre || e->Kind() == tag::kXmp) {
            current = Marks{};
        }
    }
}

std::uint32_t CPreformattedIndex::ElementsBetween(std::size_t start, std::size_t end) const
{
    return elementsBefore[end] - elementsBefore[start + 1];
}

std::uint32_t CPreformattedIndex::RunsBetween(std::size_t start, std::size_t end) const
{
    return runsBefore[end] - runsBefore[start + 1];
}

} // namespace orvane
