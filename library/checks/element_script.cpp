#include "element_script.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "kind_positions.h"
#include "repair_pages.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {

constexpr CheckInfo kScriptChecks[] = {
    {.bit = 0x1, .name = "ScriptNoscript", .titleId = 163, .priority = 1, .section508 = true,
     .repairPage = "CPageScriptNoscript", .helpTopic = "1-1-10.html"},
    {.bit = 0x2, .name = "ScriptSpawnNewWindow", .inMask = false, .reported = false},
};

} // namespace

void CElementScript::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

std::span<const CheckInfo> CElementScript::CheckTable() const { return kScriptChecks; }

std::string CElementScript::GetProblemText(std::uint32_t) const { return "script"; }

namespace {

constexpr int kNoscript = 59;
constexpr int kDefaultNoscriptText = 200;

// Sentences that only ask to turn scripts on, in Latin-1 and in UTF-8.
constexpr std::string_view kNoscriptPlaceholders[] = {
    "Aktivieren Sie JavaScript",
    "Ihr Browser unterst\xfctzt kein JavaScript",
    "Ihr Browser unterst\xc3\xbctzt kein JavaScript",
    "Aktivieren Sie Skripte",
    "Sie verwenden einen veralteten Browser",
};

bool IsNoscriptPlaceholder(std::string_view text, const std::string& defaultText)
{
    if (!defaultText.empty() && EqualsIgnoringLatinCase(text, defaultText))
        return true;
    for (std::string_view phrase : kNoscriptPlaceholders) {
        if (EqualsIgnoringLatinCase(text, phrase))
            return true;
    }
    return false;
}

} // namespace

// The first noscript after the script, unless another script comes first,
// must say or hold something real.
bool CElementScript::HasRealNoscript(const CHtmlDocument& document)
{
    const std::size_t after = RangeOf(document, *this).end + 1;
    const auto kinds = PageIndex<CKindPositions>(document);
    const CElement* nextScript = kinds->FirstUndeletedFrom(tag::kScript, after);
    m_noscript = kinds->FirstUndeletedFrom(kNoscript, after);
    if (m_noscript && nextScript && document.IndexOf(*nextScript) < document.IndexOf(*m_noscript))
        m_noscript = nullptr;
    if (!m_noscript)
        return false;
    ElementRange section = RangeOf(document, *m_noscript);
    if (!section.valid)
        return true;
    const std::string defaultText = platform::Strings().Get(kDefaultNoscriptText);
    bool realText = false;
    bool realMarkup = false;
    for (std::size_t i = section.start + 1; i < section.end; ++i) {
        CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        if (e->Kind() != kind::kText) {
            realMarkup = true;
            continue;
        }
        std::string_view text = Trim(e->Text());
        if (text.empty())
            continue;
        if (IsNoscriptPlaceholder(text, defaultText)) {
            m_placeholder = e;
            realText = false;
            break;
        }
        realText = true;
    }
    return realText || realMarkup;
}

int CElementScript::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    m_noscript = m_placeholder = nullptr;
    if (RangeOf(document, *this).valid && run.Runs(*this, 0x1) && !HasRealNoscript(document))
        mask = 0x1;
    return StoreProblems(*this, mask);
}

const CElement* CElementScript::PlaceForNoscript(const CHtmlDocument& document) const
{
    const CElement* end = RangeOf(document, *this).valid ? Partner() : this;
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::size_t after = document.IndexOf(*end) + 1;
    const CElement* body = kinds->FirstUndeletedFrom(tag::kBody, after);
    if (!body)
        return end;
    const CElement* nextScript = kinds->FirstUndeletedFrom(tag::kScript, after);
    if (nextScript && document.IndexOf(*nextScript) < document.IndexOf(*body))
        return end;
    // Only a script in the head has the body's start tag after it.
    for (std::size_t i = after; i < document.IndexOf(*body); ++i) {
        const CElement* e = document.At(i);
        if (!e->IsDeleted() && e->Kind() == tag::kLabel + kind::kEndOffset)
            return body;
    }
    return end;
}

bool CElementScript::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit != 0x1)
        return true;
    if (!m_prepared) {
        ElementPtr made(new CElement);
        made->SetKind(kind::kUnknown);
        made->SetDeleted(true);
        made->SetModified(true);
        CElement* prepared = made.get();
        // A placeholder gives way to the real text; an empty section takes it in.
        const CElement* place = m_placeholder ? m_placeholder : m_noscript ? m_noscript : PlaceForNoscript(request.document);
        if (!request.document.InsertAfter(place, std::move(made)))
            return false;
        m_prepared = prepared;
        m_preparedPlaceholder = m_placeholder;
        m_preparedInside = m_noscript != nullptr;
    }
    request.insertedElement = m_prepared;
    request.replacedElement = m_preparedPlaceholder;
    request.lineEnd = PageLineEnd(request.document);
    return true;
}

} // namespace orvane
