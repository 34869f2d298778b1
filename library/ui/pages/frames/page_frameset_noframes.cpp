#include "library/ui/pages/frames/page_frameset_noframes.h"

#include "library/html/element.h"

namespace orvane {

namespace {
constexpr int kInstruction = 161;
constexpr char kHelpTopic[] = "6-5-1.html";
constexpr std::uint32_t kNoframesBit = 0x1;
} // namespace


CPageFramesetNoframes::CPageFramesetNoframes(CElement* prepared) : CPageValidatorBase(kTemplate), m_prepared(prepared) {}

void CPageFramesetNoframes::Initialise()
{
    platform::IWindow& window = *Window();
    const bool prepared = m_prepared != nullptr;
    window.Show(kInsert, prepared);
    window.Show(kInsertLabel, prepared);
    window.Show(kPlaceholderMessage, !prepared);
    if (prepared)
        window.SetChecked(kInsert, m_insert != 0);
    window.SetText(kProblemText, Element()->GetProblemText(kNoframesBit, Encoding()));
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// The problem counts as repaired only when a section is written: a section
// left out, or a placeholder left for the author, still lacks real content.
bool CPageFramesetNoframes::Apply()
{
    if (!m_prepared || !Window()) {
        SetStatus(pagestatus::kNotRepaired);
        return true;
    }
    m_insert = Window()->IsChecked(kInsert) ? 1 : 0;
    m_prepared->SetDeleted(m_insert == 0);
    SetStatus(m_insert ? pagestatus::kRepaired : pagestatus::kNotRepaired);
    return true;
}

void CPageFramesetNoframes::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    if (m_prepared)
        m_prepared->SetDeleted(true);
}

} // namespace orvane
