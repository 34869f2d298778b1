#include "element_frameset.h"

#include "absolute_units.h"
#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "page_indexes.h"
#include "repair_pages.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "platform/services.h"

namespace orvane {

namespace {

constexpr CheckInfo kFramesetChecks[] = {
    {.bit = 0x1, .name = "FramesetNoframes", .titleId = 161, .priority = 2,
     .repairPage = "CPageFramesetNoframes", .helpTopic = "6-5-1.html"},
    {.bit = 0x10000000, .name = "FramesetAbsoluteUnits", .titleId = 428, .titleSuffix = " - FRAMESET",
     .priority = 2, .repairPage = "CPageUnitsTable", .helpTopic = "UnitsTableHelp.html"},
};

} // namespace

std::span<const CheckInfo> CElementFrameset::CheckTable() const { return kFramesetChecks; }

std::string CElementFrameset::GetProblemText(std::uint32_t, const PageEncoding& encoding) const
{
    if (std::string_view title = NonEmptyAttribute(*this, attr::kTitle); !title.empty())
        return PageTextToUser(title, encoding);
    std::string text = "Frameset " + std::to_string(m_number);
    if (const CAttribute* rows = FindAttribute(attr::kRows))
        text += ", rows = " + PageTextToUser(rows->Value(), encoding);
    if (const CAttribute* cols = FindAttribute(attr::kCols))
        text += ", cols = " + PageTextToUser(cols->Value(), encoding);
    return text;
}

namespace {

constexpr std::uint32_t kNoframesBit = 0x1;
constexpr std::uint32_t kAbsoluteUnitsBit = 0x10000000;
constexpr int kDefaultNoframesText = 199;

// Sentences that only say the browser cannot show frames. Pages carry the
// umlauts in Latin-1 or in UTF-8, so both spellings are listed.
constexpr std::string_view kPlaceholders[] = {
    "Ihr Browser unterst\xfctzt keine Frames",
    "Ihr Browser unterst\xc3\xbctzt keine Frames",
    "Sie nutzen einen veralteten Browser",
    "Ihr Browser kann keine Frames darstellen",
    "Installieren sie einen aktuellen Browser",
    "Installieren sie einen aktuelle Browser-Version",
    "Diese Seite verwendet Frames",
    "Diese Seite verwendet Rahmen",
    "die Ihr Browser nicht unterst\xfctzt",
    "die Ihr Browser nicht unterst\xc3\xbctzt",
};

bool IsPlaceholder(std::string_view text, const std::string& defaultText)
{
    if (!defaultText.empty() && text == defaultText)
        return true;
    for (std::string_view phrase : kPlaceholders) {
        if (EqualsIgnoringLatinCase(text, phrase))
            return true;
    }
    return false;
}

} // namespace

bool CElementFrameset::MissesRealNoframes(const CHtmlDocument& document)
{
    ElementRange frameset = RangeOf(document, *this);
    std::size_t noframes = PageIndex<CNoframesIndex>(document)->NextNoframes(frameset.start + 1);
    if (noframes == CNoframesIndex::kNone || noframes > frameset.end)
        return true;
    ElementRange section = RangeOf(document, *document.At(noframes));
    std::size_t stop = frameset.end;
    if (section.valid)
        stop = std::min(stop, section.end);
    const std::string defaultText = platform::Strings().Get(kDefaultNoframesText);
    bool content = false;
    for (std::size_t i = noframes + 1; i < stop; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        if (IsPlaceholder(Trim(e->Text()), defaultText)) {
            m_noframesPlaceholder = true;
            return true;
        }
        if (TextLength(e->Text()) > 10)
            content = true;
    }
    return !content;
}

int CElementFrameset::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    if (run.Runs(*this, kNoframesBit) && RangeOf(document, *this).valid) {
        m_noframesPlaceholder = false;
        if (MissesRealNoframes(document))
            mask |= kNoframesBit;
    }
    // Frames sized in pixels do not follow the reader's window.
    if (run.Runs(*this, kAbsoluteUnitsBit) && !FramesetAbsoluteSizes(*this).empty())
        mask |= kAbsoluteUnitsBit;
    return StoreProblems(*this, mask);
}

namespace {
// A link opens before the element and closes after it: a section written
// there would list its frames' links inside that link.
bool InsideALink(const CHtmlDocument& document, const CElement& element)
{
    const std::size_t at = document.IndexOf(element);
    for (std::size_t n = 0; n < at; ++n) {
        const CElement* start = document.At(n);
        const CElement* end = start->Kind() == tag::kA && !start->IsDeleted() ? start->Partner() : nullptr;
        if (end && end != start && document.IndexOf(*end) > at)
            return true;
    }
    return false;
}
} // namespace

// A section that holds only a placeholder is the author's to rewrite: the
// repair readies no second one beside it, nor one inside a link.
bool CElementFrameset::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit != kNoframesBit || m_noframesPlaceholder)
        return true;
    if (!m_preparedNoframes) {
        const CElement* end = Partner();
        if (!end || InsideALink(request.document, *end))
            return false;
        const std::string lineEnd(PageLineEnd(request.document));
        ElementPtr section(new CElement);
        section->SetKind(kind::kText);
        section->SetText(lineEnd + "<noframes>" + lineEnd + platform::Strings().Get(kDefaultNoframesText) + lineEnd +
                         "</noframes>" + lineEnd);
        section->SetDeleted(true);
        section->SetModified(true);
        CElement* made = section.get();
        if (!request.document.InsertBefore(end, std::move(section)))
            return false;
        m_preparedNoframes = made;
    }
    request.insertedElement = m_preparedNoframes;
    return true;
}

} // namespace orvane
