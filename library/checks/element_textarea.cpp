#include "element_textarea.h"

#include "check_run.h"

#include "library/html/html_document.h"

namespace orvane {

namespace {

constexpr CheckInfo kTextareaChecks[] = {
    {.bit = 0x1, .name = "TextareaText", .titleId = 155, .priority = 3,
     .repairPage = "CPageTextAreaDefaultText", .helpTopic = "TextareaMissingDefault.html"},
    {.bit = 0x20000000, .name = "TextareaLabel", .titleId = 394, .titleSuffix = " - TEXTAREA", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
};

} // namespace

void CElementTextarea::CollectText(std::string_view trimmed)
{
    if (trimmed.empty())
        return;
    if (!m_collectedText.empty())
        m_collectedText.push_back(' ');
    m_collectedText.append(trimmed);
}

std::span<const CheckInfo> CElementTextarea::CheckTable() const { return kTextareaChecks; }

std::string CElementTextarea::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    return ControlProblemText("textarea", bit, encoding);
}

namespace {

constexpr std::uint32_t kNoTextBit = 0x1;

} // namespace

int CElementTextarea::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    // A label set apart from the text area is not reported: the catalogue has
    // no check for it (the label finder still tells the repair pages).
    std::uint32_t mask = NoLabelProblem(run);
    if (run.Runs(*this, kNoTextBit) && m_collectedText.empty())
        mask |= kNoTextBit;
    return StoreProblems(*this, mask);
}

// The default text is a text run of its own right after the start tag,
// deleted (so not written) until a repair gives it a text. Made once: a later
// repair run fills the same run again.
bool CElementTextarea::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kNoLabelBit)
        return PrepareNoLabelRepair(request);
    if (request.bit != kNoTextBit)
        return true;
    if (!m_preparedText) {
        ElementPtr text(new CElement);
        text->SetKind(-1);
        text->SetDeleted(true);
        text->SetModified(true);
        CElement* made = text.get();
        if (!request.document.InsertAfter(this, std::move(text)))
            return false;
        m_preparedText = made;
    }
    request.insertedElement = m_preparedText;
    return true;
}

} // namespace orvane
